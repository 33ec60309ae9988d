// Pointer cursors on the X server.
#pragma once

#include <X11/Xlib.h>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// A full-colour cursor from a straight-alpha picture with its hot spot.
Cursor MakeXCursor(Display* display, const CursorImage& image);
// The theme's arrow or pointing hand.
Cursor MakeXSystemCursor(Display* display, SystemCursor cursor);

}  // namespace plumet::backend::gtk
