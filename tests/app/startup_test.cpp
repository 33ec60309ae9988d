// Start-up, the board window over the screen, and how the program ends.
#include "model/board_modes.h"
#include "platform/framework/message_log.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

using backend::EventKind;

class Startup : public BoardFixture {};

TEST_F(Startup, BoardCoversTheScreenInWindowModeWithThePaletteBeside) {
  Then([this] {
    CScrivaneDlg& board = Board();
    EXPECT_EQ(board.GetWindowText(), "Plumet Life");
    EXPECT_EQ(board.m_nScreenWidth, 1366);
    EXPECT_EQ(board.m_nScreenHeight, 768);
    const auto state = desktop_.Window(AfxNativeWindow(board.m_hWnd));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->bounds, (backend::Rect{0, 0, 1366, 768}));
    EXPECT_TRUE(state->visible);
    EXPECT_TRUE(state->passThrough);
    ASSERT_TRUE(state->icon.has_value()) << "WM_SETICON reaches the native window";
    EXPECT_GT(state->icon->width, 0);
    EXPECT_EQ(state->icon->argb.size(), static_cast<std::size_t>(state->icon->width * state->icon->height));
    RECT palette;
    board.m_wndToolbar.GetWindowRect(&palette);
    EXPECT_EQ(palette, (RECT{1266, 100, 1316, 575}));
    EXPECT_TRUE(board.m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(board.m_nBackMode, BM_WINDOW);
    EXPECT_EQ(board.m_nZoom, 1);
    EXPECT_EQ(board.m_nCurPage, 0);
    for (int page : {0, 1}) {
      EXPECT_EQ(Page(page).m_nTool, TOOL_NONE);
      EXPECT_EQ(Page(page).m_nWidth, 3);
      EXPECT_EQ(Page(page).m_crColor, 0u);
    }
    // Owned windows above their owner.
    const auto& order = desktop_.StackingOrder();
    const auto boardAt = std::find(order.begin(), order.end(), AfxNativeWindow(board.m_hWnd));
    const auto paletteAt = std::find(order.begin(), order.end(), AfxNativeWindow(board.m_wndToolbar.m_hWnd));
    EXPECT_LT(boardAt, paletteAt);
  });
  Run();
  EXPECT_EQ(initResult_, FALSE);
}

TEST_F(Startup, RightAfterStartInputPassesThroughTheBoard) {
  RememberBareDesktop();
  desktop_.AddClick(300, 400);
  desktop_.AddDrag(100, 100, 400, 200, 10);
  Then([this] {
    const auto& log = desktop_.DesktopInputLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), (backend::headless::DesktopInput{EventKind::PointerDown, 300, 400}));
    EXPECT_TRUE(Page(0).m_strokes.empty());
    // An empty board in window mode shows the screen as it is.
    for (auto [x, y] : {std::pair{300, 400}, {10, 10}, {1000, 700}})
      EXPECT_TRUE(ColorNear(Screen(x, y), DesktopAt(x, y), 1)) << x << "," << y;
  });
  Run();
}

TEST_F(Startup, PenPropertyLivesExactlyAsLongAsTheWindow) {
  static bool propertyLeftAtDestruction;
  static HWND boardWindow;
  propertyLeftAtDestruction = true;
  boardWindow = nullptr;
  Then([this] {
    boardWindow = Board().m_hWnd;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(::GetProp(boardWindow, MICROSOFT_TABLETPENSERVICE_PROPERTY)), 0x10019u);
    AfxSetWindowDestroyHook([](HWND hwnd) {
      if (hwnd == boardWindow) propertyLeftAtDestruction = ::GetProp(hwnd, MICROSOFT_TABLETPENSERVICE_PROPERTY) != nullptr;
    });
  });
  Run();
  AfxSetWindowDestroyHook(nullptr);
  EXPECT_NE(boardWindow, nullptr);
  EXPECT_FALSE(propertyLeftAtDestruction);
}

TEST_F(Startup, EscapeEndsTheProgram) {
  Post(BC_PEN);  // the board keeps the focus through commands
  desktop_.AddKey(backend::EventKind::KeyEscape);
  bool reachedAfter = false;
  Then([&] { reachedAfter = true; });
  Run();
  EXPECT_EQ(initResult_, FALSE);
  EXPECT_FALSE(reachedAfter) << "the program went on after Escape";
  EXPECT_TRUE(desktop_.HasPendingSteps());
}

TEST_F(Startup, EnterEndsTheProgramAfterAPressOnTheBoard) {
  Post(BC_BACKGROUND);
  desktop_.AddClick(500, 500);
  desktop_.AddKey(backend::EventKind::KeyEnter);
  bool reachedAfter = false;
  Then([&] { reachedAfter = true; });
  Run();
  EXPECT_FALSE(reachedAfter);
}

TEST_F(Startup, APressOnAnotherProgramTakesTheKeyboardAway) {
  // Window mode: the click lands on the desktop, so Enter no longer reaches the board.
  desktop_.AddClick(500, 500);
  desktop_.AddKey(backend::EventKind::KeyEnter);
  bool reachedAfter = false;
  Then([&] { reachedAfter = true; });
  Run();
  EXPECT_TRUE(reachedAfter);
}

TEST_F(Startup, GraphicsPicturesAreReleasedBeforeTheLibraryShutsDown) {
  Run();
  EXPECT_EQ(Gdiplus::ImagesAliveAtShutdown(), 0);
}

}  // namespace
}  // namespace plumet::test
