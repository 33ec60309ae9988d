// Where the primary monitor lies on the X screen.
#pragma once

#include <X11/Xlib.h>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// The primary monitor's rectangle in root coordinates (RandR monitors); the
// first monitor when none is primary, the whole root window when RandR names
// none.
Rect PrimaryMonitor(Display* display, Window root);

}  // namespace plumet::backend::gtk
