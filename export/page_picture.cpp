#include "export/page_picture.h"

#include "model/qarel_page.h"

namespace {

constexpr Gdiplus::ARGB kTransparentWhite = 0x00FFFFFF;

}  // namespace

std::unique_ptr<Gdiplus::Bitmap> RenderPage(CQarelPage& page, int width, int height) {
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, Gdiplus::PixelFormat32bppARGB);
  if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics graphics(bitmap.get());
  if (graphics.GetLastStatus() != Gdiplus::Ok) return nullptr;
  const Gdiplus::SolidBrush background(kTransparentWhite);
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics.FillRectangle(&background, 0, 0, width, height);
  page.DrawAll(&graphics);
  return bitmap;
}
