#pragma once
// A small house for the rendering tests: a document over fake tile facts and
// helpers to place entries by hand.
#include <memory>

#include "document/doc_host.h"
#include "document/house_document.h"
#include "render/draw_list.h"
#include "render/scene.h"
#include "support/fake_tiles.h"

namespace tavi::test {

struct RenderHouse {
  FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  ViewState state;

  RenderHouse(int w, int h) {
    doc = std::make_unique<TTAVIDoc>(w, h, &facts, &host);
    doc->Clear(false);
    state.View.ShowGrid = false;
  }
  void Put(int f, int x, int y, int layer, uint16_t id, int z = 0, uint16_t mark = 0) {
    doc->Tiles[f][layer][y][x] = TileEntry{int16_t(z), id, mark};
    doc->UpdateCell(x, y, f);
  }
  DrawList Scene(const LightInfo* lights = nullptr) {
    SceneInputs in;
    in.Doc = doc.get();
    in.Lights = lights;
    in.State = &state;
    DrawList list;
    BuildScene(in, &list);
    return list;
  }
  DrawList PickPass() {
    SceneInputs in;
    in.Doc = doc.get();
    in.State = &state;
    DrawList list;
    BuildPickPass(in, &list);
    return list;
  }
};

inline std::vector<DrawItem> OfKind(const DrawList& list, DrawKind kind, bool ground = false) {
  std::vector<DrawItem> out;
  for (const DrawItem& it : list.Items)
    if (it.Kind == kind && it.Ground == ground) out.push_back(it);
  return out;
}

}  // namespace tavi::test
