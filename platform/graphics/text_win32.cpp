#include "platform/graphics/text.h"

#include <windows.h>

#include "platform/graphics/surface_internals_win32.h"

namespace plumet::gfx {

namespace flat = Gdiplus::DllExports;

void DrawCentredText(Surface& surface, const std::string& text, const IntRect& box, std::uint32_t argb) {
  if (text.empty() || box.Empty()) return;
  Gdiplus::GpGraphics* graphics = surface.Internals().Graphics();
  if (!graphics) return;
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);

  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::GpFont* font = nullptr;
  Gdiplus::GpStringFormat* format = nullptr;
  Gdiplus::GpSolidFill* brush = nullptr;
  if (flat::GdipGetGenericFontFamilySansSerif(&family) == Gdiplus::Ok &&
      flat::GdipCreateFont(family, 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, &font) == Gdiplus::Ok &&
      flat::GdipCreateStringFormat(0, LANG_NEUTRAL, &format) == Gdiplus::Ok &&
      flat::GdipCreateSolidFill(argb, &brush) == Gdiplus::Ok) {
    flat::GdipSetStringFormatAlign(format, Gdiplus::StringAlignmentCenter);
    flat::GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
    flat::GdipResetWorldTransform(graphics);
    flat::GdipResetClip(graphics);
    flat::GdipSetCompositingMode(graphics, Gdiplus::CompositingModeSourceOver);
    flat::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(box.left), static_cast<Gdiplus::REAL>(box.top),
                                static_cast<Gdiplus::REAL>(box.Width()), static_cast<Gdiplus::REAL>(box.Height()));
    flat::GdipSetClipRectI(graphics, box.left, box.top, box.Width(), box.Height(), Gdiplus::CombineModeReplace);
    flat::GdipDrawString(graphics, wide.c_str(), length, font, &layout, format, brush);
  }
  if (brush) flat::GdipDeleteBrush(brush);
  if (format) flat::GdipDeleteStringFormat(format);
  if (font) flat::GdipDeleteFont(font);
  // The generic family is GDI+'s own and is not deleted.
}

}  // namespace plumet::gfx
