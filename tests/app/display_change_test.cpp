// A change of screen size while the program runs.
#include "model/board_modes.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

class DisplayChange : public BoardFixture {};

TEST_F(DisplayChange, TheSameSizeChangesNothing) {
  HDC before = nullptr;
  Then([&] { before = Board().m_dcBoard.GetSafeHdc(); });
  desktop_.AddDisplayChange({1366, 768});
  Then([&] {
    EXPECT_EQ(Board().m_dcBoard.GetSafeHdc(), before);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
  });
  Run();
}

TEST_F(DisplayChange, ANewSizeKeepsTheStrokesAtTheirPixels) {
  Post(BC_PEN);
  Post(BC_COLOR, 1);
  desktop_.AddDrag(100, 300, 500, 300, 20);
  desktop_.AddDisplayChange({1024, 600});
  Then([this] {
    EXPECT_EQ(Board().m_nScreenWidth, 1024);
    EXPECT_EQ(Board().m_nScreenHeight, 600);
    EXPECT_EQ(BoardPixel(300, 300), 0xFF0000FFu);
    EXPECT_EQ(Screen(300, 300), 0xFF0000FFu);
    EXPECT_EQ(Board().m_ptViewOrigin, (POINT{0, 0}));
    const auto state = desktop_.Window(AfxNativeWindow(Board().m_hWnd));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->bounds, (backend::Rect{0, 0, 1024, 600}));
    EXPECT_FALSE(Board().m_wndToolbar.IsWindowVisible());
  });
  desktop_.AddWait(200);
  Then([this] {
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
    EXPECT_EQ(Board().m_nZoom, 1) << "a display change does not magnify";
  });
  Run();
}

TEST_F(DisplayChange, WhileMagnifiedTheLevelStaysAndTheNewCopyFillsTheScreen) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Post(BC_ZOOMIN);
  desktop_.AddDisplayChange({1600, 900});
  desktop_.AddWait(200);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 3);
    BITMAP zoom;
    Board().m_bmpZoom.GetBitmap(&zoom);
    EXPECT_EQ(zoom.bmWidth, 1600);
    EXPECT_EQ(zoom.bmHeight, 900);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
  });
  Run();
}

TEST_F(DisplayChange, WhileMagnifiedTheNewCopyHoldsNoEnlargedPicture) {
  Post(BC_PEN);
  Post(BC_COLOR, 1);
  desktop_.AddDrag(100, 300, 500, 300, 20);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  desktop_.AddDisplayChange({1400, 800});
  desktop_.AddWait(200);
  Then([this] {
    ASSERT_EQ(Board().m_nZoom, 2);
    // The 3-pixel line at y 300 is shown at y 600, 6 pixels thick.
    EXPECT_EQ(Screen(400, 600) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(Screen(400, 598) & 0xFFFFFF, 0x0000FFu);
    EXPECT_NE(Screen(400, 606) & 0xFFFFFF, 0x0000FFu);
    EXPECT_NE(Screen(400, 594) & 0xFFFFFF, 0x0000FFu);
  });
  Run();
}

TEST_F(DisplayChange, WhileMagnifiedANewCopyThatCannotBeHadEndsTheMagnifier) {
  Post(BC_BIGERASE);
  Post(BC_ZOOMIN);
  desktop_.AddWait(200);
  Then([this] { desktop_.SetCaptureAllowed(false); });
  desktop_.AddDisplayChange({1400, 800});
  desktop_.AddWait(200);
  Then([this] {
    EXPECT_EQ(Board().m_nZoom, 1);
    EXPECT_EQ(Page(0).m_nTool, TOOL_BIGERASER);
    EXPECT_TRUE(Board().m_wndToolbar.IsWindowVisible());
  });
  Run();
}

TEST_F(DisplayChange, AMagnifyStepWaitingForItsCaptureStillCompletes) {
  Post(BC_ZOOMIN);
  desktop_.AddWait(100);
  desktop_.AddDisplayChange({1280, 720});
  desktop_.AddWait(200);
  Then([this] { EXPECT_EQ(Board().m_nZoom, 2); });
  Run();
}

}  // namespace
}  // namespace plumet::test
