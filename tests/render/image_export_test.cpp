#include "render/image_export.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

TEST(ImageExport, ExtensionRulesAndQualityMap) {
  EXPECT_EQ(ImageFormatForSave("a/view.JPG"), ImageFormat::kJpeg);
  EXPECT_EQ(ImageFormatForSave("view.jpg"), ImageFormat::kJpeg);
  EXPECT_EQ(ImageFormatForSave("view.jpeg"), ImageFormat::kJpeg);
  EXPECT_EQ(ImageFormatForSave("house.png"), ImageFormat::kPng);
  EXPECT_EQ(ImageFormatForSave("house.Bmp"), ImageFormat::kBmp);
  EXPECT_EQ(ImageFormatForSave("my.jpg/view"), ImageFormat::kBmp);
  // A name without a picture extension takes the chosen filter's.
  EXPECT_EQ(ImageFileName("a/house", ImageFormat::kPng), "a/house.png");
  EXPECT_EQ(ImageFileName("a.b/house.v2", ImageFormat::kJpeg), "a.b/house.v2.jpg");
  EXPECT_EQ(ImageFileName("house", ImageFormat::kBmp), "house.bmp");
  EXPECT_EQ(ImageFileName("house.JPEG", ImageFormat::kPng), "house.JPEG");
  EXPECT_EQ(ImageFileName("my.png/view", ImageFormat::kPng), "my.png/view.png");
  EXPECT_EQ(ImageFormatForCli("view.PNG"), ImageFormat::kPng);
  EXPECT_EQ(ImageFormatForCli("view.Jpg"), ImageFormat::kJpeg);
  EXPECT_EQ(JpegQualityFor(0), 90);
  EXPECT_EQ(JpegQualityFor(1), 70);
  EXPECT_EQ(JpegQualityFor(2), 50);
  EXPECT_EQ(JpegQualityFor(7), 90);
  EXPECT_EQ(JpegQualityFor(-1), 90);
}

TEST(ImageExport, BmpIsBottomUpWithPaddedRows) {
  TBitmap24 bmp(3, 2);
  bmp.Pixel(0, 0)[0] = 11;  // top-left blue
  bmp.Pixel(2, 1)[2] = 99;  // bottom-right red
  std::string data;
  ASSERT_TRUE(EncodeBmp(bmp, &data));
  ASSERT_EQ(data.size(), 54u + 2 * 12);
  EXPECT_EQ(data.substr(0, 2), "BM");
  EXPECT_EQ(uint8_t(data[2]), 54 + 24);
  EXPECT_EQ(uint8_t(data[18]), 3);  // width
  EXPECT_EQ(uint8_t(data[22]), 2);  // height, positive: bottom row first
  EXPECT_EQ(uint8_t(data[28]), 24);
  EXPECT_EQ(uint8_t(data[54 + 6 + 2]), 99);  // first stored row is the bottom one
  EXPECT_EQ(uint8_t(data[54 + 12]), 11);
  EXPECT_FALSE(EncodeBmp(TBitmap24(), &data));
}

TEST(ImageExport, JpegAndPngEncodeAndTheFormatPicksTheEncoder) {
  TBitmap24 bmp(64, 48, 128);
  std::string jpg, png, bmpBytes, data;
  ASSERT_TRUE(EncodeJpeg(bmp, 90, &jpg));
  EXPECT_EQ(uint8_t(jpg[0]), 0xFF);
  EXPECT_EQ(uint8_t(jpg[1]), 0xD8);
  ASSERT_TRUE(EncodePng(bmp, &png));
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
  ASSERT_TRUE(EncodeBmp(bmp, &bmpBytes));

  ASSERT_TRUE(EncodeImage(bmp, ImageFormatForSave("render_export.JPG"), 90, &data));
  EXPECT_EQ(data, jpg);
  ASSERT_TRUE(EncodeImage(bmp, ImageFormat::kJpeg, 50, &data));
  EXPECT_NE(data, jpg);  // the quality reaches the encoder
  ASSERT_TRUE(EncodeImage(bmp, ImageFormatForCli("x.png"), 90, &data));
  EXPECT_EQ(data, png);
  ASSERT_TRUE(EncodeImage(bmp, ImageFormatForSave("x.png"), 90, &data));
  EXPECT_EQ(data, png);
  ASSERT_TRUE(EncodeImage(bmp, ImageFormatForSave("x.bmp"), 90, &data));
  EXPECT_EQ(data, bmpBytes);
  EXPECT_FALSE(EncodeImage(TBitmap24(), ImageFormat::kPng, 90, &data));
}

}  // namespace
}  // namespace tavi
