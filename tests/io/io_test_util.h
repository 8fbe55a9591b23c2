#pragma once
// Helpers for the io tests: documents over fake tile facts, scratch folders,
// and a snapshot that shows whether a failed load touched the document.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/house_document.h"
#include "support/fake_tiles.h"
#include "support/scratch_dir.h"

namespace tavi::test {

struct DocFixture {
  FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  explicit DocFixture(int w = 8, int h = 8) {
    doc = std::make_unique<TTAVIDoc>(w, h, &facts, &host);
    doc->Clear(false);
  }
};

// Everything a failed load must leave alone.
struct DocSnapshot {
  int width, height, undoPos, undoTop, undoBottom, base;
  bool modified;
  std::vector<char> tiles;
  explicit DocSnapshot(const TTAVIDoc& d)
      : width(d.Width),
        height(d.Height),
        undoPos(d.UndoPos),
        undoTop(d.UndoTop),
        undoBottom(d.UndoBottom),
        base(d.BaseHeight()),
        modified(d.Modified),
        tiles(reinterpret_cast<const char*>(d.Tiles),
              reinterpret_cast<const char*>(d.Tiles) + sizeof(d.Tiles)) {}
  bool operator==(const DocSnapshot& o) const {
    return width == o.width && height == o.height && undoPos == o.undoPos && undoTop == o.undoTop &&
           undoBottom == o.undoBottom && base == o.base && modified == o.modified &&
           tiles == o.tiles;
  }
};

// A document with an edit history: a house, one undo step, Modified set.
inline void MakeEditedHouse(TTAVIDoc& doc) {
  doc.Clear(true);
  doc.PushUndo(0);
  doc.Tiles[0][2][3][3] = {5, 1234, 0};
  doc.UpdateCell(3, 3, 0);
  doc.Modified = true;
}

// A scratch folder removed at the end of the test.
using TempDir = ScratchDir;

}  // namespace tavi::test
