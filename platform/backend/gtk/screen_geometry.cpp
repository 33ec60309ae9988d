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

namespace {

double ModeRate(const XRRModeInfo& mode) {
  if (mode.hTotal == 0 || mode.vTotal == 0) return 0;
  double rate = static_cast<double>(mode.dotClock) / (static_cast<double>(mode.hTotal) * mode.vTotal);
  if (mode.modeFlags & RR_DoubleScan) rate /= 2;
  if (mode.modeFlags & RR_Interlace) rate *= 2;
  return rate;
}

double CrtcRate(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  if (info == nullptr) return 0;
  double rate = 0;
  for (int i = 0; i < resources->nmode && rate == 0; ++i)
    if (resources->modes[i].id == info->mode) rate = ModeRate(resources->modes[i]);
  XRRFreeCrtcInfo(info);
  return rate;
}

}  // namespace

double PrimaryRefreshRate(Display* display, Window root) {
  int eventBase = 0;
  int errorBase = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase)) return 0;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return 0;
  double rate = 0;
  if (const RROutput primary = XRRGetOutputPrimary(display, root); primary != None) {
    if (XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary)) {
      if (output->crtc != None) rate = CrtcRate(display, resources, output->crtc);
      XRRFreeOutputInfo(output);
    }
  }
  for (int i = 0; i < resources->ncrtc && rate == 0; ++i) rate = CrtcRate(display, resources, resources->crtcs[i]);
  XRRFreeScreenResources(resources);
  return rate;
}

}  // namespace plumet::backend::gtk
