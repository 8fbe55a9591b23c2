// The rule check over a corpus of generated houses: walled rooms with floors
// carried above them, stairs, roofs and furniture, and houses of random
// stacks. The marks of the whole corpus are folded into one number recorded
// from a run of the check; any change to what the check marks changes it.
// When a rule is changed on purpose, record the new numbers printed by the
// failing test.
#include <vector>

#include "house_builder.h"
#include "support/rng.h"

namespace tavi::test {
namespace {

struct CorpusTest : HouseTest {
  std::vector<uint16_t> parts;  // every id of every part table
  const std::vector<uint16_t> items = {kChair, kTable, kLamp, kBox, kPlainFloor, kChest};

  void SetUp() override {
    HouseTest::SetUp();
    for (int type = 0; type < kAosTypeCount; ++type)
      for (int row = 0; row < AosTableRows(type); ++row)
        for (int col = 0; col < kAosColumns; ++col)
          if (uint16_t id = ObjectTableAt(type, col, row)) parts.push_back(id);
  }

  uint16_t Table(Rng& rng, int type, int column) {
    const uint16_t id = ObjectTableAt(type, column, rng.Below(AosTableRows(type)));
    return id ? id : ObjectTableAt(type, column, 0);
  }

  // Puts an entry on top of a cell's stack (dropped when the cell is full).
  void Push(int f, int x, int y, uint16_t id, int z) {
    if (id == 0 || x < 0 || y < 0 || x >= doc->Width || y >= doc->Height) return;
    for (int l = 0; l < kLayers; ++l)
      if (doc->Tiles[f][l][y][x].Id == 0) {
        doc->Tiles[f][l][y][x] = {int16_t(z), id, uint16_t(0x5A)};
        return;
      }
  }

  void Begin(Rng& rng, int w, int h) {
    doc->SetSize(w, h);
    doc->Clear(rng.Chance(70));
  }

  // Rooms walled with pieces of one walls row each, floors laid over their
  // inside on the floor above, a few stairs, roofs and furniture.
  void BuildRooms(Rng& rng) {
    const int W = doc->Width, H = doc->Height;
    for (int f = 1; f < kFloors; ++f) {
      for (int rooms = rng.Below(4); rooms > 0; --rooms) {
        const int x0 = rng.Below(W), y0 = rng.Below(H);
        const int x1 = std::min(W - 1, x0 + 1 + rng.Below(8));
        const int y1 = std::min(H - 1, y0 + 1 + rng.Below(8));
        const int z = rng.Chance(85) ? 0 : rng.Below(24) - 4;
        const bool onFloor = rng.Chance(20);  // walls on layer 1 over a floor piece
        auto wall = [&](int x, int y, int column) {
          if (rng.Chance(8)) return;  // a gap
          if (onFloor) Push(f, x, y, Table(rng, kAosFloors, rng.Below(kAosColumns)), 0);
          const int type = rng.Chance(10)   ? kAosDoors
                           : rng.Chance(10) ? kAosEnchancements
                                            : kAosWalls;
          Push(f, x, y, Table(rng, type, column), z);
        };
        wall(x0, y0, rng.Chance(50) ? 7 : 3);
        for (int x = x0 + 1; x <= x1; ++x) {
          wall(x, y0, rng.Below(3));
          wall(x, y1, rng.Below(3));
        }
        for (int y = y0 + 1; y <= y1; ++y) {
          wall(x0, y, 4 + rng.Below(3));
          if (y < y1) wall(x1, y, 4 + rng.Below(3));
        }
        if (f + 1 < kFloors && rng.Chance(80)) {
          const int floorZ = rng.Chance(90) ? 0 : rng.Below(6);
          for (int y = y0 + 1; y <= y1 + 1; ++y)
            for (int x = x0 + 1; x <= x1 + 1; ++x)
              if (rng.Chance(95)) Push(f + 1, x, y, Table(rng, kAosFloors, rng.Below(13)), floorZ);
        }
        if (rng.Chance(30))
          Push(f, x0 + 1 + rng.Below(x1 - x0), y0 + 1, Table(rng, kAosStairs, rng.Below(13)), 0);
        if (f == kFloors - 1 || rng.Chance(15))
          for (int x = x0; x <= x1; ++x)
            Push(f, x, y0 + rng.Below(y1 - y0 + 1), Table(rng, kAosRoofs, rng.Below(13)), 5);
      }
      for (int n = rng.Below(12); n > 0; --n)
        Push(f, rng.Below(W), rng.Below(H), items[size_t(rng.Below(int(items.size())))],
             rng.Below(30) - 5);
    }
  }

  // Stacks of anything, at any altitude.
  void Scatter(Rng& rng, int percent) {
    for (int f = 1; f < kFloors; ++f)
      for (int y = 0; y < doc->Height; ++y)
        for (int x = 0; x < doc->Width; ++x) {
          if (!rng.Chance(percent)) continue;
          for (int n = 1 + rng.Below(4); n > 0; --n) {
            const uint16_t id = rng.Chance(75) ? parts[size_t(rng.Below(int(parts.size())))]
                                               : items[size_t(rng.Below(int(items.size())))];
            Push(f, x, y, id, rng.Chance(70) ? 0 : rng.Below(50) - 10);
          }
        }
  }

  struct Tally {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a over every mark
    int marked = 0, proper = 0;
  };
  void Fold(Tally& t) {
    doc->UpdateAllCells();
    doc->CheckCustomization();
    for (int f = 0; f < kFloors; ++f)
      for (int l = 0; l < kLayers; ++l)
        for (int y = 0; y < kGrid; ++y)
          for (int x = 0; x < kGrid; ++x) {
            const TileEntry& e = doc->Tiles[f][l][y][x];
            t.hash = (t.hash ^ e.Mark) * 1099511628211ull;
            if (e.Id != 0 && f > 0) ++(e.Mark == 1 ? t.marked : t.proper);
          }
  }
};

TEST_F(CorpusTest, MarksOfWalledHousesAreUnchanged) {
  Rng rng{13};
  Tally t;
  for (int house = 0; house < 400; ++house) {
    Begin(rng, 2 + rng.Below(31), 2 + rng.Below(31));
    BuildRooms(rng);
    if (rng.Chance(30)) Scatter(rng, 3);
    Fold(t);
  }
  // Both outcomes are well represented, so the corpus says something.
  EXPECT_GT(t.proper, t.marked / 4);
  EXPECT_GT(t.marked, t.proper / 4);
  EXPECT_EQ(t.marked, 44117) << "proper " << t.proper;
  EXPECT_EQ(t.hash, 10545891599286066385u);
}

TEST_F(CorpusTest, MarksOfScatteredHousesAreUnchanged) {
  Rng rng{71};
  Tally t;
  for (int house = 0; house < 150; ++house) {
    Begin(rng, 1 + rng.Below(32), 1 + rng.Below(32));
    Scatter(rng, 10 + rng.Below(60));
    Fold(t);
  }
  EXPECT_EQ(t.marked, 109859) << "proper " << t.proper;
  EXPECT_EQ(t.hash, 17002348309257874454u);
}

}  // namespace
}  // namespace tavi::test
