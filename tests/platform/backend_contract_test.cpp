// What every backend must do, stated once and run against each backend the
// machine can run (see contract_harness.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "tests/platform/contract_harness.h"

namespace plumet::backend::contract {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kGrey = 0xFF808080u;
constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

std::vector<Event> OfKind(const std::vector<Event>& events, EventKind kind) {
  std::vector<Event> out;
  std::copy_if(events.begin(), events.end(), std::back_inserter(out), [&](const Event& e) { return e.kind == kind; });
  return out;
}

}  // namespace

Surface::Surface(int w, int h, std::uint32_t fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

void Surface::Fill(const Rect& r, std::uint32_t colour) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) pixels[static_cast<std::size_t>(y * width + x)] = colour;
  }
}

Presentation Surface::Present(PresentMode mode, std::uint32_t key) const {
  Presentation p;
  p.source = PixelView{pixels.data(), width, height, width * 4};
  p.mode = mode;
  p.colorKey = key;
  return p;
}

void BackendContract::SetUp() {
  harness_ = GetParam()();
  const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string why = harness_->CannotCheck(test.substr(0, test.find('/')));
  if (!why.empty()) GTEST_SKIP() << why;
  desktop_ = harness_->ReadScreen();
}

void BackendContract::TearDown() {
  for (WindowId w : windows_) Subject().DestroyWindow(w);
}

WindowId BackendContract::Open(const Rect& r, const Surface& picture, PresentMode mode, WindowOptions options,
                               std::uint32_t key) {
  options.layered = options.layered || mode != PresentMode::Opaque;
  const WindowId w = Subject().CreateWindow(options);
  windows_.push_back(w);
  Subject().SetBounds(w, r);
  Subject().Present(w, picture.Present(mode, key));
  Subject().Show(w, true);
  Subject().Raise(w);
  return w;
}

WindowId BackendContract::OpenOpaque(const Rect& r, std::uint32_t colour, WindowOptions options) {
  return Open(r, Surface(r.Width(), r.Height(), colour), PresentMode::Opaque, options);
}

std::uint32_t BackendContract::Seen(int x, int y) {
  const ScreenImage screen = User().ReadScreen();
  return screen.pixels[static_cast<std::size_t>(y * screen.width + x)] | 0xFF000000u;
}

std::uint32_t BackendContract::Desktop(int x, int y) const {
  return desktop_.pixels[static_cast<std::size_t>(y * desktop_.width + x)] | 0xFF000000u;
}

WindowId BackendContract::PressTarget(int x, int y) {
  User().Press(x, y);
  User().Release(x, y);
  const std::vector<Event> downs = OfKind(User().TakeEvents(), EventKind::PointerDown);
  const std::vector<BeneathInput> beneath = User().TakeBeneathInputs();
  const bool wentBeneath = std::any_of(beneath.begin(), beneath.end(), [&](const BeneathInput& i) {
    return i.kind == EventKind::PointerDown && i.x == x && i.y == y;
  });
  EXPECT_NE(downs.empty(), !wentBeneath) << "a press goes to exactly one place";
  return downs.empty() ? 0 : downs.front().window;
}

WindowId BackendContract::KeyTarget(EventKind key) {
  User().Key(key);
  const std::vector<Event> keys = OfKind(User().TakeEvents(), key);
  return keys.empty() ? 0 : keys.front().window;
}

namespace {

TEST_P(BackendContract, WindowsStackInCreationOrderUntilRaised) {
  const WindowId a = OpenOpaque({100, 100, 300, 300}, kRed);
  const WindowId b = OpenOpaque({200, 200, 400, 400}, kBlue);
  EXPECT_EQ(Seen(150, 150), kRed);
  EXPECT_EQ(Seen(250, 250), kBlue);
  EXPECT_EQ(Seen(350, 350), kBlue);
  EXPECT_EQ(Seen(50, 50), Desktop(50, 50));
  EXPECT_EQ(Seen(299, 299), kBlue);
  EXPECT_EQ(Seen(300, 150), Desktop(300, 150)) << "right edge excluded";
  Subject().Raise(a);
  EXPECT_EQ(Seen(250, 250), kRed);
  EXPECT_EQ(PressTarget(250, 250), a);
  EXPECT_EQ(PressTarget(350, 350), b);
}

TEST_P(BackendContract, WindowsShowNothingWhileHiddenAndLayeredOnesNothingBeforePresented) {
  WindowOptions layered;
  layered.layered = true;
  const WindowId w = Subject().CreateWindow(layered);
  windows_.push_back(w);
  Subject().SetBounds(w, {100, 100, 200, 200});
  Subject().Show(w, true);
  EXPECT_EQ(Seen(150, 150), Desktop(150, 150));
  EXPECT_EQ(PressTarget(150, 150), 0u);

  Surface green(100, 100, kGreen);
  Subject().Present(w, green.Present(PresentMode::PerPixelAlpha));
  EXPECT_EQ(Seen(150, 150), kGreen);
  Subject().Show(w, false);
  EXPECT_EQ(Seen(150, 150), Desktop(150, 150));
  EXPECT_EQ(PressTarget(150, 150), 0u);
  Subject().Show(w, true);
  EXPECT_EQ(Seen(150, 150), kGreen) << "the picture is kept while hidden";

  Subject().SetBounds(w, {300, 100, 400, 200});
  EXPECT_EQ(Seen(150, 150), Desktop(150, 150));
  EXPECT_EQ(Seen(350, 150), kGreen);
}

TEST_P(BackendContract, PerPixelAlphaBlendsPremultipliedOverTheDesktop) {
  Surface picture(30, 10, 0);
  picture.Fill({0, 0, 10, 10}, 0x80800000u);   // red at half alpha, premultiplied
  picture.Fill({10, 0, 20, 10}, 0xFF00FF00u);  // opaque green
  // Columns 20..29 stay 0: fully transparent.
  Open({200, 200, 230, 210}, picture, PresentMode::PerPixelAlpha);

  const std::uint32_t under = Desktop(205, 205);
  const std::uint32_t seen = Seen(205, 205);
  const int keep = 255 - 0x80;
  EXPECT_NEAR(Channel(seen, 16), 0x80 + Channel(under, 16) * keep / 255.0, 1.0);
  EXPECT_NEAR(Channel(seen, 8), Channel(under, 8) * keep / 255.0, 1.0);
  EXPECT_NEAR(Channel(seen, 0), Channel(under, 0) * keep / 255.0, 1.0);
  EXPECT_EQ(Seen(215, 205), kGreen);
  EXPECT_EQ(Seen(225, 205), Desktop(225, 205));
}

TEST_P(BackendContract, OwnedWindowsStayAboveTheirOwnersRecursively) {
  WindowOptions owned;
  const WindowId board = OpenOpaque({100, 100, 300, 300}, kRed);
  owned.owner = board;
  const WindowId palette = OpenOpaque({150, 150, 350, 350}, kGreen, owned);
  owned.owner = palette;
  const WindowId icon = OpenOpaque({200, 200, 400, 400}, kBlue, owned);
  const WindowId other = OpenOpaque({90, 90, 450, 450}, kGrey);
  EXPECT_EQ(Seen(250, 250), kGrey);

  Subject().Raise(board);
  EXPECT_EQ(Seen(120, 120), kRed);
  EXPECT_EQ(Seen(170, 170), kGreen);
  EXPECT_EQ(Seen(250, 250), kBlue);
  EXPECT_EQ(Seen(420, 420), kGrey);
  EXPECT_EQ(PressTarget(170, 170), palette);

  Subject().Raise(other);
  EXPECT_EQ(Seen(250, 250), kGrey);
  Subject().Raise(palette);
  EXPECT_EQ(Seen(120, 120), kGrey) << "the owner stays where it was";
  EXPECT_EQ(Seen(170, 170), kGreen);
  EXPECT_EQ(Seen(250, 250), kBlue);
  EXPECT_EQ(PressTarget(250, 250), icon);
}

TEST_P(BackendContract, DirtyRectPresentChangesOnlyThatRect) {
  Surface red(100, 100, kRed);
  const WindowId w = Open({100, 100, 200, 200}, red, PresentMode::PerPixelAlpha);
  Surface blue(100, 100, kBlue);
  Presentation part = blue.Present(PresentMode::PerPixelAlpha);
  part.dirty = Rect{10, 20, 30, 40};
  Subject().Present(w, part);
  EXPECT_EQ(Seen(110, 120), kBlue);
  EXPECT_EQ(Seen(129, 139), kBlue);
  EXPECT_EQ(Seen(109, 120), kRed);
  EXPECT_EQ(Seen(130, 120), kRed);
  EXPECT_EQ(Seen(110, 119), kRed);
  EXPECT_EQ(Seen(110, 140), kRed);
  EXPECT_EQ(Seen(180, 180), kRed);
}

TEST_P(BackendContract, ColorKeyHolesShowAndPassInputToWhatLiesBeneath) {
  const WindowId lower = OpenOpaque({100, 100, 220, 200}, kGreen);
  Surface picture(200, 100, kGrey);
  picture.Fill({20, 0, 40, 100}, kMagenta);    // over the lower window
  picture.Fill({160, 0, 180, 100}, kMagenta);  // over the desktop
  const WindowId upper = Open({100, 100, 300, 200}, picture, PresentMode::ColorKey, {}, 0xFF00FF);

  EXPECT_EQ(Seen(110, 150), kGrey);
  EXPECT_EQ(Seen(130, 150), kGreen);
  EXPECT_EQ(Seen(270, 150), Desktop(270, 150));
  EXPECT_EQ(PressTarget(110, 150), upper);
  EXPECT_EQ(PressTarget(130, 150), lower);
  EXPECT_EQ(PressTarget(270, 150), 0u);
}

TEST_P(BackendContract, FullyTransparentPixelsPassInputAndAlmostTransparentOnesTakeIt) {
  Surface picture(100, 50, 0);
  picture.Fill({50, 0, 100, 50}, 0x01010101u);  // white at alpha 1
  picture.Fill({30, 0, 40, 50}, 0x00FFFFFFu);   // colour without alpha adds light but takes no input
  const WindowId w = Open({100, 100, 200, 150}, picture, PresentMode::PerPixelAlpha);
  EXPECT_EQ(PressTarget(120, 120), 0u);
  EXPECT_EQ(PressTarget(135, 120), 0u);
  EXPECT_EQ(Seen(135, 120), 0xFFFFFFFFu) << "added light saturates";
  EXPECT_EQ(PressTarget(170, 120), w);
  EXPECT_NEAR(Channel(Seen(170, 120), 8), Channel(Desktop(170, 120), 8), 1.0);
}

TEST_P(BackendContract, PassThroughWindowsShowButTakeNoInput) {
  const WindowId lower = OpenOpaque({100, 100, 300, 300}, kGreen);
  const WindowId upper = OpenOpaque({100, 100, 200, 200}, kRed);
  Subject().SetInputPassThrough(upper, true);
  EXPECT_EQ(Seen(150, 150), kRed);
  EXPECT_EQ(PressTarget(150, 150), lower);
  Subject().SetInputPassThrough(lower, true);
  EXPECT_EQ(PressTarget(150, 150), 0u);
  Subject().SetInputPassThrough(upper, false);
  EXPECT_EQ(PressTarget(150, 150), upper);
}

TEST_P(BackendContract, ShapesClipPictureAndInput) {
  const WindowId w = OpenOpaque({100, 100, 300, 300}, kRed);
  Subject().SetShape(w, {Rect{0, 0, 50, 50}, Rect{25, 25, 100, 100}, Rect{150, 150, 200, 200}});
  EXPECT_EQ(Seen(110, 110), kRed);
  EXPECT_EQ(Seen(190, 190), kRed);
  EXPECT_EQ(Seen(280, 280), kRed);
  EXPECT_EQ(Seen(180, 110), Desktop(180, 110));
  EXPECT_EQ(Seen(220, 220), Desktop(220, 220));
  EXPECT_EQ(PressTarget(190, 190), w);
  EXPECT_EQ(PressTarget(220, 220), 0u);
  Subject().SetShape(w, {});
  EXPECT_EQ(Seen(220, 220), kRed);
  EXPECT_EQ(PressTarget(220, 220), w);
}

TEST_P(BackendContract, PointerEventsCarryWindowAndScreenCoordinates) {
  const WindowId w = OpenOpaque({100, 50, 300, 250}, kRed);
  User().Press(110, 60);
  User().Move(150, 90);
  User().Release(160, 100);
  const std::vector<Event> events = User().TakeEvents();
  const auto downs = OfKind(events, EventKind::PointerDown);
  const auto moves = OfKind(events, EventKind::PointerMove);
  const auto ups = OfKind(events, EventKind::PointerUp);
  ASSERT_EQ(downs.size(), 1u);
  ASSERT_FALSE(moves.empty());
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(downs[0].window, w);
  EXPECT_EQ(downs[0].x, 10);
  EXPECT_EQ(downs[0].y, 10);
  EXPECT_EQ(downs[0].screenX, 110);
  EXPECT_EQ(downs[0].screenY, 60);
  EXPECT_EQ(moves.back().x, 50);
  EXPECT_EQ(moves.back().y, 40);
  EXPECT_TRUE(moves.back().buttonDown);
  EXPECT_EQ(ups[0].x, 60);
  EXPECT_EQ(ups[0].screenY, 100);
  int x = 0;
  int y = 0;
  Subject().PointerPosition(x, y);
  EXPECT_EQ(x, 160);
  EXPECT_EQ(y, 100);

  // Every move of a fast drag arrives, in order, none merged into another;
  // also those that arrive while the backend answers a call of the program.
  User().Press(110, 60);
  std::vector<std::pair<int, int>> path;
  for (int i = 1; i <= 300; ++i) {
    path.emplace_back(110 + i % 180, 60 + i / 2);
    User().Move(path.back().first, path.back().second);
  }
  User().Release(path.back().first + 5, path.back().second);
  Subject().PointerPosition(x, y);
  const std::vector<Event> taken = User().TakeEvents();
  const auto down = std::find_if(taken.begin(), taken.end(), [](const Event& e) { return e.kind == EventKind::PointerDown; });
  ASSERT_NE(down, taken.end());
  const std::vector<Event> drag = OfKind(std::vector<Event>(down, taken.end()), EventKind::PointerMove);
  ASSERT_EQ(drag.size(), path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    EXPECT_EQ(drag[i].screenX, path[i].first) << i;
    EXPECT_EQ(drag[i].screenY, path[i].second) << i;
    EXPECT_TRUE(drag[i].buttonDown) << i;
  }
}

// Messages from another program keep their order; against the user's input
// they have none (another program, another queue).
TEST_P(BackendContract, MessagesFromOutsideArriveExactlyAsSentAndInOrder) {
  const WindowId board = OpenOpaque({100, 100, 300, 300}, kRed);
  const PostedMessage sent[] = {{1025, 3, 2}, {1025, 0xFFFFFFFFu, INT32_MIN}, {0x7FFF, 0, -1}};
  User().Press(150, 150);
  User().PostFromOutside(sent[0]);
  User().PostFromOutside(sent[1]);
  User().Release(150, 150);
  User().PostFromOutside(sent[2]);
  const std::vector<Event> events = User().TakeEvents();
  EXPECT_EQ(OfKind(events, EventKind::PointerDown).size(), 1u);
  EXPECT_EQ(OfKind(events, EventKind::PointerUp).size(), 1u);
  const std::vector<Event> messages = OfKind(events, EventKind::MessageFromOutside);
  ASSERT_EQ(messages.size(), std::size(sent));
  for (std::size_t i = 0; i < messages.size(); ++i) {
    EXPECT_TRUE(messages[i].window == 0 || messages[i].window == board) << "to the program, or to our window";
    EXPECT_EQ(messages[i].posted.message, sent[i].message) << i;
    EXPECT_EQ(messages[i].posted.wParam, sent[i].wParam) << i;
    EXPECT_EQ(messages[i].posted.lParam, sent[i].lParam) << i;
  }
}

TEST_P(BackendContract, LeavingOurWindowsForTheDesktopReportsAMoveWithoutWindow) {
  const WindowId w = OpenOpaque({100, 100, 200, 200}, kRed);
  User().Move(150, 150);
  User().Move(250, 250);
  const auto moves = OfKind(User().TakeEvents(), EventKind::PointerMove);
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(moves.front().window, w);
  EXPECT_EQ(moves.back().window, 0u);
  EXPECT_EQ(moves.back().screenX, 250);
}

TEST_P(BackendContract, GrabSendsEveryPointerEventToItsHolder) {
  const WindowId a = OpenOpaque({100, 100, 200, 200}, kRed);
  const WindowId b = OpenOpaque({300, 100, 400, 200}, kBlue);
  Subject().GrabPointer(a);
  User().Press(350, 150);
  User().Move(500, 400);
  User().Release(50, 50);
  const std::vector<Event> events = User().TakeEvents();
  EXPECT_TRUE(User().TakeBeneathInputs().empty());
  ASSERT_FALSE(events.empty());
  for (const Event& e : events) {
    EXPECT_EQ(e.window, a);
    EXPECT_EQ(e.x, e.screenX - 100);
    EXPECT_EQ(e.y, e.screenY - 100);
  }
  const auto ups = OfKind(events, EventKind::PointerUp);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].x, -50);
  Subject().GrabPointer(0);
  EXPECT_EQ(PressTarget(350, 150), b);
}

TEST_P(BackendContract, FocusGoesToPressedFocusTakersAndLeavesForOtherPrograms) {
  WindowOptions takes;
  takes.takesFocus = true;
  const WindowId board = OpenOpaque({100, 100, 200, 200}, kRed, takes);
  const WindowId palette = OpenOpaque({300, 100, 400, 200}, kBlue);
  PressTarget(150, 150);
  EXPECT_EQ(KeyTarget(EventKind::KeyEnter), board);
  PressTarget(350, 150);
  EXPECT_EQ(KeyTarget(EventKind::KeyEscape), board) << "a window that takes no focus leaves it alone";

  User().Press(500, 400);
  User().Release(500, 400);
  const std::vector<Event> lost = OfKind(User().TakeEvents(), EventKind::FocusLost);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].window, board);
  User().TakeBeneathInputs();
  EXPECT_EQ(KeyTarget(EventKind::KeyEnter), 0u);
  const auto beneath = User().TakeBeneathInputs();
  EXPECT_TRUE(std::any_of(beneath.begin(), beneath.end(),
                          [](const BeneathInput& i) { return i.kind == EventKind::KeyEnter; }));

  Subject().Focus(palette);
  EXPECT_EQ(KeyTarget(EventKind::KeyEscape), palette);
  Subject().Focus(board);
  EXPECT_EQ(KeyTarget(EventKind::KeyEscape), board);
  for (EventKind chord : {EventKind::KeyCtrlZ, EventKind::KeyCtrlY, EventKind::KeyCtrlShiftZ})
    EXPECT_EQ(KeyTarget(chord), board) << static_cast<int>(chord);
}

TEST_P(BackendContract, DisplayChangeIsReportedWithTheNewSize) {
  const Size before = Subject().ScreenSize();
  const Size after{before.width - 100, before.height - 50};
  if (!User().ChangeScreenSize(after)) GTEST_SKIP() << "this desktop's screen cannot be resized here";
  const std::vector<Event> events = User().TakeEvents();
  EXPECT_EQ(OfKind(events, EventKind::DisplayChange).size(), 1u);
  EXPECT_EQ(Subject().ScreenSize(), after);
  ScreenImage capture;
  ASSERT_TRUE(Subject().CaptureScreen(capture));
  EXPECT_EQ(capture.width, after.width);
  EXPECT_EQ(capture.height, after.height);
}

TEST_P(BackendContract, CaptureIsTheScreenWithOurLayeredWindows) {
  Surface picture(50, 50, 0x80008000u);  // green at half alpha
  Open({100, 100, 150, 150}, picture, PresentMode::PerPixelAlpha);
  OpenOpaque({200, 100, 250, 150}, kRed);
  ScreenImage capture;
  ASSERT_TRUE(Subject().CaptureScreen(capture));
  const Size size = Subject().ScreenSize();
  ASSERT_EQ(capture.width, size.width);
  ASSERT_EQ(capture.height, size.height);
  const auto at = [&](int x, int y) { return capture.pixels[static_cast<std::size_t>(y * capture.width + x)]; };
  EXPECT_EQ(at(120, 120), Seen(120, 120));
  EXPECT_NE(at(120, 120), Desktop(120, 120));
  EXPECT_EQ(at(220, 120), kRed);
  EXPECT_EQ(at(20, 20), Desktop(20, 20));
  EXPECT_TRUE(std::all_of(capture.pixels.begin(), capture.pixels.end(),
                          [](std::uint32_t p) { return (p >> 24) == 0xFF; }));
}

TEST_P(BackendContract, CaptureFailsWhenTheWindowSystemRefusesIt) {
  if (!User().DenyCapture()) GTEST_SKIP() << "this backend cannot refuse a capture";
  ScreenImage capture;
  EXPECT_FALSE(Subject().CaptureScreen(capture));
}

TEST_P(BackendContract, WaitEventWaitsNoLongerThanItsTimeout) {
  User().Idle(100);
  for (int call = 0; call < 4; ++call) {
    const std::uint64_t before = Subject().NowMs();
    const std::optional<Event> event = Subject().WaitEvent(30);
    EXPECT_FALSE(event.has_value());
    const std::uint64_t waited = Subject().NowMs() - before;
    EXPECT_LE(waited, 30u + static_cast<std::uint64_t>(User().ClockToleranceMs())) << "call " << call;
  }
}

TEST_P(BackendContract, SaveDialogReturnsTheChosenPathOrNothing) {
  if (!User().AnswerNextSaveDialog(std::string("/tmp/drawing page.png"))) {
    GTEST_SKIP() << "this backend cannot script its save dialog";
  }
  SaveDialogRequest request;
  request.fileTypes = {{"TIFF", "*.tiff"}, {"PNG", "*.png"}};
  request.defaultExtension = "tiff";
  EXPECT_EQ(Subject().RunSaveDialog(request), std::optional<std::string>("/tmp/drawing page.png"));
  ASSERT_TRUE(User().AnswerNextSaveDialog(std::nullopt));
  EXPECT_EQ(Subject().RunSaveDialog(request), std::nullopt);
}

}  // namespace
}  // namespace plumet::backend::contract
