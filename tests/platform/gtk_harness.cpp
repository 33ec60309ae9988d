// The contract suite on a real X server (see x_test_server.h): input through
// XTest, the screen read with GetImage, and an X client that covers the
// screen beneath our windows and logs the input that reaches it.
// gtest before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/platform/contract_harness.h"
#include "tests/platform/x_test_server.h"

#include "platform/backend/gtk/board_address.h"
#include "platform/backend/gtk/x_desktop.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

namespace plumet::backend::contract {
namespace {

constexpr unsigned long kBeneathColour = 0x406080;

// The other program: a plain window over the whole screen, created before
// and so beneath every window of the backend.
class Beneath {
 public:
  static Beneath& Get() {
    static Beneath beneath;
    return beneath;
  }
  Display* Connection() const { return display_; }

  std::vector<BeneathInput> Take() {
    XSync(display_, False);
    std::vector<BeneathInput> inputs;
    while (XPending(display_) > 0) {
      XEvent e;
      XNextEvent(display_, &e);
      if (e.type == ButtonPress || e.type == ButtonRelease) {
        inputs.push_back({e.type == ButtonPress ? EventKind::PointerDown : EventKind::PointerUp, e.xbutton.x_root,
                          e.xbutton.y_root});
      } else if (e.type == KeyPress) {
        const KeySym key = XLookupKeysym(&e.xkey, 0);
        if (key == XK_Return || key == XK_Escape) {
          inputs.push_back({key == XK_Return ? EventKind::KeyEnter : EventKind::KeyEscape, e.xkey.x_root,
                            e.xkey.y_root});
        }
      }
    }
    return inputs;
  }

 private:
  Beneath() : display_(XOpenDisplay(nullptr)) {
    const int screen = DefaultScreen(display_);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0,
                                  static_cast<unsigned>(DisplayWidth(display_, screen)),
                                  static_cast<unsigned>(DisplayHeight(display_, screen)), 0, 0, kBeneathColour);
    XSelectInput(display_, window_, ButtonPressMask | ButtonReleaseMask | KeyPressMask);
    XMapWindow(display_, window_);
    XSync(display_, False);
  }

  Display* display_;
  Window window_ = None;
};

class GtkHarness final : public ContractHarness {
 public:
  GtkHarness() {
    std::string error;
    if (!StartTestXServer(error)) throw std::runtime_error(error);
    display_ = Beneath::Get().Connection();
    Beneath::Get().Take();  // what earlier tests left
    desktop_ = gtk::XDesktop::Open(error);
    if (!desktop_) throw std::runtime_error(error);
    if (!desktop_->Composited()) {
      // GTK learns of the compositing manager from its own events.
      for (int i = 0; i < 50 && !desktop_->Composited(); ++i) desktop_->WaitEvent(10);
    }
  }

  ~GtkHarness() override {
    if (monitorChanged_) {
      XRRDeleteMonitor(display_, DefaultRootWindow(display_), XInternAtom(display_, "PLUMET-TEST", False));
      XSync(display_, False);
    }
  }

  Backend& Subject() override { return *desktop_; }
  gtk::XDesktop& Desktop() { return *desktop_; }

  void Press(int x, int y) override {
    SyncWithBackend();
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XSync(display_, False);
  }
  void Move(int x, int y) override {
    SyncWithBackend();
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
  }
  void Release(int x, int y) override {
    SyncWithBackend();
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }
  void Key(EventKind key) override {
    SyncWithBackend();
    KeySym symbol = XK_Return;
    std::vector<KeySym> held;
    switch (key) {
      case EventKind::KeyEscape: symbol = XK_Escape; break;
      case EventKind::KeyCtrlZ: symbol = XK_z; held = {XK_Control_L}; break;
      case EventKind::KeyCtrlY: symbol = XK_y; held = {XK_Control_L}; break;
      case EventKind::KeyCtrlShiftZ: symbol = XK_z; held = {XK_Control_L, XK_Shift_L}; break;
      default: break;
    }
    for (KeySym modifier : held) XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), True, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    for (KeySym modifier : held) XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), False, CurrentTime);
    XSync(display_, False);
  }

  // Xvfb's single output cannot change its mode; a RandR monitor laid over
  // part of it changes the primary monitor all the same.
  bool ChangeScreenSize(Size size) override {
    Window root = DefaultRootWindow(display_);
    XRRScreenResources* resources = XRRGetScreenResources(display_, root);
    EXPECT_NE(resources, nullptr);
    if (resources == nullptr) return false;
    EXPECT_GT(resources->noutput, 0);
    if (resources->noutput <= 0) {
      XRRFreeScreenResources(resources);
      return false;
    }
    RROutput output = resources->outputs[0];
    XRRMonitorInfo monitor{};
    monitor.name = XInternAtom(display_, "PLUMET-TEST", False);
    monitor.primary = True;
    monitor.noutput = 1;
    monitor.width = size.width;
    monitor.height = size.height;
    monitor.mwidth = size.width / 4;
    monitor.mheight = size.height / 4;
    monitor.outputs = &output;
    XRRSetMonitor(display_, root, &monitor);
    XSync(display_, False);
    XRRFreeScreenResources(resources);
    monitorChanged_ = true;
    return true;
  }

  void PostFromOutside(const PostedMessage& message) override {
    const Window board = gtk::RunningBoard(display_);
    ASSERT_NE(board, static_cast<Window>(None)) << "the backend holds the board's selection";
    gtk::PostToBoard(display_, board, message);
    XSync(display_, False);
  }

  void Idle(int) override {}  // the backend's clock is the real one

  std::vector<Event> TakeEvents() override {
    XSync(display_, False);
    std::vector<Event> events;
    // Everything the server sent us arrives well within a quiet spell.
    while (std::optional<Event> event = desktop_->WaitEvent(kQuietMs)) {
      if (event->kind != EventKind::Close) events.push_back(*event);
    }
    return events;
  }

  std::vector<BeneathInput> TakeBeneathInputs() override { return Beneath::Get().Take(); }

  ScreenImage ReadScreen() override {
    // The compositing manager paints later, and on a busy machine may not
    // have begun yet: wait until the picture has stayed the same for a
    // quiet period.
    SyncWithBackend();
    ScreenImage last = Grab();
    int unchangedMs = 0;
    for (int waitedMs = 0; waitedMs < 3000 && unchangedMs < kQuietMs; waitedMs += 25) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      ScreenImage now = Grab();
      unchangedMs = now.pixels == last.pixels ? unchangedMs + 25 : 0;
      last = std::move(now);
    }
    return last;
  }

  bool DenyCapture() override {
    desktop_->SetCaptureAllowed(false);
    return true;
  }
  // The real file chooser is driven by the desktop checks (tests/desktop).
  bool AnswerNextSaveDialog(std::optional<std::string>) override { return false; }
  // A loaded machine may wake us late; a wait that never ends is what this catches.
  int ClockToleranceMs() const override { return 250; }

 private:
  static constexpr int kQuietMs = 150;

  // The backend talks to the server on a connection of its own: a round trip
  // on it makes sure the server carried out all it asked before we act.
  void SyncWithBackend() {
    int x = 0;
    int y = 0;
    desktop_->PointerPosition(x, y);
  }

  ScreenImage Grab() {
    const int screen = DefaultScreen(display_);
    const int width = DisplayWidth(display_, screen);
    const int height = DisplayHeight(display_, screen);
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    ScreenImage out{width, height, {}};
    out.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        out.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, col, row)) | 0xFF000000u);
      }
    }
    XDestroyImage(image);
    return out;
  }

  Display* display_ = nullptr;
  std::unique_ptr<gtk::XDesktop> desktop_;
  bool monitorChanged_ = false;
};

std::unique_ptr<ContractHarness> MakeGtkHarness() { return std::make_unique<GtkHarness>(); }

INSTANTIATE_TEST_SUITE_P(Gtk, BackendContract, testing::Values(&MakeGtkHarness),
                         [](const auto&) { return std::string("Xvfb"); });

// Window pictures on this server: kept in memory shared with it (Xvfb here
// has MIT-SHM and a local socket), or sent with PutImage as on a server that
// lacks it or is on another machine. Either way the screen must end up
// showing exactly the last picture, after many small presents over the same
// pixels (a drag's) and after the window changes size.
class XPictureTest : public testing::TestWithParam<bool> {
 protected:
  bool Shared() const { return GetParam(); }

  WindowId Open(const Rect& r, const Surface& picture) {
    if (!Shared()) desktop_.AvoidSharedMemory();
    WindowOptions layered;
    layered.layered = true;
    const WindowId w = desktop_.CreateWindow(layered);
    desktop_.SetBounds(w, r);
    desktop_.Present(w, picture.Present(PresentMode::PerPixelAlpha));
    desktop_.Show(w, true);
    desktop_.Raise(w);
    return w;
  }

  // Pixels of screen rectangle r that differ from the picture shown there.
  int Mismatches(const Rect& r, const Surface& picture) {
    const ScreenImage screen = harness_.ReadScreen();
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const std::uint32_t seen = screen.pixels[static_cast<std::size_t>(y * screen.width + x)] | 0xFF000000u;
        const std::uint32_t shown = picture.pixels[static_cast<std::size_t>((y - r.top) * picture.width + x - r.left)];
        wrong += seen != shown;
      }
    }
    return wrong;
  }

  GtkHarness harness_;
  gtk::XDesktop& desktop_ = harness_.Desktop();
};

TEST_P(XPictureTest, ScreenShowsTheLastPictureAfterManyPresentsAndAResize) {
  const Rect small{100, 100, 200, 160};
  Surface picture(small.Width(), small.Height(), 0xFFFF0000u);
  const WindowId w = Open(small, picture);
  EXPECT_EQ(desktop_.SharesPicture(w), Shared());
  for (int i = 0; i < 300; ++i) {
    const Rect part{(i * 7) % 90, (i * 3) % 50, (i * 7) % 90 + 10, (i * 3) % 50 + 10};
    picture.Fill(part, 0xFF000000u | static_cast<std::uint32_t>(i * 0x030507));
    Presentation p = picture.Present(PresentMode::PerPixelAlpha);
    p.dirty = part;
    desktop_.Present(w, p);
  }
  EXPECT_EQ(Mismatches(small, picture), 0);

  const Rect large{100, 100, 400, 300};
  Surface bigger(large.Width(), large.Height(), 0xFF0000FFu);
  bigger.Fill({250, 150, 300, 200}, 0xFF00FF00u);
  desktop_.SetBounds(w, large);
  desktop_.Present(w, bigger.Present(PresentMode::PerPixelAlpha));
  EXPECT_EQ(desktop_.SharesPicture(w), Shared()) << "a picture of the new size";
  EXPECT_EQ(Mismatches(large, bigger), 0);
  desktop_.DestroyWindow(w);
}

// After a present the connection is not read until the frame ends: moves
// made meanwhile must all arrive then, in order, none lost or held longer.
TEST_P(XPictureTest, MovesDuringTheFrameAfterAPresentAllArriveInOrder) {
  Surface picture(200, 200, 0xFFFF0000u);
  const WindowId w = Open({100, 100, 300, 300}, picture);
  harness_.Press(110, 110);
  harness_.TakeEvents();
  constexpr int kMoves = 40;
  for (int i = 0; i < kMoves; ++i) {
    Presentation p = picture.Present(PresentMode::PerPixelAlpha);
    p.dirty = Rect{i, 0, i + 1, 1};
    desktop_.Present(w, p);
    harness_.Move(120 + i, 150);
  }
  harness_.Release(120 + kMoves - 1, 150);
  std::vector<int> xs;
  for (const Event& e : harness_.TakeEvents()) {
    if (e.kind == EventKind::PointerMove) xs.push_back(e.screenX);
  }
  ASSERT_EQ(xs.size(), static_cast<std::size_t>(kMoves));
  for (int i = 0; i < kMoves; ++i) EXPECT_EQ(xs[static_cast<std::size_t>(i)], 120 + i);
  desktop_.DestroyWindow(w);
}

INSTANTIATE_TEST_SUITE_P(Gtk, XPictureTest, testing::Values(true, false),
                         [](const auto& value) { return std::string(value.param ? "Shared" : "PutImage"); });

}  // namespace
}  // namespace plumet::backend::contract
