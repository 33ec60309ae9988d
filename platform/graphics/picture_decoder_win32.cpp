// PNG pictures through GDI+'s decoder, read from a stream over the bytes
// and copied into a surface as premultiplied ARGB.
#include "platform/graphics/picture_decoder.h"

#include <objidl.h>
#include <shlwapi.h>

#include <cstring>

#include "platform/graphics/surface_internals_win32.h"

namespace plumet::gfx {

namespace flat = Gdiplus::DllExports;

std::shared_ptr<Surface> DecodePng(const void* bytes, std::size_t size) {
  if (!bytes || size == 0 || size > 0x7FFFFFFF || !GdiplusReady()) return nullptr;
  static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // GDI+ reads every format it knows; only PNG is asked for here.
  if (size < sizeof kSignature || std::memcmp(bytes, kSignature, sizeof kSignature) != 0) return nullptr;
  IStream* stream = ::SHCreateMemStream(static_cast<const BYTE*>(bytes), static_cast<UINT>(size));
  if (!stream) return nullptr;
  Gdiplus::GpBitmap* decoded = nullptr;
  const bool read = flat::GdipCreateBitmapFromStream(stream, &decoded) == Gdiplus::Ok;
  stream->Release();
  if (!read) return nullptr;
  std::shared_ptr<Surface> surface;
  UINT width = 0;
  UINT height = 0;
  flat::GdipGetImageWidth(decoded, &width);
  flat::GdipGetImageHeight(decoded, &height);
  if (width > 0 && height > 0) surface = Surface::Create(static_cast<int>(width), static_cast<int>(height));
  if (surface) {
    // Locked straight into the surface's rows: GDI+ converts to premultiplied as it copies.
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = surface->Stride();
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = surface->Row(0);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (flat::GdipBitmapLockBits(decoded, &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                 PixelFormat32bppPARGB, &data) == Gdiplus::Ok)
      flat::GdipBitmapUnlockBits(decoded, &data);
    else
      surface.reset();
  }
  flat::GdipDisposeImage(decoded);
  return surface;
}

}  // namespace plumet::gfx
