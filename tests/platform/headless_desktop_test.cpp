// What the in-memory desktop offers beyond the backend contract: the step
// driver, the desktop picture, shots, and what tests read back.
#include "platform/backend/headless/headless_desktop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "platform/backend/headless/test_pattern.h"
#include "tests/platform/png_reader.h"

namespace plumet::backend::headless {
namespace {

std::vector<Event> EventsUntilClose(HeadlessDesktop& desktop, int timeoutMs = -1) {
  std::vector<Event> events;
  for (int calls = 0; calls < 10000; ++calls) {
    const std::optional<Event> e = desktop.WaitEvent(timeoutMs);
    if (!e) continue;
    if (e->kind == EventKind::Close) break;
    events.push_back(*e);
  }
  return events;
}

WindowId OpaqueWindow(HeadlessDesktop& desktop, const Rect& r, WindowOptions options = {}) {
  const WindowId w = desktop.CreateWindow(options);
  desktop.SetBounds(w, r);
  desktop.Show(w, true);
  return w;
}

TEST(HeadlessSteps, DragGivesPressMovesAlongTheLineAndReleaseOnePerCall) {
  HeadlessDesktop desktop;
  const WindowId w = OpaqueWindow(desktop, {0, 0, 400, 400});
  desktop.AddDrag(10, 20, 20, 30, 4);
  const std::vector<Event> events = EventsUntilClose(desktop);
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].kind, EventKind::PointerDown);
  const int xs[] = {13, 15, 18, 20};  // 12.5 and 17.5 round away from zero
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(events[1 + i].kind, EventKind::PointerMove);
    EXPECT_EQ(events[1 + i].x, xs[i]);
    EXPECT_EQ(events[1 + i].y, xs[i] + 10);
    EXPECT_TRUE(events[1 + i].buttonDown);
    EXPECT_EQ(events[1 + i].window, w);
  }
  EXPECT_EQ(events[5].kind, EventKind::PointerUp);
  EXPECT_EQ(events[5].x, 20);
  EXPECT_FALSE(events[5].buttonDown);
}


TEST(HeadlessSteps, WaitAdvancesTheClockInPiecesNoLongerThanTheTimeout) {
  HeadlessDesktop desktop;
  desktop.AddWait(250);
  desktop.AddWait(70);
  std::vector<std::uint64_t> clock;
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(desktop.WaitEvent(100).has_value());
    clock.push_back(desktop.NowMs());
  }
  EXPECT_EQ(clock, (std::vector<std::uint64_t>{100, 200, 250}));
  EXPECT_FALSE(desktop.WaitEvent(0).has_value());
  EXPECT_EQ(desktop.NowMs(), 250u) << "a zero time-out never moves the clock";
  EXPECT_FALSE(desktop.WaitEvent(-1).has_value());
  EXPECT_EQ(desktop.NowMs(), 320u) << "no limit: the whole wait at once";
  const std::optional<Event> close = desktop.WaitEvent(100);
  ASSERT_TRUE(close.has_value());
  EXPECT_EQ(close->kind, EventKind::Close);
  EXPECT_EQ(desktop.NowMs(), 320u);
  EXPECT_EQ(desktop.WaitEvent(100)->kind, EventKind::Close) << "Close again while the program goes on";
}

TEST(HeadlessSteps, CallbacksRunInOrderAfterTheEarlierStepsEventsWereTaken) {
  HeadlessDesktop desktop;
  OpaqueWindow(desktop, {0, 0, 400, 400});
  std::vector<std::string> trace;
  desktop.AddClick(5, 5);
  desktop.AddCallback([&] { trace.push_back("first at " + std::to_string(desktop.NowMs())); });
  desktop.AddWait(30);
  desktop.AddCallback([&] { trace.push_back("second at " + std::to_string(desktop.NowMs())); });

  EXPECT_EQ(desktop.WaitEvent(-1)->kind, EventKind::PointerDown);
  EXPECT_EQ(desktop.WaitEvent(-1)->kind, EventKind::PointerUp);
  EXPECT_TRUE(trace.empty());
  EXPECT_FALSE(desktop.WaitEvent(-1).has_value()) << "the framework gets to handle what the callback posted";
  EXPECT_EQ(trace, (std::vector<std::string>{"first at 0"}));
  EXPECT_FALSE(desktop.WaitEvent(10).has_value());
  EXPECT_FALSE(desktop.WaitEvent(-1).has_value());
  EXPECT_FALSE(desktop.WaitEvent(-1).has_value());
  EXPECT_EQ(trace, (std::vector<std::string>{"first at 0", "second at 30"}));
  EXPECT_FALSE(desktop.HasPendingSteps());
}

TEST(HeadlessSteps, StepsLeftWhenTheProgramEndsStillRun) {
  // As plumet-replay runs a script: the program starts inside a step, takes
  // the steps after it until it ends, and the rest runs without it.
  HeadlessDesktop desktop;
  int keysSeen = 0;
  desktop.AddWait(5);
  desktop.AddCallback([&] {
    WindowOptions options;
    options.takesFocus = true;
    const WindowId board = OpaqueWindow(desktop, {0, 0, 100, 100}, options);
    desktop.Focus(board);
    while (true) {
      const std::optional<Event> e = desktop.WaitEvent(-1);
      if (e && e->kind == EventKind::KeyEscape) break;
      if (e && e->kind == EventKind::KeyEnter) ++keysSeen;
    }
    desktop.DestroyWindow(board);
  });
  desktop.AddKey(EventKind::KeyEnter);
  desktop.AddKey(EventKind::KeyEscape);
  desktop.AddWait(1000);
  desktop.AddClick(50, 50);
  desktop.AddKey(EventKind::KeyEnter);
  std::uint64_t endedAt = 0;
  desktop.AddCallback([&] { endedAt = desktop.NowMs(); });
  desktop.RunRemainingSteps();

  EXPECT_EQ(keysSeen, 1);
  EXPECT_EQ(endedAt, 1005u);
  EXPECT_FALSE(desktop.HasPendingSteps());
  const std::vector<DesktopInput> expected = {{EventKind::PointerDown, 50, 50},
                                              {EventKind::PointerUp, 50, 50},
                                              {EventKind::KeyEnter, 50, 50}};
  EXPECT_EQ(desktop.DesktopInputLog(), expected);
}

TEST(HeadlessInput, DesktopLogsWhatNoWindowTookAndPointerStaysOnScreen) {
  HeadlessDesktop desktop(Size{640, 480});
  int x = 0;
  int y = 0;
  desktop.PointerPosition(x, y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  const WindowId w = OpaqueWindow(desktop, {0, 0, 100, 100});
  desktop.AddMove(50, 50);
  desktop.AddPress(5000, -20);
  desktop.AddKey(EventKind::KeyEscape);
  const std::vector<Event> events = EventsUntilClose(desktop);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].window, w);
  EXPECT_EQ(events[1].kind, EventKind::PointerMove);
  EXPECT_EQ(events[1].window, 0u) << "the pointer left our window";
  const std::vector<DesktopInput> expected = {{EventKind::PointerDown, 639, 0}, {EventKind::KeyEscape, 639, 0}};
  EXPECT_EQ(desktop.DesktopInputLog(), expected);
}

TEST(HeadlessInput, DisplayChangeRedrawsTheDesktopAndKeepsThePointerOnIt) {
  HeadlessDesktop desktop(Size{800, 600});
  desktop.AddMove(700, 500);
  desktop.AddDisplayChange({400, 300});
  EventsUntilClose(desktop);
  EXPECT_EQ(desktop.Screen().width, 400);
  EXPECT_EQ(desktop.Screen().height, 300);
  EXPECT_EQ(desktop.ScreenPixel(399, 299), TestPatternPixel(399, 299));
  int x = 0;
  int y = 0;
  desktop.PointerPosition(x, y);
  EXPECT_EQ(x, 399);
  EXPECT_EQ(y, 299);
}

TEST(HeadlessCursors, CursorAtPointerFollowsTheWindowUnderItAndTheGrab) {
  HeadlessDesktop desktop;
  const WindowId a = OpaqueWindow(desktop, {0, 0, 100, 100});
  const WindowId b = OpaqueWindow(desktop, {200, 0, 300, 100});
  CursorImage pen{2, 3, 1, 2, {0xFF000000u, 0, 0, 0, 0, 0xFFFF0000u}};
  const CursorId penCursor = desktop.MakeCursor(pen);
  const CursorId hand = desktop.MakeSystemCursor(SystemCursor::Hand);
  EXPECT_NE(penCursor, hand);
  desktop.SetCursor(a, penCursor);
  desktop.SetCursor(b, hand);

  desktop.AddMove(50, 50);
  EventsUntilClose(desktop);
  EXPECT_EQ(desktop.CursorAtPointer(), penCursor);
  const std::optional<CursorState> shown = desktop.Cursor(desktop.CursorAtPointer());
  ASSERT_TRUE(shown.has_value());
  EXPECT_FALSE(shown->system.has_value());
  EXPECT_EQ(shown->image.hotX, 1);
  EXPECT_EQ(shown->image.hotY, 2);
  EXPECT_EQ(shown->image.argb[static_cast<std::size_t>(shown->image.hotY * shown->image.width + shown->image.hotX)],
            0xFFFF0000u);

  desktop.AddMove(250, 50);
  EventsUntilClose(desktop);
  EXPECT_EQ(desktop.Cursor(desktop.CursorAtPointer())->system, SystemCursor::Hand);
  desktop.GrabPointer(a);
  EXPECT_EQ(desktop.CursorAtPointer(), penCursor) << "the grab holder's cursor";
  desktop.GrabPointer(0);
  desktop.AddMove(150, 50);
  EventsUntilClose(desktop);
  EXPECT_EQ(desktop.CursorAtPointer(), 0u) << "the desktop's own cursor";

  desktop.FreeCursor(penCursor);
  EXPECT_FALSE(desktop.Cursor(penCursor).has_value());
}

TEST(HeadlessWindows, StateAndStackingAreReadable) {
  HeadlessDesktop desktop;
  WindowOptions options;
  options.title = "Plumet Life";
  options.layered = true;
  const WindowId board = desktop.CreateWindow(options);
  WindowOptions owned;
  owned.owner = board;
  const WindowId palette = desktop.CreateWindow(owned);
  const WindowId other = desktop.CreateWindow({});
  EXPECT_EQ(desktop.StackingOrder(), (std::vector<WindowId>{board, palette, other}));
  desktop.Raise(board);
  EXPECT_EQ(desktop.StackingOrder(), (std::vector<WindowId>{other, board, palette}));

  desktop.SetTitle(board, "Renamed");
  desktop.SetIcon(board, CursorImage{1, 1, 0, 0, {0xFF123456u}});
  desktop.SetInputPassThrough(board, true);
  const std::optional<WindowState> state = desktop.Window(board);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->title, "Renamed");
  ASSERT_TRUE(state->icon.has_value());
  EXPECT_EQ(state->icon->argb[0], 0xFF123456u);
  EXPECT_TRUE(state->passThrough);
  EXPECT_TRUE(state->options.layered);
  EXPECT_FALSE(state->presented);

  desktop.Focus(board);
  desktop.GrabPointer(board);
  desktop.DestroyWindow(board);
  EXPECT_FALSE(desktop.Window(board).has_value());
  EXPECT_EQ(desktop.FocusedWindow(), 0u);
  EXPECT_EQ(desktop.GrabHolder(), 0u);
}

TEST(HeadlessWindows, UnpresentedWindowOfOurOwnShowsTheFaceColourAndTakesInput) {
  HeadlessDesktop desktop;
  const WindowId w = OpaqueWindow(desktop, {10, 10, 20, 20});
  EXPECT_EQ(desktop.ScreenPixel(15, 15), NativeWindow::kUnpresentedFill);
  EXPECT_EQ(desktop.InputWindowAt(15, 15), w);
  EXPECT_EQ(desktop.InputWindowAt(25, 15), 0u);
}

TEST(HeadlessSaveDialog, RequestsAreRecordedAndAnswersUsedOnceEach) {
  HeadlessDesktop desktop;
  desktop.AddSaveAnswer("/tmp/one.tiff");
  desktop.AddSaveAnswer(std::nullopt);
  SaveDialogRequest request;
  request.fileTypes = {{"TIFF picture", "*.tiff"}, {"SVG drawing", "*.svg"}};
  request.defaultExtension = "tiff";
  request.confirmOverwrite = false;
  request.parent = 7;
  EXPECT_EQ(desktop.RunSaveDialog(request), std::optional<std::string>("/tmp/one.tiff"));
  EXPECT_EQ(desktop.RunSaveDialog(request), std::nullopt);
  EXPECT_EQ(desktop.RunSaveDialog(request), std::nullopt) << "no answer given: cancel";
  ASSERT_EQ(desktop.SaveDialogRequests().size(), 3u);
  const SaveDialogRequest& seen = desktop.SaveDialogRequests()[0];
  ASSERT_EQ(seen.fileTypes.size(), 2u);
  EXPECT_EQ(seen.fileTypes[1].pattern, "*.svg");
  EXPECT_EQ(seen.defaultExtension, "tiff");
  EXPECT_FALSE(seen.confirmOverwrite);
  EXPECT_EQ(seen.parent, 7u);
}

// As the real dialog: a name with no offered extension gets the selected
// type's, so that a file's name says what it holds.
TEST(HeadlessSaveDialog, CompletesANameByTheSelectedType) {
  HeadlessDesktop desktop;
  SaveDialogRequest request;
  request.fileTypes = {{"TIFF", "*.tiff;*.tif"}, {"SVG", "*.svg"}};
  const std::pair<std::string, std::size_t> typed[] = {{"/tmp/a.jpg", 1}, {"/tmp/b", 0},     {"/tmp/c.", 1},
                                                       {"/tmp/D.TIF", 1}, {"/tmp/e.Svg", 0}, {"/tmp/.f", 9}};
  for (const auto& [path, type] : typed) desktop.AddSaveAnswer(path, type);
  for (const char* expected :
       {"/tmp/a.jpg.svg", "/tmp/b.tiff", "/tmp/c.svg", "/tmp/D.TIF", "/tmp/e.Svg", "/tmp/.f.tiff"}) {
    EXPECT_EQ(desktop.RunSaveDialog(request), std::optional<std::string>(expected));
  }
}

TEST(HeadlessMessageBox, IsDismissedAtOnceAndKeptForTheTest) {
  HeadlessDesktop desktop;
  std::vector<std::string> sunk;
  desktop.SetMessageSink([&sunk](const MessageRequest& message) { sunk.push_back(message.text); });
  desktop.ShowMessage({3, "Save", "Could not save /tmp/x.png: Permission denied"});
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].owner, 3u);
  EXPECT_EQ(desktop.Messages()[0].caption, "Save");
  EXPECT_EQ(sunk, std::vector<std::string>{"Could not save /tmp/x.png: Permission denied"});
}

TEST(HeadlessPicture, TestPatternIsTheDocumentedOne) {
  // The values docs/replay.md gives.
  EXPECT_EQ(TestPatternPixel(0, 10), 0xFF303030u);
  EXPECT_EQ(TestPatternPixel(10, 128), 0xFF303030u);
  EXPECT_EQ(TestPatternPixel(10, 10), 0xFF656590u);
  EXPECT_EQ(TestPatternPixel(40, 10), 0xFF7465D0u);
  EXPECT_EQ(TestPatternPixel(300, 270), 0xFF7667D0u);
}

TEST(HeadlessPicture, TestPatternAvoidsKeyAndInkColoursAndIsBusy) {
  const Image pattern = MakeTestPattern(1366, 768);
  for (std::uint32_t p : pattern.pixels) {
    ASSERT_EQ(p >> 24, 0xFFu);
    ASSERT_NE(p, 0xFFFF00FFu);
    ASSERT_NE(p, 0xFF000000u);
    ASSERT_NE(p, 0xFFFFFFFFu);
  }
  // Every 8 x 8 block holds at least two colours, so a magnified view differs.
  for (int by = 0; by + 8 <= 768; by += 8) {
    for (int bx = 0; bx + 8 <= 1366; bx += 8) {
      ASSERT_NE(pattern.At(bx, by), pattern.At(bx + 7, by + 7)) << bx << "," << by;
    }
  }
}

TEST(HeadlessPicture, PngDesktopSitsTopLeftOverThePattern) {
  const std::string path = testing::TempDir() + "headless_desktop.png";
  // 2 x 1: opaque red, fully transparent.
  ASSERT_TRUE(test::WritePng(path, {2, 1, {0xFFFF0000u, 0x00000000u}}));
  HeadlessDesktop desktop;
  ASSERT_TRUE(desktop.UseDesktopPicture(path));
  EXPECT_EQ(desktop.ScreenPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(desktop.ScreenPixel(1, 0), TestPatternPixel(1, 0));
  EXPECT_EQ(desktop.ScreenPixel(0, 1), TestPatternPixel(0, 1));
  EXPECT_FALSE(desktop.UseDesktopPicture(path + ".missing"));
  EXPECT_EQ(desktop.ScreenPixel(0, 0), 0xFFFF0000u) << "a failed load keeps the picture";
  desktop.UseDesktopPattern();
  EXPECT_EQ(desktop.ScreenPixel(0, 0), TestPatternPixel(0, 0));
}

TEST(HeadlessPicture, ShotIsTheComposedScreen) {
  const std::string path = testing::TempDir() + "headless_shot.png";
  std::filesystem::remove(path);
  HeadlessDesktop desktop(Size{320, 200});
  WindowOptions layered;
  layered.layered = true;
  const WindowId w = OpaqueWindow(desktop, {10, 10, 20, 20}, layered);
  const std::vector<std::uint32_t> pixels(100, 0x80000080u);  // blue at half alpha
  desktop.Present(w, Presentation{PixelView{pixels.data(), 10, 10, 40}, PresentMode::PerPixelAlpha, 0, {}});
  ASSERT_TRUE(desktop.WriteShot(path));
  const test::PngPixels read = test::ReadPng(path);
  ASSERT_EQ(read.width, 320);
  ASSERT_EQ(read.height, 200);
  EXPECT_EQ(read.argb, desktop.Screen().pixels);
  EXPECT_NE(desktop.ScreenPixel(15, 15), TestPatternPixel(15, 15));
}

}  // namespace
}  // namespace plumet::backend::headless
