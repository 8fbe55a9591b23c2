#pragma once
// The .tav house file: a header line with the quoted version text, plot size
// and base height, then one "floor,x,y,z,id" line per placed tile, CR LF.
#include <string>
#include <string_view>

#include "document/house_document.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

inline constexpr const char* kVersionText = "TAVI File ver 1.00";

// The file's whole text for a house (header and entry lines, CR LF each).
std::string HouseFileText(const HouseImage& image);
std::string HouseFileText(const TTAVIDoc& doc);

// Writes the house to a temporary file beside `path` and renames it over
// `path`. Clears Modified on success; on failure Modified stays set and an
// existing file at `path` is left intact.
SaveResult SaveToFile(TTAVIDoc& doc, const std::string& path);
// The same write for a house image (used by the command-line tool).
SaveResult SaveImageToFile(const HouseImage& image, const std::string& path);

// Parses house file text into `image` (plot size, base height, tiles); the
// result carries the base height as the header stored it. Entry lines outside
// floors 0..4 or the plot are skipped; a header size outside 1..32 or a wrong
// version text fails.
LoadResult ParseHouseFile(std::string_view text, HouseImage& image);

// Reads a house file into the document. On failure the document (tiles, size,
// undo history, Modified) is untouched and the result says what failed.
LoadResult LoadFromFile(TTAVIDoc& doc, const std::string& path);
LoadResult LoadFromText(TTAVIDoc& doc, std::string_view text);

// Reads a whole file; false with a message when it cannot be read. Files
// larger than `maxBytes` are refused.
bool ReadWholeFile(const std::string& path, std::string* out, std::string* error,
                   size_t maxBytes = size_t(64) << 20);

// The house name of a file: the text after the last '\', '/' or ':' with the
// part from the last '.' onward removed when that '.' comes after them.
std::string HouseNameOf(const std::string& fileName);
// "Tavi Editor - " followed by the house name of the file.
std::string WindowTitleFor(const std::string& fileName);

}  // namespace tavi
