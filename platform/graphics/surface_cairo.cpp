// Surfaces as cairo image surfaces.
#include "platform/graphics/surface.h"

#include "platform/graphics/surface_internals.h"
#include "platform/graphics/surface_sync.h"

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

void SyncBeforePixelAccess(const Surface& surface) {
  cairo_surface_flush(const_cast<Surface&>(surface).Internals().image);
}

void MarkPixelsChanged(Surface& surface, const IntRect& rect) {
  cairo_surface_mark_dirty_rectangle(surface.Internals().image, rect.left, rect.top, rect.Width(), rect.Height());
}

}  // namespace plumet::gfx
