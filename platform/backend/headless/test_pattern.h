// The default desktop picture: a fixed pattern, busy enough that ink and
// magnification show, that never holds pure magenta, black or white.
#pragma once

#include <cstdint>

#include "platform/backend/headless/image.h"

namespace plumet::backend::headless {

// Opaque 0xFFRRGGBB colour of the pattern at a screen point.
std::uint32_t TestPatternPixel(int x, int y);

Image MakeTestPattern(int width, int height);

}  // namespace plumet::backend::headless
