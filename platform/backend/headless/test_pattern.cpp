#include "platform/backend/headless/test_pattern.h"

namespace plumet::backend::headless {

std::uint32_t TestPatternPixel(int x, int y) {
  // Grid lines every 64 pixels; between them red follows x and green follows
  // y (repeating every 256 pixels) over a 32-pixel blue checkerboard.
  if (x % 64 == 0 || y % 64 == 0) return 0xFF303030u;
  const auto red = static_cast<std::uint32_t>(96 + (x % 256) / 2);
  const auto green = static_cast<std::uint32_t>(96 + (y % 256) / 2);
  const std::uint32_t blue = ((x / 32 + y / 32) % 2 == 0) ? 144u : 208u;
  return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

Image MakeTestPattern(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.At(x, y) = TestPatternPixel(x, y);
  }
  return image;
}

}  // namespace plumet::backend::headless
