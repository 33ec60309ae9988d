#include "platform/graphics/surface.h"

#include <algorithm>

#include "platform/graphics/surface_sync.h"

namespace plumet::gfx {

void Surface::Fill(const IntRect& rect, std::uint32_t premultiplied) {
  const IntRect r = rect.Intersect(Bounds());
  if (r.Empty()) return;
  SyncBeforePixelAccess(*this);
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, premultiplied);
  MarkPixelsChanged(*this, r);
}

void Surface::CopyFrom(const Surface& source, int srcX, int srcY, const IntRect& dest) {
  // Clip both ends so that a rectangle reaching past either surface copies what overlaps.
  IntRect d = dest.Intersect(Bounds());
  const IntRect sourceInDest{dest.left + (0 - srcX), dest.top + (0 - srcY), dest.left - srcX + source.Width(),
                             dest.top - srcY + source.Height()};
  d = d.Intersect(sourceInDest);
  if (d.Empty()) return;
  SyncBeforePixelAccess(source);
  SyncBeforePixelAccess(*this);
  const int dx = srcX - dest.left;
  const int dy = srcY - dest.top;
  for (int y = d.top; y < d.bottom; ++y)
    std::copy_n(source.Row(y + dy) + d.left + dx, d.Width(), Row(y) + d.left);
  MarkPixelsChanged(*this, d);
}

void Surface::StretchFrom(const Surface& source, const IntRect& src, const IntRect& dest) {
  if (src.Empty() || dest.Empty()) return;
  const IntRect d = dest.Intersect(Bounds());
  if (d.Empty()) return;
  SyncBeforePixelAccess(source);
  SyncBeforePixelAccess(*this);
  for (int y = d.top; y < d.bottom; ++y) {
    const int sy = src.top + static_cast<int>(static_cast<long long>(y - dest.top) * src.Height() / dest.Height());
    if (sy < 0 || sy >= source.Height()) continue;
    const std::uint32_t* in = source.Row(sy);
    std::uint32_t* out = Row(y);
    for (int x = d.left; x < d.right; ++x) {
      const int sx = src.left + static_cast<int>(static_cast<long long>(x - dest.left) * src.Width() / dest.Width());
      if (sx >= 0 && sx < source.Width()) out[x] = in[sx];
    }
  }
  MarkPixelsChanged(*this, d);
}

std::uint32_t Premultiply(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  if (a == 255) return argb;
  auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

std::uint32_t Unpremultiply(std::uint32_t pixel) {
  const std::uint32_t a = pixel >> 24;
  if (a == 255 || a == 0) return pixel;
  auto scale = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (scale((pixel >> 16) & 0xFF) << 16) | (scale((pixel >> 8) & 0xFF) << 8) | scale(pixel & 0xFF);
}

}  // namespace plumet::gfx
