// The buttons as the user sees and works them: their looks on screen,
// press, capture and release, double clicks, the line-width looks.
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

class PaletteButtons : public PaletteFixture {
 protected:
  const PaletteButton& kMarker = Button(1001);
  const PaletteButton& kWidth = Button(1002);
  const POINT kOnMarker = Centre(kMarker);
  // On the palette off every button, and where window mode lets the desktop take input.
  static constexpr POINT kBackground{kOrigin.x + 3, kOrigin.y + 300};
  static constexpr POINT kDesktop{600, 400};
};

TEST_F(PaletteButtons, AtStartEveryButtonShowsItsNormalLookOverTheSkinAndNoCaption) {
  Then([this] {
    for (const PaletteButton& b : kButtons) {
      EXPECT_TRUE(ShowsLook(b, b.normal)) << b.id;
      EXPECT_EQ(CWnd::FromHandle(Palette().GetDlgItem(b.id)->m_hWnd)->GetWindowText(), "") << b.id;
    }
    // Title strip with the mark, both margins, the fold strip: the sheet's own palette.
    EXPECT_TRUE(ShowsSheet({kOrigin.x + 4, kOrigin.y}, {4, 0}, {28, 22}));
    EXPECT_TRUE(ShowsSheet({kOrigin.x, kOrigin.y + 22}, {0, 22}, {7, 442}));
    EXPECT_TRUE(ShowsSheet({kOrigin.x + 44, kOrigin.y + 22}, {44, 22}, {6, 442}));
    EXPECT_TRUE(ShowsSheet({kOrigin.x, kOrigin.y + 460}, {0, 460}, {50, 11}));
  });
  Run();
}

TEST_F(PaletteButtons, LooksFollowThePointerAndThePress) {
  const PaletteButton& cross = Button(IDCANCEL);
  Move(Centre(cross));
  Then([&] { EXPECT_TRUE(ShowsLook(cross, cross.hover)); });
  Move(kOnMarker);
  Then([&] {
    EXPECT_TRUE(ShowsLook(cross, cross.normal));
    EXPECT_TRUE(ShowsLook(kMarker, kMarker.hover));
  });
  Press(kOnMarker);
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  Release(kOnMarker);  // not repainted by the release
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  desktop_.AddMove(kOnMarker.x + 1, kOnMarker.y);
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.hover)); });
  Move(kDesktop);
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal)); });
  Run();
}

TEST_F(PaletteButtons, OnlyAPressAndAReleaseBothOnTheButtonMakeAClick) {
  StartLog();
  Press(kOnMarker);
  Move(kBackground);
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.normal)); });
  Release(kBackground);
  Press(kDesktop);
  Move(kOnMarker);
  Release(kOnMarker);
  Then([&] {
    EXPECT_TRUE(ClickReports().empty());
    EXPECT_TRUE(BoardCommands().empty());
  });
  // Out and back in while held still counts.
  desktop_.AddWait(600);
  Press(kOnMarker);
  Move(kDesktop);
  Move(kOnMarker);
  Then([&] { EXPECT_TRUE(ShowsLook(kMarker, kMarker.pressed)); });
  Release(kOnMarker);
  Then([&] { EXPECT_EQ(ClickReports(), (Posts{{1001, 0}})); });
  Run();
}

TEST_F(PaletteButtons, DoubleClickGivesOneCommandAndALaterClickAnother) {
  StartLog();
  Click(kOnMarker);
  Click(kOnMarker);
  Then([&] { EXPECT_EQ(BoardCommands(), (Posts{{BC_PEN, 0}, {BC_COLOR, 0}})); });
  desktop_.AddWait(600);
  Click(kOnMarker);
  Then([&] { EXPECT_EQ(BoardCommands().size(), 4u); });
  Run();
}

TEST_F(PaletteButtons, LineWidthLooksChangeAtTheNextRepaintAndOnlyForKnownWidths) {
  constexpr POINT kTenNormal{214, 96};
  constexpr POINT kTenHover{214, 169};
  Then([&] {
    Palette().SetLineWidth(10);
    EXPECT_TRUE(ShowsLook(kWidth, kWidth.normal));
  });
  Move(Centre(kWidth));
  Then([&] {
    EXPECT_TRUE(ShowsLook(kWidth, kTenHover));
    Palette().SetLineWidth(4);
    Palette().SetLineWidth(0);
  });
  Move(kDesktop);
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kTenNormal)); });
  Move(Centre(kWidth));
  Then([&] { EXPECT_TRUE(ShowsLook(kWidth, kTenHover)); });
  Run();
}

}  // namespace
}  // namespace plumet::test
