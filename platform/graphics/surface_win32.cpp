// Surfaces as DIB sections with a GDI+ bitmap over their pixels.
#include "platform/graphics/surface.h"

#include "platform/graphics/surface_internals_win32.h"
#include "platform/graphics/surface_sync.h"

namespace plumet::gfx {

namespace flat = Gdiplus::DllExports;

Surface::Impl::~Impl() {
  if (graphics) flat::GdipDeleteGraphics(graphics);
  if (bitmap) flat::GdipDisposeImage(bitmap);
  if (dib) ::DeleteObject(dib);
}

Gdiplus::GpGraphics* Surface::Impl::Graphics() {
  if (!graphics && bitmap) flat::GdipGetImageGraphicsContext(bitmap, &graphics);
  return graphics;
}

std::shared_ptr<Surface> Surface::Create(int width, int height) {
  if (width <= 0 || height <= 0 || width > (1 << 15) || height > (1 << 15) || !GdiplusReady()) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as Row() counts
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  auto impl = std::make_unique<Impl>();
  void* bits = nullptr;
  impl->dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!impl->dib || !bits) return nullptr;
  // A new DIB section is zeroed: every pixel fully transparent.
  impl->bits = static_cast<std::uint32_t*>(bits);
  if (flat::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits),
                                      &impl->bitmap) != Gdiplus::Ok)
    return nullptr;
  return std::shared_ptr<Surface>(new Surface(width, height, std::move(impl)));
}

Surface::Surface(int width, int height, std::unique_ptr<Impl> impl)
    : width_(width), height_(height), stride_(width * 4), impl_(std::move(impl)) {}

Surface::~Surface() = default;

std::uint32_t* Surface::Row(int y) { return impl_->bits + static_cast<std::ptrdiff_t>(y) * width_; }

const std::uint32_t* Surface::Row(int y) const { return impl_->bits + static_cast<std::ptrdiff_t>(y) * width_; }

// GDI+ may batch drawing; the pixels are right only after a flush. It keeps
// no copy of them, so nothing needs marking afterwards.
void SyncBeforePixelAccess(const Surface& surface) {
  Surface::Impl& impl = const_cast<Surface&>(surface).Internals();
  if (impl.graphics) flat::GdipFlush(impl.graphics, Gdiplus::FlushIntentionSync);
}

void MarkPixelsChanged(Surface&, const IntRect&) {}

}  // namespace plumet::gfx
