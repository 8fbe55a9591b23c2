// Packed containers: the name hash, the table chain, entry lookup, payloads,
// and every kind of damage a reader must refuse with a message.
#include "client/container.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>

#include "client_files.h"
#include "tools/container_writer.h"

namespace tavi {
namespace {

using demo::BuildPackedContainer;
using demo::PackedFile;
using demo::PackedImage;
using demo::PackedLayout;
using test::TempDir;

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

void Set(std::vector<uint8_t>& b, size_t at, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::unique_ptr<PackedContainer> FromBytes(const std::vector<uint8_t>& b, std::string* error) {
  error->clear();
  return PackedContainer::FromBytes(b, "test.uop", error);
}

TEST(ContainerHash, Lookup3VectorsAndStoredNameHashes) {
  uint32_t pc = 0, pb = 0;
  const char kScore[] = "Four score and seven years ago";
  HashLittle2(kScore, sizeof kScore - 1, &pc, &pb);
  EXPECT_EQ(pc, 0x17770551u);
  EXPECT_EQ(pb, 0xce7226e6u);

  EXPECT_EQ(ContainerNameHash("a"), 0x582647AC58D68708ull);
  EXPECT_EQ(ContainerNameHash("abc"), 0x3C03BE9E0E397631ull);
  EXPECT_EQ(ContainerNameHash("abcdefghijkl"), 0x75B50EC04012F87Bull);  // exactly one block
  EXPECT_EQ(ContainerNameHash("build/multicollection/housing.bin"), 0x126D1E99DDEDEE0Aull);
  EXPECT_EQ(ContainerNameHash("build/gumpartlegacymul/0009834.tga"), 0x906142EFE9FDB38Aull);
  EXPECT_EQ(ContainerNameHash("build/map0legacymul/00000000.dat"), 0xDBB7AFA433A3764Bull);
  // Names are hashed in lower case.
  EXPECT_EQ(ContainerNameHash("Build/MultiCollection/Housing.BIN"), 0x126D1E99DDEDEE0Aull);
}

// Names numbered in order share the hashing of their leading blocks; every
// hash must still be the one of the whole name, across carries, jumps and
// names whose digits sit on a block boundary.
TEST(ContainerHash, NumberedNamesHashAsWholeNames) {
  struct Form {
    const char* prefix;
    int digits;
    const char* suffix;
  };
  for (const Form& f :
       {Form{"build/artlegacymul/", 8, ".tga"}, Form{"build/multicollection/", 6, ".bin"},
        Form{"abcdefghijk", 2, "x"}, Form{"", 12, ""}, Form{"p", 3, "0123456789ab"}}) {
    NumberedNameHasher hasher(f.prefix, f.digits, f.suffix);
    const auto whole = [&](uint32_t n) {
      std::string digits = std::to_string(n);
      digits.insert(0, size_t(f.digits) - digits.size(), '0');
      return ContainerNameHash(f.prefix + digits + f.suffix);
    };
    const uint32_t limit = f.digits >= 6 ? 1000000u : 100u;
    std::vector<uint32_t> numbers;
    for (uint32_t n = 0; n < 1200; ++n) numbers.push_back(n % limit);
    for (uint32_t n : {99999u, 100000u, 100001u, 7u, 8u, 999998u, 999999u, 5u, 6u})
      numbers.push_back(n % limit);
    for (uint32_t n : numbers) ASSERT_EQ(hasher.Hash(n), whole(n)) << f.prefix << " " << n;
  }
}

// Three tables of four slots, an empty slot in the middle of the first,
// payloads behind a header block, stored and deflated entries.
TEST(Container, WalksTheTablesAndReadsEveryEntry) {
  std::vector<PackedFile> files;
  for (int i = 0; i < 9; ++i) {
    if (i == 1) files.push_back({});
    std::string text = "payload " + std::to_string(i) + std::string(size_t(i) * 50, char('a' + i));
    files.push_back({"build/test/" + std::to_string(i) + ".bin", Bytes(text), i % 2 == 1});
  }
  PackedLayout layout;
  layout.capacity = 4;
  layout.dataHeader = 12;
  const PackedImage img = BuildPackedContainer(files, layout);
  ASSERT_EQ(img.tables.size(), 3u);

  TempDir dir;
  test::WriteBytes(dir / "test.uop", img.bytes);
  std::string error;
  auto c = PackedContainer::Open(dir / "test.uop", &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->Version(), 5u);
  EXPECT_EQ(c->TableCount(), 3u);
  EXPECT_EQ(c->EntryCount(), 9u);
  EXPECT_GE(c->Fd(), 0);
  for (int i = 0; i < 9; ++i) {
    const ContainerEntry* e = c->FindName("BUILD/test/" + std::to_string(i) + ".bin");
    ASSERT_NE(e, nullptr) << i;
    EXPECT_EQ(e->compression, i % 2 ? ContainerCompression::kZlib : ContainerCompression::kNone);
    std::vector<uint8_t> out;
    ASSERT_TRUE(c->ReadPayload(*e, 4096, &out, &error)) << error;
    const std::string text(out.begin(), out.end());
    EXPECT_EQ(text.substr(0, 10),
              "payload " + std::to_string(i) + (i ? std::string(1, char('a' + i)) : ""));
    EXPECT_EQ(out.size(), 9 + size_t(i) * 50);
  }
  EXPECT_EQ(c->FindName("build/test/9.bin"), nullptr);
  EXPECT_EQ(c->Find(0), nullptr);

  // The same bytes in memory read the same.
  auto m = FromBytes(img.bytes, &error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(m->EntryCount(), 9u);
  EXPECT_EQ(m->Fd(), -1);
}

TEST(Container, VersionsCompressionsAndDuplicates) {
  std::vector<PackedFile> files = {
      {"one", Bytes("first")}, {"two", Bytes("second")}, {"one", Bytes("again")}};
  std::string error;
  for (uint32_t version : {0u, 1u, 4u, 5u, 6u, 0xFFFFFFFFu}) {
    PackedLayout layout;
    layout.version = version;
    auto c = FromBytes(BuildPackedContainer(files, layout).bytes, &error);
    EXPECT_EQ(c != nullptr, version >= 1 && version <= 5) << version;
    if (!c) {
      EXPECT_NE(error.find("version"), std::string::npos) << error;
    }
  }
  PackedImage img = BuildPackedContainer(files);
  // An entry of an unknown compression is skipped, not refused.
  Set(img.bytes, img.entries[1] + 32, 3, 2);
  auto c = FromBytes(img.bytes, &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->FindName("two"), nullptr);
  // Of two entries with one name the first is kept.
  ASSERT_NE(c->FindName("one"), nullptr);
  std::vector<uint8_t> out;
  ASSERT_TRUE(c->ReadPayload(*c->FindName("one"), 100, &out, &error));
  EXPECT_EQ(std::string(out.begin(), out.end()), "first");
  EXPECT_EQ(c->EntryCount(), 1u);

  // No tables at all: an empty container.
  Set(img.bytes, 12, 0, 8);
  c = FromBytes(img.bytes, &error);
  ASSERT_TRUE(c) << error;
  EXPECT_EQ(c->EntryCount(), 0u);
  EXPECT_EQ(c->FindName("one"), nullptr);
}

// Every way a container can be damaged gives a message and no container.
TEST(Container, DamagedFilesAreRefusedWithAMessage) {
  std::vector<PackedFile> files;
  for (int i = 0; i < 6; ++i)
    files.push_back({"f" + std::to_string(i), Bytes("data of " + std::to_string(i))});
  PackedLayout layout;
  layout.capacity = 3;
  const PackedImage img = BuildPackedContainer(files, layout);
  ASSERT_EQ(img.tables.size(), 2u);
  const size_t t0 = img.tables[0], t1 = img.tables[1], e0 = img.entries[0];

  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* said;
  };
  const std::vector<Case> cases = {
      {"empty file", [](auto& b) { b.clear(); }, "too short"},
      {"cut in the header", [](auto& b) { b.resize(30); }, "too short"},
      {"cut in the first table", [&](auto& b) { b.resize(t0 + 40); }, "more than the file holds"},
      {"cut in the data", [&](auto& b) { b.resize(t1 - 5); }, "outside the file"},
      {"cut before the second table", [&](auto& b) { b.resize(t1 + 6); }, "outside the file"},
      {"cut in the last payload", [](auto& b) { b.resize(b.size() - 3); }, "past the end"},
      {"wrong magic", [](auto& b) { b[0] = 'X'; }, "wrong magic"},
      {"wrong signature", [](auto& b) { b[8] ^= 1; }, "signature"},
      {"first table inside the header", [](auto& b) { Set(b, 12, 20, 8); }, "outside the file"},
      {"first table past the end", [&](auto& b) { Set(b, 12, b.size(), 8); }, "outside"},
      {"first table at 2^63", [](auto& b) { Set(b, 12, 1ull << 63, 8); }, "outside"},
      {"chain loops to itself", [&](auto& b) { Set(b, t1 + 4, t1, 8); }, "loops"},
      {"chain loops to the first", [&](auto& b) { Set(b, t1 + 4, t0, 8); }, "loops"},
      {"next table past the end", [&](auto& b) { Set(b, t0 + 4, b.size() + 100, 8); }, "outside"},
      {"negative entry count", [&](auto& b) { Set(b, t0, 0xFFFFFFFF, 4); }, "negative"},
      {"count beyond the file", [&](auto& b) { Set(b, t0, 0x7FFFFFFF, 4); }, "more than"},
      {"entry past the end", [&](auto& b) { Set(b, e0, b.size() - 2, 8); }, "past the end"},
      {"entry at a negative offset", [&](auto& b) { Set(b, e0, uint64_t(-40), 8); }, "negative"},
      {"negative header length", [&](auto& b) { Set(b, e0 + 8, 0x80000000, 4); }, "negative"},
      {"negative stored length", [&](auto& b) { Set(b, e0 + 12, 0xFFFFFFF0, 4); }, "negative"},
      {"header length past the end", [&](auto& b) { Set(b, e0 + 8, 0x7FFFFFFF, 4); }, "past"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = img.bytes;
    c.damage(bytes);
    std::string error;
    EXPECT_EQ(FromBytes(bytes, &error), nullptr) << c.what;
    EXPECT_NE(error.find(c.said), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find("test.uop"), std::string::npos) << c.what << ": " << error;
    // The same from a file on disk.
    test::WriteBytes(dir / "damaged.uop", bytes);
    EXPECT_EQ(PackedContainer::Open(dir / "damaged.uop", &error), nullptr) << c.what;
    EXPECT_NE(error.find("damaged.uop"), std::string::npos) << c.what << ": " << error;
  }
  std::string error;
  EXPECT_EQ(PackedContainer::Open(dir / "missing.uop", &error), nullptr);
  EXPECT_NE(error.find("cannot be opened"), std::string::npos);
  EXPECT_EQ(PackedContainer::Open(dir.str(), &error), nullptr);  // a folder
}

// Scan hands over, table by table and in file order, every readable entry:
// the ones Open keeps and the later ones of an equal hash that Open drops.
// On a damaged file it fails as Open does.
TEST(Container, ScanHandsOverEveryReadableEntryInFileOrder) {
  std::vector<PackedFile> files = {
      {"one", Bytes("first")},        {},
      {"two", Bytes("second"), true}, {"odd", Bytes("unknown packing")},
      {"one", Bytes("again")},        {"three", Bytes("third")},
      {"two", Bytes("later")}};
  PackedLayout layout;
  layout.capacity = 3;
  layout.dataHeader = 4;
  PackedImage img = BuildPackedContainer(files, layout);
  Set(img.bytes, img.entries[3] + 32, 7, 2);  // a compression no reader knows
  TempDir dir;
  test::WriteBytes(dir / "scan.uop", img.bytes);

  std::vector<ContainerEntry> seen;
  size_t calls = 0;
  std::string error;
  auto scanned = PackedContainer::Scan(
      dir / "scan.uop",
      [&](const ContainerEntry* e, size_t n) {
        ++calls;
        seen.insert(seen.end(), e, e + n);
      },
      &error);
  ASSERT_TRUE(scanned) << error;
  EXPECT_EQ(scanned->TableCount(), 3u);
  EXPECT_EQ(scanned->EntryCount(), 0u);  // nothing kept, nothing to find
  EXPECT_EQ(scanned->FindName("one"), nullptr);
  EXPECT_EQ(calls, 3u);
  std::vector<uint64_t> hashes;
  for (const ContainerEntry& e : seen) hashes.push_back(e.hash);
  EXPECT_EQ(hashes, (std::vector<uint64_t>{ContainerNameHash("one"), ContainerNameHash("two"),
                                           ContainerNameHash("one"), ContainerNameHash("three"),
                                           ContainerNameHash("two")}));
  // The first of each hash is the entry Open finds, and its payload reads
  // from the scanned container's file.
  auto opened = PackedContainer::Open(dir / "scan.uop", &error);
  ASSERT_TRUE(opened) << error;
  for (size_t i : {0u, 1u, 3u}) {
    const ContainerEntry* found = opened->Find(seen[i].hash);
    ASSERT_NE(found, nullptr) << i;
    EXPECT_EQ(found->payloadOffset, seen[i].payloadOffset) << i;
    EXPECT_EQ(found->storedLength, seen[i].storedLength) << i;
    EXPECT_EQ(found->decompressedLength, seen[i].decompressedLength) << i;
    EXPECT_EQ(found->compression, seen[i].compression) << i;
  }
  std::vector<uint8_t> out;
  ASSERT_TRUE(scanned->ReadPayload(seen[1], 100, &out, &error)) << error;
  EXPECT_EQ(std::string(out.begin(), out.end()), "second");
  ASSERT_TRUE(scanned->ReadPayload(seen[2], 100, &out, &error)) << error;
  EXPECT_EQ(std::string(out.begin(), out.end()), "again");

  // Damage: the same message as Open's.
  const size_t t1 = img.tables[1];
  const std::vector<std::function<void(std::vector<uint8_t>&)>> damages = {
      [](auto& b) { b.resize(20); },
      [&](auto& b) { Set(b, t1 + 4, img.tables[0], 8); },
      [&](auto& b) { Set(b, t1, 0xFFFFFFFF, 4); },
      [&](auto& b) { Set(b, img.entries[5], b.size(), 8); },
      [&](auto& b) { Set(b, img.entries[0] + 12, 0xFFFFFFF0, 4); },
  };
  for (size_t d = 0; d < damages.size(); ++d) {
    std::vector<uint8_t> bytes = img.bytes;
    damages[d](bytes);
    test::WriteBytes(dir / "damaged.uop", bytes);
    std::string openError, scanError;
    EXPECT_EQ(PackedContainer::Open(dir / "damaged.uop", &openError), nullptr) << d;
    EXPECT_EQ(PackedContainer::Scan(
                  dir / "damaged.uop", [](const ContainerEntry*, size_t) {}, &scanError),
              nullptr)
        << d;
    EXPECT_FALSE(scanError.empty()) << d;
    EXPECT_EQ(scanError, openError) << d;
  }
  EXPECT_EQ(PackedContainer::Scan(
                dir / "missing.uop", [](const ContainerEntry*, size_t) {}, &error),
            nullptr);
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

TEST(Container, PayloadsAreBoundedAndMustInflateToTheirSize) {
  std::vector<uint8_t> zeros(1 << 20, 0);
  std::vector<PackedFile> files = {{"bomb", zeros, true},
                                   {"plain", std::vector<uint8_t>(300, 7)},
                                   {"small", Bytes("hello world"), true},
                                   {"empty", {}, true}};
  PackedImage img = BuildPackedContainer(files);
  std::string error;
  auto c = FromBytes(img.bytes, &error);
  ASSERT_TRUE(c) << error;
  std::vector<uint8_t> out;
  // Declared larger than the cap: refused before inflating.
  EXPECT_FALSE(c->ReadPayload(*c->FindName("bomb"), 4096, &out, &error));
  EXPECT_NE(error.find("more than"), std::string::npos) << error;
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(c->ReadPayload(*c->FindName("plain"), 299, &out, &error));
  ASSERT_TRUE(c->ReadPayload(*c->FindName("plain"), 300, &out, &error)) << error;
  EXPECT_EQ(out, std::vector<uint8_t>(300, 7));
  ASSERT_TRUE(c->ReadPayload(*c->FindName("empty"), 10, &out, &error)) << error;
  EXPECT_TRUE(out.empty());

  // A megabyte of zeros that says it inflates to 100 bytes: stopped there.
  std::vector<uint8_t> b = img.bytes;
  Set(b, img.entries[0] + 16, 100, 4);
  c = FromBytes(b, &error);
  ASSERT_TRUE(c);
  EXPECT_FALSE(c->ReadPayload(*c->FindName("bomb"), 4096, &out, &error));
  EXPECT_NE(error.find("beyond"), std::string::npos) << error;
  // Declared larger than what the stream holds.
  b = img.bytes;
  Set(b, img.entries[2] + 16, 50, 4);
  c = FromBytes(b, &error);
  EXPECT_FALSE(c->ReadPayload(*c->FindName("small"), 4096, &out, &error));
  EXPECT_NE(error.find("not the declared"), std::string::npos) << error;
  // Bytes that are no zlib stream.
  b = img.bytes;
  const size_t at = size_t(c->FindName("small")->payloadOffset);
  b[at] ^= 0xFF;
  b[at + 1] ^= 0xFF;
  c = FromBytes(b, &error);
  EXPECT_FALSE(c->ReadPayload(*c->FindName("small"), 4096, &out, &error));
  EXPECT_NE(error.find("does not inflate"), std::string::npos) << error;
  EXPECT_TRUE(out.empty());
}

TEST(Container, PathsNamingContainers) {
  TempDir dir;
  test::WriteBytes(dir / "art.mul", std::vector<uint8_t>(64, 1));
  test::WriteBytes(dir / "packed.bin", BuildPackedContainer({{"a", Bytes("x")}}).bytes);
  test::WriteBytes(dir / "ArtLegacyMUL.UOP", {});
  EXPECT_FALSE(IsContainerPath(dir / "art.mul"));
  EXPECT_TRUE(IsContainerPath(dir / "packed.bin"));        // by its header
  EXPECT_TRUE(IsContainerPath(dir / "ArtLegacyMUL.UOP"));  // by its name, whatever it holds
  EXPECT_TRUE(IsContainerPath(dir / "missing.uop"));
  EXPECT_FALSE(IsContainerPath(dir / "missing.mul"));
  EXPECT_FALSE(IsContainerPath(""));
}

}  // namespace
}  // namespace tavi
