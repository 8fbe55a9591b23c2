#pragma once
// The OpenGL side of the house view: the fixed-function state every frame
// relies on, the pictures of art indices uploaded on first use, and the
// drawing of a draw list (ground, floors, grid, outlines, night view), plus
// reading the frame back. All calls need the view's context current.
//
// Pictures live in a few atlas textures (render/atlas.h), each at its own
// size with a one-texel border that repeats what wrap-around sampling of its
// own power-of-two texture would read, so that filtering at the edges is the
// same as with one texture per picture. That lets a whole frame go out as a
// handful of vertex arrays in drawing order, which keeps the picture
// identical to drawing quad by quad. Once uploaded, a picture's pixels are
// kept in its texture only: the art source is told to let them go.
#include <cstdint>
#include <vector>

#include "client/tile_data.h"
#include "render/art_source.h"
#include "render/atlas.h"
#include "render/draw_list.h"
#include "render/raster.h"

namespace tavi {

class TOpenGLTex {
 public:
  // One vertex of a batch: position (scene units, depth z), texture
  // coordinates in the atlas page, colour.
  struct Vertex {
    float X, Y, Z, S, T, R, G, B, A;
  };

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
  // the night view when the list asks for it. The toolkit presents it.
  void DrawFrame(const DrawList& list, int scrollX, int scrollY);
  // Draws a frame again inside the rectangles only (render/repaint.h): each
  // cleared and drawn with every item that overlaps it, clipped to it; the
  // pixels outside keep the last frame.
  void DrawRegion(const DrawList& list, int scrollX, int scrollY,
                  const std::vector<PixelRect>& rects);

  // ---- the primitives a frame is made of, in the order a frame uses them.
  // x, y are scene units, z = key / 10240 - 1 (the ground at -1). Quads are
  // queued and sent in drawing order by FlushBatch (the other primitives and
  // the read-backs flush first).
  // Fixed state, projection with the scroll offset, clear.
  void BeginFrame(int scrollX, int scrollY);
  // The art picture of `index` anchored on the cell square whose top-left is
  // (x, y); false (nothing drawn) when there is no picture.
  bool DrawTile(uint32_t index, float x, float y, float z, const DrawColor& color = DrawColor());
  // The cell diamond in one colour.
  void DrawCellQuad(float red, float green, float blue, float alpha, float x, float y, float z);
  void FlushBatch();
  // Copies the frame into the screen texture (night view); with a region,
  // that part only (the rest of the texture is not read then).
  void CaptureScreen(const PixelRect* region = nullptr);
  // A light disc showing the screen texture: full inside `radius`, fading out
  // over the next 40 units. Coordinates relative to the view (no scroll).
  void DrawLight(float x, float y, float radius, float r, float g, float b);

  // Reads the frame back: the bitmap's size from the window's top-left
  // corner, rows top first, B, G, R.
  void ReadToBitmap(TBitmap24& bitmap);
  // The depth of one pixel of the last frame, (x, y) from the top-left; 1.0
  // outside the view.
  float ReadDepth(int x, int y);

  // The fixed state and the projection of a frame, without clearing (for
  // the benchmark's minimal program).
  void ApplyFrameState(int scrollX, int scrollY);
  // Counters for tests and benchmarks: pictures uploaded, draw calls of the
  // last frame's quads, and that frame's quads as one array with its page.
  size_t TexturesUploaded() const { return uploaded_; }
  size_t LastBatchCount() const { return batches_; }
  const std::vector<Vertex>& LastFrameVertices() const { return frameVertices_; }
  uint32_t PageTexture(size_t page) const { return page < pages_.size() ? pages_[page] : 0; }
  size_t PageCount() const { return pages_.size(); }
  // Bytes of texture memory the pages take, and of the pictures in them.
  size_t TextureBytes() const { return atlas_.PageBytes(); }
  size_t PictureBytes() const { return pictureBytes_; }
  // Keep a copy of every frame's quads (off by default).
  void RecordFrames(bool on) { record_ = on; }

 private:
  struct Slot {
    bool Tried = false, Ok = false;
    uint16_t Page = 0;
    int W = 0, H = 0;
    float S0 = 0, T0 = 0, S1 = 0, T1 = 0;
  };
  void FixedState();
  void ResetProjection();
  const Slot* Texture(uint32_t index);
  // A block of the atlas, its page's texture created on first use.
  bool Allocate(int w, int h, TAtlasAllocator::Place* place);
  // The atlas doubled a page's side: a texture of the new size with the old
  // texels in its top-left corner, and the pictures' coordinates scaled.
  void GrowPage(size_t page, int oldSide);
  void DropPages();
  void UsePage(int page);
  void DrawItems(const DrawList& list);
  void DrawOutline(const DrawItem& it);
  void DrawNight(const DrawList& list, int scrollX, int scrollY, const PixelRect* region = nullptr);
  // Queues or draws one item of a list.
  void QueueItem(const tavi::DrawItem& it);

  IArtSource* art_ = nullptr;
  std::vector<Slot> slots_;  // per art index, filled on first draw
  TAtlasAllocator atlas_;
  std::vector<uint32_t> pages_;                // texture of each atlas page
  std::vector<TAtlasAllocator::Place> white_;  // per page, its white block
  size_t pictureBytes_ = 0;
  int viewWidth_ = 0, viewHeight_ = 0;
  float zoom_ = 1.0f;
  bool created_ = false;
  uint32_t screenTex_ = 0;
  int screenTexW_ = 0, screenTexH_ = 0;
  float screenSMax_ = 0, screenTMax_ = 0;
  double cos_[65], sin_[65];
  std::vector<Vertex> batch_;  // quads of one page, in drawing order
  int batchPage_ = -1;
  std::vector<Vertex> frameVertices_;
  bool record_ = false;
  size_t uploaded_ = 0, batches_ = 0;
};

}  // namespace tavi
