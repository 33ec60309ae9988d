// The magnifier: the delayed capture, levels, panning, leaving it.
#include "model/board_modes.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

class Magnifier : public BoardFixture {};

TEST_F(Magnifier, TheCaptureWaitsTwoHundredMillisecondsWithThePaletteHidden) {
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_FALSE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Page(0).m_nTool, TOOL_HAND);
    EXPECT_EQ(Board().m_nSavedTool, TOOL_PEN);
  });
  desktop_.AddWait(199);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 1); });
  desktop_.AddWait(1);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
  });
  Run();
}

TEST_F(Magnifier, LevelsGoTwoThreeThreeAndBackWithTheSavedToolRestored) {
  Post(BC_BIGERASE);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_ZOOMIN);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 3); });
  Post(BC_ZOOMIN);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 3); });
  Post(BC_ZOOMOUT);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_EQ(Page(0).m_nTool, TOOL_HAND);
  });
  Post(BC_ZOOMOUT);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_EQ(Page(0).m_nTool, TOOL_BIGERASER);
  });
  Post(BC_ZOOMOUT);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 1); });
  Run();
}

TEST_F(Magnifier, MagnifyingAgainWhileWaitingRestartsTheWaitAndKeepsTheSavedTool) {
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(150);
  Post(BC_ZOOMIN);
  desktop_.AddWait(150);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 1); });
  desktop_.AddWait(50);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_EQ(Board().m_nSavedTool, TOOL_PEN);
  });
  Post(BC_ZOOMOUT);
  Then([this] { EXPECT_EQ(Page(0).m_nTool, TOOL_PEN); });
  Run();
}

TEST_F(Magnifier, ShowsTheCaptureEnlargedFromTheViewOrigin) {
  RememberBareDesktop();
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Then([this] {
    for (auto [x, y] : {std::pair{10, 10}, {100, 50}, {300, 200}, {600, 383}})
      EXPECT_TRUE(ColorNear(Screen(2 * x, 2 * y), DesktopAt(x, y), 1)) << x << "," << y;
  });
  Run();
}

TEST_F(Magnifier, DraggingPansAndStopsAtTheEdgesOfTheCapture) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_ZOOMIN);  // factor 3: 455 of 1366 pixels wide visible
  desktop_.AddDrag(900, 600, 100, 100, 8);
  Then([this] { EXPECT_EQ(Board().m_ptViewOrigin, (POINT{800, 500})); });
  desktop_.AddDrag(900, 600, 10, 10, 8);
  Then([this] {
    EXPECT_EQ(Board().m_ptViewOrigin.x, 911);
    EXPECT_EQ(Board().m_ptViewOrigin.y, 768 - 256);
  });
  desktop_.AddDrag(100, 100, 1300, 700, 8);
  Then([this] { EXPECT_EQ(Board().m_ptViewOrigin, (POINT{0, 0})); });
  Run();
}

TEST_F(Magnifier, APanThatEndsWhereItBeganPresentsNothing) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  desktop_.AddDrag(500, 500, 400, 400, 4);
  Then([this] {
    // A mark that a new presentation would paint over.
    const RECT mark{0, 0, 1, 1};
    Board().m_dcZoom.FillSolidRect(&mark, RGB(1, 2, 3));
  });
  desktop_.AddPress(500, 500);
  desktop_.AddMove(520, 530);
  desktop_.AddMove(500, 500);
  desktop_.AddRelease(500, 500);
  Then([this] { EXPECT_NE(GetPixelArgb(Board().m_dcZoom.GetSafeHdc(), 0, 0), 0xFF010203u); });
  desktop_.AddPress(500, 500);
  desktop_.AddMove(500, 500);
  desktop_.AddRelease(500, 500);
  Then([this] {
    const RECT mark{0, 0, 1, 1};
    Board().m_dcZoom.FillSolidRect(&mark, RGB(1, 2, 3));
  });
  desktop_.AddPress(500, 500);
  desktop_.AddMove(500, 500);
  desktop_.AddRelease(500, 500);
  Then([this] { EXPECT_EQ(GetPixelArgb(Board().m_dcZoom.GetSafeHdc(), 0, 0), 0xFF010203u); });
  Run();
}

TEST_F(Magnifier, GoingFromThreeToTwoKeepsTheViewInsideTheCapture) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_ZOOMIN);
  desktop_.AddDrag(1000, 700, 10, 10, 8);
  Post(BC_ZOOMOUT);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_LE(Board().m_ptViewOrigin.x + 1366 / 2, 1366);
    EXPECT_LE(Board().m_ptViewOrigin.y + 768 / 2, 768);
  });
  Run();
}

TEST_F(Magnifier, AFailedCaptureGivesThePenBack) {
  desktop_.SetCaptureAllowed(false);
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
  });
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 1u); });
  Run();
}

// A desktop that asks the user's permission first answers late: the magnify
// step waits for the copy, the palette out of the picture.
TEST_F(Magnifier, ASlowCopyIsWaitedForAndShownWhenItArrives) {
  RememberBareDesktop();
  desktop_.SetScreenCopyDelay(3000);
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(2500);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_FALSE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Page(0).m_nTool, TOOL_HAND);
  });
  desktop_.AddWait(800);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_TRUE(ColorNear(Screen(600, 400), DesktopAt(300, 200), 1));
  });
  Post(BC_ZOOMOUT);
  Then([this] { EXPECT_EQ(Page(0).m_nTool, TOOL_PEN); });
  Run();
}

TEST_F(Magnifier, ALateRefusalGivesThePenAndThePaletteBack) {
  desktop_.SetScreenCopyDelay(3000);
  desktop_.SetCaptureAllowed(false);
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(2500);
  Then([this] { EXPECT_FALSE(Board().m_wndToolbar.IsWindowVisible()); });
  desktop_.AddWait(800);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
  });
  Run();
}

// Giving up the wait brings the palette back at the next look, and the copy
// that arrives afterwards magnifies nothing.
TEST_F(Magnifier, GivingUpASlowCopyEndsTheWaitAtOnce) {
  desktop_.SetScreenCopyDelay(3000);
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(1000);
  Post(BC_ZOOMOUT);
  desktop_.AddWait(kCapturePollMs);
  Then([this] {
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
  });
  desktop_.AddWait(3000);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 1); });
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 1u); });
  Run();
}

TEST_F(Magnifier, CommandsThatChooseAToolLeaveItAtOnce) {
  for (WPARAM command : {BC_PEN, BC_LINEWIDTH, BC_COLOR, BC_BIGERASE}) {
    Post(BC_ZOOMIN);
    desktop_.AddWait(200);
    Post(command);
    Then([this, command] {
      EXPECT_EQ(Board().m_nZoom, 1) << command;
      EXPECT_NE(Page(0).m_nTool, TOOL_HAND) << command;
    });
  }
  Run();
}

TEST_F(Magnifier, ErasingWhileMagnifiedEndsItAndGivesTheToolBack) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_ERASE);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
    EXPECT_TRUE(Page(0).m_strokes.empty());
  });
  desktop_.AddDrag(100, 300, 300, 300, 5);
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 1u); });
  Run();
}

TEST_F(Magnifier, WindowModeFirstLeavesTheMagnifierAndThePenDrawsAfterwards) {
  RememberBareDesktop();
  Post(BC_PEN);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_WINDOW);
  desktop_.AddClick(300, 300);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_EQ(Board().m_nBackMode, BM_WINDOW);
    EXPECT_FALSE(desktop_.DesktopInputLog().empty());
    // The user sees the live screen, not a frozen enlargement.
    EXPECT_TRUE(ColorNear(Screen(600, 400), DesktopAt(600, 400), 1));
  });
  Post(BC_BACKGROUND);
  desktop_.AddDrag(100, 300, 300, 300, 5);
  Then([this] {
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
  });
  Run();
}

// Every command that leaves the magnifier gives up a magnify step still
// waiting for its capture: no frozen picture comes over a pen that draws.
TEST_F(Magnifier, CommandsDuringTheCaptureWaitCancelIt) {
  for (WPARAM command : {BC_WINDOW, BC_PEN, BC_COLOR, BC_BIGERASE, BC_ERASE, BC_ZOOMOUT, BC_SECONDPAGE, BC_FIRSTPAGE}) {
    Post(BC_LINEWIDTH);  // the pen, and the board takes input
    Post(BC_ZOOMIN);
    desktop_.AddWait(100);
    Post(command);
    desktop_.AddWait(150);
    Then([this, command] {
      EXPECT_EQ(Board().m_nZoom, 1) << command;
      EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible()) << command;
      EXPECT_NE(Page(0).m_nTool, TOOL_HAND) << command;
      EXPECT_NE(Page(1).m_nTool, TOOL_HAND) << command;
    });
  }
  Run();
}

TEST_F(Magnifier, MagentaInTheCaptureIsAHoleToTheLiveScreen) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Then([this] {
    // Paint magenta into the capture, as if the screen had shown it.
    const RECT spot{100, 100, 110, 110};
    Board().m_dcCapture.FillSolidRect(&spot, RGB(255, 0, 255));
  });
  Post(BC_ZOOMIN);
  Post(BC_ZOOMOUT);  // presents again from the changed capture
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 2);
    EXPECT_NE(Screen(210, 210) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(AfxWindowFromNative(desktop_.InputWindowAt(210, 210)), nullptr);
    EXPECT_EQ(AfxWindowFromNative(desktop_.InputWindowAt(400, 400)), Board().m_hWnd);
  });
  Run();
}

TEST_F(Magnifier, UndoLeavesTheMagnifierWithTheToolBackAndShowsTheChange) {
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddDrag(100, 300, 600, 300, 10);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_UNDO);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
    EXPECT_TRUE(Page(0).m_strokes.empty());
    EXPECT_NE(Screen(350, 300), 0xFFFF0000u);
  });
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_UNDO);  // nothing to take back: the magnified view stays
  Then([this] { EXPECT_EQ(Board().m_nZoom, 2); });
  Run();
}

}  // namespace
}  // namespace plumet::test
