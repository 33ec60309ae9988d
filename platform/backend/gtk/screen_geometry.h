// Where the primary monitor lies on the X screen, and how often it refreshes.
#pragma once

#include <X11/Xlib.h>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// The primary monitor's rectangle in root coordinates (RandR monitors); the
// first monitor when none is primary, the whole root window when RandR names
// none.
Rect PrimaryMonitor(Display* display, Window root);

// The refresh rate in Hz of the primary output's mode (RandR), or of the
// first lit output when none is primary; 0 when RandR does not say.
double PrimaryRefreshRate(Display* display, Window root);

}  // namespace plumet::backend::gtk
