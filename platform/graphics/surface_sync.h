// Keeping a surface's drawing library and its raw pixels in step: the
// library may hold drawing back until asked, and may cache what it thinks
// the pixels are.
#pragma once

#include "platform/graphics/surface.h"

namespace plumet::gfx {

// Before reading or writing pixels by Row().
void SyncBeforePixelAccess(const Surface& surface);
// After writing them: the library forgets what it knew of the rectangle.
void MarkPixelsChanged(Surface& surface, const IntRect& rect);

}  // namespace plumet::gfx
