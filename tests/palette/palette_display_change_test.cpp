// After the screen changes size the palette, or the icon while folded, is
// moved the least distance that brings it wholly on the screen, and stays
// where it is when it already is on it.
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

class PaletteDisplayChange : public PaletteFixture {
 protected:
  static constexpr POINT kFold{kOrigin.x + 25, kOrigin.y + 464};
  static constexpr POINT kCross{kOrigin.x + 39, kOrigin.y + 8};
};

TEST_F(PaletteDisplayChange, PaletteOffTheNarrowerScreenMovesInJustEnoughAndStaysUsable) {
  // The board hides the palette while it takes its new screen copy.
  Script("display 800 600\nwait 250");
  Then([this] {
    EXPECT_EQ(PaletteRect(), (RECT{750, 100, 800, 575}));
    EXPECT_TRUE(Palette().IsWindowVisible());
    EXPECT_EQ(TakesInputAt(750 + 39, 108), ButtonWindow(IDCANCEL));
    EXPECT_TRUE(ShowsLook(ButtonById(1000), ButtonById(1000).normal, {750, 100}));
  });
  Run();
}

TEST_F(PaletteDisplayChange, PaletteAlreadyOnTheNewScreenKeepsItsPlace) {
  Script("drag " + At(kCross.x - 20, kCross.y) + " 120 60 5\ndisplay 800 600");
  Then([this] { EXPECT_EQ(PaletteRect(), (RECT{101, 52, 151, 527})); });
  Run();
}

TEST_F(PaletteDisplayChange, ScreenLowerThanThePaletteKeepsItsTopWithTheCloseCrossOnScreen) {
  Script("display 1366 400");
  Then([this] { EXPECT_EQ(PaletteRect(), (RECT{1266, 0, 1316, 475})); });
  Run();
}

TEST_F(PaletteDisplayChange, FoldedIconMovesOnTheScreenAndUnfoldsThere) {
  // Checked before the board's screen copy (200 ms), after which the board
  // shows the palette again whether it was folded or not.
  Script("click " + At(kFold) + "\ndisplay 800 600");
  Then([this] {
    RECT icon = IconRect();
    EXPECT_EQ(icon, (RECT{730, 100, 800, 160}));
    EXPECT_TRUE(::IsWindowVisible(IconWindow()));
    EXPECT_FALSE(Palette().IsWindowVisible());
  });
  Script("click 765 130\nwait 10");
  Then([this] {
    EXPECT_TRUE(Palette().IsWindowVisible());
    EXPECT_EQ(PaletteRect(), (RECT{730, 100, 780, 575}));
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
