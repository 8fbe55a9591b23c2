// Comma-text splitting, number reading, line splitting and the Base64 variant.
#include <gtest/gtest.h>

#include "io/base64_variant.h"
#include "io/comma_text.h"

namespace tavi {
namespace {

using Fields = std::vector<std::string>;

TEST(CommaText, SplitsLikeTheHouseFileReaderExpects) {
  EXPECT_EQ(SplitCommaText("0,3,4,7,1234"), (Fields{"0", "3", "4", "7", "1234"}));
  EXPECT_EQ(SplitCommaText("0, 3, 4, 7, 1234"), (Fields{"0", "3", "4", "7", "1234"}));
  EXPECT_EQ(SplitCommaText("0,,3,4,7"), (Fields{"0", "", "3", "4", "7"}));
  EXPECT_EQ(SplitCommaText(",a"), (Fields{"", "a"}));
  EXPECT_EQ(SplitCommaText("a,"), (Fields{"a"}));
  EXPECT_EQ(SplitCommaText(""), Fields{});
  EXPECT_EQ(SplitCommaText("  \t "), Fields{});
  EXPECT_EQ(SplitCommaText("a b\tc"), (Fields{"a", "b", "c"}));
  EXPECT_EQ(SplitCommaText("a , , b"), (Fields{"a", "", "b"}));
  // Quoted fields: quotes removed, doubled quotes stand for one, an open
  // quote runs to the end of the line, text right after a closing quote
  // starts a new field.
  EXPECT_EQ(SplitCommaText("\"TAVI File ver 1.00\",8,8,7"),
            (Fields{"TAVI File ver 1.00", "8", "8", "7"}));
  EXPECT_EQ(SplitCommaText("\"a\"\"b\",c"), (Fields{"a\"b", "c"}));
  EXPECT_EQ(SplitCommaText("\"open, field"), (Fields{"open, field"}));
  EXPECT_EQ(SplitCommaText("\"a\"b"), (Fields{"a", "b"}));
  // An unquoted version text splits at its spaces.
  EXPECT_EQ(SplitCommaText("TAVI File ver 1.00,8,8,7")[0], "TAVI");
}

TEST(CommaText, ReadsNumbersWithoutEverFailing) {
  EXPECT_EQ(ReadNumber("1234"), 1234);
  EXPECT_EQ(ReadNumber("-5"), -5);
  EXPECT_EQ(ReadNumber("+5"), 5);
  EXPECT_EQ(ReadNumber("  42"), 42);
  EXPECT_EQ(ReadNumber("$1F"), 31);
  EXPECT_EQ(ReadNumber("x1f"), 31);
  EXPECT_EQ(ReadNumber("0X10"), 16);
  EXPECT_EQ(ReadNumber("-$10"), -16);
  EXPECT_EQ(ReadNumber("$FFFFFFFF"), -1);
  EXPECT_EQ(ReadNumber("0"), 0);
  // A stray character ends the number; the sign is then lost.
  EXPECT_EQ(ReadNumber("12a"), 12);
  EXPECT_EQ(ReadNumber("-12a"), 12);
  EXPECT_EQ(ReadNumber("abc"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("-"), 0);
  EXPECT_EQ(ReadNumber("2147483647"), 2147483647);
  EXPECT_EQ(ReadNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadNumber("99999999999"), 999999999);  // stops before leaving 32 bits
}

TEST(CommaText, SplitsLinesAtEveryKindOfLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Fields{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), Fields{"a"});
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Fields{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Fields{"a", "", "b"}));
  EXPECT_EQ(SplitLines(""), Fields{});
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

Fields Encode(const std::vector<uint8_t>& data, int width) {
  Fields lines;
  Base64Encode(data, lines, width);
  return lines;
}

std::string Decode(const Fields& lines) {
  std::vector<uint8_t> out{9, 9};
  Base64Decode(out, lines);
  return std::string(out.begin(), out.end());
}

TEST(Base64Variant, PacksLeastSignificantBitsFirst) {
  EXPECT_EQ(Encode(Bytes("abc"), 76), Fields{"hJ2Y"});
  EXPECT_EQ(Encode(Bytes("ab"), 76), Fields{"hJm="});
  EXPECT_EQ(Encode(Bytes("a"), 76), Fields{"hF=="});
  EXPECT_EQ(Encode({}, 76), Fields{});
  EXPECT_EQ(Decode({"hJ2Y"}), "abc");
  EXPECT_EQ(Decode({"hJm="}), "ab");
  EXPECT_EQ(Decode({"hF=="}), "a");
}

TEST(Base64Variant, BreaksLinesAtTheWidth) {
  const Fields one = Encode(std::vector<uint8_t>(57, 0x41), 76);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].size(), 76u);
  const Fields two = Encode(std::vector<uint8_t>(58, 0x41), 76);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].size(), 4u);
  EXPECT_EQ(two[1].substr(2), "==");
  EXPECT_EQ(Encode(Bytes("abc"), 1), (Fields{"h", "J", "2", "Y"}));
  EXPECT_EQ(Encode(Bytes("abc"), 0), (Fields{"h", "J", "2", "Y"}));
}

TEST(Base64Variant, DecodesAcrossSpacesAndLinesAndStopsAtTheFirstStranger) {
  EXPECT_EQ(Decode({"hJ 2Y"}), "abc");
  EXPECT_EQ(Decode({"hJ", "2Y"}), "abc");
  EXPECT_EQ(Decode({"hJm=hJ2Y"}), "ab");
  EXPECT_EQ(Decode({"hJ2Yh"}), "abc");
  EXPECT_EQ(Decode({"hJ2Y-hJ2Y"}), "abc");
  EXPECT_EQ(Decode({"hJ2Y", "====", "hJ2Y"}), "abc");
  EXPECT_EQ(Decode({}), "");
}

TEST(Base64Variant, RoundTripsEveryLengthAndWidth) {
  std::vector<uint8_t> data;
  for (int n = 0; n < 200; ++n) {
    for (int width : {1, 4, 36, 76}) {
      const Fields lines = Encode(data, width);
      for (size_t i = 0; i + 1 < lines.size(); ++i)
        ASSERT_EQ(lines[i].size(), size_t(width < 1 ? 1 : width));
      std::vector<uint8_t> back;
      Base64Decode(back, lines);
      ASSERT_EQ(back, data) << "length " << n << " width " << width;
    }
    data.push_back(static_cast<uint8_t>(n * 37 + 11));
  }
}

}  // namespace
}  // namespace tavi
