#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/graphics/gdiplus.h"
#include "platform/graphics/stroke_raster.h"
#include "platform/graphics/native_drawing.h"
#include "platform/graphics/surface_sync.h"

namespace Gdiplus {
namespace {

// Curves are flattened finer than a tenth of a pixel would buy nothing visible.
constexpr double kTolerance = 0.25;

plumet::gfx::NativeCap ToNative(LineCap cap) {
  switch (cap) {
    case LineCapRound: return plumet::gfx::NativeCap::Round;
    case LineCapSquare: return plumet::gfx::NativeCap::Square;
    default: return plumet::gfx::NativeCap::Flat;
  }
}

plumet::gfx::NativeJoin ToNative(LineJoin join) {
  switch (join) {
    case LineJoinRound: return plumet::gfx::NativeJoin::Round;
    case LineJoinBevel: return plumet::gfx::NativeJoin::Bevel;
    default: return plumet::gfx::NativeJoin::Miter;
  }
}

// The pens the system draws with: strokes are unions of capsules, which the
// direct rasteriser draws far faster than a general scan converter.
bool IsRound(const Pen& pen) {
  return pen.GetStartCap() == LineCapRound && pen.GetEndCap() == LineCapRound && pen.GetLineJoin() == LineJoinRound;
}

bool IsSmooth(SmoothingMode mode) { return mode == SmoothingModeHighQuality || mode == SmoothingModeAntiAlias; }

// The system only ever uses equal caps at both ends.
plumet::gfx::NativePen ToNative(const Pen& pen) {
  return {pen.GetColor(), pen.GetWidth(), ToNative(pen.GetStartCap()), ToNative(pen.GetLineJoin())};
}

}  // namespace

Pen::Pen(ARGB color, REAL width, Unit) : color_(color), width_(width) {}
Status Pen::SetLineJoin(LineJoin join) {
  join_ = join;
  return Ok;
}
Status Pen::SetStartCap(LineCap cap) {
  startCap_ = cap;
  return Ok;
}
Status Pen::SetEndCap(LineCap cap) {
  endCap_ = cap;
  return Ok;
}

Graphics::Graphics(Image* image) {
  if (image) target_.surface = image->GetSurface();
  if (!target_.surface) status_ = InvalidParameter;
}

Graphics::Graphics(const DrawTarget& target) : target_(target) {
  if (!target_.surface) status_ = InvalidParameter;
}

Graphics::Graphics(const DrawTarget& band, const Graphics& modes)
    : target_(band), banded_(true), status_(modes.status_), compositing_(modes.compositing_),
      smoothing_(modes.smoothing_) {}

Graphics::~Graphics() = default;

Status Graphics::SetCompositingMode(CompositingMode mode) {
  compositing_ = mode;
  return Ok;
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
  smoothing_ = mode;
  return Ok;
}

// Every call hands the library the whole drawing state of this object, so
// that two graphics objects on one surface never see each other's modes.
plumet::gfx::NativeTarget Graphics::Native() const {
  return {target_.surface, target_.clip, compositing_ == CompositingModeSourceCopy, IsSmooth(smoothing_)};
}

bool Graphics::Usable(const Pen* pen) {
  if (status_ != Ok) return false;
  if (!pen) {
    status_ = InvalidParameter;
    return false;
  }
  return true;
}

Status Graphics::StrokeRound(const Pen& pen, const plumet::gfx::PointD* points, INT count) {
  plumet::gfx::Surface& surface = *target_.surface;
  const plumet::gfx::StrokeStyle style{
      pen.GetWidth(), plumet::gfx::Premultiply(pen.GetColor()),
      compositing_ == CompositingModeSourceCopy ? plumet::gfx::StrokeBlend::Copy : plumet::gfx::StrokeBlend::Over,
      IsSmooth(smoothing_)};
  // Beside another thread the caller of DrawInBands settles the library's view of the pixels.
  if (!banded_) plumet::gfx::SyncBeforePixelAccess(surface);
  const plumet::gfx::IntRect changed = plumet::gfx::RasterizeStroke(surface, target_.clip, points, count, style);
  if (!banded_ && !changed.Empty()) plumet::gfx::MarkPixelsChanged(surface, changed);
  return Ok;
}

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
  if (!Usable(pen)) return status_ == Ok ? InvalidParameter : status_;
  if (IsRound(*pen)) {
    const plumet::gfx::PointD ends[2] = {{x1 + target_.originX + 0.0, y1 + target_.originY + 0.0},
                                         {x2 + target_.originX + 0.0, y2 + target_.originY + 0.0}};
    return StrokeRound(*pen, ends, 2);
  }
  if (banded_) return WrongState;
  const plumet::gfx::PointD ends[2] = {{x1 + target_.originX + 0.0, y1 + target_.originY + 0.0},
                                       {x2 + target_.originX + 0.0, y2 + target_.originY + 0.0}};
  plumet::gfx::NativePolyline(Native(), ToNative(*pen), ends, 2);
  return Ok;
}

Status Graphics::DrawCurve(const Pen* pen, const PointF* points, INT count) {
  if (!Usable(pen)) return status_ == Ok ? InvalidParameter : status_;
  if (!points || count < 2) return InvalidParameter;
  // Flattened once, per thread and kept: a redraw flattens every stroke without allocating.
  thread_local std::vector<plumet::gfx::PointD> flat;
  if (!IsRound(*pen) && banded_) return WrongState;
  if (IsRound(*pen)) {
    const plumet::gfx::Surface& surface = *target_.surface;
    const plumet::gfx::IntRect shown =
        target_.clip.Empty() ? surface.Bounds() : target_.clip.Intersect(surface.Bounds());
    // Ink reaches half the width and the anti-aliased pixel beyond it.
    const double reach = pen->GetWidth() / 2.0 + 1;
    if (plumet::gfx::CardinalSplineOutOfSight(points, count, target_.originX, target_.originY, shown, reach)) return Ok;
    plumet::gfx::FlattenCardinalSpline(points, count, target_.originX, target_.originY, kTolerance, flat);
    return StrokeRound(*pen, flat.data(), static_cast<INT>(flat.size()));
  }
  plumet::gfx::FlattenCardinalSpline(points, count, target_.originX, target_.originY, kTolerance, flat);
  plumet::gfx::NativePolyline(Native(), ToNative(*pen), flat.data(), static_cast<int>(flat.size()));
  return Ok;
}

Status Graphics::FillRectangle(const SolidBrush* brush, INT x, INT y, INT width, INT height) {
  if (status_ != Ok) return status_;
  if (banded_) return WrongState;
  if (!brush) return InvalidParameter;
  const int left = x + target_.originX;
  const int top = y + target_.originY;
  plumet::gfx::NativeFill(Native(), brush->GetColor(), {left, top, left + width, top + height});
  return Ok;
}

Status Graphics::DrawImage(Image* image, const Rect& dest, INT srcX, INT srcY, INT srcWidth, INT srcHeight, Unit) {
  if (status_ != Ok) return status_;
  if (banded_) return WrongState;
  if (!image || !image->GetSurface() || srcWidth <= 0 || srcHeight <= 0) return InvalidParameter;
  const int left = dest.X + target_.originX;
  const int top = dest.Y + target_.originY;
  plumet::gfx::NativeDrawImage(Native(), *image->GetSurface(), {srcX, srcY, srcX + srcWidth, srcY + srcHeight},
                               {left, top, left + dest.Width, top + dest.Height});
  return Ok;
}

void Graphics::DrawInBands(const std::function<void(Graphics&)>& draw) {
  if (status_ != Ok || banded_) {
    draw(*this);
    return;
  }
  plumet::gfx::Surface& surface = *target_.surface;
  const plumet::gfx::IntRect area = target_.clip.Empty() ? surface.Bounds() : target_.clip.Intersect(surface.Bounds());
  const int middle = area.top + area.Height() / 2;
  DrawTarget upperTarget = target_;
  upperTarget.clip = {area.left, area.top, area.right, middle};
  DrawTarget lowerTarget = target_;
  lowerTarget.clip = {area.left, middle, area.right, area.bottom};
  Graphics upper(upperTarget, *this);
  Graphics lower(lowerTarget, *this);

  plumet::gfx::SyncBeforePixelAccess(surface);
  try {
    std::thread worker([&] { draw(lower); });
    draw(upper);
    worker.join();
  } catch (const std::system_error&) {
    // No second thread to be had: both halves on this one.
    draw(upper);
    draw(lower);
  }
  plumet::gfx::MarkPixelsChanged(surface, area);
  compositing_ = upper.compositing_;
  smoothing_ = upper.smoothing_;
}

}  // namespace Gdiplus
