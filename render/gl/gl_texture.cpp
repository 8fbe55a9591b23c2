#include "render/gl/gl_texture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "render/repaint.h"

namespace tavi {

namespace {

constexpr int kWhiteSide = 4;  // an opaque white block in every page for diamonds
constexpr float kDepthRange = 10240.0f;

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (n > 1) {
    n = (n + 1) / 2;
    p *= 2;
  }
  return p;
}

// z of a vertex: the window depth negated (the projection maps z in [-1, 0]
// to depth 1 .. 0).
float VertexZ(const DrawItem& it) {
  return -ItemDepth(it);
}

}  // namespace

TOpenGLTex::TOpenGLTex() {
  for (int i = 0; i <= 64; ++i) {
    cos_[i] = std::cos((i % 64) * M_PI / 32);
    sin_[i] = std::sin((i % 64) * M_PI / 32);
  }
}

TOpenGLTex::~TOpenGLTex() = default;

void TOpenGLTex::FixedState() {
  glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glEnable(GL_BLEND);
  // The frame's own alpha stays 1: the night view copies the frame into a
  // texture and blends it back with that alpha, so a pixel under a
  // half-transparent diamond or picture edge would come out too bright.
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
  glEnable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void TOpenGLTex::Create(int width, int height) {
  FixedState();
  zoom_ = 1.0f;
  viewWidth_ = viewHeight_ = 0;
  if (!screenTex_) glGenTextures(1, &screenTex_);
  slots_.assign(kArtIndexLimit, Slot());
  created_ = true;
  SetViewSize(width, height);
}

void TOpenGLTex::DropPages() {
  for (uint32_t& tex : pages_) glDeleteTextures(1, &tex);
  pages_.clear();
  white_.clear();
  atlas_.Clear();
  pictureBytes_ = 0;
}

void TOpenGLTex::Destroy() {
  DropPages();
  if (screenTex_) glDeleteTextures(1, &screenTex_);
  screenTex_ = 0;
  screenTexW_ = screenTexH_ = 0;
  slots_.assign(slots_.size(), Slot());
  created_ = false;
}

void TOpenGLTex::SetArtSource(IArtSource* art) {
  if (art == art_) return;
  art_ = art;
  DropPages();
  slots_.assign(kArtIndexLimit, Slot());
}

void TOpenGLTex::SetViewSize(int width, int height) {
  if (width == viewWidth_ && height == viewHeight_) return;
  viewWidth_ = std::max(0, width);
  viewHeight_ = std::max(0, height);
  ResetProjection();
}

void TOpenGLTex::SetZoom(float zoom) {
  if (zoom == zoom_ || !(zoom > 0)) return;
  zoom_ = zoom;
  ResetProjection();
}

void TOpenGLTex::ResetProjection() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, viewWidth_ / zoom_, viewHeight_ / zoom_, 0, 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glViewport(0, 0, viewWidth_, viewHeight_);
}

void TOpenGLTex::GrowPage(size_t page, int oldSide) {
  // Quads queued for the page carry its old texture coordinates.
  FlushBatch();
  const int side = atlas_.PageSide(page);
  std::vector<uint8_t> texels(size_t(oldSide) * oldSide * 4);
  glBindTexture(GL_TEXTURE_2D, pages_[page]);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, oldSide, oldSide, GL_RGBA, GL_UNSIGNED_BYTE,
                  texels.data());
  const float scale = float(oldSide) / float(side);
  for (Slot& s : slots_)
    if (s.Ok && s.Page == page) {
      s.S0 *= scale;
      s.T0 *= scale;
      s.S1 *= scale;
      s.T1 *= scale;
    }
}

bool TOpenGLTex::Allocate(int w, int h, TAtlasAllocator::Place* place) {
  if (!atlas_.Allocate(w, h, place)) return false;
  if (atlas_.GrownPage() >= 0) GrowPage(size_t(atlas_.GrownPage()), atlas_.GrownFromSide());
  while (pages_.size() < atlas_.PageCount()) {
    // A new page: its texture, and a white block for the diamonds.
    const int side = atlas_.PageSide(pages_.size());
    uint32_t tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    pages_.push_back(tex);
    white_.push_back(TAtlasAllocator::Place{-1, 0, 0});
  }
  const size_t page = size_t(place->Page);
  if (white_[page].Page < 0) {
    TAtlasAllocator::Place white;
    if (atlas_.AllocateOn(page, kWhiteSide, kWhiteSide, &white)) {
      const std::vector<uint8_t> texels(kWhiteSide * kWhiteSide * 4, 255);
      glBindTexture(GL_TEXTURE_2D, pages_[page]);
      glTexSubImage2D(GL_TEXTURE_2D, 0, white.X, white.Y, kWhiteSide, kWhiteSide, GL_RGBA,
                      GL_UNSIGNED_BYTE, texels.data());
      white_[page] = white;
    }
  }
  return true;
}

const TOpenGLTex::Slot* TOpenGLTex::Texture(uint32_t index) {
  if (index >= slots_.size()) return nullptr;
  Slot& s = slots_[index];
  if (s.Tried) return s.Ok ? &s : nullptr;
  s.Tried = true;
  const ArtRGBA* pic = art_ ? art_->Picture(index) : nullptr;
  if (!pic || !IsKeptPicture(*pic)) return nullptr;  // no picture: nothing is drawn for it
  const int w = pic->ArtWidth, h = pic->ArtHeight, tw = pic->TexWidth, th = pic->TexHeight;
  const int bw = w + 2, bh = h + 2;
  TAtlasAllocator::Place place;
  if (!Allocate(bw, bh, &place)) return nullptr;
  const int page = place.Page, ax = place.X, ay = place.Y;
  const float side = float(atlas_.PageSide(size_t(page)));
  // The picture with a border of what wrap-around sampling of its own
  // texture finds beyond each edge.
  std::vector<uint8_t> block(size_t(bw) * bh * 4, 0);
  for (int r = 0; r < bh; ++r) {
    const int sy = WrapTexel(r - 1, h, th);
    if (sy < 0) continue;
    for (int c = 0; c < bw; ++c) {
      const int sx = WrapTexel(c - 1, w, tw);
      if (sx >= 0) std::copy_n(PictureTexel(*pic, sx, sy), 4, &block[(size_t(r) * bw + c) * 4]);
    }
  }
  glBindTexture(GL_TEXTURE_2D, pages_[size_t(page)]);
  glTexSubImage2D(GL_TEXTURE_2D, 0, ax, ay, bw, bh, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
  ++uploaded_;
  pictureBytes_ += size_t(w) * size_t(h) * 4;
  art_->Release(index);  // the texture holds the picture from now on
  s.Ok = true;
  s.Page = uint16_t(page);
  s.W = w;
  s.H = h;
  s.S0 = float(ax + 1) / side;
  s.T0 = float(ay + 1) / side;
  s.S1 = float(ax + 1 + w) / side;
  s.T1 = float(ay + 1 + h) / side;
  return &s;
}

void TOpenGLTex::FlushBatch() {
  if (batch_.empty()) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, pages_[size_t(batchPage_)]);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  const GLsizei stride = sizeof(Vertex);
  glVertexPointer(3, GL_FLOAT, stride, &batch_[0].X);
  glTexCoordPointer(2, GL_FLOAT, stride, &batch_[0].S);
  glColorPointer(4, GL_FLOAT, stride, &batch_[0].R);
  glDrawArrays(GL_QUADS, 0, GLsizei(batch_.size()));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glColor4f(1, 1, 1, 1);
  if (record_) frameVertices_.insert(frameVertices_.end(), batch_.begin(), batch_.end());
  batch_.clear();
  ++batches_;
}

void TOpenGLTex::DrawOutline(const DrawItem& it) {
  glDisable(GL_TEXTURE_2D);
  glColor4f(it.Color.R, it.Color.G, it.Color.B, it.Color.A);
  const float z = VertexZ(it), x = float(it.X), y = float(it.Y);
  glBegin(GL_LINE_LOOP);
  glVertex3f(x + 22, y + 2, z);
  glVertex3f(x + 42, y + 22, z);
  glVertex3f(x + 22, y + 42, z);
  glVertex3f(x + 2, y + 22, z);
  glEnd();
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
}

void TOpenGLTex::UsePage(int page) {
  if (page != batchPage_) {
    FlushBatch();
    batchPage_ = page;
  }
}

bool TOpenGLTex::DrawTile(uint32_t index, float x, float y, float z, const DrawColor& c) {
  const Slot* s = Texture(index);
  if (!s) return false;
  UsePage(s->Page);
  // Centred on the cell's vertical axis, bottom edge on the diamond's bottom
  // corner; an odd width starts half a pixel left.
  const float left = x - (s->W - 44) / 2.0f, top = y - (s->H - 44);
  const float right = left + s->W, bottom = top + s->H;
  batch_.push_back({left, bottom, z, s->S0, s->T1, c.R, c.G, c.B, c.A});
  batch_.push_back({right, bottom, z, s->S1, s->T1, c.R, c.G, c.B, c.A});
  batch_.push_back({right, top, z, s->S1, s->T0, c.R, c.G, c.B, c.A});
  batch_.push_back({left, top, z, s->S0, s->T0, c.R, c.G, c.B, c.A});
  return true;
}

void TOpenGLTex::DrawCellQuad(float red, float green, float blue, float alpha, float x, float y,
                              float z) {
  // Untextured in effect: the quad samples the middle of a page's white block.
  if (pages_.empty()) {
    TAtlasAllocator::Place place;
    if (!Allocate(kWhiteSide, kWhiteSide, &place)) return;  // the white block itself
  }
  int page = batchPage_ < 0 ? 0 : batchPage_;
  if (white_[size_t(page)].Page < 0) page = 0;
  if (white_[size_t(page)].Page < 0) return;
  UsePage(page);
  const TAtlasAllocator::Place& white = white_[size_t(page)];
  const float side = float(atlas_.PageSide(size_t(page)));
  const float s = (white.X + kWhiteSide / 2.0f) / side, t = (white.Y + kWhiteSide / 2.0f) / side;
  batch_.push_back({x + 22, y + 44, z, s, t, red, green, blue, alpha});
  batch_.push_back({x + 44, y + 22, z, s, t, red, green, blue, alpha});
  batch_.push_back({x + 22, y, z, s, t, red, green, blue, alpha});
  batch_.push_back({x, y + 22, z, s, t, red, green, blue, alpha});
}

void TOpenGLTex::QueueItem(const tavi::DrawItem& it) {
  const float z = VertexZ(it);
  const DrawColor& c = it.Color;
  if (it.Kind == DrawKind::kTile) {
    DrawTile(it.Art, float(it.X), float(it.Y), z, c);
  } else if (it.Kind == DrawKind::kCell) {
    DrawCellQuad(c.R, c.G, c.B, c.A, float(it.X), float(it.Y), z);
  } else {
    FlushBatch();
    DrawOutline(it);
  }
}

void TOpenGLTex::DrawItems(const DrawList& list) {
  for (const tavi::DrawItem& it : list.Items) QueueItem(it);
  FlushBatch();
}

void TOpenGLTex::DrawRegion(const DrawList& list, int scrollX, int scrollY,
                            const std::vector<PixelRect>& rects) {
  batches_ = 0;
  batch_.clear();
  batchPage_ = -1;
  frameVertices_.clear();
  const RasterView view{viewWidth_, viewHeight_, zoom_, scrollX, scrollY};
  for (PixelRect r : rects) {
    r.X0 = std::max(r.X0, 0), r.Y0 = std::max(r.Y0, 0);
    r.X1 = std::min(r.X1, viewWidth_), r.Y1 = std::min(r.Y1, viewHeight_);
    if (r.Empty()) continue;
    ApplyFrameState(scrollX, scrollY);  // also after the night view of the last one
    glEnable(GL_SCISSOR_TEST);
    glScissor(r.X0, viewHeight_ - r.Y1, r.X1 - r.X0, r.Y1 - r.Y0);  // GL rows from the bottom
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (const tavi::DrawItem& it : list.Items) {
      int w = 44, h = 44;
      if (it.Kind == DrawKind::kTile) {
        const Slot* slot = Texture(it.Art);
        if (!slot) continue;
        w = slot->W, h = slot->H;
      }
      if (ItemPixels(it, w, h, view).Overlaps(r)) QueueItem(it);
    }
    FlushBatch();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (list.Night) DrawNight(list, scrollX, scrollY, &r);
  }
  glDisable(GL_SCISSOR_TEST);
}

void TOpenGLTex::BeginFrame(int scrollX, int scrollY) {
  batches_ = 0;
  batch_.clear();
  batchPage_ = -1;
  frameVertices_.clear();
  // The context is shared with the toolkit's compositor, so the whole state
  // is set again at every frame.
  ApplyFrameState(scrollX, scrollY);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void TOpenGLTex::ApplyFrameState(int scrollX, int scrollY) {
  FixedState();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, viewWidth_ / zoom_, viewHeight_ / zoom_, 0, 0, 1);
  glViewport(0, 0, viewWidth_, viewHeight_);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(-scrollX / zoom_, -scrollY / zoom_, 0);
}

void TOpenGLTex::DrawFrame(const DrawList& list, int scrollX, int scrollY) {
  BeginFrame(scrollX, scrollY);
  DrawItems(list);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (list.Night) DrawNight(list, scrollX, scrollY);
}

void TOpenGLTex::CaptureScreen(const PixelRect* region) {
  FlushBatch();
  const int texW = PowerOfTwoAtLeast(viewWidth_), texH = PowerOfTwoAtLeast(viewHeight_);
  glBindTexture(GL_TEXTURE_2D, screenTex_);
  if (texW != screenTexW_ || texH != screenTexH_ || !region) {
    screenTexW_ = texW;
    screenTexH_ = texH;
    screenSMax_ = float(viewWidth_) / screenTexW_;
    screenTMax_ = float(viewHeight_) / screenTexH_;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, screenTexW_, screenTexH_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    region = nullptr;  // a new texture: all of the view
  }
  // Only the view's part is copied; the rest of the texture is never sampled.
  if (region)
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, region->X0, viewHeight_ - region->Y1, region->X0,
                        viewHeight_ - region->Y1, region->X1 - region->X0, region->Y1 - region->Y0);
  else
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, viewWidth_, viewHeight_);
}

void TOpenGLTex::DrawLight(float x, float y, float radius, float r, float g, float b) {
  FlushBatch();
  auto vertex = [&](double vx, double vy) {
    glTexCoord2f(float(vx * zoom_ * screenSMax_ / viewWidth_),
                 float((viewHeight_ - vy * zoom_) * screenTMax_ / viewHeight_));
    glVertex3f(float(vx), float(vy), 0);
  };
  glColor4f(r, g, b, 1);
  glBegin(GL_TRIANGLE_FAN);
  vertex(x, y);
  for (int i = 0; i <= 64; ++i) vertex(x + cos_[i] * radius, y + sin_[i] * radius);
  glEnd();
  const double outer = radius + 40;
  glBegin(GL_QUADS);
  for (int i = 0; i < 64; ++i) {
    glColor4f(r, g, b, 1);
    vertex(x + cos_[i] * radius, y + sin_[i] * radius);
    vertex(x + cos_[i + 1] * radius, y + sin_[i + 1] * radius);
    glColor4f(r, g, b, 0);
    vertex(x + cos_[i + 1] * outer, y + sin_[i + 1] * outer);
    vertex(x + cos_[i] * outer, y + sin_[i] * outer);
  }
  glEnd();
}

void TOpenGLTex::DrawNight(const DrawList& list, int scrollX, int scrollY,
                           const PixelRect* region) {
  if (viewWidth_ <= 0 || viewHeight_ <= 0) return;
  glEnable(GL_TEXTURE_2D);
  CaptureScreen(region);
  glDisable(GL_DEPTH_TEST);
  glColor4f(0.5f, 0.5f, 0.5f, 1);
  const float w = viewWidth_ / zoom_, h = viewHeight_ / zoom_;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(0, h, 0);
  glTexCoord2f(screenSMax_, 0);
  glVertex3f(w, h, 0);
  glTexCoord2f(screenSMax_, screenTMax_);
  glVertex3f(w, 0, 0);
  glTexCoord2f(0, screenTMax_);
  glVertex3f(0, 0, 0);
  glEnd();
  const float sx = -scrollX / zoom_, sy = -scrollY / zoom_;
  for (const tavi::DrawLight& l : list.Lights)
    DrawLight(l.X + sx, l.Y + sy, std::max(0.0f, l.Radius), l.R, l.G, l.B);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_DEPTH_TEST);
}

void TOpenGLTex::ReadToBitmap(TBitmap24& bitmap) {
  FlushBatch();
  const int w = bitmap.Width, h = bitmap.Height;
  if (w <= 0 || h <= 0) return;
  std::vector<uint8_t> rgba(size_t(w) * h * 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  for (int r = 0; r < h; ++r) {  // the first row read is the window's bottom
    const uint8_t* src = &rgba[size_t(r) * w * 4];
    uint8_t* dst = bitmap.Pixel(0, h - 1 - r);
    for (int x = 0; x < w; ++x) {
      dst[x * 3] = src[x * 4 + 2];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4];
    }
  }
}

float TOpenGLTex::ReadDepth(int x, int y) {
  FlushBatch();
  if (x < 0 || y < 0 || x >= viewWidth_ || y >= viewHeight_) return 1.0f;
  float d = 1.0f;
  glReadPixels(x, viewHeight_ - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
  return d;
}

}  // namespace tavi
