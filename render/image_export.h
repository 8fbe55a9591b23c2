#pragma once
// Pictures of the view encoded for files: 24-bit BMP, JPEG through libjpeg
// and PNG through zlib.
#include <string>

#include "client/tile_data.h"

namespace tavi {

// JPEG quality from the JpegQuality setting: 0 -> 90, 1 -> 70, 2 -> 50,
// anything else -> 90.
int JpegQualityFor(int setting);

enum class ImageFormat { kBmp, kJpeg, kPng };
// ".jpg" (any case) is JPEG; every other name is BMP.
ImageFormat ImageFormatForSave(const std::string& fileName);
// As above, and ".png" (any case) is PNG (the command-line tool).
ImageFormat ImageFormatForCli(const std::string& fileName);

// Encoders into memory; false on an empty bitmap or an encoder failure.
bool EncodeBmp(const TBitmap24& bmp, std::string* out);
bool EncodeJpeg(const TBitmap24& bmp, int quality, std::string* out);
bool EncodePng(const TBitmap24& bmp, std::string* out);

// The file's bytes in the given format; the caller writes them
// (WriteFileAtomically). False on an empty bitmap or an encoder failure.
bool EncodeImage(const TBitmap24& bmp, ImageFormat format, int jpegQuality, std::string* out);

}  // namespace tavi
