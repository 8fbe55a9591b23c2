#pragma once
// Whole-house text for the clipboard: a header line "TAVI File ver 1.00=" +
// house name filled with '=' to the line width, the packed house in the
// Base64 variant, and a closing line of '='. The packed house is a 2-byte size
// word and one zlib stream of the plot word and the cell stream.
#include <cstdint>
#include <string>
#include <vector>

#include "document/doc_host.h"
#include "document/house_document.h"
#include "io/house_image.h"
#include "io/io_result.h"

namespace tavi {

// Largest unpacked house: the plot word plus, for every cell of five floors,
// 32 records of at most 5 bytes. Inflating stops past this.
constexpr size_t kMaxUnpackedHouse = 2 + size_t(kFloors) * kGrid * kGrid * (kLayers * 5 + 1);
// Line widths offered by the configuration dialog.
constexpr int kClipLineWidths[] = {36, 44, 52, 60, 68, 76};

// The unpacked house (plot word and cell stream). Fails for plots of 32
// cells, base heights outside 0..31 or ids above 16383, which the plot word
// and the records cannot carry.
bool EncodeCellStream(const HouseImage& image, std::vector<uint8_t>* out, std::string* error);
// Reads an unpacked house into `image` (emptied first; its base height set
// from the plot word, clamped); returns the base height from the plot word,
// or -1 with a message when the plot size is 0. Rectangles reaching past the
// plot are clipped to it; a stream that ends early leaves the remaining cells
// empty.
int DecodeCellStream(const std::vector<uint8_t>& data, HouseImage& image, std::string* error);

// Builds the whole clipboard text (CR LF after every line). Empty string and a
// message on failure. `warning` tells about altitudes outside -32..31, which
// the records keep to 6 bits.
std::string BuildClipText(const HouseImage& image, int lineWidth, const std::string& houseName,
                          std::string* error, std::string* warning = nullptr);

// Puts the document's house on the clipboard. The document is not changed.
SaveResult ExportClipText(const TTAVIDoc& doc, ITextClipboard& clipboard, int lineWidth,
                          const std::string& houseName);

// Parses clipboard text into `image`; the result carries the base height from
// the plot word (0..31) and `houseName` the name from the header line.
LoadResult ParseClipText(const std::string& text, HouseImage& image, std::string* houseName);

// Replaces the document with the house on the clipboard. On failure the
// document is untouched.
LoadResult ImportClipText(TTAVIDoc& doc, const ITextClipboard& clipboard, std::string* houseName);

}  // namespace tavi
