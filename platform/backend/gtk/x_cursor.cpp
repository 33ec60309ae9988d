#include "platform/backend/gtk/x_cursor.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/cursorfont.h>

namespace plumet::backend::gtk {

Cursor MakeXCursor(Display* display, const CursorImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.argb.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
    return None;
  }
  XcursorImage* x = XcursorImageCreate(image.width, image.height);
  if (x == nullptr) return None;
  x->xhot = static_cast<XcursorDim>(image.hotX);
  x->yhot = static_cast<XcursorDim>(image.hotY);
  // Xcursor wants premultiplied pixels.
  for (std::size_t i = 0; i < image.argb.size(); ++i) {
    const std::uint32_t p = image.argb[i];
    const std::uint32_t a = p >> 24;
    const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    x->pixels[i] = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
  }
  const Cursor cursor = XcursorImageLoadCursor(display, x);
  XcursorImageDestroy(x);
  return cursor;
}

Cursor MakeXSystemCursor(Display* display, SystemCursor cursor) {
  const bool hand = cursor == SystemCursor::Hand;
  const Cursor themed = XcursorLibraryLoadCursor(display, hand ? "hand2" : "left_ptr");
  return themed != None ? themed : XCreateFontCursor(display, hand ? XC_hand2 : XC_left_ptr);
}

}  // namespace plumet::backend::gtk
