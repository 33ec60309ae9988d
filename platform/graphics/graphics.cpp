#include <cairo.h>

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/graphics/gdiplus.h"
#include "platform/graphics/stroke_raster.h"
#include "platform/graphics/surface_internals.h"

namespace Gdiplus {
namespace {

// Curves are flattened finer than a tenth of a pixel would buy nothing visible.
constexpr double kTolerance = 0.25;

void SetSourceArgb(cairo_t* cr, ARGB argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        (argb >> 24) / 255.0);
}

cairo_line_cap_t CairoCap(LineCap cap) {
  switch (cap) {
    case LineCapRound: return CAIRO_LINE_CAP_ROUND;
    case LineCapSquare: return CAIRO_LINE_CAP_SQUARE;
    default: return CAIRO_LINE_CAP_BUTT;
  }
}

cairo_line_join_t CairoJoin(LineJoin join) {
  switch (join) {
    case LineJoinRound: return CAIRO_LINE_JOIN_ROUND;
    case LineJoinBevel: return CAIRO_LINE_JOIN_BEVEL;
    default: return CAIRO_LINE_JOIN_MITER;
  }
}

// The pens the system draws with: strokes are unions of capsules, which the
// direct rasteriser draws far faster than cairo's general scan converter.
bool IsRound(const Pen& pen) {
  return pen.GetStartCap() == LineCapRound && pen.GetEndCap() == LineCapRound && pen.GetLineJoin() == LineJoinRound;
}

bool IsSmooth(SmoothingMode mode) { return mode == SmoothingModeHighQuality || mode == SmoothingModeAntiAlias; }

void ApplyPen(cairo_t* cr, const Pen& pen) {
  SetSourceArgb(cr, pen.GetColor());
  cairo_set_line_width(cr, pen.GetWidth());
  // cairo has one cap for both ends; the system only ever uses equal caps.
  cairo_set_line_cap(cr, CairoCap(pen.GetStartCap()));
  cairo_set_line_join(cr, CairoJoin(pen.GetLineJoin()));
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

// Every call sets the whole drawing state from this object, so that two
// graphics objects on one surface never see each other's modes.
void Graphics::Begin() {
  cairo_t* cr = target_.surface->Internals().Context();
  cairo_identity_matrix(cr);
  cairo_reset_clip(cr);
  if (!target_.clip.Empty()) {
    cairo_rectangle(cr, target_.clip.left, target_.clip.top, target_.clip.Width(), target_.clip.Height());
    cairo_clip(cr);
  }
  // Pixel centres: an integer coordinate lies in the middle of its pixel.
  cairo_translate(cr, target_.originX + 0.5, target_.originY + 0.5);
  cairo_set_operator(cr, compositing_ == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr, IsSmooth(smoothing_) ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_tolerance(cr, kTolerance);
  cairo_new_path(cr);
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
  // Beside another thread the caller of DrawInBands settles cairo's view of the pixels.
  if (!banded_) cairo_surface_flush(surface.Internals().image);
  const plumet::gfx::IntRect changed = plumet::gfx::RasterizeStroke(surface, target_.clip, points, count, style);
  if (!banded_ && !changed.Empty())
    cairo_surface_mark_dirty_rectangle(surface.Internals().image, changed.left, changed.top, changed.Width(),
                                       changed.Height());
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
  Begin();
  cairo_t* cr = target_.surface->Internals().Context();
  ApplyPen(cr, *pen);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
  return Ok;
}

Status Graphics::DrawCurve(const Pen* pen, const PointF* points, INT count) {
  if (!Usable(pen)) return status_ == Ok ? InvalidParameter : status_;
  if (!points || count < 2) return InvalidParameter;
  // Flattened once, per thread and kept: a redraw flattens every stroke without allocating.
  thread_local std::vector<plumet::gfx::PointD> flat;
  if (IsRound(*pen)) {
    plumet::gfx::FlattenCardinalSpline(points, count, target_.originX, target_.originY, kTolerance, flat);
    return StrokeRound(*pen, flat.data(), static_cast<INT>(flat.size()));
  }
  if (banded_) return WrongState;
  Begin();  // shifts by the origin itself
  plumet::gfx::FlattenCardinalSpline(points, count, 0, 0, kTolerance, flat);
  cairo_t* cr = target_.surface->Internals().Context();
  ApplyPen(cr, *pen);
  cairo_move_to(cr, flat[0].x, flat[0].y);
  for (std::size_t i = 1; i < flat.size(); ++i) cairo_line_to(cr, flat[i].x, flat[i].y);
  cairo_stroke(cr);
  return Ok;
}

Status Graphics::FillRectangle(const SolidBrush* brush, INT x, INT y, INT width, INT height) {
  if (status_ != Ok) return status_;
  if (banded_) return WrongState;
  if (!brush) return InvalidParameter;
  Begin();
  cairo_t* cr = target_.surface->Internals().Context();
  // Rectangles cover whole pixels: undo the pixel-centre shift.
  cairo_translate(cr, -0.5, -0.5);
  SetSourceArgb(cr, brush->GetColor());
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  return Ok;
}

Status Graphics::DrawImage(Image* image, const Rect& dest, INT srcX, INT srcY, INT srcWidth, INT srcHeight, Unit) {
  if (status_ != Ok) return status_;
  if (banded_) return WrongState;
  if (!image || !image->GetSurface() || srcWidth <= 0 || srcHeight <= 0) return InvalidParameter;
  Begin();
  cairo_t* cr = target_.surface->Internals().Context();
  cairo_translate(cr, -0.5, -0.5);
  cairo_rectangle(cr, dest.X, dest.Y, dest.Width, dest.Height);
  cairo_clip(cr);
  cairo_translate(cr, dest.X, dest.Y);
  cairo_scale(cr, static_cast<double>(dest.Width) / srcWidth, static_cast<double>(dest.Height) / srcHeight);
  cairo_set_source_surface(cr, image->GetSurface()->Internals().image, -srcX, -srcY);
  cairo_paint(cr);
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

  cairo_surface_flush(surface.Internals().image);
  try {
    std::thread worker([&] { draw(lower); });
    draw(upper);
    worker.join();
  } catch (const std::system_error&) {
    // No second thread to be had: both halves on this one.
    draw(upper);
    draw(lower);
  }
  cairo_surface_mark_dirty_rectangle(surface.Internals().image, area.left, area.top, area.Width(), area.Height());
  compositing_ = upper.compositing_;
  smoothing_ = upper.smoothing_;
}

}  // namespace Gdiplus
