#include "platform/codecs/straight_rgba.h"

#include "platform/graphics/surface.h"

namespace plumet::codecs {

void ToStraightRgba(const std::uint32_t* row, int width, std::uint8_t* out) {
  for (int x = 0; x < width; ++x, out += 4) {
    const std::uint32_t pixel = row[x];
    // Most of a page is empty: keep the division off that path.
    const std::uint32_t straight = (pixel >> 24) == 0 ? 0x00FFFFFFu : gfx::Unpremultiply(pixel);
    out[0] = static_cast<std::uint8_t>(straight >> 16);
    out[1] = static_cast<std::uint8_t>(straight >> 8);
    out[2] = static_cast<std::uint8_t>(straight);
    out[3] = static_cast<std::uint8_t>(straight >> 24);
  }
}

}  // namespace plumet::codecs
