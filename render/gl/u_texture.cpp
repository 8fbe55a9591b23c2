#include "render/gl/u_texture.h"

namespace tavi {

struct TOpenGLTex::Tex {};
TOpenGLTex::TOpenGLTex() {}
TOpenGLTex::~TOpenGLTex() {}

}  // namespace tavi
