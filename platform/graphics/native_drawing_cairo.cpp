// The library's part of drawing, through cairo.
#include <cairo.h>

#include "platform/graphics/native_drawing.h"
#include "platform/graphics/surface_internals.h"

namespace plumet::gfx {
namespace {

// Curves are flattened finer than a tenth of a pixel would buy nothing visible.
constexpr double kTolerance = 0.25;

void SetSourceArgb(cairo_t* cr, std::uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        (argb >> 24) / 255.0);
}

cairo_line_cap_t CairoCap(NativeCap cap) {
  switch (cap) {
    case NativeCap::Round: return CAIRO_LINE_CAP_ROUND;
    case NativeCap::Square: return CAIRO_LINE_CAP_SQUARE;
    default: return CAIRO_LINE_CAP_BUTT;
  }
}

cairo_line_join_t CairoJoin(NativeJoin join) {
  switch (join) {
    case NativeJoin::Round: return CAIRO_LINE_JOIN_ROUND;
    case NativeJoin::Bevel: return CAIRO_LINE_JOIN_BEVEL;
    default: return CAIRO_LINE_JOIN_MITER;
  }
}

// The surface's one context, reset to the target's clip and modes with
// integer coordinates at pixel centres.
cairo_t* Begin(const NativeTarget& target) {
  cairo_t* cr = target.surface->Internals().Context();
  cairo_identity_matrix(cr);
  cairo_reset_clip(cr);
  if (!target.clip.Empty()) {
    cairo_rectangle(cr, target.clip.left, target.clip.top, target.clip.Width(), target.clip.Height());
    cairo_clip(cr);
  }
  cairo_translate(cr, 0.5, 0.5);
  cairo_set_operator(cr, target.sourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr, target.smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_tolerance(cr, kTolerance);
  cairo_new_path(cr);
  return cr;
}

}  // namespace

void NativePolyline(const NativeTarget& target, const NativePen& pen, const PointD* points, int count) {
  if (count < 2) return;
  cairo_t* cr = Begin(target);
  SetSourceArgb(cr, pen.argb);
  cairo_set_line_width(cr, pen.width);
  cairo_set_line_cap(cr, CairoCap(pen.cap));
  cairo_set_line_join(cr, CairoJoin(pen.join));
  cairo_move_to(cr, points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
  cairo_stroke(cr);
}

void NativeFill(const NativeTarget& target, std::uint32_t argb, const IntRect& rect) {
  cairo_t* cr = Begin(target);
  // Rectangles cover whole pixels: undo the pixel-centre shift.
  cairo_translate(cr, -0.5, -0.5);
  SetSourceArgb(cr, argb);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(cr);
}

void NativeDrawImage(const NativeTarget& target, const Surface& source, const IntRect& src, const IntRect& dest) {
  cairo_t* cr = Begin(target);
  cairo_translate(cr, -0.5, -0.5);
  cairo_rectangle(cr, dest.left, dest.top, dest.Width(), dest.Height());
  cairo_clip(cr);
  cairo_translate(cr, dest.left, dest.top);
  cairo_scale(cr, static_cast<double>(dest.Width()) / src.Width(), static_cast<double>(dest.Height()) / src.Height());
  cairo_set_source_surface(cr, const_cast<Surface&>(source).Internals().image, -src.left, -src.top);
  cairo_paint(cr);
}

}  // namespace plumet::gfx
