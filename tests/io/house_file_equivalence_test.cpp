// The house file reader and writer against straightforward versions of both
// kept here (split into lines, split each line into strings, append entry by
// entry; numbers through printf): random texts full of blanks, quotes, stray
// characters, every kind of line end and numbers of every form must read into
// the same house, and random houses must be written to the same bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "io/comma_text.h"
#include "io/house_file.h"
#include "io/house_image.h"
#include "io_test_util.h"

namespace tavi {
namespace {

LoadResult PlainParse(std::string_view text, HouseImage& image) {
  image.ClearTiles();
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) return LoadResult::Failure("the file is empty");
  const std::vector<std::string> header = SplitCommaText(lines[0]);
  if (header.empty() || header[0] != kVersionText)
    return LoadResult::Failure("Can not use this file version.", LoadFailure::kVersion);
  if (header.size() < 4)
    return LoadResult::Failure("line 1: the header has fewer than four fields");
  const int32_t width = ReadNumber(header[1]), height = ReadNumber(header[2]);
  const int32_t base = ReadNumber(header[3]);
  if (width < 1 || width > kGrid || height < 1 || height > kGrid)
    return LoadResult::Failure("line 1: plot size " + std::to_string(width) + "x" +
                               std::to_string(height) + " is outside 1..32");
  if (base < 0)
    return LoadResult::Failure("line 1: base height " + std::to_string(base) + " is below 0");
  image.Width = width;
  image.Height = height;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = SplitCommaText(lines[i]);
    if (f.size() != 5) continue;
    const int32_t floor = ReadNumber(f[0]), x = ReadNumber(f[1]), y = ReadNumber(f[2]);
    const auto z = static_cast<int16_t>(static_cast<uint16_t>(ReadNumber(f[3])));
    const auto id = static_cast<uint16_t>(ReadNumber(f[4]));
    if (floor < 0 || floor >= kFloors || x < 0 || y < 0 || x >= width || y >= height) continue;
    if (id == 0) continue;
    image.Append(floor, x, y, id, z);
  }
  return LoadResult::Success(base);
}

std::string PlainText(const HouseImage& image, int base) {
  std::string out = "\"" + std::string(kVersionText) + "\"," + std::to_string(image.Width) + "," +
                    std::to_string(image.Height) + "," + std::to_string(base) + "\r\n";
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < std::min(image.Height, kGrid); ++y)
      for (int x = 0; x < std::min(image.Width, kGrid); ++x)
        for (int l = 0; l < kLayers; ++l) {
          const TileEntry& e = image.Tiles[f][l][y][x];
          if (e.Id == 0) continue;
          char line[64];
          std::snprintf(line, sizeof line, "%d,%d,%d,%d,%d\r\n", f, x, y, e.Z, int16_t(e.Id));
          out += line;
        }
  return out;
}

// Pieces a line is made of; the reader must split them as the plain version does.
std::string RandomLine(std::mt19937& rng) {
  static const char* const kPieces[] = {
      "0",           "3",          "31",     "4",    "-1",  "+7",    "12345",       "-32768",
      "65535",       "40000",      "$1F",    "0x1f", "X2A", "-0x10", "99999999999", "2147483648",
      "-2147483648", "7a",         "",       "abc",  ",",   ",",     ",",           ",",
      " ",           "\t",         "\x01",   "\x1f", " , ", ",,",    "\"",          "\"3\"",
      "\"1,2\"",     "\"a\"\"b\"", "\"4\" ", "\x7f", "\xff"};
  std::string line;
  const int n = int(rng() % 14);
  for (int i = 0; i < n; ++i) {
    const size_t k = rng() % (sizeof kPieces / sizeof *kPieces + 1);
    if (k == sizeof kPieces / sizeof *kPieces)
      line += '\0';
    else
      line += kPieces[k];
  }
  return line;
}

std::string Entry(std::mt19937& rng, int side) {
  return std::to_string(int(rng() % 6) - (rng() % 9 == 0)) + "," +
         std::to_string(int(rng() % (side + 1))) + "," + std::to_string(int(rng() % (side + 1))) +
         "," + std::to_string(int(rng() % 300) - 150) + "," + std::to_string(int(rng() % 70000));
}

TEST(HouseFileEquivalence, RandomTextsReadAsTheyAlwaysDid) {
  std::mt19937 rng(20240611);
  auto image = NewHouseImage(), plain = NewHouseImage();
  const char* const kEnds[] = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
  for (int round = 0; round < 400; ++round) {
    const int side = 1 + int(rng() % 32);
    std::string text;
    switch (rng() % 8) {
      case 0:
        text = RandomLine(rng);
        break;
      case 1:
        text = "TAVI File ver 1.00," + std::to_string(side) + ",4,7";
        break;
      default:
        text = "\"TAVI File ver 1.00\"," + std::to_string(side) + "," + std::to_string(side) +
               (rng() % 9 == 0 ? ",-1" : ",7") + (rng() % 4 == 0 ? ",extra" : "");
    }
    const int lines = int(rng() % 300);
    for (int i = 0; i < lines; ++i) {
      text += kEnds[rng() % 5];
      text += rng() % 3 == 0 ? RandomLine(rng) : Entry(rng, side);
      if (rng() % 5 == 0) text += RandomLine(rng);
    }
    if (rng() % 2) text += kEnds[rng() % 5];
    const LoadResult got = ParseHouseFile(text, *image);
    const LoadResult want = PlainParse(text, *plain);
    ASSERT_EQ(got.ok, want.ok) << round;
    ASSERT_EQ(got.baseHeight, want.baseHeight) << round;
    ASSERT_EQ(got.error, want.error) << round;
    ASSERT_EQ(got.failure, want.failure) << round;
    if (!got.ok) continue;
    ASSERT_EQ(image->Width, plain->Width);
    ASSERT_EQ(image->Height, plain->Height);
    ASSERT_EQ(std::memcmp(image->Tiles, plain->Tiles, sizeof image->Tiles), 0) << round;
  }
}

TEST(HouseFileEquivalence, RandomHousesAreWrittenToTheSameBytes) {
  std::mt19937 rng(7);
  auto image = NewHouseImage();
  test::DocFixture doc;
  for (int round = 0; round < 60; ++round) {
    image->ClearTiles();
    image->Width = 1 + int(rng() % 32);
    image->Height = 1 + int(rng() % 32);
    const int entries = int(rng() % 20000);
    for (int i = 0; i < entries; ++i) {
      TileEntry& e = image->Tiles[rng() % kFloors][rng() % kLayers][rng() % kGrid][rng() % kGrid];
      e.Id = uint16_t(rng());
      e.Z = int16_t(rng() % 5 == 0 ? rng() : rng() % 200);
      e.Mark = uint16_t(rng());
    }
    const int base = int(rng() % 12) - 1;
    image->BaseHeight = base;  // the writer writes what the house holds, even outside 0..9
    ASSERT_EQ(HouseFileText(*image), PlainText(*image, base)) << round;
    doc.doc->SetSize(image->Width, image->Height);
    doc.doc->SetBaseHeight(base);
    std::memcpy(doc.doc->Tiles, image->Tiles, sizeof image->Tiles);
    ASSERT_EQ(HouseFileText(*doc.doc), PlainText(*image, ClampBaseHeight(base))) << round;
  }
}

}  // namespace
}  // namespace tavi
