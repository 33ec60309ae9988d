// Any message with any arguments is handled without harm.
#include <random>

#include "model/board_modes.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

class Robustness : public BoardFixture {};

TEST_F(Robustness, ArbitraryMessagesToTheBoardDoNoHarm) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Then([this] {
    std::mt19937 random(7);
    const UINT messages[] = {WM_BOARDCOMMAND, WM_TIMER,        WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                             WM_PAINT,        WM_QUERYDRAGICON, WM_KEYDOWN,   WM_COMMAND,     WM_DISPLAYCHANGE,
                             WM_SETCURSOR,    WM_LBUTTONDBLCLK, WM_NULL,      WM_USER + 99};
    const WPARAM wParams[] = {0, 1, 3, 5, 8, 11, 12, 0x7FFF, static_cast<WPARAM>(-1)};
    const LPARAM lParams[] = {0, -1, 7, 0x7FFF7FFF, static_cast<LPARAM>(0x80008000u), MAKELPARAM(-5000, 30000)};
    for (int i = 0; i < 400; ++i) {
      const UINT message = messages[random() % std::size(messages)];
      const WPARAM wParam = wParams[random() % std::size(wParams)];
      if (message == WM_BOARDCOMMAND && wParam == BC_SAVE) continue;  // would open a dialog each time
      if (message == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) continue;  // ends the program
      ::SendMessage(Board().m_hWnd, message, wParam, lParams[random() % std::size(lParams)]);
    }
    ::ReleaseCapture();
    Page(0).EndStroke(0, 0, &Board().m_dcBoard);
  });
  Post(BC_PEN);
  desktop_.AddDrag(400, 400, 600, 400, 5);
  Then([this] {
    EXPECT_TRUE(::IsWindow(Board().m_hWnd));
    EXPECT_GE(Page(0).m_strokes.size(), 2u);
  });
  Run();
}

TEST_F(Robustness, PointsFarOutsideTheScreenAreDrawnSafely) {
  Post(BC_PEN);
  Then([this] {
    CQarelPage& page = Page(0);
    page.BeginStroke(-30000, -30000);
    page.ContinueStroke(30000, 30000, &Board().m_dcBoard);
    page.ContinueStroke(-32768, 32767, &Board().m_dcBoard);
    page.EndStroke(32767, -32768, &Board().m_dcBoard);
  });
  Post(BC_BACKGROUND);
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 1u); });
  Run();
}

// Other programs reach the board the way the desktop delivers their messages
// (as the replay script's post does): its commands work, forged system messages do not.
TEST_F(Robustness, CommandsFromOtherProgramsReachTheBoardAndNothingElseDoes) {
  desktop_.AddMessageFromOutside({WM_BOARDCOMMAND, 11, 0});
  desktop_.AddMessageFromOutside({WM_BOARDCOMMAND, 3, 2});
  desktop_.AddDrag(100, 300, 400, 300, 10);
  Then([this] {
    EXPECT_EQ(Board().m_nCurPage, 1);
    ASSERT_EQ(Page(1).m_strokes.size(), 1u);
    EXPECT_EQ(Page(1).m_strokes.back()->m_crColor, 0x0000FFu) << "red";
  });
  for (const UINT forged : {UINT{WM_CLOSE}, UINT{WM_DESTROY}, UINT{WM_LBUTTONDOWN}, UINT{WM_TIMER}, UINT{WM_COMMAND},
                            UINT{0xC000}, UINT{0xFFFFFFFF}}) {
    desktop_.AddMessageFromOutside({forged, IDOK, MAKELPARAM(200, 300)});
  }
  desktop_.AddMessageFromOutside({WM_BOARDCOMMAND, 10, 0});
  Then([this] {
    EXPECT_TRUE(::IsWindow(Board().m_hWnd));
    EXPECT_EQ(Board().m_nCurPage, 0) << "page 1 of the command line is the first page";
    EXPECT_TRUE(Page(0).m_strokes.empty());
    EXPECT_EQ(Page(1).m_strokes.size(), 1u);
  });
  Run();
}

TEST_F(Robustness, AFloodOfCommandsLeavesTheBoardAnsweringWithTheLastColour) {
  constexpr int kFlood = 100000;
  for (int i = 0; i < kFlood; ++i) {
    // Every colour in turn, red last.
    desktop_.AddMessageFromOutside({WM_BOARDCOMMAND, BC_COLOR, (i + 3) % 4});
  }
  desktop_.AddDrag(100, 300, 400, 300, 10);
  Then([this] {
    ASSERT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(Page(0).m_strokes.back()->m_crColor, 0x0000FFu);
    EXPECT_TRUE(ColorNear(Screen(250, 300), 0xFFFF0000u)) << "red ink on the screen";
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
