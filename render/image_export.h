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
// The encoding a file name asks for: ".jpg" and ".jpeg" are JPEG, ".png" is
// PNG, ".bmp" and every other name BMP (extensions in any case).
ImageFormat ImageFormatForSave(const std::string& fileName);
// The command-line tool's rule: ".png" is PNG, ".jpg" JPEG, every other
// name BMP.
ImageFormat ImageFormatForCli(const std::string& fileName);
// Whether the name ends in one of the four picture extensions above.
bool HasImageExtension(const std::string& fileName);
// The name as a picture is saved under: kept when it has a picture
// extension, else with the chosen format's extension (".bmp", ".jpg",
// ".png") appended.
std::string ImageFileName(const std::string& fileName, ImageFormat chosen);

// Encoders into memory; false on an empty bitmap or an encoder failure.
bool EncodeBmp(const TBitmap24& bmp, std::string* out);
bool EncodeJpeg(const TBitmap24& bmp, int quality, std::string* out);
bool EncodePng(const TBitmap24& bmp, std::string* out);

// The file's bytes in the given format; the caller writes them
// (WriteFileAtomically). False on an empty bitmap or an encoder failure.
bool EncodeImage(const TBitmap24& bmp, ImageFormat format, int jpegQuality, std::string* out);

}  // namespace tavi
