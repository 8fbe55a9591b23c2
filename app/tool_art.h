#pragma once
// Item pictures for the tool windows: a tile's art drawn into a cell-sized
// 24-bit bitmap over a background colour, as a QImage.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <string>

namespace tavi {

class TUOTileData;

// Draws item `id` (art index id + 0x4000) at the bitmap's origin over `fill`.
// Without tile data the image holds the fill colour only.
QImage ItemPicture(const TUOTileData* tiles, uint16_t id, int w, int h, const QColor& fill);

// Text read from the client's files: item names are single-byte (Latin-1)
// strings, and every window shows them decoded the same way.
QString ClientText(const std::string& bytes);
// The name of item `id`; empty without tile data.
QString ItemNameText(const TUOTileData* tiles, uint16_t id);

// "No.%d (0x%x) Name:%s Height:%d" for a tile (hex digits upper-case).
QString TileStatusText(const TUOTileData* tiles, uint16_t id);

}  // namespace tavi
