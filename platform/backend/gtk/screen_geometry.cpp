#include "platform/backend/gtk/screen_geometry.h"

#include <X11/extensions/Xrandr.h>

namespace plumet::backend::gtk {

Rect PrimaryMonitor(Display* display, Window root) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, root, &attributes);
  Rect result{0, 0, attributes.width, attributes.height};
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
      (major == 1 && minor < 5)) {
    return result;
  }
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
  if (monitors == nullptr) return result;
  for (int i = count - 1; i >= 0; --i) {
    const XRRMonitorInfo& m = monitors[i];
    if (m.width <= 0 || m.height <= 0) continue;
    if (m.primary || i == 0) result = Rect{m.x, m.y, m.x + m.width, m.y + m.height};
    if (m.primary) break;
  }
  XRRFreeMonitors(monitors);
  return result;
}

}  // namespace plumet::backend::gtk
