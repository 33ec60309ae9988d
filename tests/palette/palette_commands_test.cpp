// What a click on each palette button posts to the board, in order, and
// what the board then does; the close cross ends the program.
#include <functional>

#include "model/board_modes.h"
#include "platform/graphics/gdiplus.h"
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

using Done = std::function<bool(CScrivaneDlg&, const HeadlessDesktop&)>;

struct CommandCase {
  const char* name;
  int id;
  Posts posts;
  // What the board shows once the commands are handled; false before the
  // click, after the setup commands and drag.
  Done done;
  Posts setup = {};
  bool strokeFirst = false;  // a stroke drawn before the click
};

Done Pen(COLORREF colour) {
  return [colour](CScrivaneDlg& b, const HeadlessDesktop&) {
    return b.m_pages[0].m_nTool == TOOL_PEN && b.m_pages[1].m_nTool == TOOL_PEN && b.m_pages[0].m_crColor == colour &&
           b.m_pages[1].m_crColor == colour;
  };
}
Done State(bool (*check)(CScrivaneDlg&)) {
  return [check](CScrivaneDlg& b, const HeadlessDesktop&) { return check(b); };
}

class PaletteCommands : public PaletteFixture, public testing::WithParamInterface<CommandCase> {};

TEST_P(PaletteCommands, ClickPostsExactlyTheButtonsCommandsInOrder) {
  const CommandCase& c = GetParam();
  for (const auto& [code, argument] : c.setup) Post(code, argument);
  // A magnifier step takes its screen copy 200 ms after the command.
  if (c.strokeFirst) desktop_.AddDrag(200, 200, 400, 300, 5);
  desktop_.AddWait(300);
  Then([&] { ASSERT_FALSE(c.done(Board(), desktop_)); });
  StartLog();
  Click(Centre(Button(c.id)));
  desktop_.AddWait(300);
  Then([&] {
    EXPECT_EQ(ClickReports(), (Posts{{static_cast<WPARAM>(c.id), 0}}));
    EXPECT_EQ(BoardCommands(), c.posts);
    EXPECT_TRUE(c.done(Board(), desktop_));
    EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(Board().m_hWnd));
  });
  Run();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PaletteCommands,
    testing::Values(
        CommandCase{"Window", 1000, {{BC_WINDOW, 0}}, State([](CScrivaneDlg& b) { return b.m_nBackMode == BM_WINDOW; }),
                    {{BC_PEN, 0}}},
        CommandCase{"Marker", 1001, {{BC_PEN, 0}, {BC_COLOR, 0}}, Pen(0x000000), {{BC_COLOR, 2}}},
        CommandCase{"BluePen", 1010, {{BC_PEN, 0}, {BC_COLOR, 1}}, Pen(0xFF0000)},
        CommandCase{"RedPen", 1011, {{BC_PEN, 0}, {BC_COLOR, 2}}, Pen(0x0000FF)},
        CommandCase{"GreenPen", 1012, {{BC_PEN, 0}, {BC_COLOR, 3}}, Pen(0x00FF00)},
        CommandCase{"LineWidth", 1002, {{BC_LINEWIDTH, 0}},
                    State([](CScrivaneDlg& b) { return b.m_pages[1].m_nWidth == 5; })},
        CommandCase{"BigErase", 1004, {{BC_BIGERASE, 0}},
                    State([](CScrivaneDlg& b) { return b.m_pages[0].m_nTool == TOOL_BIGERASER; })},
        CommandCase{"Erase", 1005, {{BC_ERASE, 0}},
                    State([](CScrivaneDlg& b) { return b.m_pages[0].m_strokes.empty(); }), {{BC_PEN, 0}},
                    true},
        // The button with the plus magnifier is named ZoomOut but magnifies.
        CommandCase{"ZoomOut", 1006, {{BC_ZOOMIN, 0}}, State([](CScrivaneDlg& b) { return b.m_nZoom == 2; })},
        CommandCase{"ZoomIn", 1007, {{BC_ZOOMOUT, 0}}, State([](CScrivaneDlg& b) { return b.m_nZoom == 1; }),
                    {{BC_ZOOMIN, 0}}},
        CommandCase{"Save", 1008, {{BC_SAVE, 0}},
                    [](CScrivaneDlg&, const HeadlessDesktop& d) { return d.SaveDialogRequests().size() == 1; }},
        CommandCase{"Background", 1009, {{BC_BACKGROUND, 0}},
                    State([](CScrivaneDlg& b) { return b.m_nBackMode == BM_WHITEBOARD; })}),
    [](const testing::TestParamInfo<CommandCase>& param) { return param.param.name; });

TEST_F(PaletteFixture, CloseCrossEndsTheProgramWithoutAQuestion) {
  static bool ranOn;
  ranOn = false;
  StartLog();
  Click(Centre(Button(IDCANCEL)));
  Then([] { ranOn = true; });
  Run();
  EXPECT_FALSE(ranOn);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(desktop_.SaveDialogRequests().empty());
  for (const LoggedMessage& m : AfxMessageLog()) EXPECT_FALSE(m.posted && m.message == WM_BOARDCOMMAND);
  // The icon's picture went with its window, before the graphics library.
  EXPECT_EQ(Gdiplus::ImagesAliveAtShutdown(), 0);
}

}  // namespace
}  // namespace plumet::test
