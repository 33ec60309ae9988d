// The desktop picture and screen shots through GDI+'s PNG codec.
#include "platform/backend/headless/png_file.h"

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "platform/graphics/gdiplus_session_win32.h"

namespace plumet::backend::headless {
namespace {

namespace flat = Gdiplus::DllExports;

std::wstring Wide(const std::string& utf8) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

bool FindPngEncoder(CLSID& clsid) {
  UINT count = 0;
  UINT bytes = 0;
  if (flat::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (flat::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<Image> LoadPng(const std::string& path) {
  if (!gfx::GdiplusReady()) return std::nullopt;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (flat::GdipCreateBitmapFromFile(Wide(path).c_str(), &bitmap) != Gdiplus::Ok) return std::nullopt;
  std::optional<Image> result;
  GUID format{};
  UINT width = 0;
  UINT height = 0;
  flat::GdipGetImageRawFormat(bitmap, &format);
  flat::GdipGetImageWidth(bitmap, &width);
  flat::GdipGetImageHeight(bitmap, &height);
  if (format == Gdiplus::ImageFormatPNG && width > 0 && height > 0) {
    Image image(static_cast<int>(width), static_cast<int>(height));
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = image.pixels.data();
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (flat::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                 PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
      flat::GdipBitmapUnlockBits(bitmap, &data);
      result = std::move(image);
    }
  }
  flat::GdipDisposeImage(bitmap);
  return result;
}

bool WritePng(const std::string& path, const Image& image) {
  CLSID png{};
  if (image.width <= 0 || image.height <= 0 || !gfx::GdiplusReady() || !FindPngEncoder(png)) return false;
  // GDI+ only reads the pixels while saving.
  std::vector<std::uint32_t> pixels = image.pixels;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (flat::GdipCreateBitmapFromScan0(image.width, image.height, image.width * 4, PixelFormat32bppPARGB,
                                      reinterpret_cast<BYTE*>(pixels.data()), &bitmap) != Gdiplus::Ok)
    return false;
  const bool saved = flat::GdipSaveImageToFile(bitmap, Wide(path).c_str(), &png, nullptr) == Gdiplus::Ok;
  flat::GdipDisposeImage(bitmap);
  return saved;
}

}  // namespace plumet::backend::headless
