#include "app/tool_art.h"

#include "client/tile_data.h"

namespace tavi {

QImage ItemPicture(const TUOTileData* tiles, uint16_t id, int w, int h, const QColor& fill) {
  TBitmap24 bmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = bmp.Pixel(x, y);
      p[0] = uint8_t(fill.blue());
      p[1] = uint8_t(fill.green());
      p[2] = uint8_t(fill.red());
    }
  if (tiles) tiles->DrawArt(bmp, kItemArtBase + id, 0, 0);
  // The bitmap's rows are B, G, R bytes without padding.
  QImage img(bmp.Bits.data(), w, h, w * 3, QImage::Format_BGR888);
  return img.copy();
}

QString ClientText(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

QString ItemNameText(const TUOTileData* tiles, uint16_t id) {
  return tiles ? ClientText(tiles->ItemName(id)) : QString();
}

QString TileStatusText(const TUOTileData* tiles, uint16_t id) {
  const QString name = ItemNameText(tiles, id);
  const int height = tiles ? tiles->ItemData[id].Height : 0;
  return QString("No.%1 (0x%2) Name:%3 Height:%4")
      .arg(id)
      .arg(QString::number(id, 16).toUpper())
      .arg(name)
      .arg(height);
}

}  // namespace tavi
