// A pixel buffer of premultiplied ARGB32 values and the one blend the
// desktop composes with.
#pragma once

#include <cstdint>
#include <vector>

namespace plumet::backend::headless {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, rows top-down

  Image() = default;
  Image(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
  std::uint32_t& At(int x, int y) { return pixels[Index(x, y)]; }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }
};

// Premultiplied source-over, rounded to nearest; channels are clamped so that
// a malformed source (colour above alpha) cannot wrap.
inline std::uint32_t SourceOver(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t alpha = src >> 24;
  if (alpha == 0xFF) return src;
  if (alpha == 0 && (src & 0xFFFFFF) == 0) return dst;
  const std::uint32_t keep = 255 - alpha;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t s = (src >> shift) & 0xFF;
    const std::uint32_t d = (dst >> shift) & 0xFF;
    std::uint32_t c = s + (d * keep + 127) / 255;
    if (c > 255) c = 255;
    out |= c << shift;
  }
  return out;
}

}  // namespace plumet::backend::headless
