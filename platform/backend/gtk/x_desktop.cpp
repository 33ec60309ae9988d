#include "platform/backend/gtk/x_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/extensions/XI2proto.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include "platform/backend/gtk/board_address.h"
#include "platform/backend/gtk/main_context_wait.h"
#include "platform/backend/gtk/message_box.h"
#include "platform/backend/gtk/portal_screenshot.h"
#include "platform/backend/gtk/save_dialog.h"
#include "platform/backend/gtk/screen_geometry.h"
#include "platform/backend/gtk/shm_segment.h"
#include "platform/backend/gtk/x_cursor.h"

namespace plumet::backend::gtk {
namespace {

constexpr long kPointerMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                              LeaveWindowMask;
// How often a fallback grab that another program refused is tried again.
constexpr std::uint64_t kGrabRetryMs = 250;
// How long, at most, a screen copy waits for the compositing manager.
constexpr int kSettleTries = 5;
constexpr int kSettleMs = 20;
// Events taken ahead of the program; the rest waits in the server.
constexpr std::size_t kMaxQueuedEvents = 256;

// Failed requests on our connections (a window gone meanwhile, a focus that
// cannot be set yet) only lose their effect; other connections keep the
// handler they had, which is GTK's.
std::set<Display*>& OurDisplays() {
  static std::set<Display*> displays;
  return displays;
}
XErrorHandler previousHandler = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
  if (OurDisplays().count(display) != 0 || previousHandler == nullptr) return 0;
  return previousHandler(display, error);
}

void WatchErrors(Display* display) {
  // Ours stays installed once the last of our connections is closed: taken
  // for the previous one, it would call itself for ever.
  if (OurDisplays().empty()) {
    if (const XErrorHandler previous = XSetErrorHandler(OnXError); previous != OnXError) previousHandler = previous;
  }
  OurDisplays().insert(display);
}

Rect Offset(const Rect& r, int dx, int dy) { return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

struct FreeEvent {
  void operator()(xcb_generic_event_t* event) const { std::free(event); }
};
using EventPtr = std::unique_ptr<xcb_generic_event_t, FreeEvent>;

// The keys the board takes. The key's unshifted symbol names it, so Shift
// does not make z a Z, and Caps Lock or Num Lock change nothing. The
// server's current mapping is asked each time (keys are rare): nothing kept
// here can go stale when the keyboard layout changes.
std::optional<EventKind> KeyEventKind(Display* display, const xcb_key_press_event_t& key) {
  int perKey = 0;
  KeySym* symbols = XGetKeyboardMapping(display, key.detail, 1, &perKey);
  if (symbols == nullptr) return std::nullopt;
  const KeySym symbol = perKey > 0 ? symbols[0] : NoSymbol;
  XFree(symbols);
  if (symbol == XK_Return || symbol == XK_KP_Enter) return EventKind::KeyEnter;
  if (symbol == XK_Escape) return EventKind::KeyEscape;
  if (!(key.state & ControlMask)) return std::nullopt;
  const bool shift = key.state & ShiftMask;
  if (symbol == XK_z) return shift ? EventKind::KeyCtrlShiftZ : EventKind::KeyCtrlZ;
  if (symbol == XK_y && !shift) return EventKind::KeyCtrlY;
  return std::nullopt;
}

// 60 Hz when RandR names no rate.
int FrameInterval(Display* display, Window root) {
  constexpr double kUsualRate = 60;
  const double rate = PrimaryRefreshRate(display, root);
  return static_cast<int>(1000 / (rate >= 1 ? rate : kUsualRate));
}

// Pointer, key and focus events, as against the screen's, the session's and
// other programs'.
bool IsInput(const Event& e) {
  return e.kind != EventKind::DisplayChange && e.kind != EventKind::Close && e.kind != EventKind::MessageFromOutside;
}

}  // namespace

struct XDesktopCallbacks {
  // While GTK runs a modal dialog's loop.
  static gboolean OnXReadable(gint, GIOCondition, gpointer self) {
    static_cast<XDesktop*>(self)->Drain(true);
    return G_SOURCE_CONTINUE;
  }
  static gboolean OnCoverTimer(gpointer self) {
    auto* desktop = static_cast<XDesktop*>(self);
    desktop->coverTimer_ = 0;
    desktop->CheckCovered();
    XFlush(desktop->display_);
    return G_SOURCE_REMOVE;
  }
  // SIGTERM, SIGHUP (the session ending) or SIGINT.
  static gboolean OnEndRequest(gpointer self) {
    static_cast<XDesktop*>(self)->RequestEnd();
    return G_SOURCE_CONTINUE;
  }
  // A flood that fills the queue while GTK runs its own loop (the save
  // dialog) would wake it over and over: the watch rests until WaitEvent.
  static gboolean OnAddressReadable(gint, GIOCondition, gpointer self) {
    auto* desktop = static_cast<XDesktop*>(self);
    desktop->address_->SocketReadable();
    desktop->Drain(false);
    if (desktop->events_.size() < kMaxQueuedEvents) return G_SOURCE_CONTINUE;
    desktop->addressWatch_ = 0;
    return G_SOURCE_REMOVE;
  }
  static void OnCompositedChanged(GdkScreen* screen, gpointer self) {
    auto* desktop = static_cast<XDesktop*>(self);
    desktop->UpdateCompositing(desktop->alphaVisual_ && gdk_screen_is_composited(screen));
  }
};

std::unique_ptr<XDesktop> XDesktop::Open(std::string& error) {
  GdkDisplay* gdk = gdk_display_get_default();
  if (gdk == nullptr) {
    error = "GTK has no display";
    return nullptr;
  }
  Display* display = XOpenDisplay(gdk_display_get_name(gdk));
  if (display == nullptr) {
    error = std::string("cannot open display ") + gdk_display_get_name(gdk);
    return nullptr;
  }
  // Requests go through Xlib; events are read with XCB (WaitEvent).
  XSetEventQueueOwner(display, XCBOwnsEventQueue);
  int event = 0;
  int err = 0;
  if (!XShapeQueryExtension(display, &event, &err)) {
    XCloseDisplay(display);
    error = "the X server lacks the Shape extension";
    return nullptr;
  }
  // Two boards on one screen would fight over the pointer.
  std::unique_ptr<BoardAddress> address = BoardAddress::Claim(gdk_display_get_name(gdk), error);
  if (!address) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::unique_ptr<XDesktop>(new XDesktop(display, std::move(address)));
}

XDesktop::XDesktop(Display* display, std::unique_ptr<BoardAddress> address)
    : display_(display), xcb_(XGetXCBConnection(display)),
      address_(std::move(address)),
      mainContext_(std::make_unique<MainContextWait>()) {
  WatchErrors(display_);
  const int screen = DefaultScreen(display_);
  target_.display = display_;
  target_.root = RootWindow(display_, screen);
  XVisualInfo info{};
  alphaVisual_ = XMatchVisualInfo(display_, screen, 32, TrueColor, &info) != 0;
  if (alphaVisual_) {
    target_.visual = info.visual;
    target_.depth = 32;
    target_.colormap = XCreateColormap(display_, target_.root, info.visual, AllocNone);
  } else {
    target_.visual = DefaultVisual(display_, screen);
    target_.depth = DefaultDepth(display_, screen);
    target_.colormap = DefaultColormap(display_, screen);
  }

  // Other programs' windows appearing or moving (to stay above them) and the
  // root window changing size.
  XSelectInput(display_, target_.root, SubstructureNotifyMask | StructureNotifyMask);
  int randrError = 0;
  if (XRRQueryExtension(display_, &randrEventBase_, &randrError)) {
    XRRSelectInput(display_, target_.root, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
  } else {
    randrEventBase_ = -1;
  }
  // Every press anywhere, to notice one on another program (focus).
  int xiEvent = 0;
  int xiError = 0;
  int major = 2;
  int minor = 2;
  if (XQueryExtension(display_, "XInputExtension", &xiOpcode_, &xiEvent, &xiError) &&
      XIQueryVersion(display_, &major, &minor) == Success) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
    XISelectEvents(display_, target_.root, &mask, 1);
  } else {
    xiOpcode_ = -1;
  }
  if (ShmSegment::Usable(xcb_)) {
    target_.sharedMemory = xcb_;
    shmEventBase_ = xcb_get_extension_data(xcb_, &xcb_shm_id)->first_event;
  }
  monitor_ = PrimaryMonitor(display_, target_.root);
  frameIntervalMs_ = FrameInterval(display_, target_.root);

  GdkScreen* screenObject = gdk_screen_get_default();
  composited_ = alphaVisual_ && gdk_screen_is_composited(screenObject);
  compositedHandler_ = g_signal_connect(screenObject, "composited-changed", G_CALLBACK(XDesktopCallbacks::OnCompositedChanged), this);
  for (int signal : {SIGTERM, SIGHUP, SIGINT})
    endWatches_.push_back(g_unix_signal_add(signal, XDesktopCallbacks::OnEndRequest, this));
  session_ = std::make_unique<SessionClient>([this] { RequestEnd(); });
  XFlush(display_);
}

XDesktop::~XDesktop() {
  for (unsigned watch : endWatches_) g_source_remove(watch);
  if (coverTimer_ != 0) g_source_remove(coverTimer_);
  if (addressWatch_ != 0) g_source_remove(addressWatch_);
  g_signal_handler_disconnect(gdk_screen_get_default(), compositedHandler_);
  windows_.clear();
  for (const auto& [id, cursor] : cursors_) XFreeCursor(display_, cursor);
  XCloseDisplay(display_);
  OurDisplays().erase(display_);
}


// ---- Screen ----------------------------------------------------------------

void XDesktop::CopyThroughPortal() { portal_ = std::make_unique<PortalScreenshot>(); }

bool XDesktop::CaptureScreen(ScreenImage& out) {
  copyPending_ = false;
  if (portal_) {
    const int screen = DefaultScreen(display_);
    const CopyGeometry geometry{monitor_, Size{DisplayWidth(display_, screen), DisplayHeight(display_, screen)}};
    const PortalScreenshot::Answer answer = portal_->Take(geometry, out);
    copyPending_ = answer == PortalScreenshot::Answer::Pending;
    return answer == PortalScreenshot::Answer::Ready;
  }
  if (!captureAllowed_ || monitor_.Empty()) return false;
  // A compositing manager paints what we just showed a little later: the
  // copy is taken once the picture holds still (or after a few tries).
  XSync(display_, False);
  if (!ReadRoot(out)) return false;
  ScreenImage again;
  for (int tries = 0; tries < kSettleTries; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
    if (!ReadRoot(again)) return false;
    if (again.pixels == out.pixels) break;
    std::swap(out, again);
  }
  return true;
}

// GDK's factor for the primary monitor: the desktop's setting, or GDK_SCALE.
int XDesktop::ScaleFactor() const {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  return monitor != nullptr ? std::max(1, gdk_monitor_get_scale_factor(monitor)) : 1;
}

bool XDesktop::ReadRoot(ScreenImage& out) {
  XImage* image = XGetImage(display_, target_.root, monitor_.left, monitor_.top, static_cast<unsigned>(monitor_.Width()),
                            static_cast<unsigned>(monitor_.Height()), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  const bool usable = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                      image->blue_mask == 0xFF;
  if (usable) {
    out.width = image->width;
    out.height = image->height;
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) *
                                                                                image->bytes_per_line);
      std::uint32_t* target = &out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width)];
      for (int x = 0; x < out.width; ++x) target[x] = row[x] | 0xFF000000u;
    }
  }
  XDestroyImage(image);
  return usable;
}

void XDesktop::UpdateMonitor() {
  frameIntervalMs_ = FrameInterval(display_, target_.root);
  const Rect monitor = PrimaryMonitor(display_, target_.root);
  if (monitor == monitor_) return;
  monitor_ = monitor;
  events_.push_back(Event{EventKind::DisplayChange});
}

void XDesktop::UpdateCompositing(bool composited) {
  composited_ = composited;
  for (auto& [id, window] : windows_) window->SetCutOut(window->Options().layered && !composited_);
  RefreshFallbackGrab();
  XFlush(display_);
}

// ---- Windows ---------------------------------------------------------------

XWindow* XDesktop::Find(WindowId window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.get();
}

WindowId XDesktop::FromXid(Window xid) const {
  for (const auto& [id, window] : windows_) {
    if (window->Xid() == xid) return id;
  }
  return 0;
}

bool XDesktop::IsOwnedBy(WindowId window, WindowId owner) const {
  // Bounded by the number of windows so that an ownership cycle cannot hang.
  for (std::size_t hops = 0; hops <= windows_.size(); ++hops) {
    auto it = windows_.find(window);
    if (it == windows_.end() || it->second->Options().owner == 0) return false;
    window = it->second->Options().owner;
    if (window == owner) return true;
  }
  return false;
}

WindowId XDesktop::CreateWindow(const WindowOptions& options) {
  const WindowId id = nextWindow_++;
  auto window = std::make_unique<XWindow>(target_, options);
  window->SetCutOut(options.layered && !composited_);
  if (!options.title.empty()) XStoreName(display_, window->Xid(), options.title.c_str());
  windows_.emplace(id, std::move(window));
  order_.push_back(id);
  XFlush(display_);
  return id;
}

void XDesktop::DestroyWindow(WindowId window) {
  if (Find(window) == nullptr) return;
  if (grab_ == window) GrabPointer(0);
  if (focus_ == window) focus_ = 0;
  if (fallback_ == window) fallback_ = 0;
  windows_.erase(window);
  std::erase(order_, window);
  RefreshFallbackGrab();
  XFlush(display_);
}

void XDesktop::SetBounds(WindowId window, const Rect& screenRect) {
  if (XWindow* w = Find(window)) w->SetBounds(Offset(screenRect, monitor_.left, monitor_.top));
  XFlush(display_);
}

void XDesktop::Show(WindowId window, bool visible) {
  XWindow* w = Find(window);
  if (w == nullptr) return;
  w->Show(visible);
  if (visible) {
    w->Paint(Rect{0, 0, w->Bounds().Width(), w->Bounds().Height()});
    // A focus given before the window could take it.
    if (focus_ == window) XSetInputFocus(display_, w->Xid(), RevertToPointerRoot, CurrentTime);
  }
  RefreshFallbackGrab();
  XFlush(display_);
}

void XDesktop::Raise(WindowId window) {
  if (Find(window) == nullptr) return;
  const auto moved = std::stable_partition(order_.begin(), order_.end(),
                                           [&](WindowId w) { return w != window && !IsOwnedBy(w, window); });
  for (auto it = moved; it != order_.end(); ++it) XRaiseWindow(display_, windows_.at(*it)->Xid());
  XFlush(display_);
}

// Never in the middle of what the program does: the request waits in the
// queue like any event, and an open save dialog is closed as cancelled (a
// message box as dismissed).
void XDesktop::RequestEnd() {
  events_.push_back(Event{EventKind::Close});
  if (!dialogOpen_) return;
  CancelSaveDialog();
  CloseMessageBox();
}

void XDesktop::KeepOnTop() {
  if (dialogOpen_) return;
  for (WindowId id : order_) {
    const XWindow& w = *windows_.at(id);
    if (w.Visible()) XRaiseWindow(display_, w.Xid());
  }
}

std::vector<RaisePolicy::WindowRef> XDesktop::CoveringWindows() const {
  std::vector<RaisePolicy::WindowRef> coverers;
  Window rootReturn = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, target_.root, &rootReturn, &parent, &children, &count)) return coverers;
  std::vector<Rect> ours;  // our shown windows met so far, from the bottom of the stack
  for (unsigned i = 0; i < count; ++i) {
    if (const WindowId id = FromXid(children[i]); id != 0) {
      if (windows_.at(id)->Visible()) ours.push_back(windows_.at(id)->Bounds());
      continue;
    }
    XWindowAttributes a;
    if (ours.empty() || !XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable ||
        a.c_class != InputOutput) {
      continue;
    }
    const Rect area{a.x, a.y, a.x + a.width + 2 * a.border_width, a.y + a.height + 2 * a.border_width};
    if (std::any_of(ours.begin(), ours.end(), [&](const Rect& r) { return !r.Intersect(area).Empty(); }))
      coverers.push_back(children[i]);
  }
  if (children != nullptr) XFree(children);
  return coverers;
}

void XDesktop::CheckCovered() {
  coverCheckDue_ = false;
  if (dialogOpen_ || coverTimer_ != 0) return;
  const std::uint64_t now = NowMs();
  switch (raisePolicy_.Covered(CoveringWindows(), now)) {
    case RaisePolicy::Answer::Raise:
      KeepOnTop();
      break;
    case RaisePolicy::Answer::Later:
      coverTimer_ = g_timeout_add(static_cast<guint>(raisePolicy_.WaitMs(now)), XDesktopCallbacks::OnCoverTimer, this);
      mainContext_->SourcesChanged();
      break;
    case RaisePolicy::Answer::Stay:
      break;
  }
}

void XDesktop::SetInputPassThrough(WindowId window, bool passThrough) {
  if (XWindow* w = Find(window)) w->SetPassThrough(passThrough);
  RefreshFallbackGrab();
  XFlush(display_);
}

void XDesktop::SetShape(WindowId window, const std::vector<Rect>& rects) {
  if (XWindow* w = Find(window)) w->SetShape(rects);
  XFlush(display_);
}

void XDesktop::Present(WindowId window, const Presentation& presentation) {
  XWindow* w = Find(window);
  if (w == nullptr) return;
  AwaitPuts(*w);
  w->Present(presentation);
  readAfterMs_ = NowMs() + static_cast<std::uint64_t>(std::max(frameIntervalMs_, 0));
  if (!composited_) RefreshFallbackGrab();
  XFlush(display_);
}

bool XDesktop::SharesPicture(WindowId window) {
  const XWindow* w = Find(window);
  return w != nullptr && w->SharesPicture();
}

// Presents come a frame apart, so the completion has nearly always arrived
// by the next one: it is read with the events that came with it. Only when
// the server is behind does a round trip wait for it to catch up.
void XDesktop::AwaitPuts(XWindow& window) {
  if (!window.PutsInFlight()) return;
  for (EventPtr event{xcb_poll_for_event(xcb_)}; event; event.reset(xcb_poll_for_queued_event(xcb_))) Translate(*event);
  if (!window.PutsInFlight()) return;
  std::free(xcb_get_input_focus_reply(xcb_, xcb_get_input_focus(xcb_), nullptr));
  window.ServerCaughtUp();
}

void XDesktop::SetTitle(WindowId window, const std::string& title) {
  XWindow* w = Find(window);
  if (w == nullptr) return;
  XStoreName(display_, w->Xid(), title.c_str());
  XChangeProperty(display_, w->Xid(), XInternAtom(display_, "_NET_WM_NAME", False),
                  XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  XFlush(display_);
}

void XDesktop::SetIcon(WindowId window, const CursorImage& picture) {
  XWindow* w = Find(window);
  const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  if (w == nullptr || picture.width <= 0 || picture.height <= 0 || picture.argb.size() != count) return;
  // Format 32 properties are arrays of longs, whatever their width.
  std::vector<unsigned long> data{static_cast<unsigned long>(picture.width), static_cast<unsigned long>(picture.height)};
  data.insert(data.end(), picture.argb.begin(), picture.argb.end());
  XChangeProperty(display_, w->Xid(), XInternAtom(display_, "_NET_WM_ICON", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
  XFlush(display_);
}

void XDesktop::Focus(WindowId window) {
  XWindow* w = Find(window);
  focus_ = w != nullptr ? window : 0;
  if (w == nullptr) {
    XSetInputFocus(display_, PointerRoot, RevertToPointerRoot, CurrentTime);
  } else if (w->Visible()) {
    XSetInputFocus(display_, w->Xid(), RevertToPointerRoot, CurrentTime);
  }
  XFlush(display_);
}

// ---- Pointer ---------------------------------------------------------------

CursorId XDesktop::MakeCursor(const CursorImage& image) {
  const Cursor cursor = MakeXCursor(display_, image);
  if (cursor == None) return 0;
  cursors_[nextCursor_] = cursor;
  return nextCursor_++;
}

CursorId XDesktop::MakeSystemCursor(SystemCursor cursor) {
  const Cursor made = MakeXSystemCursor(display_, cursor);
  if (made == None) return 0;
  cursors_[nextCursor_] = made;
  return nextCursor_++;
}

void XDesktop::FreeCursor(CursorId cursor) {
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) return;
  XFreeCursor(display_, it->second);
  cursors_.erase(it);
}

void XDesktop::SetCursor(WindowId window, CursorId cursor) {
  XWindow* w = Find(window);
  if (w == nullptr) return;
  auto it = cursors_.find(cursor);
  w->SetCursor(it == cursors_.end() ? None : it->second);
  // A grab shows its own cursor: the tool's, whatever lies under the pointer.
  if (window == grab_ || window == fallback_) {
    XChangeActivePointerGrab(display_, static_cast<unsigned>(kPointerMask), w->CurrentCursor(), CurrentTime);
  }
  XFlush(display_);
}

void XDesktop::GrabPointer(WindowId window) {
  XWindow* w = Find(window);
  if (w == nullptr) {
    grab_ = 0;
    fallback_ = 0;
    XUngrabPointer(display_, CurrentTime);
    RefreshFallbackGrab();
    XFlush(display_);
    return;
  }
  grab_ = window;
  fallback_ = 0;
  XGrabPointer(display_, w->Xid(), False, static_cast<unsigned>(kPointerMask), GrabModeAsync, GrabModeAsync, None,
               w->CurrentCursor(), CurrentTime);
  XFlush(display_);
}

void XDesktop::RefreshFallbackGrab() {
  if (grab_ != 0) return;
  WindowId needs = 0;
  if (!dialogOpen_) {
    for (const auto& [id, window] : windows_) {
      if (window->NeedsGrab()) needs = id;
    }
  }
  if (needs == fallback_) return;
  if (needs == 0) {
    fallback_ = 0;
    XUngrabPointer(display_, CurrentTime);
    return;
  }
  const std::uint64_t now = NowMs();
  if (now - lastFallbackTry_ < kGrabRetryMs && lastFallbackTry_ != 0) return;
  lastFallbackTry_ = now;
  const XWindow& w = *windows_.at(needs);
  if (XGrabPointer(display_, w.Xid(), True, static_cast<unsigned>(kPointerMask), GrabModeAsync, GrabModeAsync, None,
                   w.CurrentCursor(), CurrentTime) == GrabSuccess) {
    fallback_ = needs;
    lastFallbackTry_ = 0;
  }
}

XDesktop::RootPointer XDesktop::QueryRootPointer() const {
  RootPointer pointer;
  Window rootReturn = None;
  int x = 0;
  int y = 0;
  unsigned mask = 0;
  XQueryPointer(display_, target_.root, &rootReturn, &pointer.child, &pointer.rootX, &pointer.rootY, &x, &y, &mask);
  return pointer;
}

void XDesktop::PointerPosition(int& screenX, int& screenY) {
  const RootPointer pointer = QueryRootPointer();
  screenX = pointer.rootX - monitor_.left;
  screenY = pointer.rootY - monitor_.top;
}

// ---- Events ----------------------------------------------------------------

std::uint64_t XDesktop::NowMs() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

// A window was just presented, so nothing that comes before its next frame
// can show earlier than that frame: the X connection rests until then, and
// the events of the frame (a pen's moves: 4 at 250 Hz, 16 at 1000 Hz, every
// one kept) are read in one wake-up instead of one each; the framework draws
// them all before it presents the frame (InputWaiting). The first move after
// a quiet frame is read at once, as the connection is watched again.
std::optional<Event> XDesktop::WaitEvent(int timeoutMs) {
  Drain(false);
  const std::uint64_t start = NowMs();
  bool expired = false;
  while (events_.empty() && !expired) {
    const std::uint64_t now = NowMs();
    const bool resting = now < readAfterMs_ && !dialogOpen_;
    int leftMs = -1;
    if (timeoutMs >= 0) {
      const std::uint64_t waited = now - start;
      // Over, the connection is still looked at once, without waiting: a
      // frame that falls due as the rest ends must go out with its input.
      expired = waited >= static_cast<std::uint64_t>(timeoutMs);
      if (expired && resting) break;
      leftMs = expired ? 0 : timeoutMs - static_cast<int>(waited);
    }
    if (resting) {
      const int restMs = static_cast<int>(readAfterMs_ - now);
      leftMs = leftMs < 0 ? restMs : std::min(leftMs, restMs);
    }
    GPollFD fds[] = {{resting ? -1 : ConnectionNumber(display_), G_IO_IN, 0}, {address_->Fd(), G_IO_IN, 0}};
    mainContext_->Wait(fds, leftMs);
    if (fds[1].revents != 0) address_->SocketReadable();
    Drain(fds[0].revents != 0);
  }
  if (events_.empty()) return std::nullopt;
  const Event event = events_.front();
  events_.pop_front();
  return event;
}

bool XDesktop::InputWaiting() { return std::any_of(events_.begin(), events_.end(), IsInput); }

// Only what the socket holds when it is known to be readable is read, once;
// everything else comes from XCB's queue, which also holds the events that
// arrived while Xlib waited for a reply or wrote a request. So no read finds
// nothing, and no event waits in the queue while we sleep on the socket.
void XDesktop::Drain(bool socketReadable) {
  EventPtr event{socketReadable ? xcb_poll_for_event(xcb_) : xcb_poll_for_queued_event(xcb_)};
  for (;;) {
    for (; event; event.reset(xcb_poll_for_queued_event(xcb_))) Translate(*event);
    // Once per batch: a burst of restacks needs one look at the stack.
    if (coverCheckDue_) CheckCovered();
    if (leaving_) {
      leaving_ = false;
      events_.push_back(PointerEvent(EventKind::PointerMove, 0, leaveX_, leaveY_, false));
    }
    // Messages from other programs, no faster than the program takes them.
    while (events_.size() < kMaxQueuedEvents) {
      const std::optional<PostedMessage> posted = address_->Next();
      if (!posted) break;
      Event e{EventKind::MessageFromOutside};
      e.posted = *posted;
      events_.push_back(e);
    }
    RefreshFallbackGrab();
    XFlush(display_);
    // The round trips and writes above may have queued more.
    event.reset(xcb_poll_for_queued_event(xcb_));
    if (!event) break;
  }
  // A broken connection ends the program as Xlib always did: a request
  // meets the error and calls the I/O error handler.
  if (xcb_connection_has_error(xcb_)) XSync(display_, False);
}

Event XDesktop::PointerEvent(EventKind kind, WindowId window, int rootX, int rootY, bool buttonDown) const {
  Event event{kind, window};
  event.screenX = rootX - monitor_.left;
  event.screenY = rootY - monitor_.top;
  if (auto it = windows_.find(window); it != windows_.end()) {
    event.x = rootX - it->second->Bounds().left;
    event.y = rootY - it->second->Bounds().top;
  }
  event.buttonDown = buttonDown;
  return event;
}

void XDesktop::Translate(const xcb_generic_event_t& event) {
  // The top bit marks events another client sent.
  const int type = event.response_type & 0x7F;
  if (type == XCB_GE_GENERIC) {
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension == xiOpcode_ && generic.event_type == XI_RawButtonPress) {
      // The first 32 bytes are the event as sent, whatever its length.
      std::uint32_t button = 0;
      std::memcpy(&button, reinterpret_cast<const char*>(&event) + offsetof(xXIRawEvent, detail), sizeof button);
      if (button == 1) PressSeenByServer();
    }
    return;
  }
  if (randrEventBase_ >= 0 && (type == randrEventBase_ + RRScreenChangeNotify || type == randrEventBase_ + RRNotify)) {
    UpdateMonitor();
    return;
  }
  if (shmEventBase_ >= 0 && type == shmEventBase_ + XCB_SHM_COMPLETION) {
    const auto& completion = reinterpret_cast<const xcb_shm_completion_event_t&>(event);
    if (XWindow* w = Find(FromXid(completion.drawable))) w->PutCompleted(completion);
    return;
  }
  switch (type) {
    case XCB_EXPOSE: {
      const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
      if (XWindow* w = Find(FromXid(expose.window))) {
        w->Paint(Rect{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height});
      }
      return;
    }
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
      if (!dialogOpen_) TranslatePointer(type, event);
      return;
    case XCB_KEY_PRESS: {
      const auto& key = reinterpret_cast<const xcb_key_press_event_t&>(event);
      const WindowId window = FromXid(key.event);
      if (dialogOpen_ || window == 0 || window != focus_) return;
      if (const std::optional<EventKind> kind = KeyEventKind(display_, key)) {
        events_.push_back(PointerEvent(*kind, window, key.root_x, key.root_y, false));
      }
      return;
    }
    case XCB_FOCUS_OUT:
      TranslateFocusOut(reinterpret_cast<const xcb_focus_out_event_t&>(event));
      return;
    case XCB_MAP_NOTIFY: {
      const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
      if (map.event == target_.root && FromXid(map.window) == 0) coverCheckDue_ = true;
      return;
    }
    case XCB_CONFIGURE_NOTIFY: {
      const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
      if (configure.window == target_.root) {
        UpdateMonitor();
      } else if (configure.event == target_.root && FromXid(configure.window) == 0) {
        coverCheckDue_ = true;
      }
      return;
    }
    case XCB_DESTROY_NOTIFY: {
      const auto& destroy = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
      if (destroy.event == target_.root) raisePolicy_.Forget(destroy.window);
      return;
    }
    default:
      return;  // errors of our own requests only lose their effect
  }
}

void XDesktop::TranslatePointer(int type, const xcb_generic_event_t& event) {
  switch (type) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
      const auto& b = reinterpret_cast<const xcb_button_press_event_t&>(event);
      const WindowId window = FromXid(b.event);
      if (window == 0 || b.detail != Button1) return;
      const bool down = type == XCB_BUTTON_PRESS;
      if (down && windows_.at(window)->Options().takesFocus && focus_ != window) Focus(window);
      // XTest and some drivers move the pointer to the release point first:
      // the release carries that point, so the move says nothing more.
      if (!down && !events_.empty() && events_.back().kind == EventKind::PointerMove &&
          events_.back().window == window && events_.back().screenX == b.root_x - monitor_.left &&
          events_.back().screenY == b.root_y - monitor_.top) {
        events_.pop_back();
      }
      events_.push_back(PointerEvent(down ? EventKind::PointerDown : EventKind::PointerUp, window, b.root_x, b.root_y,
                                     down));
      return;
    }
    case XCB_MOTION_NOTIFY: {
      const auto& m = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
      const WindowId window = FromXid(m.event);
      if (window == 0) return;
      leaving_ = false;
      events_.push_back(PointerEvent(EventKind::PointerMove, window, m.root_x, m.root_y, (m.state & Button1Mask) != 0));
      return;
    }
    case XCB_ENTER_NOTIFY: {
      const auto& enter = reinterpret_cast<const xcb_enter_notify_event_t&>(event);
      if (enter.mode == XCB_NOTIFY_MODE_NORMAL && FromXid(enter.event) != 0) leaving_ = false;
      return;
    }
    case XCB_LEAVE_NOTIFY: {
      const auto& leave = reinterpret_cast<const xcb_leave_notify_event_t&>(event);
      // Only a pointer that is free to go: grabbed, its events stay ours.
      if (leave.mode == XCB_NOTIFY_MODE_NORMAL && grab_ == 0 && fallback_ == 0 && FromXid(leave.event) != 0) {
        leaving_ = true;
        leaveX_ = leave.root_x;
        leaveY_ = leave.root_y;
      }
      return;
    }
    default:
      return;
  }
}

void XDesktop::TranslateFocusOut(const xcb_focus_out_event_t& event) {
  if (dialogOpen_ || focus_ == 0 || FromXid(event.event) != focus_) return;
  if (event.mode == XCB_NOTIFY_MODE_GRAB || event.mode == XCB_NOTIFY_MODE_UNGRAB ||
      event.detail == XCB_NOTIFY_DETAIL_INFERIOR || event.detail == XCB_NOTIFY_DETAIL_POINTER) {
    return;
  }
  Window now = None;
  int revert = 0;
  XGetInputFocus(display_, &now, &revert);
  if (FromXid(now) != 0) return;
  events_.push_back(Event{EventKind::FocusLost, std::exchange(focus_, 0)});
}

// A press the server saw somewhere. On another program's window it takes the
// keyboard from us, as a window manager would; without one nobody else does.
void XDesktop::PressSeenByServer() {
  if (dialogOpen_ || focus_ == 0 || grab_ != 0 || fallback_ != 0) return;
  const RootPointer pointer = QueryRootPointer();
  if (FromXid(pointer.child) != 0) return;
  Window now = None;
  int revert = 0;
  XGetInputFocus(display_, &now, &revert);
  if (FromXid(now) != 0) XSetInputFocus(display_, PointerRoot, RevertToPointerRoot, CurrentTime);
  events_.push_back(PointerEvent(EventKind::FocusLost, std::exchange(focus_, 0), pointer.rootX, pointer.rootY, true));
}

// ---- Modal dialogs ---------------------------------------------------------

void XDesktop::RunModal(const std::function<void()>& dialog) {
  const WindowId focus = focus_;
  dialogOpen_ = true;
  RefreshFallbackGrab();
  XFlush(display_);
  // GTK's loop runs the dialog, so it watches our connections meanwhile.
  const unsigned xWatch = g_unix_fd_add(ConnectionNumber(display_), G_IO_IN, XDesktopCallbacks::OnXReadable, this);
  addressWatch_ = g_unix_fd_add(address_->Fd(), G_IO_IN, XDesktopCallbacks::OnAddressReadable, this);
  dialog();
  g_source_remove(xWatch);
  if (addressWatch_ != 0) g_source_remove(std::exchange(addressWatch_, 0));
  mainContext_->SourcesChanged();
  dialogOpen_ = false;
  // Input meant for our windows while the dialog was up is dropped, as the
  // owner of a modal dialog takes none; messages from other programs wait,
  // as posted messages do on Windows.
  std::erase_if(events_, IsInput);
  KeepOnTop();
  if (focus != 0) Focus(focus);
  RefreshFallbackGrab();
  XFlush(display_);
}

std::optional<std::string> XDesktop::RunSaveDialog(const SaveDialogRequest& request) {
  std::optional<std::string> chosen;
  RunModal([&] { chosen = gtk::RunSaveDialog(request); });
  return chosen;
}

// ---- Message box -----------------------------------------------------------

void XDesktop::ShowMessage(const MessageRequest& message) {
  const XWindow* owner = Find(message.owner);
  RunModal([&] { gtk::ShowMessageBox(message.caption, message.text, owner != nullptr ? owner->Xid() : None); });
}

}  // namespace plumet::backend::gtk
