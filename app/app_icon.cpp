#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace tavi {

namespace {

struct Face {
  const char* fill;
  const char* line;
  std::initializer_list<QPointF> points;
};

QPixmap Paint(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  const Face faces[] = {
      {"#5a9e3a", nullptr, {{32, 34}, {62, 49}, {32, 64}, {2, 49}}},
      {"#b9a27a", "#5b4a2e", {{8, 30}, {32, 42}, {32, 58}, {8, 46}}},
      {"#8f7a55", "#5b4a2e", {{32, 42}, {56, 30}, {56, 46}, {32, 58}}},
      {"#b43a2a", "#6a1e14", {{8, 30}, {20, 10}, {44, 22}, {32, 42}}},
      {"#8c2c20", "#6a1e14", {{32, 42}, {44, 22}, {56, 30}}},
      {"#4a3522", nullptr, {{40, 46}, {48, 42}, {48, 52}, {40, 56}}},
  };
  for (const Face& f : faces) {
    p.setBrush(QColor(f.fill));
    p.setPen(f.line ? QPen(QColor(f.line), 1) : QPen(Qt::NoPen));
    p.drawPolygon(QPolygonF(QVector<QPointF>(f.points)));
  }
  return pm;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 64, 128, 256}) icon.addPixmap(Paint(size));
  return icon;
}

}  // namespace tavi
