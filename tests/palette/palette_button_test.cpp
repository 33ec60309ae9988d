// The buttons as the user sees and works them: their three looks on
// screen, press, capture and release, double clicks, the line-width looks.
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

using Posts = std::vector<std::pair<WPARAM, LPARAM>>;

class PaletteButtons : public PaletteFixture {
 protected:
  const PaletteButton& kWindow = ButtonById(1000);
  const PaletteButton& kMarker = ButtonById(1001);
  const PaletteButton& kWidth = ButtonById(1002);
  // A point on the palette's background, off every button.
  static constexpr POINT kBackground{kOrigin.x + 3, kOrigin.y + 300};
  // A point where the board (in window mode) lets the desktop take input.
  static constexpr POINT kDesktop{600, 400};
};

TEST_F(PaletteButtons, AtStartThePaletteShowsTheSkinWithEveryButtonInItsNormalLookAndNoCaption) {
  Then([this] {
    for (const PaletteButton& button : AllButtons()) {
      EXPECT_TRUE(ShowsLook(button, button.normal)) << button.id;
      EXPECT_EQ(CWnd::FromHandle(ButtonWindow(button.id))->GetWindowText(), "") << button.id;
    }
    // Between the buttons: the sheet's palette, from its top-left corner.
    EXPECT_EQ(DiffersFromSheet({kOrigin.x + 4, kOrigin.y}, {4, 0}, {28, 22}), 0);  // title strip with the mark
    EXPECT_EQ(DiffersFromSheet({kOrigin.x, kOrigin.y + 460}, {0, 460}, {50, 11}), 0);  // last gap and fold strip
    EXPECT_EQ(DiffersFromSheet({kOrigin.x, kOrigin.y + 22}, {0, 22}, {7, 440}), 0);  // left margin
    EXPECT_EQ(DiffersFromSheet({kOrigin.x + 44, kOrigin.y + 22}, {44, 22}, {6, 440}), 0);  // right margin
  });
  Run();
}

TEST_F(PaletteButtons, HoverLookWhileThePointerIsOverAButtonNormalLookOnceItLeaves) {
  Script("move " + At(kWindow.Centre(kOrigin)));
  Then([this] {
    EXPECT_TRUE(ShowsLook(kWindow, kWindow.hover));
    EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal));
  });
  Script("move " + At(kMarker.Centre(kOrigin)));
  Then([this] {
    EXPECT_TRUE(ShowsLook(kWindow, kWindow.normal));
    EXPECT_TRUE(ShowsLook(kMarker, kMarker.hover));
  });
  Script("move " + At(kDesktop));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal)); });
  Run();
}

TEST_F(PaletteButtons, CloseCrossShowsItsHoverLook) {
  const PaletteButton& cross = ButtonById(IDCANCEL);
  Script("move " + At(cross.Centre(kOrigin)));
  Then([&] { EXPECT_TRUE(ShowsLook(cross, cross.hover)); });
  Script("move " + At(kBackground));
  Then([&] { EXPECT_TRUE(ShowsLook(cross, cross.normal)); });
  Run();
}

TEST_F(PaletteButtons, PressedLookFromThePressStaysAfterAReleaseInsideUntilTheNextMove) {
  const POINT centre = kMarker.Centre(kOrigin);
  Script("move " + At(centre) + "\npress " + At(centre));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  Script("release " + At(centre));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  Script("move " + At(centre.x + 1, centre.y));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.hover)); });
  Run();
}

TEST_F(PaletteButtons, PressInsideReleaseOutsideGivesNoCommandAndTheNormalLook) {
  StartLog();
  Script("press " + At(kMarker.Centre(kOrigin)) + "\nmove " + At(kBackground));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal)); });
  Script("release " + At(kBackground));
  Then([this] {
    EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal));
    EXPECT_TRUE(ClickReports().empty());
    EXPECT_TRUE(PostedBoardCommands().empty());
    EXPECT_EQ(Page(0).m_nTool, TOOL_NONE);
  });
  Run();
}

TEST_F(PaletteButtons, LeavingAndComingBackWhilePressedStillGivesOneCommand) {
  const POINT centre = kMarker.Centre(kOrigin);
  StartLog();
  Script("press " + At(centre) + "\nmove " + At(kDesktop));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal)); });
  Script("move " + At(centre));
  Then([this] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  Script("release " + At(centre));
  Then([this] {
    EXPECT_EQ(ClickReports(), (Posts{{1001, 0}}));
    EXPECT_EQ(PostedBoardCommands(), (Posts{{BC_PEN, 0}, {BC_COLOR, 0}}));
  });
  Run();
}

TEST_F(PaletteButtons, ReleaseOverAButtonAfterAPressElsewhereGivesNoCommand) {
  StartLog();
  Script("press " + At(kDesktop) + "\nmove " + At(kMarker.Centre(kOrigin)) + "\nrelease " +
         At(kMarker.Centre(kOrigin)));
  Then([this] {
    EXPECT_TRUE(ClickReports().empty());
    EXPECT_TRUE(PostedBoardCommands().empty());
  });
  Run();
}

TEST_F(PaletteButtons, DoubleClickGivesOneCommandAndALaterClickAnother) {
  const std::string click = "click " + At(kMarker.Centre(kOrigin));
  const Posts marker{{BC_PEN, 0}, {BC_COLOR, 0}};
  StartLog();
  Script(click + "\n" + click);
  Then([&] {
    EXPECT_EQ(ClickReports(), (Posts{{1001, 0}}));
    EXPECT_EQ(PostedBoardCommands(), marker);
  });
  StartLog();
  Script("wait 600\n" + click);
  Then([&] { EXPECT_EQ(PostedBoardCommands(), marker); });
  Run();
}

TEST_F(PaletteButtons, LineWidthLooksChangeFromTheNextRepaintAndOnlyForKnownWidths) {
  const POINT centre = kWidth.Centre(kOrigin);
  constexpr POINT kTenNormal{214, 96};
  constexpr POINT kTenHover{214, 169};
  Then([this] { Palette().SetLineWidth(10); });
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kWidth.normal)); });  // not repainted yet
  Script("move " + At(centre));
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kTenHover)); });
  Then([this] {
    Palette().SetLineWidth(4);
    Palette().SetLineWidth(0);
  });
  Script("move " + At(kDesktop));
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kTenNormal)); });
  Script("move " + At(centre));
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kTenHover)); });
  Run();
}

TEST_F(PaletteButtons, ClickingTheLineWidthButtonShowsTheBoardsNewWidth) {
  const POINT centre = kWidth.Centre(kOrigin);
  Script("click " + At(centre) + "\nmove " + At(centre.x, centre.y + 1));
  Then([&] {
    ASSERT_EQ(Page(0).m_nWidth, 5);
    EXPECT_TRUE(ShowsLook(kWidth, {172, 169}));
  });
  // Apart enough not to make double clicks.
  for (int i = 0; i < 3; ++i) Script("wait 600\nclick " + At(centre));
  Script("move " + At(kDesktop));
  Then([&] {
    ASSERT_EQ(Page(0).m_nWidth, 3);
    EXPECT_TRUE(ShowsLook(kWidth, kWidth.normal));
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
