// The house view draws hover ticks, previews, pointed entries and selection
// changes in part: every frame must equal, pixel for pixel, the frame a view
// drawing whole frames shows for the same state, and picking (which reads the
// frame's depth) must find the same entries. A dense demo house at several
// zooms, in the day and at night.
#include <QImage>
#include <QTest>
#include <memory>

#include "render/gl/house_view.h"
#include "render/projection.h"
#include "support/dense_house.h"

namespace tavi {

class PartialRepaintViewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::DenseHouse> house_;
  std::unique_ptr<THouseView> part_, whole_;
  int steps_ = 0, drawnInPart_ = 0;

  std::unique_ptr<THouseView> MakeView() {
    auto v = std::make_unique<THouseView>();
    v->resize(480, 360);
    v->SetDocument(house_->doc.get());
    v->SetTileData(house_->data.get());
    v->show();
    return v;
  }

  // Shows the state in both views and compares the frames.
  void Step(const ViewState& s, const char* what, bool picks = false) {
    part_->SetViewState(s);
    const QImage a = part_->CaptureView();
    if (part_->LastPaintedShare() < 1) ++drawnInPart_;
    ++steps_;
    whole_->SetViewState(s);
    whole_->RepaintWhole();
    const QImage b = whole_->CaptureView();
    QCOMPARE(a.size(), b.size());
    if (a != b) {
      int bad = 0;
      for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) bad += a.pixel(x, y) != b.pixel(x, y);
      qWarning("%s at zoom %.2f: %d pixels differ", what, s.Zoom, bad);
      QFAIL(what);
    }
    if (!picks) return;
    for (int y = 10; y < 360; y += 37)
      for (int x = 7; x < 480; x += 41) {
        const int px = x + s.ScrollX, py = y + s.ScrollY;
        QCOMPARE(part_->PickAt(px, py), whole_->PickAt(px, py));
      }
  }

 private slots:
  void initTestCase() {
    house_ = std::make_unique<test::DenseHouse>(16);
    QVERIFY2(house_ && house_->Ok(), "no demo client");
    part_ = MakeView();
    whole_ = MakeView();
    QVERIFY(QTest::qWaitForWindowExposed(part_.get()));
    QVERIFY(QTest::qWaitForWindowExposed(whole_.get()));
  }

  void cleanupTestCase() {
    part_.reset();
    whole_.reset();
  }

  void everyFrameEqualsTheWholeFrame() {
    const std::vector<std::pair<int, int>> walk = {{6, 7}, {7, 7}, {7, 8}, {3, 12}, {15, 1}};
    for (double zoom : {1.0, 0.5, 1.25}) {
      const SurfaceSize size = PaintBoxSize(16, 16, zoom);
      ViewState s;
      s.CurrentFloor = 3;
      s.BackgroundMap = &house_->ground;
      s.Zoom = zoom;
      s.ScrollX = std::max(0, (size.Width - 480) / 2);
      s.ScrollY = std::max(0, (size.Height - 360) / 2 + 30);
      s.CurrentTile = house_->walls.front();
      Step(s, "first frame");
      for (auto [x, y] : walk) {
        s.HoverX = x, s.HoverY = y;
        Step(s, "hover with a preview", x == 7 && y == 7);
      }
      s.AutoStairs = true;
      s.StairsDirection = 2;
      Step(s, "automatic stairs");
      s.AutoStairs = false;
      s.ShiftDown = true;
      s.HoverLayer = 1;
      Step(s, "a pointed entry", true);
      s.ShiftDown = false;
      s.EditMode = kModeInner;
      s.CarriedId = house_->things.front();
      s.HoverX = 8;
      Step(s, "a carried tile");
      s.CarriedId = 0;
      s.EditMode = kModeStack;
      Step(s, "the Stack mode");
      for (CellRect r : {CellRect{4, 5, 6, 6}, CellRect{5, 5, 9, 8}, CellRect{}}) {
        s.Selection = r;
        Step(s, "a selection");
      }
      if (zoom != 1.0) continue;
      s.EditMode = kModeImmediate;
      s.View.Night = true;
      for (auto [x, y] : walk) {
        s.HoverX = x, s.HoverY = y;
        Step(s, "hover at night");
      }
    }
    // The view did draw in part, and most of the time.
    QVERIFY2(drawnInPart_ > steps_ / 2, "few frames drawn in part");
  }

  // A change of the house, even of one cell, draws the whole view again.
  void aChangeOfTheHouseDrawsTheWholeView() {
    ViewState s;
    s.CurrentFloor = 2;
    s.BackgroundMap = &house_->ground;
    part_->SetViewState(s);
    part_->CaptureView();
    TTAVIDoc& doc = *house_->doc;
    const TileEntry keep = doc.Tiles[2][0][5][5];
    doc.Tiles[2][0][5][5].Id = house_->walls.back();
    doc.UpdateCell(5, 5, 2);
    part_->CaptureView();
    QCOMPARE(part_->LastPaintedShare(), 1.0);
    doc.Tiles[2][0][5][5] = keep;
    doc.UpdateCell(5, 5, 2);
    Step(s, "the house as it was");
  }
};

}  // namespace tavi

QTEST_MAIN(tavi::PartialRepaintViewTest)
#include "partial_repaint_view_test.moc"
