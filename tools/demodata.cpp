#include "tools/demodata.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string_view>

#include "io/atomic_file.h"
#include "tools/container_writer.h"
#include "tools/demodata_art.h"
#include "tools/demodata_catalog.h"
#include "tools/demodata_houses.h"

namespace tavi::demo {

namespace {

namespace fs = std::filesystem;

void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void PutName(std::vector<uint8_t>& out, const std::string& name) {
  for (size_t i = 0; i < 20; ++i) out.push_back(i < name.size() ? uint8_t(name[i]) : 0);
}

// An index entry; absent entries hold offset -1 and length 0.
void PutIndex(std::vector<uint8_t>& out, int32_t offset, int32_t length, int32_t extra) {
  Put(out, uint32_t(offset), 4);
  Put(out, uint32_t(length), 4);
  Put(out, uint32_t(extra), 4);
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& data,
               std::vector<WrittenFile>* written, std::string* error) {
  const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
  if (!WriteFileAtomically(path.string(), bytes, error)) return false;
  if (written) written->push_back({path.string(), data.size()});
  return true;
}

std::vector<uint8_t> CacheFile(const std::vector<const CachedHouse*>& houses) {
  std::string text = "1\r\n";
  int serial = 0x40000100;
  for (const CachedHouse* h : houses) {
    char line[128];
    ++serial;
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%d\t%d\r\n", serial, 4,
                  int(h->parts.size()), 1480 + 24 * (serial & 7), 1630 + 16 * (serial & 3), 0, 1);
    text += line;
    for (const Component& c : h->parts) {
      std::snprintf(line, sizeof line, "%u\t%d\t%d\t%d\t%d\r\n", unsigned(c.id), 0, c.x, c.y, c.z);
      text += line;
    }
  }
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

const char* GenerationName(Generation generation) {
  switch (generation) {
    case Generation::kPacked:
      return "packed";
    case Generation::kOld:
      return "old";
    case Generation::kLoose:
      break;
  }
  return "loose";
}

bool ParseGeneration(const std::string& name, Generation* generation) {
  for (Generation g : {Generation::kLoose, Generation::kPacked, Generation::kOld})
    if (name == GenerationName(g)) {
      *generation = g;
      return true;
    }
  return false;
}

std::vector<uint8_t> BuildTileData(Generation generation) {
  // The older layout has 32-bit flags: land records of 26 bytes, item
  // records of 37. The demo's flags all fit in 32 bits, so both layouts
  // hold the same facts.
  const int flagBytes = generation == Generation::kOld ? 4 : 8;
  std::vector<uint8_t> out;
  out.reserve(493568 + 512 * (4 + 32 * 41));
  // Land section: 512 blocks of a header and 32 records (flags, texture, name).
  std::vector<const LandType*> landOf(0x4000, nullptr);
  for (const LandType& t : LandTypes())
    for (int id = t.first; id <= t.last; ++id) landOf[size_t(id)] = &t;
  for (int id = 0; id < 0x4000; ++id) {
    if (id % 32 == 0) Put(out, 0, 4);
    const LandType* t = landOf[size_t(id)];
    Put(out, 0, flagBytes);
    Put(out, t ? uint32_t(id) : 0u, 2);
    PutName(out, t ? t->name : "");
  }
  // Item section: blocks of a header and 32 records.
  const std::vector<ItemFacts>& items = Catalog();
  for (int id = 0; id < kTileDataItems; ++id) {
    if (id % 32 == 0) Put(out, 0, 4);
    const ItemFacts& s = items[size_t(id)];
    Put(out, s.flags, flagBytes);
    Put(out, s.weight, 1);
    // quality, animation, quantity, value and the other small fields: unused here
    for (int i = 0; i < 11; ++i) out.push_back(0);
    Put(out, s.height, 1);
    PutName(out, s.name);
  }
  return out;
}

void BuildArt(std::vector<uint8_t>* art, std::vector<uint8_t>* index) {
  art->clear();
  index->clear();
  art->reserve(16u << 20);
  index->reserve(size_t(kArtIndexEntries) * 12);
  std::vector<const LandType*> landOf(0x4000, nullptr);
  for (const LandType& t : LandTypes())
    for (int id = t.first; id <= t.last; ++id) landOf[size_t(id)] = &t;
  const auto append = [&](const std::vector<uint8_t>& picture) {
    if (picture.empty()) {
      PutIndex(*index, -1, 0, 0);
      return;
    }
    PutIndex(*index, int32_t(art->size()), int32_t(picture.size()), 0);
    art->insert(art->end(), picture.begin(), picture.end());
  };
  for (int id = 0; id < 0x4000; ++id)
    append(landOf[size_t(id)] ? DrawLandArt(*landOf[size_t(id)], uint16_t(id))
                              : std::vector<uint8_t>());
  const std::vector<ItemFacts>& items = Catalog();
  for (int id = 0; id < 0x4000; ++id) append(DrawItemArt(items[size_t(id)], uint16_t(id)));
}

void BuildMultis(std::vector<uint8_t>* mul, std::vector<uint8_t>* index, Generation generation) {
  mul->clear();
  index->clear();
  std::map<int, std::pair<int32_t, int32_t>> where;
  for (const StandardHouse& h : StandardHouses()) {
    const int32_t offset = int32_t(mul->size());
    for (const Component& c : h.parts) {
      Put(*mul, c.id, 2);
      Put(*mul, uint16_t(c.x), 2);
      Put(*mul, uint16_t(c.y), 2);
      Put(*mul, uint16_t(c.z), 2);
      Put(*mul, 1, 4);  // flags: every part is shown
      if (generation != Generation::kOld) Put(*mul, 0, 4);
    }
    where[h.multiId] = {offset, int32_t(mul->size()) - offset};
  }
  for (int id = 0; id < kMultiIndexEntries; ++id) {
    const auto it = where.find(id);
    if (it == where.end())
      PutIndex(*index, -1, 0, 0);
    else
      PutIndex(*index, it->second.first, it->second.second, 0);
  }
}

std::vector<uint8_t> BuildArtContainer() {
  std::vector<uint8_t> art, index;
  BuildArt(&art, &index);
  std::vector<PackedFile> files;
  for (size_t i = 0; i * 12 + 12 <= index.size(); ++i) {
    const int32_t offset = int32_t(index[i * 12] | (index[i * 12 + 1] << 8) |
                                   (index[i * 12 + 2] << 16) | (uint32_t(index[i * 12 + 3]) << 24));
    const int32_t length = int32_t(index[i * 12 + 4] | (index[i * 12 + 5] << 8) |
                                   (index[i * 12 + 6] << 16) | (uint32_t(index[i * 12 + 7]) << 24));
    if (offset < 0) continue;
    char name[40];
    std::snprintf(name, sizeof name, "build/artlegacymul/%08u.tga", unsigned(i));
    files.push_back(
        {name, std::vector<uint8_t>(art.begin() + offset, art.begin() + offset + length)});
  }
  PackedLayout layout;
  layout.version = 5;
  layout.capacity = 1000;
  return BuildPackedContainer(files, layout).bytes;
}

std::vector<uint8_t> BuildMultiContainer() {
  std::vector<PackedFile> files;
  int n = 0;
  for (const StandardHouse& h : StandardHouses()) {
    std::vector<uint8_t> data;
    Put(data, uint32_t(h.multiId), 4);
    Put(data, uint32_t(h.parts.size()), 4);
    for (const Component& c : h.parts) {
      Put(data, c.id, 2);
      Put(data, uint16_t(c.x), 2);
      Put(data, uint16_t(c.y), 2);
      Put(data, uint16_t(c.z), 2);
      Put(data, 1, 2);  // flags: every part is shown
      // Now and then a part carries further words, as real ones do.
      const uint32_t extra = (++n % 7 == 0) ? 2 : 0;
      Put(data, extra, 4);
      for (uint32_t i = 0; i < extra; ++i) Put(data, 0x100 + i, 4);
    }
    char name[48];
    std::snprintf(name, sizeof name, "build/multicollection/%06u.bin", unsigned(h.multiId));
    files.push_back({name, std::move(data), true});
    if (files.size() == 3) files.push_back({});  // an empty slot between entries
  }
  // Not a multi: the client's list of house placements.
  std::vector<uint8_t> housing;
  housing.reserve(64);
  for (int i = 0; i < 64; ++i) housing.push_back(uint8_t(i * 37));
  files.push_back({"build/multicollection/housing.bin", housing, true});
  PackedLayout layout;
  layout.version = 4;
  layout.capacity = 100;
  return BuildPackedContainer(files, layout).bytes;
}

bool WriteDemoClient(const std::string& dirName, std::vector<WrittenFile>* written,
                     std::string* error, Generation generation) {
  const fs::path dir(dirName);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir)) {
    *error = "cannot create " + dir.string() + (ec ? ": " + ec.message() : "");
    return false;
  }
  if (!WriteFile(dir / "tiledata.mul", BuildTileData(generation), written, error)) return false;
  if (generation == Generation::kPacked) {
    if (!WriteFile(dir / "artLegacyMUL.uop", BuildArtContainer(), written, error)) return false;
    if (!WriteFile(dir / "MultiCollection.uop", BuildMultiContainer(), written, error))
      return false;
  } else {
    std::vector<uint8_t> a, b;
    BuildArt(&a, &b);
    if (!WriteFile(dir / "artidx.mul", b, written, error)) return false;
    if (!WriteFile(dir / "art.mul", a, written, error)) return false;
    BuildMultis(&a, &b, generation);
    if (!WriteFile(dir / "multi.idx", b, written, error)) return false;
    if (!WriteFile(dir / "multi.mul", a, written, error)) return false;
  }

  // desktop/<account>/<shard>/<character>/Multicache.dat, houses grouped by character.
  const std::vector<CachedHouse> houses = CachedHouses();
  std::map<std::string, std::vector<const CachedHouse*>> byCharacter;
  for (const CachedHouse& h : houses)
    byCharacter[h.account + "/" + h.shard + "/" + h.character].push_back(&h);
  for (const CachedHouse& c : CharactersWithoutCache()) {
    const fs::path folder = dir / "desktop" / c.account / c.shard / c.character;
    fs::create_directories(folder, ec);
    if (ec) {
      *error = "cannot create " + folder.string() + ": " + ec.message();
      return false;
    }
  }
  for (const auto& [key, list] : byCharacter) {
    const fs::path folder =
        dir / "desktop" / list[0]->account / list[0]->shard / list[0]->character;
    fs::create_directories(folder, ec);
    if (ec) {
      *error = "cannot create " + folder.string() + ": " + ec.message();
      return false;
    }
    if (!WriteFile(folder / "Multicache.dat", CacheFile(list), written, error)) return false;
  }
  return true;
}

}  // namespace tavi::demo
