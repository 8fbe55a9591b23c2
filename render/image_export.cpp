#include "render/image_export.h"

#include <jpeglib.h>
#include <zlib.h>

#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace tavi {

namespace {

std::string LowerExtension(const std::string& name) {
  size_t slash = name.find_last_of('/');
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

bool ValidBitmap(const TBitmap24& bmp) {
  return bmp.Width > 0 && bmp.Height > 0 && bmp.Bits.size() >= size_t(bmp.Width) * bmp.Height * 3;
}

void Put16(std::string* s, uint32_t v) {
  s->push_back(char(v & 0xFF));
  s->push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string* s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
void PutBE32(std::string* s, uint32_t v) {
  for (int k = 3; k >= 0; --k) s->push_back(char((v >> (8 * k)) & 0xFF));
}

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};
void JpegErrorExit(j_common_ptr cinfo) {
  longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void PngChunk(std::string* out, const char* type, const std::string& data) {
  PutBE32(out, uint32_t(data.size()));
  std::string body(type, 4);
  body += data;
  out->append(body);
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
  PutBE32(out, uint32_t(crc));
}

}  // namespace

int JpegQualityFor(int setting) {
  switch (setting) {
    case 0:
      return 90;
    case 1:
      return 70;
    case 2:
      return 50;
    default:
      return 90;
  }
}

ImageFormat ImageFormatForSave(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  if (ext == ".jpg" || ext == ".jpeg") return ImageFormat::kJpeg;
  if (ext == ".png") return ImageFormat::kPng;
  return ImageFormat::kBmp;
}

ImageFormat ImageFormatForCli(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  if (ext == ".png") return ImageFormat::kPng;
  return ext == ".jpg" ? ImageFormat::kJpeg : ImageFormat::kBmp;
}

bool HasImageExtension(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  return ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".png";
}

std::string ImageFileName(const std::string& fileName, ImageFormat chosen) {
  if (fileName.empty() || HasImageExtension(fileName)) return fileName;
  switch (chosen) {
    case ImageFormat::kJpeg:
      return fileName + ".jpg";
    case ImageFormat::kPng:
      return fileName + ".png";
    case ImageFormat::kBmp:
      break;
  }
  return fileName + ".bmp";
}

bool EncodeBmp(const TBitmap24& bmp, std::string* out) {
  if (!ValidBitmap(bmp)) return false;
  const uint32_t stride = (uint32_t(bmp.Width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * uint32_t(bmp.Height);
  out->clear();
  out->reserve(54 + imageSize);
  out->append("BM");
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);  // BITMAPINFOHEADER
  Put32(out, uint32_t(bmp.Width));
  Put32(out, uint32_t(bmp.Height));  // positive: rows bottom first
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  const std::string pad(stride - uint32_t(bmp.Width) * 3, '\0');
  for (int y = bmp.Height - 1; y >= 0; --y) {
    out->append(reinterpret_cast<const char*>(&bmp.Bits[size_t(y) * bmp.Width * 3]),
                size_t(bmp.Width) * 3);
    out->append(pad);
  }
  return true;
}

bool EncodeJpeg(const TBitmap24& bmp, int quality, std::string* out) {
  if (!ValidBitmap(bmp)) return false;
  jpeg_compress_struct cinfo;
  JpegError err;
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  std::vector<uint8_t> row(size_t(bmp.Width) * 3);
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &mem, &memSize);
  cinfo.image_width = JDIMENSION(bmp.Width);
  cinfo.image_height = JDIMENSION(bmp.Height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality < 0 ? 0 : (quality > 100 ? 100 : quality), TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = &bmp.Bits[size_t(cinfo.next_scanline) * bmp.Width * 3];
    for (int x = 0; x < bmp.Width; ++x) {  // B, G, R -> R, G, B
      row[x * 3] = src[x * 3 + 2];
      row[x * 3 + 1] = src[x * 3 + 1];
      row[x * 3 + 2] = src[x * 3];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  out->assign(reinterpret_cast<const char*>(mem), memSize);
  jpeg_destroy_compress(&cinfo);
  free(mem);
  return true;
}

bool EncodePng(const TBitmap24& bmp, std::string* out) {
  if (!ValidBitmap(bmp)) return false;
  std::string raw;
  raw.reserve((size_t(bmp.Width) * 3 + 1) * bmp.Height);
  for (int y = 0; y < bmp.Height; ++y) {
    raw.push_back('\0');  // no filter
    const uint8_t* src = &bmp.Bits[size_t(y) * bmp.Width * 3];
    for (int x = 0; x < bmp.Width; ++x) {
      raw.push_back(char(src[x * 3 + 2]));
      raw.push_back(char(src[x * 3 + 1]));
      raw.push_back(char(src[x * 3]));
    }
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK)
    return false;
  packed.resize(packedSize);
  std::string ihdr;
  PutBE32(&ihdr, uint32_t(bmp.Width));
  PutBE32(&ihdr, uint32_t(bmp.Height));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
  out->assign("\x89PNG\r\n\x1a\n", 8);
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", packed);
  PngChunk(out, "IEND", "");
  return true;
}

bool EncodeImage(const TBitmap24& bmp, ImageFormat format, int jpegQuality, std::string* out) {
  switch (format) {
    case ImageFormat::kJpeg:
      return EncodeJpeg(bmp, jpegQuality, out);
    case ImageFormat::kPng:
      return EncodePng(bmp, out);
    case ImageFormat::kBmp:
      break;
  }
  return EncodeBmp(bmp, out);
}

}  // namespace tavi
