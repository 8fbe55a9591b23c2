// The OpenGL house view against the software renderer: the same demo house
// drawn both ways must agree pixel for pixel within a small tolerance, and
// picking with the view's own depth must find the entries the software frame
// finds.
#include <QImage>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "io/house_file.h"
#include "render/art_source.h"
#include "render/gl/house_view.h"
#include "render/pick.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "settings/settings.h"
#include "support/cli_run.h"
#include "support/demo_client.h"

namespace tavi {

class GlRenderTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TUOTileData> data_;
  PlainDocHost host_;
  std::unique_ptr<TTAVIDoc> doc_;
  std::unique_ptr<TBackgroundMap> ground_;
  std::unique_ptr<THouseView> view_;
  std::unique_ptr<TArtCache> art_;

  ViewState BaseState(int floor) {
    ViewState s;
    s.CurrentFloor = floor;
    s.BaseHeight = doc_->BaseHeight();
    s.BackgroundMap = ground_.get();
    return s;
  }

  RasterFrame Software(const ViewState& s) {
    SceneInputs in;
    in.Doc = doc_.get();
    in.Lights = data_->Lights;
    in.State = &s;
    DrawList list;
    BuildScene(in, &list);
    RasterFrame f;
    RasterizeScene(list, art_.get(),
                   RasterView{view_->width(), view_->height(), s.Zoom, s.ScrollX, s.ScrollY}, &f);
    return f;
  }

  // Share of pixels whose channels differ by more than 48, and the mean
  // difference over all channels.
  void Compare(const QImage& gl, const RasterFrame& sw, double* badShare, double* mean) {
    QCOMPARE(gl.width(), sw.Width);
    QCOMPARE(gl.height(), sw.Height);
    long bad = 0;
    double sum = 0;
    for (int y = 0; y < sw.Height; ++y) {
      const uchar* g = gl.constScanLine(y);
      for (int x = 0; x < sw.Width; ++x) {
        const uint8_t* s = &sw.Rgb[(size_t(y) * sw.Width + x) * 3];
        int worst = 0;
        for (int k = 0; k < 3; ++k) {
          int d = std::abs(int(g[x * 3 + k]) - int(s[k]));
          sum += d;
          worst = std::max(worst, d);
        }
        if (worst > 48) ++bad;
      }
    }
    *badShare = double(bad) / (double(sw.Width) * sw.Height);
    *mean = sum / (3.0 * sw.Width * sw.Height);
  }

  void CheckAgainstSoftware(const ViewState& s, const char* what) {
    view_->SetViewState(s);
    QImage gl = view_->CaptureView();
    RasterFrame sw = Software(s);
    double badShare = 1, mean = 255;
    Compare(gl, sw, &badShare, &mean);
    qInfo("%s: %.3f%% pixels off, mean difference %.2f", what, badShare * 100, mean);
    QVERIFY2(badShare < 0.005, what);
    QVERIFY2(mean < 1.0, what);
  }

 private slots:
  void initTestCase() {
    const std::string dir = test::DemoClientDir();
    data_ = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
    QVERIFY(data_);
    const std::string house = QDir::tempPath().toStdString() + "/gl_render_test.tav";
    const test::CliRun run =
        test::RunCli({"import-multi", "--id", "100", "--out", house, "--client", dir});
    QVERIFY2(run.code == 0, run.err.c_str());
    doc_ = std::make_unique<TTAVIDoc>(8, 8, data_.get(), &host_);
    doc_->Clear(false);
    LoadResult r = LoadFromFile(*doc_, house);
    QVERIFY2(r.ok, r.error.c_str());
    ground_ = std::make_unique<TBackgroundMap>();
    FillBackgroundMap(*ground_, 0, 7);
    art_ = std::make_unique<TArtCache>(data_.get());
    view_ = std::make_unique<THouseView>();
    SurfaceSize size = SceneSize(doc_->Width, doc_->Height);
    view_->resize(size.Width, size.Height);
    view_->SetDocument(doc_.get());
    view_->SetTileData(data_.get());
    view_->SetViewState(BaseState(1));
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
  }

  void cleanupTestCase() { view_.reset(); }

  void framesMatchTheSoftwareRenderer() {
    ViewState s = BaseState(1);
    CheckAgainstSoftware(s, "floor 1 with grid");
    s = BaseState(0);
    s.View.ShowGrid = false;
    s.LargeBG = true;
    CheckAgainstSoftware(s, "floor 0, large ground");
    s = BaseState(2);
    s.View.Night = true;
    CheckAgainstSoftware(s, "night");
    // A lamp on floor 1: its disc shows the frame at full brightness.
    uint16_t lamp = 0;
    for (uint16_t id = 1; id < kCategoryIds && !lamp; ++id)
      if (data_->Lights[id].Kind != 0 && data_->HasArt(kItemArtBase + id)) lamp = id;
    if (lamp) {
      const int x = doc_->Width / 2, y = doc_->Height / 2, L = doc_->LayerCount[1][y][x];
      QVERIFY(L < kLayers);
      doc_->Tiles[1][L][y][x] = TileEntry{0, lamp, 0};
      doc_->UpdateCell(x, y, 1);
      s = BaseState(1);
      s.View.Night = true;
      SceneInputs in;
      in.Doc = doc_.get();
      in.Lights = data_->Lights;
      in.State = &s;
      DrawList list;
      BuildScene(in, &list);
      QVERIFY(!list.Lights.empty());
      CheckAgainstSoftware(s, "night with a lamp");
      doc_->Tiles[1][L][y][x] = TileEntry{0, 0, 0};
      doc_->UpdateCell(x, y, 1);
    }
    s = BaseState(1);
    s.EditMode = kModeStack;
    s.Selection = CellRect{1, 1, 3, 2};
    CheckAgainstSoftware(s, "selection");
    s = BaseState(1);
    s.Zoom = 1.5;
    s.ScrollX = 40;
    s.ScrollY = 200;
    CheckAgainstSoftware(s, "zoom 150% scrolled");
    QVERIFY(view_->PaintCount() > 0);
    QVERIFY(view_->LastPaintMs() >= 0);
  }

  // Without light sources the night view is the day view at half brightness,
  // pixel by pixel: also where half-transparent diamonds and filtered picture
  // edges were drawn.
  void nightIsHalfTheDayAtEveryPixel() {
    for (double zoom : {1.0, 1.25}) {
      ViewState s = BaseState(1);
      s.Zoom = zoom;
      s.ScrollX = zoom == 1.0 ? 0 : 30;
      SceneInputs in;
      in.Doc = doc_.get();
      in.Lights = data_->Lights;
      in.State = &s;
      s.View.Night = true;
      DrawList list;
      BuildScene(in, &list);
      QVERIFY(list.Lights.empty());
      s.View.Night = false;
      view_->SetViewState(s);
      const QImage day = view_->CaptureView();
      s.View.Night = true;
      view_->SetViewState(s);
      const QImage night = view_->CaptureView();
      QCOMPARE(night.size(), day.size());
      int bad = 0, firstX = -1, firstY = -1, got = 0, half = 0;
      for (int y = 0; y < day.height(); ++y) {
        const uchar* d = day.constScanLine(y);
        const uchar* n = night.constScanLine(y);
        for (int i = 0; i < day.width() * 3; ++i)
          if (std::abs(int(n[i]) * 2 - int(d[i])) > 4 && bad++ == 0)
            firstX = i / 3, firstY = y, got = n[i], half = d[i] / 2;
      }
      if (bad)
        qWarning("zoom %.2f: %d channels off, first at %d,%d: %d instead of %d", zoom, bad, firstX,
                 firstY, got, half);
      QCOMPARE(bad, 0);
    }
  }

  void pickingUsesTheViewsDepth() {
    ViewState s = BaseState(1);
    view_->SetViewState(s);
    view_->CaptureView();
    RasterFrame sw = Software(s);
    SceneInputs in;
    in.Doc = doc_.get();
    in.State = &s;
    DrawList pass;
    BuildPickPass(in, &pass);
    int same = 0, total = 0, found = 0;
    for (int y = 5; y < view_->height(); y += 7)
      for (int x = 3; x < view_->width(); x += 7) {
        int gl = view_->PickAt(x, y);
        int soft = PickTile(pass, art_.get(), 1.0, x, y, sw.DepthAt(x, y));
        ++total;
        same += gl == soft;
        found += gl >= 0;
      }
    qInfo("picking: %d of %d points agree, %d on an entry", same, total, found);
    QVERIFY(found > total / 10);
    QVERIFY(same >= total * 98 / 100);
    // The centre of a floor tile of floor 1 picks that tile.
    int fx = -1, fy = -1;
    for (int y = 1; y < doc_->Height - 1 && fx < 0; ++y)
      for (int x = 1; x < doc_->Width - 1 && fx < 0; ++x)
        if (doc_->Tiles[1][0][y][x].Id != 0 && doc_->TileHeight(doc_->Tiles[1][0][y][x].Id) == 0 &&
            doc_->LayerCount[1][y][x] == 1 && doc_->LayerCount[1][y + 1][x + 1] <= 1 &&
            doc_->LayerCount[1][y][x + 1] <= 1 && doc_->LayerCount[1][y + 1][x] <= 1)
          fx = x, fy = y;
    if (fx >= 0) {
      ScenePoint a = CellAnchor(fx, fy, doc_->Height);
      int py = a.Y + 22 - FloorBase(1, doc_->BaseHeight()) * 4;
      QCOMPARE(view_->PickAt(a.X + 22, py), EntryName(fx, fy, 0));
    }
  }

  void survivesMovingToAnotherWindow() {
    SurfaceSize size = SceneSize(doc_->Width, doc_->Height);
    {
      QWidget window;
      window.resize(size.Width, size.Height);
      view_->setParent(&window);
      view_->resize(size.Width, size.Height);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      CheckAgainstSoftware(BaseState(1), "in another window");
      view_->setParent(nullptr);
    }
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    CheckAgainstSoftware(BaseState(1), "back on its own");
  }

  // A house of some two thousand distinct pictures: the first texture page
  // grows twice and a second one opens while the frame is drawn, the frame
  // still matches, and no decoded picture is held outside the textures.
  void manyPicturesGrowTheTexturePages() {
    std::vector<uint16_t> ids;
    for (uint32_t id = 1; id < 0x4000; ++id)
      if (data_->HasArt(kItemArtBase + id)) ids.push_back(uint16_t(id));
    QVERIFY(ids.size() > 1500);
    auto big = std::make_unique<TTAVIDoc>(32, 32, data_.get(), &host_);
    big->Clear(false);
    size_t next = 0;
    for (int f = 0; f < 2; ++f)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) big->Tiles[f][0][y][x] = {0, ids[next++ % ids.size()], 0};
    big->UpdateAllCells();
    std::swap(doc_, big);  // the software frame draws doc_ too
    view_->SetDocument(doc_.get());
    ViewState s = BaseState(1);
    s.BackgroundMap = nullptr;
    s.Zoom = 0.5;
    s.ScrollX = 300;
    s.ScrollY = 200;
    CheckAgainstSoftware(s, "two thousand pictures");
    std::swap(doc_, big);
    view_->SetDocument(doc_.get());
    const THouseView::PictureMemory m = view_->Memory();
    QCOMPARE(m.HeldPixelBytes, size_t(0));
    QVERIFY(m.PictureBytes > size_t(16) << 20);
    QVERIFY(m.TextureBytes >= m.PictureBytes);
    QVERIFY(m.TextureBytes <= m.PictureBytes * 2);
  }

  void captureHasTheViewSize() {
    view_->resize(640, 480);
    QTest::qWait(50);
    QImage img = view_->CaptureView();
    QCOMPARE(img.width(), 640);
    QCOMPARE(img.height(), 480);
    TBitmap24 bmp = view_->CaptureBitmap();
    QCOMPARE(bmp.Width, 640);
    QCOMPARE(bmp.Height, 480);
  }
};

}  // namespace tavi

QTEST_MAIN(tavi::GlRenderTest)
#include "gl_render_test.moc"
