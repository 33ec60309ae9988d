#include "platform/graphics/surface.h"

#include <algorithm>

#include "platform/graphics/surface_internals.h"

namespace plumet::gfx {

Surface::Impl::~Impl() {
  if (context) cairo_destroy(context);
  if (image) cairo_surface_destroy(image);
}

cairo_t* Surface::Impl::Context() {
  if (!context) context = cairo_create(image);
  return context;
}

std::shared_ptr<Surface> Surface::Create(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(impl->image) != CAIRO_STATUS_SUCCESS) return nullptr;
  return std::shared_ptr<Surface>(new Surface(width, height, std::move(impl)));
}

Surface::Surface(int width, int height, std::unique_ptr<Impl> impl)
    : width_(width), height_(height), stride_(cairo_image_surface_get_stride(impl->image)), impl_(std::move(impl)) {}

Surface::~Surface() = default;

std::uint32_t* Surface::Row(int y) {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(impl_->image) +
                                          static_cast<std::ptrdiff_t>(y) * stride_);
}

const std::uint32_t* Surface::Row(int y) const {
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(impl_->image) +
                                                static_cast<std::ptrdiff_t>(y) * stride_);
}

void Surface::Fill(const IntRect& rect, std::uint32_t premultiplied) {
  const IntRect r = rect.Intersect(Bounds());
  if (r.Empty()) return;
  cairo_surface_flush(impl_->image);
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, premultiplied);
  cairo_surface_mark_dirty_rectangle(impl_->image, r.left, r.top, r.Width(), r.Height());
}

void Surface::CopyFrom(const Surface& source, int srcX, int srcY, const IntRect& dest) {
  // Clip both ends so that a rectangle reaching past either surface copies what overlaps.
  IntRect d = dest.Intersect(Bounds());
  const IntRect sourceInDest{dest.left + (0 - srcX), dest.top + (0 - srcY), dest.left - srcX + source.Width(),
                             dest.top - srcY + source.Height()};
  d = d.Intersect(sourceInDest);
  if (d.Empty()) return;
  cairo_surface_flush(source.impl_->image);
  cairo_surface_flush(impl_->image);
  const int dx = srcX - dest.left;
  const int dy = srcY - dest.top;
  for (int y = d.top; y < d.bottom; ++y)
    std::copy_n(source.Row(y + dy) + d.left + dx, d.Width(), Row(y) + d.left);
  cairo_surface_mark_dirty_rectangle(impl_->image, d.left, d.top, d.Width(), d.Height());
}

void Surface::StretchFrom(const Surface& source, const IntRect& src, const IntRect& dest) {
  if (src.Empty() || dest.Empty()) return;
  const IntRect d = dest.Intersect(Bounds());
  if (d.Empty()) return;
  cairo_surface_flush(source.impl_->image);
  cairo_surface_flush(impl_->image);
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
  cairo_surface_mark_dirty_rectangle(impl_->image, d.left, d.top, d.Width(), d.Height());
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
