#pragma once
// The house view: an OpenGL widget that draws the document as the main window
// shows it. The owner sets the document, the tile data and a ViewState (the
// control window's values, mouse state, View switches, zoom and scroll) and
// the view repaints. The widget itself is the visible part of the drawing
// surface: its size is the view size; scrolling comes from ViewState.
//
// Usage:
//   auto* view = new THouseView(parent);
//   view->SetDocument(&doc);
//   view->SetTileData(tileData);     // pictures and lights; null draws none
//   view->SetViewState(state);       // repaints
//   int name = view->PickAt(px, py); // entry under a drawing-surface point
//   QImage shot = view->CaptureView();
#include <QImage>
#include <QOpenGLWidget>
#include <cstdint>
#include <memory>

#include "client/tile_data.h"
#include "document/house_document.h"
#include "render/raster.h"
#include "render/view_state.h"

namespace tavi {

class THouseView : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit THouseView(QWidget* parent = nullptr);
  ~THouseView() override;

  // Not owned; null draws only the grey background. The document must outlive
  // the view or be reset to null first.
  void SetDocument(TTAVIDoc* doc);
  // Not owned. Changing it forgets every decoded picture.
  void SetTileData(const TUOTileData* data);
  // Everything else a frame reads; schedules a repaint unless the frame
  // shown would not change. A change of the mouse state, the placement
  // inputs, the selection or of cells of the house (TTAVIDoc::
  // ChangedCellsSince) redraws only the part of the view that changes
  // (render/repaint.h); anything else redraws the whole view.
  void SetViewState(const ViewState& state);
  // The next frame is drawn whole whatever changed.
  void RepaintWhole();
  const ViewState& State() const { return state_; }

  // The entry of the current floor under a drawing-surface point (scroll
  // offset included): name (y * 32 + x) * 32 + layer, or -1. When the hit
  // buffer overflows it returns -1 and sets *overflow; the caller then shows
  // "Buffer overflow\n" (kBufferOverflowText of render/pick.h).
  int PickAt(int px, int py, bool* overflow = nullptr);

  // The frame as shown (width() x height(), no alpha), read back from the
  // view; draws a frame first if none has been drawn yet.
  QImage CaptureView();
  // The same as a 24-bit bitmap for the image writers.
  TBitmap24 CaptureBitmap();

  // Memory of the pictures: the texture pages, the pictures in them, and
  // decoded pixels still held outside the textures (none once uploaded).
  struct PictureMemory {
    size_t TextureBytes = 0, PictureBytes = 0, HeldPixelBytes = 0;
  };
  PictureMemory Memory() const;

  // Debug counters: paints so far and the time of the last one, and the
  // share of the view the last one drew (1 for a whole frame).
  int PaintCount() const { return paintCount_; }
  double LastPaintMs() const { return lastPaintMs_; }
  double LastPaintedShare() const { return lastPaintedShare_; }
  // View states that asked for no frame, for they drew nothing new.
  int SkippedCount() const { return skippedCount_; }

 protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;

 private:
  void ReleaseGl();
  // The frame's size, zoom and scroll in pixels for a state.
  RasterView ViewFor(const ViewState& state) const;
  struct Impl;
  std::unique_ptr<Impl> d_;
  ViewState state_;
  int paintCount_ = 0, skippedCount_ = 0;
  double lastPaintMs_ = 0, lastPaintedShare_ = 0;
};

}  // namespace tavi
