// The software renderer against the reference renderer kept in
// raster_reference.cpp: dense houses of the demo client with ground, grid,
// marks, selections, highlights and the night view, at several zooms and
// scroll positions, and hand-made pictures for the edge cases of sampling.
// Where the sample grid meets the texel centres (zoom 1) the frames must be
// identical; elsewhere each channel may differ by one level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "raster_reference.h"
#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "support/dense_house.h"

namespace tavi {
namespace {

// Compares two frames; the message names the first differing pixel.
::testing::AssertionResult SameFrame(const RasterFrame& got, const RasterFrame& want,
                                     int tolerance) {
  if (got.Width != want.Width || got.Height != want.Height)
    return ::testing::AssertionFailure() << "size " << got.Width << "x" << got.Height << " vs "
                                         << want.Width << "x" << want.Height;
  size_t bad = 0, first = 0;
  for (size_t i = 0; i < want.Rgb.size(); ++i)
    if (std::abs(int(got.Rgb[i]) - int(want.Rgb[i])) > tolerance && bad++ == 0) first = i;
  size_t badDepth = 0;
  for (size_t i = 0; i < want.Depth.size(); ++i)
    if (got.Depth[i] != want.Depth[i]) ++badDepth;
  if (bad == 0 && badDepth == 0) return ::testing::AssertionSuccess();
  const size_t px = first / 3;
  return ::testing::AssertionFailure()
         << bad << " channels off by more than " << tolerance << ", " << badDepth
         << " depths differ; first at (" << px % want.Width << ", " << px / want.Width
         << ") channel " << first % 3 << ": " << int(got.Rgb[first]) << " vs "
         << int(want.Rgb[first]);
}

// The demo client's pictures both ways: as the art cache keeps them for the
// renderer, and padded as the decoder gives them for the reference.
struct BothArts {
  const TUOTileData* data;
  TArtCache cache;
  std::map<uint32_t, std::unique_ptr<ArtRGBA>> padded;
  explicit BothArts(const TUOTileData* d) : data(d), cache(d) {}
  test::PaddedPictures Reference() {
    return [this](uint32_t index) -> const ArtRGBA* {
      auto it = padded.find(index);
      if (it == padded.end()) {
        auto pic = std::make_unique<ArtRGBA>();
        if (!data->LoadArtRGBA(index, pic.get())) pic.reset();
        it = padded.emplace(index, std::move(pic)).first;
      }
      return it->second.get();
    };
  }
};

class DenseFrames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { house_ = new test::DenseHouse(12); }
  static void TearDownTestSuite() {
    delete house_;
    house_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(house_ && house_->Ok()) << "no demo client";
    state_.BackgroundMap = &house_->ground;
    state_.CurrentFloor = 4;
  }
  DrawList Scene() {
    SceneInputs in;
    in.Doc = house_->doc.get();
    in.Lights = house_->data->Lights;
    in.State = &state_;
    DrawList list;
    BuildScene(in, &list);
    return list;
  }
  // Renders the scene through both renderers at each zoom, the view showing
  // the middle of the scene, and compares.
  void CheckZooms(const char* what) {
    const DrawList list = Scene();
    BothArts art(house_->data.get());
    for (double zoom : {1.0, 0.5, 1.25, 2.0, 0.3125}) {
      const SurfaceSize s = PaintBoxSize(house_->doc->Width, house_->doc->Height, zoom);
      RasterView view{std::min(s.Width, 256), std::min(s.Height, 192), zoom, 0, 0};
      view.ScrollX = (s.Width - view.Width) / 2;
      view.ScrollY = (s.Height - view.Height) / 2 + 13;
      RasterFrame got, want;
      ASSERT_TRUE(RasterizeScene(list, &art.cache, view, &got));
      ASSERT_TRUE(test::ReferenceRasterize(list, art.Reference(), view, &want));
      EXPECT_TRUE(SameFrame(got, want, zoom == 1.0 ? 0 : 1)) << what << " at zoom " << zoom;
    }
  }
  static test::DenseHouse* house_;
  ViewState state_;
};
test::DenseHouse* DenseFrames::house_ = nullptr;

TEST_F(DenseFrames, PlainGridAndMarks) {
  CheckZooms("grid, downstairs, marks");
  state_.View.ShowGrid = false;
  state_.CurrentFloor = 2;
  state_.LargeBG = true;
  CheckZooms("floor 2 without grid on the large ground");
}

TEST_F(DenseFrames, HighlightsSelectionsAndPreview) {
  state_.EditMode = kModeStack;
  state_.Selection = CellRect{2, 3, 7, 6};
  CheckZooms("a selection with its outlines");
  state_.EditMode = kModeImmediate;
  state_.ShiftDown = true;
  state_.HoverX = 5, state_.HoverY = 6, state_.HoverLayer = 1;
  CheckZooms("a pointed entry");
  state_.ShiftDown = false;
  state_.CurrentTile = house_->walls.front();
  CheckZooms("the live preview");
}

TEST_F(DenseFrames, NightWithLights) {
  state_.View.Night = true;
  const DrawList list = Scene();
  ASSERT_FALSE(list.Lights.empty());
  CheckZooms("night view");
}

// Pictures whose edges sample the other side of the texture (widths and
// heights that are powers of two), odd widths, half-transparent and tinted
// texels, at zooms that fall between texels.
TEST(RasterEquality, EdgesOfPicturesTintsAndHalfTransparency) {
  std::map<uint32_t, ArtRGBA> padded;
  TMemoryArtSource art;
  auto add = [&](uint32_t index, int w, int h) {
    ArtRGBA pic;
    pic.ArtWidth = w;
    pic.ArtHeight = h;
    pic.TexWidth = TexSide(w);
    pic.TexHeight = TexSide(h);
    pic.Pixels.assign(size_t(pic.TexWidth) * pic.TexHeight * 4, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = &pic.Pixels[(size_t(y) * pic.TexWidth + x) * 4];
        p[0] = uint8_t(x * 37 + y * 11);
        p[1] = uint8_t(x * 5 + y * 91);
        p[2] = uint8_t(255 - x * 13);
        p[3] = (x + y) % 9 == 0 ? 0 : ((x * y) % 5 == 0 ? 128 : 255);
      }
    padded[index] = pic;
    art.Set(index, pic);
  };
  add(1, 64, 32);  // fills its texture: edges wrap to the other side
  add(2, 45, 61);  // odd width, padding beyond both edges
  add(3, 1, 1);
  add(4, 44, 44);
  DrawList list;
  int key = 100;
  for (uint32_t index : {1u, 2u, 3u, 4u})
    for (int k = 0; k < 3; ++k) {
      DrawItem it;
      it.Art = index;
      it.X = int(index) * 50 + k * 7;
      it.Y = 40 + k * 9;
      it.Key = key++;
      it.Color =
          k == 1 ? DrawColor{1, 0.5f, 0, 1} : (k == 2 ? DrawColor{1, 1, 1, 0.5f} : DrawColor{});
      list.Items.push_back(it);
    }
  DrawItem cell;
  cell.Kind = DrawKind::kCell;
  cell.X = 90;
  cell.Y = 50;
  cell.Key = 105;
  cell.Color = DrawColor{0.5f, 0, 1, 0.5f};
  list.Items.push_back(cell);
  test::PaddedPictures reference = [&](uint32_t index) -> const ArtRGBA* {
    auto it = padded.find(index);
    return it == padded.end() ? nullptr : &it->second;
  };
  for (double zoom : {1.0, 2.0, 0.5, 1.3, 3.7, 0.61}) {
    RasterView view{int(300 * zoom), int(140 * zoom), zoom, 0, 0};
    RasterFrame got, want;
    ASSERT_TRUE(RasterizeScene(list, &art, view, &got));
    ASSERT_TRUE(test::ReferenceRasterize(list, reference, view, &want));
    EXPECT_TRUE(SameFrame(got, want, zoom == 1.0 ? 0 : 1)) << "zoom " << zoom;
  }
}

}  // namespace
}  // namespace tavi
