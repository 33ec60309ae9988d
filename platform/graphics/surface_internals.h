// The cairo objects behind a surface; seen only inside the graphics layer.
#pragma once

#include <cairo.h>

#include "platform/graphics/surface.h"

namespace plumet::gfx {

struct Surface::Impl {
  cairo_surface_t* image = nullptr;
  // One drawing context per surface, made once: drawing on the pointer-move
  // path must not allocate.
  cairo_t* context = nullptr;
  ~Impl();
  cairo_t* Context();
};

}  // namespace plumet::gfx
