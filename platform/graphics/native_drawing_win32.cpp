// The library's part of drawing, through GDI+'s flat API on the surface's
// own graphics object.
#include <vector>

#include "platform/graphics/native_drawing.h"
#include "platform/graphics/surface_internals_win32.h"

namespace plumet::gfx {
namespace {

namespace flat = Gdiplus::DllExports;

// The surface's graphics object, reset to the target's clip and modes.
// Lines take integers at pixel centres (GDI+'s own convention); rectangles
// and pictures cover whole pixels, which GDI+ does with a half-pixel offset.
Gdiplus::GpGraphics* Begin(const NativeTarget& target, bool wholePixels) {
  Gdiplus::GpGraphics* graphics = target.surface->Internals().Graphics();
  if (!graphics) return nullptr;
  flat::GdipResetWorldTransform(graphics);
  if (target.clip.Empty())
    flat::GdipResetClip(graphics);
  else
    flat::GdipSetClipRectI(graphics, target.clip.left, target.clip.top, target.clip.Width(), target.clip.Height(),
                           Gdiplus::CombineModeReplace);
  flat::GdipSetCompositingMode(graphics, target.sourceCopy ? Gdiplus::CompositingModeSourceCopy
                                                           : Gdiplus::CompositingModeSourceOver);
  flat::GdipSetSmoothingMode(graphics, target.smooth ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
  flat::GdipSetPixelOffsetMode(graphics, wholePixels ? Gdiplus::PixelOffsetModeHalf : Gdiplus::PixelOffsetModeNone);
  return graphics;
}

Gdiplus::LineCap GdiplusCap(NativeCap cap) {
  switch (cap) {
    case NativeCap::Round: return Gdiplus::LineCapRound;
    case NativeCap::Square: return Gdiplus::LineCapSquare;
    default: return Gdiplus::LineCapFlat;
  }
}

Gdiplus::LineJoin GdiplusJoin(NativeJoin join) {
  switch (join) {
    case NativeJoin::Round: return Gdiplus::LineJoinRound;
    case NativeJoin::Bevel: return Gdiplus::LineJoinBevel;
    default: return Gdiplus::LineJoinMiter;
  }
}

}  // namespace

void NativePolyline(const NativeTarget& target, const NativePen& pen, const PointD* points, int count) {
  Gdiplus::GpGraphics* graphics = count >= 2 ? Begin(target, false) : nullptr;
  if (!graphics) return;
  Gdiplus::GpPen* gdiplusPen = nullptr;
  if (flat::GdipCreatePen1(pen.argb, static_cast<Gdiplus::REAL>(pen.width), Gdiplus::UnitPixel, &gdiplusPen) !=
      Gdiplus::Ok)
    return;
  flat::GdipSetPenStartCap(gdiplusPen, GdiplusCap(pen.cap));
  flat::GdipSetPenEndCap(gdiplusPen, GdiplusCap(pen.cap));
  flat::GdipSetPenLineJoin(gdiplusPen, GdiplusJoin(pen.join));
  std::vector<Gdiplus::PointF> line(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    line[static_cast<std::size_t>(i)] = {static_cast<Gdiplus::REAL>(points[i].x), static_cast<Gdiplus::REAL>(points[i].y)};
  flat::GdipDrawLines(graphics, gdiplusPen, line.data(), count);
  flat::GdipDeletePen(gdiplusPen);
}

void NativeFill(const NativeTarget& target, std::uint32_t argb, const IntRect& rect) {
  Gdiplus::GpGraphics* graphics = Begin(target, true);
  Gdiplus::GpSolidFill* brush = nullptr;
  if (!graphics || flat::GdipCreateSolidFill(argb, &brush) != Gdiplus::Ok) return;
  flat::GdipFillRectangleI(graphics, brush, rect.left, rect.top, rect.Width(), rect.Height());
  flat::GdipDeleteBrush(brush);
}

void NativeDrawImage(const NativeTarget& target, const Surface& source, const IntRect& src, const IntRect& dest) {
  Gdiplus::GpGraphics* graphics = Begin(target, true);
  if (!graphics) return;
  // GDI+ reads the source's pixels from memory: whatever it drew there must have landed.
  Surface::Impl& from = const_cast<Surface&>(source).Internals();
  if (from.graphics) flat::GdipFlush(from.graphics, Gdiplus::FlushIntentionSync);
  flat::GdipDrawImageRectRectI(graphics, from.bitmap, dest.left, dest.top, dest.Width(), dest.Height(), src.left,
                               src.top, src.Width(), src.Height(), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

}  // namespace plumet::gfx
