// What a click on each palette button posts to the board, in order, and
// what the board then does; the close cross ends the program.
#include <functional>

#include "model/board_modes.h"
#include "platform/framework/message_log.h"
#include "platform/graphics/gdiplus.h"
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

using Posts = std::vector<std::pair<WPARAM, LPARAM>>;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;

// What the board must show after the click, given the desktop too.
using Effect = std::function<void(CScrivaneDlg&, const HeadlessDesktop&)>;
using Ready = std::function<void(CScrivaneDlg&)>;

struct CommandCase {
  const char* name;
  int id;
  Posts posts;
  Effect effect;
  // Commands and script lines before the click, and what they must have
  // done, so that the click's effect shows.
  Posts beforePosts = {};
  const char* beforeScript = "";
  Ready ready = [](CScrivaneDlg&) {};
};

Effect Pen(COLORREF colour) {
  return [colour](CScrivaneDlg& board, const HeadlessDesktop&) {
    for (const CQarelPage& page : board.m_pages) {
      EXPECT_EQ(page.m_nTool, TOOL_PEN);
      EXPECT_EQ(page.m_crColor, colour);
    }
  };
}

Effect Zoom(int level) {
  return [level](CScrivaneDlg& board, const HeadlessDesktop&) { EXPECT_EQ(board.m_nZoom, level); };
}

class PaletteCommands : public PaletteFixture, public testing::WithParamInterface<CommandCase> {};

TEST_P(PaletteCommands, ClickPostsExactlyTheButtonsCommandsInOrder) {
  const CommandCase& c = GetParam();
  for (const auto& [code, argument] : c.beforePosts) Post(code, argument);
  // A magnifier step takes its screen copy 200 ms after the command.
  Script(std::string(c.beforeScript) + "\nwait 300");
  Then([&] { c.ready(Board()); });
  StartLog();
  Script("click " + At(ButtonById(c.id).Centre(kOrigin)) + "\nwait 300");
  Then([&] {
    EXPECT_EQ(ClickReports(), (Posts{{static_cast<WPARAM>(c.id), 0}}));
    EXPECT_EQ(PostedBoardCommands(), c.posts);
    EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(Board().m_hWnd));
    c.effect(Board(), desktop_);
  });
  Run();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PaletteCommands,
    testing::Values(
        CommandCase{"Window", 1000, {{BC_WINDOW, 0}},
                    [](CScrivaneDlg& b, const HeadlessDesktop&) { EXPECT_EQ(b.m_nBackMode, BM_WINDOW); },
                    {{BC_PEN, 0}}, "", [](CScrivaneDlg& b) { ASSERT_EQ(b.m_nBackMode, BM_TRANSPARENT); }},
        CommandCase{"Marker", 1001, {{BC_PEN, 0}, {BC_COLOR, 0}}, Pen(kBlack), {{BC_COLOR, 2}}, "",
                    [](CScrivaneDlg& b) { ASSERT_EQ(b.m_pages[0].m_crColor, kRed); }},
        CommandCase{"BluePen", 1010, {{BC_PEN, 0}, {BC_COLOR, 1}}, Pen(kBlue)},
        CommandCase{"RedPen", 1011, {{BC_PEN, 0}, {BC_COLOR, 2}}, Pen(kRed)},
        CommandCase{"GreenPen", 1012, {{BC_PEN, 0}, {BC_COLOR, 3}}, Pen(kGreen)},
        CommandCase{"LineWidth", 1002, {{BC_LINEWIDTH, 0}},
                    [](CScrivaneDlg& b, const HeadlessDesktop&) { EXPECT_EQ(b.m_pages[0].m_nWidth, 5); }},
        CommandCase{"BigErase", 1004, {{BC_BIGERASE, 0}},
                    [](CScrivaneDlg& b, const HeadlessDesktop&) { EXPECT_EQ(b.m_pages[0].m_nTool, TOOL_BIGERASER); }},
        CommandCase{"Erase", 1005, {{BC_ERASE, 0}},
                    [](CScrivaneDlg& b, const HeadlessDesktop&) { EXPECT_TRUE(b.m_pages[0].m_strokes.empty()); },
                    {{BC_PEN, 0}}, "drag 200 200 400 300 5",
                    [](CScrivaneDlg& b) { ASSERT_FALSE(b.m_pages[0].m_strokes.empty()); }},
        // The button with the plus magnifier is named ZoomOut but magnifies.
        CommandCase{"ZoomOut", 1006, {{BC_ZOOMIN, 0}}, Zoom(2)},
        CommandCase{"ZoomIn", 1007, {{BC_ZOOMOUT, 0}}, Zoom(1), {{BC_ZOOMIN, 0}}, "",
                    [](CScrivaneDlg& b) { ASSERT_EQ(b.m_nZoom, 2); }},
        CommandCase{"Save", 1008, {{BC_SAVE, 0}},
                    [](CScrivaneDlg&, const HeadlessDesktop& d) { EXPECT_EQ(d.SaveDialogRequests().size(), 1u); }},
        CommandCase{"Background", 1009, {{BC_BACKGROUND, 0}},
                    [](CScrivaneDlg& b, const HeadlessDesktop&) { EXPECT_EQ(b.m_nBackMode, BM_WHITEBOARD); }}),
    [](const testing::TestParamInfo<CommandCase>& param) { return param.param.name; });

class PaletteClose : public PaletteFixture {};

TEST_F(PaletteClose, CloseCrossEndsTheProgramWithoutAQuestion) {
  static bool ranOn;
  ranOn = false;
  StartLog();
  Script("click " + At(ButtonById(IDCANCEL).Centre(kOrigin)));
  Then([] { ranOn = true; });
  Run();
  EXPECT_FALSE(ranOn);
  EXPECT_TRUE(desktop_.HasPendingSteps());
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(desktop_.SaveDialogRequests().empty());
  for (const LoggedMessage& m : AfxMessageLog()) EXPECT_FALSE(m.posted && m.message == WM_BOARDCOMMAND);
  // The icon's picture went with its window, before the graphics library.
  EXPECT_EQ(Gdiplus::ImagesAliveAtShutdown(), 0);
}

}  // namespace
}  // namespace plumet::test
