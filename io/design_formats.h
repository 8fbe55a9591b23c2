#pragma once
// Readers and writers of the design exchange formats, one source file each:
//   design_uoa_text    "6 version" header, then "id x y z flags" lines
//   design_multi_text  "0x<ID> x y z flags" lines
//   design_uoa_binary  little-endian records with names, one or several designs
//   design_csv         three dialects told apart by the header row
//   design_wsc         "SECTION WORLDITEM" blocks of world positions
// Readers never fail on what they can skip; on a fault they return false with
// one line naming the file and the line (text) or byte offset (binary). Tolerated
// faults (a component count that does not match) go to `warning`.
#include <string>
#include <string_view>
#include <vector>

#include "io/design.h"

namespace tavi {

enum class DesignFormat { kUoaText, kMultiText, kUoaBinary, kCsv, kWsc };

struct DesignFile {
  std::vector<Design> designs;  // one, except in binary files of several designs
  std::string warning;          // "" or one line per tolerated fault
};

// The command-line names: uoa, txt, uoab, csv, wsc.
const char* DesignFormatName(DesignFormat format);
bool DesignFormatByName(std::string_view name, DesignFormat* format);
// The format of a file to write, by its extension (.uoa.txt: UOA text, .uoa:
// UOA binary, .txt: plain text, .csv, .wsc; anything else: UOA text).
DesignFormat DesignFormatForWrite(const std::string& path);
// The format of a file read: the extension where it is plain, the content
// where it is not (.uoa: binary when it starts with 01 00 or 02 00; .txt: UOA
// text when its first line says "version").
DesignFormat DesignFormatForRead(const std::string& path, std::string_view bytes);

bool ReadUoaText(std::string_view text, const std::string& file, DesignFile* out,
                 std::string* error);
bool ReadMultiText(std::string_view text, const std::string& file, DesignFile* out,
                   std::string* error);
bool ReadUoaBinary(std::string_view bytes, const std::string& file, DesignFile* out,
                   std::string* error);
bool ReadDesignCsv(std::string_view text, const std::string& file, DesignFile* out,
                   std::string* error);
bool ReadWsc(std::string_view text, const std::string& file, DesignFile* out, std::string* error);
bool ReadDesign(DesignFormat format, std::string_view bytes, const std::string& file,
                DesignFile* out, std::string* error);

std::string WriteUoaText(const Design& design);
std::string WriteMultiText(const Design& design);
// Coordinates from the plot's north-west corner (the design's origin), level
// as given, hue 0; width and height from the components written.
std::string WriteUoaBinary(const std::vector<Design>& designs);
std::string WriteUoaBinary(const Design& design);
std::string WriteDesignCsv(const Design& design);
std::string WriteWsc(const Design& design);
std::string WriteDesign(DesignFormat format, const Design& design);

// Reads a design file (format by --format or by the file); false with a
// one-line message naming the file.
bool ReadDesignFile(const std::string& path, const DesignFormat* format, DesignFile* out,
                    std::string* error);

}  // namespace tavi
