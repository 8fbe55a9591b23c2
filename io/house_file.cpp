#include "io/house_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/atomic_file.h"
#include "io/comma_text.h"

namespace tavi {

namespace {

void AppendInt(std::string& out, int v) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%d", v);
  out.append(buf, size_t(n));
}

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

}  // namespace

std::string HouseFileText(const HouseImage& image, int baseHeight) {
  std::string out;
  out.reserve(64 + size_t(image.CountEntries()) * 20);
  out += '"';
  out += kVersionText;
  out += "\",";
  AppendInt(out, image.Width);
  out += ',';
  AppendInt(out, image.Height);
  out += ',';
  AppendInt(out, baseHeight);
  out += "\r\n";
  const int w = image.Width < kGrid ? image.Width : kGrid;
  const int h = image.Height < kGrid ? image.Height : kGrid;
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int layer = 0; layer < kLayers; ++layer) {
          const TileEntry& e = image.Tiles[f][layer][y][x];
          if (e.Id == 0) continue;
          AppendInt(out, f);
          out += ',';
          AppendInt(out, x);
          out += ',';
          AppendInt(out, y);
          out += ',';
          AppendInt(out, e.Z);
          out += ',';
          // Ids are written as their signed 16-bit reading; the reader keeps
          // the low 16 bits, which restores them.
          AppendInt(out, static_cast<int16_t>(e.Id));
          out += "\r\n";
        }
  return out;
}

std::string HouseFileText(const TTAVIDoc& doc, int baseHeight) {
  return HouseFileText(*ImageOfDocument(doc), baseHeight);
}

bool ReadWholeFile(const std::string& path, std::string* out, std::string* error, size_t maxBytes) {
  out->clear();
  // Without O_NONBLOCK, opening a FIFO that nothing writes to would wait
  // forever. Reads block again afterwards: a pipe with a writer (process
  // substitution, /dev/stdin) is read to its end, one without reads as empty.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = SystemError("cannot open", path);
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  char buf[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = SystemError("cannot read", path);
      ok = false;
      break;
    }
    if (n == 0) break;
    if (out->size() + size_t(n) > maxBytes) {
      if (error) *error = "file '" + path + "' is too large";
      ok = false;
      break;
    }
    out->append(buf, size_t(n));
  }
  ::close(fd);
  if (!ok) out->clear();
  return ok;
}

SaveResult SaveImageToFile(const HouseImage& image, const std::string& path, int baseHeight) {
  SaveResult result;
  result.ok = WriteFileAtomically(path, HouseFileText(image, baseHeight), &result.error);
  return result;
}

SaveResult SaveToFile(TTAVIDoc& doc, const std::string& path, int baseHeight) {
  SaveResult result = SaveImageToFile(*ImageOfDocument(doc), path, baseHeight);
  if (result.ok) doc.Modified = false;
  return result;
}

LoadResult ParseHouseFile(std::string_view text, HouseImage& image) {
  image.ClearTiles();
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) return LoadResult::Failure("the file is empty");
  const std::vector<std::string> header = SplitCommaText(lines[0]);
  if (header.empty() || header[0] != kVersionText)
    return LoadResult::Failure("Can not use this file version.", LoadFailure::kVersion);
  if (header.size() < 4)
    return LoadResult::Failure("line 1: the header has fewer than four fields");
  const int32_t width = ReadNumber(header[1]);
  const int32_t height = ReadNumber(header[2]);
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
    const int32_t floor = ReadNumber(f[0]);
    const int32_t x = ReadNumber(f[1]);
    const int32_t y = ReadNumber(f[2]);
    const auto z = static_cast<int16_t>(static_cast<uint16_t>(ReadNumber(f[3])));
    const auto id = static_cast<uint16_t>(ReadNumber(f[4]));
    if (floor < 0 || floor >= kFloors || x < 0 || y < 0 || x >= width || y >= height) continue;
    if (id == 0) continue;             // an empty entry adds nothing to the stack
    image.Append(floor, x, y, id, z);  // a full cell drops the line
  }
  return LoadResult::Success(base);
}

LoadResult LoadFromText(TTAVIDoc& doc, std::string_view text) {
  auto image = NewHouseImage();
  LoadResult result = ParseHouseFile(text, *image);
  if (result.ok) TakeOverImage(doc, *image);
  return result;
}

LoadResult LoadFromFile(TTAVIDoc& doc, const std::string& path) {
  std::string text, error;
  if (!ReadWholeFile(path, &text, &error)) return LoadResult::Failure(error, LoadFailure::kFile);
  LoadResult result = LoadFromText(doc, text);
  if (!result.ok && result.failure != LoadFailure::kVersion)
    result.error = "'" + path + "' " + result.error;
  return result;
}

std::string HouseNameOf(const std::string& fileName) {
  const size_t sep = fileName.find_last_of("\\/:");
  std::string name = sep == std::string::npos ? fileName : fileName.substr(sep + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string WindowTitleFor(const std::string& fileName) {
  return "Tavi Editor - " + HouseNameOf(fileName);
}

}  // namespace tavi
