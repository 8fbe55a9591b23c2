#include "render/whole_house.h"

#include <memory>

#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "render/view_state.h"

namespace tavi {

int TopBuiltFloor(const TTAVIDoc& doc) {
  for (int f = kFloors - 1; f > 0; --f)
    for (int y = 0; y < doc.Height; ++y)
      for (int x = 0; x < doc.Width; ++x)
        if (doc.LayerCount[f][y][x] > 0) return f;
  return 0;
}

bool RenderWholeHouse(TTAVIDoc& doc, const TUOTileData& tiles, const WholeHouseOptions& options,
                      TBitmap24* out, std::string* error) {
  if (!(options.Zoom >= kMinZoom && options.Zoom <= kMaxZoom)) {
    *error = "the zoom must lie from 1% to 1600%";
    return false;
  }
  auto ground = std::make_unique<TBackgroundMap>();
  for (auto& row : *ground) row.fill(0);
  FillBackgroundMap(*ground, options.BGType, 1);

  TProjection projection;
  projection.SetZoom(options.Zoom);
  projection.RebuildAnchors(doc.Width, doc.Height, doc.BaseHeight());

  ViewState state;
  state.CurrentFloor =
      options.Floor >= 0 && options.Floor < kFloors ? options.Floor : TopBuiltFloor(doc);
  state.BaseHeight = doc.BaseHeight();
  state.View.ShowGrid = options.ShowGrid;
  state.View.ShowDownstairs = options.ShowGrid;
  state.View.ShowCustomize = options.ShowCustomize;
  state.View.Night = options.Night;
  state.BackgroundMap = ground.get();
  state.LargeBG = options.LargeBG;
  state.Projection = &projection;
  state.Zoom = projection.Zoom();

  SceneInputs in;
  in.Doc = &doc;
  in.Lights = tiles.Lights;
  in.State = &state;
  DrawList list;
  BuildScene(in, &list);

  TArtCache art(&tiles);
  const SurfaceSize size = projection.PaintBox();
  RasterView view;
  view.Width = size.Width;
  view.Height = size.Height;
  view.Zoom = projection.Zoom();
  if (int64_t(view.Width) * view.Height > kMaxRasterPixels) {
    *error = "a picture of " + std::to_string(view.Width) + " x " + std::to_string(view.Height) +
             " pixels is too large; use a smaller zoom";
    return false;
  }
  RasterFrame frame;
  if (!RasterizeScene(list, &art, view, &frame)) {
    *error = "the picture would be empty";
    return false;
  }
  *out = frame.ToBitmap();
  return true;
}

}  // namespace tavi
