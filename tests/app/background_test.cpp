// The background modes: the board's fill, what the user sees, where input goes.
#include "model/board_modes.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

using backend::EventKind;

class Background : public BoardFixture {};

TEST_F(Background, EachModeFillsTheBoardWithItsColourAndAlpha) {
  RememberBareDesktop();
  struct Expected {
    int mode;
    std::uint32_t fill;
  };
  const Expected cycle[] = {{BM_WHITEBOARD, 0xFFFFFFFF}, {BM_GREENBOARD, 0xFF006934}, {BM_TRANSPARENT, 0x01FFFFFF}};
  for (const Expected& expected : cycle) {
    Post(BC_BACKGROUND);
    Then([this, expected] {
      EXPECT_EQ(Board().m_nBackMode, expected.mode);
      EXPECT_EQ(BoardPixel(10, 10), expected.fill);
      EXPECT_EQ(BoardPixel(1365, 767), expected.fill);
      if (expected.fill >> 24 == 0xFF)
        EXPECT_EQ(Screen(400, 300), expected.fill);
      else  // alpha 1: the live screen shows through all but unchanged
        EXPECT_TRUE(ColorNear(Screen(400, 300), DesktopAt(400, 300), 1));
    });
  }
  Run();
}

TEST_F(Background, EveryModeButWindowModeTakesEveryClick) {
  Post(BC_BACKGROUND);
  Post(BC_BACKGROUND);
  Post(BC_BACKGROUND);  // back to the see-through board
  desktop_.AddClick(300, 400);
  Then([this] {
    EXPECT_EQ(Board().m_nBackMode, BM_TRANSPARENT);
    EXPECT_TRUE(desktop_.DesktopInputLog().empty());
    EXPECT_EQ(AfxWindowFromNative(desktop_.InputWindowAt(5, 5)), Board().m_hWnd);
  });
  Run();
}

TEST_F(Background, FromWindowModeTheCycleGoesToTheWhiteBoardStillWithoutATool) {
  Post(BC_BACKGROUND);
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Then([this] {
    EXPECT_EQ(Board().m_nBackMode, BM_WHITEBOARD);
    EXPECT_EQ(Page(0).m_nTool, TOOL_NONE);
    EXPECT_TRUE(Page(0).m_strokes.empty());
    EXPECT_EQ(Screen(200, 100), 0xFFFFFFFFu);
  });
  Run();
}

TEST_F(Background, WindowModeLetsInputThroughAgainAndKeepsTheInk) {
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddDrag(100, 300, 500, 300, 20);
  Post(BC_WINDOW);
  desktop_.AddClick(300, 300);
  Then([this] {
    EXPECT_EQ(Board().m_nBackMode, BM_WINDOW);
    ASSERT_FALSE(desktop_.DesktopInputLog().empty());
    EXPECT_EQ(desktop_.DesktopInputLog().front(), (backend::headless::DesktopInput{EventKind::PointerDown, 300, 300}));
    EXPECT_EQ(Screen(300, 300), 0xFFFF0000u);
  });
  Run();
}

TEST_F(Background, WindowModeGivenTwiceRedrawsOnlyTheFirstTime) {
  Post(BC_BACKGROUND);
  Post(BC_WINDOW);
  Then([this] {
    EXPECT_EQ(BoardPixel(50, 50), 0x01FFFFFFu);
    // A mark no redraw would keep.
    const RECT mark{50, 50, 51, 51};
    Board().m_dcBoard.FillSolidRect(&mark, RGB(1, 2, 3));
  });
  Post(BC_WINDOW);
  Then([this] { EXPECT_EQ(BoardPixel(50, 50), 0xFF010203u); });
  Run();
}

TEST_F(Background, CodesAboveThirteenOnlyMakeTheBoardTakeInput) {
  Post(14);
  Post(0xFFFFFFFF, -7);
  desktop_.AddClick(300, 400);
  Then([this] {
    EXPECT_EQ(Board().m_nBackMode, BM_WINDOW);
    EXPECT_EQ(Page(0).m_nTool, TOOL_NONE);
    EXPECT_FALSE(Board().GetExStyle() & WS_EX_TRANSPARENT);
    EXPECT_TRUE(desktop_.DesktopInputLog().empty());
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
