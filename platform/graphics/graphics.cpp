#include <cairo.h>

#include <atomic>

#include "platform/framework/draw_target.h"
#include "platform/graphics/gdiplus.h"
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

Graphics::Graphics(HDC hdc) : Graphics(plumet::framework::ResolveDrawTarget(hdc)) {}

Graphics::Graphics(Image* image) {
  if (image) target_.surface = image->GetSurface();
  if (!target_.surface) status_ = InvalidParameter;
}

Graphics::Graphics(const DrawTarget& target) : target_(target) {
  if (!target_.surface) status_ = InvalidParameter;
}

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
  const bool smooth = smoothing_ == SmoothingModeHighQuality || smoothing_ == SmoothingModeAntiAlias;
  cairo_set_antialias(cr, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
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

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
  if (!Usable(pen)) return status_ == Ok ? InvalidParameter : status_;
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
  Begin();
  cairo_t* cr = target_.surface->Internals().Context();
  ApplyPen(cr, *pen);
  cairo_move_to(cr, points[0].X, points[0].Y);
  if (count == 2) {
    cairo_line_to(cr, points[1].X, points[1].Y);
  } else {
    // Cardinal spline, tension 0.5: each tangent is half the chord between
    // the neighbours, which as Bezier control points is a sixth of it.
    constexpr double k = 0.5 / 3.0;
    for (INT i = 0; i + 1 < count; ++i) {
      const PointF& p0 = points[i == 0 ? 0 : i - 1];
      const PointF& p1 = points[i];
      const PointF& p2 = points[i + 1];
      const PointF& p3 = points[i + 2 < count ? i + 2 : count - 1];
      cairo_curve_to(cr, p1.X + k * (p2.X - p0.X), p1.Y + k * (p2.Y - p0.Y), p2.X - k * (p3.X - p1.X),
                     p2.Y - k * (p3.Y - p1.Y), p2.X, p2.Y);
    }
  }
  cairo_stroke(cr);
  return Ok;
}

Status Graphics::FillRectangle(const SolidBrush* brush, INT x, INT y, INT width, INT height) {
  if (status_ != Ok) return status_;
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

}  // namespace Gdiplus
