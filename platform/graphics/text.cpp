#include "platform/graphics/text.h"

#include <cairo.h>

#include "platform/graphics/surface_internals.h"

namespace plumet::gfx {

void DrawCentredText(Surface& surface, const std::string& text, const IntRect& box, std::uint32_t argb) {
  if (text.empty() || box.Empty()) return;
  cairo_t* cr = surface.Internals().Context();
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_reset_clip(cr);
  cairo_rectangle(cr, box.left, box.top, box.Width(), box.Height());
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        (argb >> 24) / 255.0);
  cairo_move_to(cr, box.left + (box.Width() - extents.width) / 2 - extents.x_bearing,
                box.top + (box.Height() - extents.height) / 2 - extents.y_bearing);
  cairo_show_text(cr, text.c_str());
  cairo_restore(cr);
}

}  // namespace plumet::gfx
