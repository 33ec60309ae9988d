// Pictures in PNG file form, held in memory, decoded into a surface.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/graphics/surface.h"

namespace plumet::gfx {

// nullptr when the bytes are not a whole PNG picture.
std::shared_ptr<Surface> DecodePng(const void* bytes, std::size_t size);

}  // namespace plumet::gfx
