// Choosing a design format: by name, by extension and by content.
#include "io/design_formats.h"

#include "io/design_text.h"
#include "io/house_file.h"

namespace tavi {

using namespace design;

namespace {

struct FormatName {
  DesignFormat format;
  const char* name;
};
constexpr FormatName kNames[] = {{DesignFormat::kUoaText, "uoa"},
                                 {DesignFormat::kMultiText, "txt"},
                                 {DesignFormat::kUoaBinary, "uoab"},
                                 {DesignFormat::kCsv, "csv"},
                                 {DesignFormat::kWsc, "wsc"}};

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         EqualsNoCase(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

bool LooksBinary(std::string_view bytes) {
  return bytes.size() >= 2 && (bytes[0] == 1 || bytes[0] == 2) && bytes[1] == 0;
}

// The first line that is not blank says "version".
bool LooksUoaText(std::string_view bytes) {
  LineReader lines(bytes);
  std::string_view line;
  while (lines.Next(&line)) {
    line = Trim(line);
    if (line.empty()) continue;
    for (size_t i = 0; i + 7 <= line.size(); ++i)
      if (EqualsNoCase(line.substr(i, 7), "version")) return true;
    return false;
  }
  return false;
}

}  // namespace

const char* DesignFormatName(DesignFormat format) {
  for (const FormatName& n : kNames)
    if (n.format == format) return n.name;
  return "uoa";
}

bool DesignFormatByName(std::string_view name, DesignFormat* format) {
  for (const FormatName& n : kNames)
    if (name == n.name) {
      *format = n.format;
      return true;
    }
  return false;
}

DesignFormat DesignFormatForWrite(const std::string& path) {
  if (EndsWithNoCase(path, ".uoa.txt")) return DesignFormat::kUoaText;
  if (EndsWithNoCase(path, ".uoa")) return DesignFormat::kUoaBinary;
  if (EndsWithNoCase(path, ".txt")) return DesignFormat::kMultiText;
  if (EndsWithNoCase(path, ".csv")) return DesignFormat::kCsv;
  if (EndsWithNoCase(path, ".wsc")) return DesignFormat::kWsc;
  return DesignFormat::kUoaText;
}

DesignFormat DesignFormatForRead(const std::string& path, std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (EndsWithNoCase(path, ".csv")) return DesignFormat::kCsv;
  if (EndsWithNoCase(path, ".wsc")) return DesignFormat::kWsc;
  if (LooksBinary(bytes)) return DesignFormat::kUoaBinary;
  if (LooksUoaText(bytes)) return DesignFormat::kUoaText;
  if (EndsWithNoCase(path, ".txt")) return DesignFormat::kMultiText;
  // Any other name: what the content looks like.
  std::string_view head = Trim(bytes.substr(0, 64));
  if (StartsWithNoCase(head, "SECTION")) return DesignFormat::kWsc;
  if (StartsWithNoCase(head, "TileID,") || StartsWithNoCase(head, "id,")) return DesignFormat::kCsv;
  return DesignFormat::kMultiText;
}

bool ReadDesign(DesignFormat format, std::string_view bytes, const std::string& file,
                DesignFile* out, std::string* error) {
  // Text written on Windows may start with a byte order mark.
  if (format != DesignFormat::kUoaBinary && bytes.substr(0, 3) == "\xEF\xBB\xBF")
    bytes.remove_prefix(3);
  switch (format) {
    case DesignFormat::kUoaText:
      return ReadUoaText(bytes, file, out, error);
    case DesignFormat::kMultiText:
      return ReadMultiText(bytes, file, out, error);
    case DesignFormat::kUoaBinary:
      return ReadUoaBinary(bytes, file, out, error);
    case DesignFormat::kCsv:
      return ReadDesignCsv(bytes, file, out, error);
    case DesignFormat::kWsc:
      return ReadWsc(bytes, file, out, error);
  }
  return false;
}

std::string WriteDesign(DesignFormat format, const Design& design) {
  switch (format) {
    case DesignFormat::kUoaText:
      return WriteUoaText(design);
    case DesignFormat::kMultiText:
      return WriteMultiText(design);
    case DesignFormat::kUoaBinary:
      return WriteUoaBinary(design);
    case DesignFormat::kCsv:
      return WriteDesignCsv(design);
    case DesignFormat::kWsc:
      return WriteWsc(design);
  }
  return {};
}

bool ReadDesignFile(const std::string& path, const DesignFormat* format, DesignFile* out,
                    std::string* error) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  return ReadDesign(format ? *format : DesignFormatForRead(path, bytes), bytes, path, out, error);
}

}  // namespace tavi
