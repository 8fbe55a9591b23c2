#pragma once
// The OpenGL side of the house view: the fixed-function state every frame
// relies on, a texture per art picture decoded on first use, and the drawing
// of a draw list (ground, floors, grid, outlines, night view), plus reading
// the frame back. All calls need the view's context current.
#include <cstdint>
#include <vector>

#include "client/u_uotiles.h"
#include "render/art_source.h"
#include "render/draw_list.h"

namespace tavi {

class TOpenGLTex {
 public:
  TOpenGLTex();
  ~TOpenGLTex();  // textures are released by Destroy (needs the context)
  TOpenGLTex(const TOpenGLTex&) = delete;
  TOpenGLTex& operator=(const TOpenGLTex&) = delete;

  // Sets the fixed state (grey clear colour, alpha test, depth test "less or
  // equal", blending, modulated textures) and the view size.
  void Create(int width, int height);
  // Deletes every texture; the decoded pictures stay with the art source.
  void Destroy();

  // Where pictures come from (not owned). Changing it forgets the textures.
  void SetArtSource(IArtSource* art);

  // Both reset projection, model-view and viewport; equal values change nothing.
  void SetViewSize(int width, int height);
  void SetZoom(float zoom);
  int ViewWidth() const { return viewWidth_; }
  int ViewHeight() const { return viewHeight_; }
  float Zoom() const { return zoom_; }

  // Draws a whole frame: clear, the list's items with the scroll offset, then
  // the night view when the list asks for it.
  void DrawFrame(const DrawList& list, int scrollX, int scrollY);

  // Reads the frame back: width x height pixels from the window's bottom-left
  // corner, rows top first, B, G, R.
  void ReadToBitmap(TBitmap24& bitmap);
  // The depth of one pixel of the last frame, (x, y) from the top-left.
  float ReadDepth(int x, int y);

  // Counters for tests and benchmarks.
  size_t TexturesUploaded() const { return uploaded_; }
  size_t LastBatchCount() const { return batches_; }

 private:
  struct Tex;
  struct Vertex;
  void ResetProjection();
  const Tex* Texture(uint32_t index);
  void FlushBatch();
  void DrawItems(const DrawList& list);
  void CaptureScreen();
  void DrawNight(const DrawList& list, int scrollX, int scrollY);
  void DrawLight(float x, float y, float radius, float r, float g, float b);

  IArtSource* art_ = nullptr;
  std::vector<Tex> textures_;  // per art index, created on first draw
  int viewWidth_ = 0, viewHeight_ = 0;
  float zoom_ = 1.0f;
  bool created_ = false;
  uint32_t screenTex_ = 0;
  int screenTexW_ = 0, screenTexH_ = 0;
  float screenSMax_ = 0, screenTMax_ = 0;
  double cos_[65], sin_[65];
  // batch under construction: quads of one texture, in drawing order
  std::vector<float> batch_;  // x y z s t r g b a per vertex
  uint32_t batchTex_ = 0;
  size_t uploaded_ = 0, batches_ = 0;
};

}  // namespace tavi
