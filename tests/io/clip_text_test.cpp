// Clipboard house text: the cell stream byte for byte, the text around it,
// round trips, and broken texts that must leave the document alone.
#include "io/clip_text.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "io/base64_variant.h"
#include "io_test_util.h"

namespace tavi {
namespace {

using test::DocFixture;
using test::DocSnapshot;
using Bytes = std::vector<uint8_t>;

Bytes Cells(HouseImage& image, int base = 7) {
  Bytes out;
  std::string error;
  image.BaseHeight = base;
  EXPECT_TRUE(EncodeCellStream(image, &out, &error)) << error;
  return out;
}

std::unique_ptr<HouseImage> Image(int w, int h) {
  auto image = NewHouseImage();
  image->Width = w;
  image->Height = h;
  return image;
}

// Wraps an unpacked house as clipboard text, as the exporter would.
std::string TextOf(const Bytes& cells, int width = 76, const std::string& header = "") {
  Bytes packed(2);
  uLongf len = compressBound(uLong(cells.size()));
  packed.resize(2 + len);
  compress2(packed.data() + 2, &len, cells.data(), uLong(cells.size()), Z_DEFAULT_COMPRESSION);
  packed.resize(2 + len);
  packed[0] = uint8_t(packed.size());
  packed[1] = uint8_t(packed.size() >> 8);
  std::vector<std::string> lines{header.empty() ? "TAVI File ver 1.00=name" : header};
  Base64Encode(packed, lines, width);
  lines.push_back(std::string(size_t(width), '='));
  std::string text;
  for (auto& l : lines) text += l + "\r\n";
  return text;
}

TEST(ClipCells, EmptyPlotIsThePlotWordAndTwoFullSkips) {
  auto image = Image(8, 8);
  const uint16_t plot = (8 << 10) | (8 << 5) | 7;
  EXPECT_EQ(Cells(*image), (Bytes{uint8_t(plot), uint8_t(plot >> 8), 0xFF, 0xFF}));
}

TEST(ClipCells, FiveByFiveRectangleRecord) {
  auto image = Image(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) image->Tiles[0][0][y][x] = {7, 12788, 0};
  const Bytes cells = Cells(*image);
  const Bytes plain = {0x47, uint8_t(12788 & 0xFF), uint8_t(12788 >> 8)};
  Bytes want = {cells[0], cells[1], 0x47, uint8_t(12788 & 0xFF), uint8_t((12788 >> 8) | 0xC0),
                5,        4,        0x93};
  for (int i = 0; i < 5; ++i) want.insert(want.end(), plain.begin(), plain.end());
  EXPECT_EQ(cells, want);
  auto back = NewHouseImage();
  std::string error;
  ASSERT_EQ(DecodeCellStream(cells, *back, &error), 7);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back->Tiles[0][0][y][x].Id, 12788) << x << "," << y;
}

TEST(ClipCells, ColumnsOfTwoAndThreeAndSkipRuns) {
  auto two = Image(1, 2);
  two->Tiles[0][0][0][0] = two->Tiles[0][0][1][0] = {0, 5, 0};
  const Bytes c2 = Cells(*two);
  EXPECT_EQ(Bytes(c2.begin() + 2, c2.end()), (Bytes{0x40, 5, 0, 0x40, 5, 0}));
  auto three = Image(1, 3);
  for (int y = 0; y < 3; ++y) three->Tiles[0][0][y][0] = {0, 5, 0};
  const Bytes c3 = Cells(*three);
  EXPECT_EQ(Bytes(c3.begin() + 2, c3.end()), (Bytes{0x40, 5, 0x80, 2, 0x81, 0x40, 5, 0}));

  // 200 empty cells, then an entry: 0xFF (127) and 0xC9 (73).
  auto runs = Image(25, 9);
  runs->Tiles[0][0][8][0] = {-5, 3, 0};
  runs->Tiles[0][1][8][0] = {40, 4, 0};
  const Bytes c = Cells(*runs);
  EXPECT_EQ(Bytes(c.begin() + 2, c.begin() + 10), (Bytes{0xFF, 0xC9, 0x3B, 3, 0, 0x68, 4, 0}));
  // The other 924 empty cells: seven full skips, the last 35 not written.
  EXPECT_EQ(Bytes(c.begin() + 10, c.end()), Bytes(7, 0xFF));
  auto back = NewHouseImage();
  std::string error;
  DecodeCellStream(c, *back, &error);
  EXPECT_EQ(back->Tiles[0][0][8][0].Z, -5);
  EXPECT_EQ(back->Tiles[0][1][8][0].Z, -24);
}

TEST(ClipCells, RefusesWhatTheFormatCannotCarry) {
  Bytes out;
  std::string error;
  auto wide = Image(32, 8);
  EXPECT_FALSE(EncodeCellStream(*wide, &out, &error));
  auto bigId = Image(4, 4);
  bigId->Tiles[2][0][1][1] = {0, 16384, 0};
  EXPECT_FALSE(EncodeCellStream(*bigId, &out, &error));
  EXPECT_NE(error.find("16384"), std::string::npos);
  bigId->Tiles[2][0][1][1].Id = 16383;
  EXPECT_TRUE(EncodeCellStream(*bigId, &out, &error));
}

TEST(ClipCells, DecoderClipsRectanglesAndStopsAtTheEnd) {
  // A 3 x 3 plot whose first record claims a 200 x 200 rectangle.
  const uint16_t plot = (3 << 10) | (3 << 5) | 2;
  const Bytes cells = {uint8_t(plot), uint8_t(plot >> 8), 0x41, 9, 0xC0, 200, 200, 0x40, 8, 0};
  auto image = NewHouseImage();
  std::string error;
  ASSERT_EQ(DecodeCellStream(cells, *image, &error), 2);
  for (int y = 0; y < kGrid; ++y)
    for (int x = 0; x < kGrid; ++x)
      EXPECT_EQ(image->Tiles[0][0][y][x].Id, x < 3 && y < 3 ? 9 : 0) << x << "," << y;
  EXPECT_EQ(image->Tiles[0][1][0][1].Id, 8);  // the next cell's own record
  // Truncated records leave the rest empty; a zero plot is refused.
  EXPECT_EQ(DecodeCellStream({uint8_t(plot), uint8_t(plot >> 8), 0x41, 9}, *image, &error), 2);
  EXPECT_EQ(image->Tiles[0][0][0][0].Id, 0);
  // A rectangle written at layer 1 over an empty cell leaves no gap below it.
  EXPECT_EQ(DecodeCellStream({uint8_t(plot), uint8_t(plot >> 8), 0x00, 4, 0, 0x40, 6, 0x40, 2},
                             *image, &error),
            2);
  EXPECT_EQ(image->Tiles[0][0][0][1].Id, 6);
  EXPECT_EQ(image->Tiles[0][1][0][0].Id, 6);
  EXPECT_EQ(DecodeCellStream({0x07, 0x00}, *image, &error), -1);
  EXPECT_EQ(DecodeCellStream({0x07}, *image, &error), -1);
}

TEST(ClipText, ExportWritesHeaderDataAndClosingLine) {
  DocFixture f;
  f.doc->Clear(true);
  test::MakeEditedHouse(*f.doc);
  const DocSnapshot before(*f.doc);
  MemoryClipboard clip;
  ASSERT_TRUE(ExportClipText(*f.doc, clip, 36, "villa").ok);
  EXPECT_TRUE(DocSnapshot(*f.doc) == before);
  const std::string& text = clip.text;
  EXPECT_EQ(text.compare(0, 38, "TAVI File ver 1.00=villa============\r\n"), 0);
  EXPECT_EQ(text.substr(text.size() - 38), std::string(36, '=') + "\r\n");
  // A name longer than the line gets no filling.
  ASSERT_TRUE(ExportClipText(*f.doc, clip, 36, std::string(30, 'n')).ok);
  EXPECT_EQ(clip.text.compare(0, 51, "TAVI File ver 1.00=" + std::string(30, 'n') + "\r\n"), 0);
}

// The whole text of a small house, computed apart from this code: pins the
// compression level, the size word, the bit order of the text and the line
// breaks, which a round trip through our own importer would not notice.
TEST(ClipText, SmallHouseGivesTheKnownText) {
  auto image = Image(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) image->Tiles[0][0][y][x] = {0, 1000, 0};
  image->Tiles[0][1][1][1] = {7, 2475, 0};
  image->Tiles[1][0][0][2] = {-5, 16383, 0};
  EXPECT_EQ(Cells(*image), (Bytes{0x67, 0x10, 0x40, 0xe8, 0xc3, 0x04, 0x02, 0x84, 0x47, 0xab,
                                  0x09, 0x82, 0x40, 0xe8, 0x03, 0x40, 0xe8, 0x03, 0x40, 0xe8,
                                  0x03, 0x40, 0xe8, 0x03, 0x82, 0x7b, 0xff, 0x3f}));
  std::string error;
  EXPECT_EQ(BuildClipText(*image, 44, "villa", &error, nullptr),
            "TAVI File ver 1.00=villa====================\r\n"
            "fAAecu0FwhXcYWYqF3XNnN5wLYGOqpq/v9AAbWxCRF==\r\n"
            "============================================\r\n")
      << error;
}

TEST(ClipText, RoundTripsVariedHousesAtEveryWidth) {
  uint32_t seed = 99;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 12; ++round) {
    DocFixture f(int(next() % 31) + 1, int(next() % 31) + 1);
    const int n = round * 150;
    for (int i = 0; i < n; ++i) {
      const int fl = next() % 5, x = next() % f.doc->Width, y = next() % f.doc->Height;
      const int layer = next() % 3;
      f.doc->Tiles[fl][layer][y][x] = {int16_t(int(next() % 64) - 32), uint16_t(next() % 4 + 1), 0};
    }
    // Packed stacks: close the gaps the random fill left.
    auto image = ImageOfDocument(*f.doc);
    image->ClearTiles();
    for (int fl = 0; fl < 5; ++fl)
      for (int l = 0; l < 3; ++l)
        for (int y = 0; y < 32; ++y)
          for (int x = 0; x < 32; ++x) {
            const TileEntry& e = f.doc->Tiles[fl][l][y][x];
            if (e.Id) image->Append(fl, x, y, e.Id, e.Z);
          }
    TakeOverImage(*f.doc, *image);
    const int width = kClipLineWidths[round % 6];
    MemoryClipboard clip;
    f.doc->SetBaseHeight(round % 10);
    ASSERT_TRUE(ExportClipText(*f.doc, clip, width, "h").ok);
    DocFixture g;
    std::string name;
    const LoadResult r = ImportClipText(*g.doc, clip, &name);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.baseHeight, round % 10);
    EXPECT_EQ(g.doc->BaseHeight(), round % 10);
    EXPECT_EQ(name, "h");
    EXPECT_EQ(g.doc->Width, f.doc->Width);
    EXPECT_EQ(g.doc->Height, f.doc->Height);
    ASSERT_EQ(0, std::memcmp(g.doc->Tiles, f.doc->Tiles, sizeof(f.doc->Tiles))) << round;
  }
}

TEST(ClipText, ImportFindsTheHeaderAndTheName) {
  auto image = Image(2, 2);
  image->Tiles[0][0][1][1] = {3, 77, 0};
  const std::string body = TextOf(Cells(*image, 3), 44, "TAVI File ver 1.00=my=house====");
  DocFixture f;
  MemoryClipboard clip;
  clip.SetText("some words\r\nmore\n" + body + "trailing junk\r\n");
  std::string name = "unchanged";
  const LoadResult r = ImportClipText(*f.doc, clip, &name);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.baseHeight, 3);
  EXPECT_EQ(name, "my");
  EXPECT_EQ(f.doc->Tiles[0][0][1][1].Id, 77);
  // The 19th character is not looked at.
  clip.SetText(TextOf(Cells(*image, 3), 44, "TAVI File ver 1.00xabc"));
  ASSERT_TRUE(ImportClipText(*f.doc, clip, &name).ok);
  EXPECT_EQ(name, "abc");
}

TEST(ClipText, BrokenTextsLeaveTheDocumentAlone) {
  auto image = Image(4, 4);
  image->Tiles[0][0][1][1] = {3, 77, 0};
  const std::string good = TextOf(Cells(*image));
  std::vector<std::string> bad = {
      "", "no header here\r\n", "TAVI File ver 1.00=x\r\n====\r\n",
      // One byte short of the size word.
      [&] {
        std::vector<std::string> ls{"TAVI File ver 1.00=x"};
        Bytes packed = {10, 0, 1, 2, 3, 4, 5, 6, 7};
        Base64Encode(packed, ls, 76);
        std::string t;
        for (auto& l : ls) t += l + "\r\n";
        return t;
      }(),
      // Not a zlib stream.
      [&] {
        std::vector<std::string> ls{"TAVI File ver 1.00=x"};
        Bytes packed = {8, 0, 1, 2, 3, 4, 5, 6};
        Base64Encode(packed, ls, 76);
        return ls[0] + "\r\n" + ls[1] + "\r\n";
      }(),
      TextOf({0x07, 0x00}),  // plot of 0 x 0
  };
  // A zlib bomb: far more zeros than a house can hold.
  bad.push_back(TextOf(Bytes(4 << 20, 0)));
  for (size_t i = 0; i < bad.size(); ++i) {
    DocFixture f;
    test::MakeEditedHouse(*f.doc);
    const DocSnapshot before(*f.doc);
    MemoryClipboard clip;
    if (!bad[i].empty()) clip.SetText(bad[i]);
    std::string name = "kept";
    const LoadResult r = ImportClipText(*f.doc, clip, &name);
    EXPECT_FALSE(r.ok) << i;
    EXPECT_EQ(r.Code(), -1);
    EXPECT_EQ(name, "kept");
    EXPECT_TRUE(DocSnapshot(*f.doc) == before) << "case " << i;
  }
  DocFixture f;
  MemoryClipboard clip;
  clip.SetText(good);
  EXPECT_TRUE(ImportClipText(*f.doc, clip, nullptr).ok);
}

TEST(ClipText, ExportRefusesHousesItCannotCarry) {
  DocFixture f(32, 8);
  MemoryClipboard clip;
  const SaveResult wide = ExportClipText(*f.doc, clip, 76, "");
  EXPECT_FALSE(wide.ok);
  EXPECT_FALSE(clip.HasText());
  DocFixture g;
  g.doc->Tiles[0][0][0][0] = {0, 20000, 0};
  const SaveResult id = ExportClipText(*g.doc, clip, 76, "");
  EXPECT_FALSE(id.ok);
  EXPECT_NE(id.error.find("16383"), std::string::npos);
  EXPECT_FALSE(clip.HasText());
  g.doc->Tiles[0][0][0][0] = {40, 20, 0};
  const SaveResult high = ExportClipText(*g.doc, clip, 76, "");
  EXPECT_TRUE(high.ok);
  EXPECT_FALSE(high.warning.empty());
}

}  // namespace
}  // namespace tavi
