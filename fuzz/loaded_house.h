#pragma once
// What a house goes through once it is loaded into the editor: the price, the
// rule check, the scene builder and the software renderer (a small view of the
// whole scene). View switches come from `variant`, so that the night view,
// the upper floors and the hidden grid are reached too.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "demo_tiles.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "io/io_result.h"
#include "render/art_source.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "settings/settings.h"

namespace fuzz {

struct LoadedHouse {
  tavi::PlainDocHost host;
  std::unique_ptr<tavi::TTAVIDoc> doc;
  tavi::TArtCache art{&DemoTiles()};
  std::unique_ptr<tavi::TBackgroundMap> ground = std::make_unique<tavi::TBackgroundMap>();
  tavi::DrawList list;
  tavi::RasterFrame frame;

  LoadedHouse() {
    host.showPropriety = true;
    doc = std::make_unique<tavi::TTAVIDoc>(8, 8, &DemoTiles(), &host);
    for (auto& row : *ground) row.fill(0);
    tavi::FillBackgroundMap(*ground, 1, 1);
  }

  // Runs everything on the document as the last load left it.
  void Exercise(uint32_t variant) {
    using namespace tavi;
    const int base = doc->BaseHeight();
    doc->Recalculate();
    const int parts = doc->CountParts();
    if (parts < 0) std::abort();
    doc->CheckCustomization();

    TProjection projection;
    projection.SetZoom(0.125);
    projection.RebuildAnchors(doc->Width, doc->Height, base);
    ViewState state;
    state.CurrentFloor = int(variant % kFloors);
    state.BaseHeight = base;
    state.View.ShowGrid = (variant & 8) == 0;
    state.View.ShowDownstairs = state.View.ShowGrid;
    state.View.HideWalls = (variant & 16) != 0;
    state.View.Night = (variant & 32) != 0;
    state.BackgroundMap = ground.get();
    state.LargeBG = (variant & 64) != 0;
    state.Projection = &projection;
    state.Zoom = projection.Zoom();
    SceneInputs in;
    in.Doc = doc.get();
    in.Lights = DemoTiles().Lights;
    in.State = &state;
    BuildScene(in, &list);

    const SurfaceSize size = projection.PaintBox();
    RasterView view;
    view.Width = size.Width;
    view.Height = size.Height;
    view.Zoom = projection.Zoom();
    RasterizeScene(list, &art, view, &frame);
  }
};

}  // namespace fuzz
