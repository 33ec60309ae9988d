#include "platform/framework/dib_surface.h"

bool CreateDibSurface(CDC* clientDC, CBitmap* bitmap, int width, int height) {
  if (!bitmap) return false;
  BITMAPINFO info;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(clientDC ? clientDC->GetSafeHdc() : nullptr, &info, DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
  if (!section) return false;
  if (bitmap->GetSafeHandle()) bitmap->Detach();
  bitmap->Attach(section);
  return true;
}
