// The Windows objects behind a surface: a top-down 32-bit DIB section, so
// that a window can be shown from it as it is, and a GDI+ bitmap over the
// same pixels in premultiplied ARGB. Seen only inside the graphics layer.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include "platform/graphics/gdiplus_session_win32.h"
#include "platform/graphics/surface.h"

namespace plumet::gfx {

struct Surface::Impl {
  HBITMAP dib = nullptr;
  std::uint32_t* bits = nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  // Made once, on first use: the round-stroke path never needs it.
  Gdiplus::GpGraphics* graphics = nullptr;
  ~Impl();
  Gdiplus::GpGraphics* Graphics();
};

}  // namespace plumet::gfx
