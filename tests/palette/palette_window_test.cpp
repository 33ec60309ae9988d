// The palette window as a whole: its place and cut corners, dragging by the
// background, folding into the icon at the fold strip and unfolding again.
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

using backend::EventKind;
using backend::headless::DesktopInput;

class PaletteWindow : public PaletteFixture {
 protected:
  static constexpr RECT kPlace{kOrigin.x, kOrigin.y, kOrigin.x + kSize.cx, kOrigin.y + kSize.cy};
  // The icon where folding at the start place puts it, and a point on its picture.
  static constexpr RECT kIconPlace{kOrigin.x, kOrigin.y, kOrigin.x + 70, kOrigin.y + 60};
  static constexpr POINT kOnIcon{kOrigin.x + 35, kOrigin.y + 30};
  static constexpr POINT kFold{kOrigin.x + 25, kOrigin.y + 464};

  bool Folded() { return !Palette().IsWindowVisible() && IconWindow() && ::IsWindowVisible(IconWindow()); }
  bool Unfolded() { return Palette().IsWindowVisible() && !(IconWindow() && ::IsWindowVisible(IconWindow())); }
  backend::WindowId BoardNative() { return AfxNativeWindow(Board().m_hWnd); }
};

TEST_F(PaletteWindow, ShowsAtItsPlaceWithCornersThatNeitherShowNorTakeInput) {
  RememberBareDesktop();
  // The outermost pixel of each corner, and the first kept pixel beside it.
  const std::vector<std::pair<POINT, POINT>> corners{
      {{0, 0}, {4, 0}}, {{49, 0}, {45, 0}}, {{0, 474}, {4, 474}}, {{49, 474}, {45, 474}}, {{0, 2}, {1, 2}}};
  Then([&] {
    EXPECT_EQ(PaletteRect(), kPlace);
    EXPECT_TRUE(Palette().IsWindowVisible());
    for (const auto& [cut, kept] : corners) {
      const POINT c{kOrigin.x + cut.x, kOrigin.y + cut.y};
      const POINT k{kOrigin.x + kept.x, kOrigin.y + kept.y};
      EXPECT_TRUE(ColorNear(Screen(c.x, c.y), DesktopAt(c.x, c.y))) << cut.x << "," << cut.y;
      EXPECT_EQ(TakesInputAt(c.x, c.y), nullptr) << cut.x << "," << cut.y;
      EXPECT_EQ(TakesInputAt(k.x, k.y), Palette().m_hWnd) << kept.x << "," << kept.y;
    }
  });
  Script("click " + At(kOrigin));
  Then([this] {
    EXPECT_EQ(desktop_.DesktopInputLog().front(), (DesktopInput{EventKind::PointerDown, kOrigin.x, kOrigin.y}));
    EXPECT_EQ(PaletteRect(), kPlace);
  });
  Run();
}

// Client points of presses on the palette's bottom band, and whether they fold.
class FoldStrip : public PaletteWindow, public testing::WithParamInterface<std::pair<POINT, bool>> {};

TEST_P(FoldStrip, PressFoldsInsideTheStripAndDragsAboveIt) {
  const auto [point, folds] = GetParam();
  const POINT press{kOrigin.x + point.x, kOrigin.y + point.y};
  Script("drag " + At(press) + " " + At(press.x - 200, press.y + 50) + " 4");
  Then([&] {
    if (folds) {
      EXPECT_TRUE(Folded());
      EXPECT_EQ(PaletteRect(), kPlace);
      EXPECT_EQ(IconRect(), kIconPlace);
    } else {
      EXPECT_TRUE(Unfolded());
      EXPECT_EQ(PaletteRect(), (RECT{kPlace.left - 200, kPlace.top + 50, kPlace.right - 200, kPlace.bottom + 50}));
    }
    EXPECT_EQ(desktop_.FocusedWindow(), BoardNative());
  });
  Run();
}

// The strip's bottom-right pixels are cut from the shape: (47, 473) and
// (45, 474) are the last ones a press can reach there.
INSTANTIATE_TEST_SUITE_P(Edges, FoldStrip,
                         testing::Values(std::pair{POINT{25, 464}, true}, std::pair{POINT{47, 473}, true},
                                         std::pair{POINT{45, 474}, true}, std::pair{POINT{0, 470}, true},
                                         std::pair{POINT{25, 463}, false}, std::pair{POINT{49, 463}, false}));

TEST_F(PaletteWindow, FoldStripReachesItsBottomRightPixel) {
  // Cut from the shape, so no press gets there; the band itself still ends there.
  Then([this] {
    Palette().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(49, 474));
    EXPECT_TRUE(Folded());
  });
  Run();
}

TEST_F(PaletteWindow, DragsByTheTitleStripEvenPartlyOffTheScreen) {
  Script("drag " + At(kOrigin.x + 10, kOrigin.y + 5) + " 1362 5 6");
  Then([this] {
    EXPECT_EQ(PaletteRect(), (RECT{1352, 0, 1402, 475}));
    EXPECT_TRUE(Palette().IsWindowVisible());
    EXPECT_EQ(TakesInputAt(1354, 300), Palette().m_hWnd);
  });
  Run();
}

TEST_F(PaletteWindow, IconIsAToolWindowThatShowsItsPictureAndKeepsTheFocusOnTheBoard) {
  RememberBareDesktop();
  Script("click " + At(kFold));
  Then([this] {
    ASSERT_TRUE(Folded());
    const auto icon = desktop_.Window(AfxNativeWindow(IconWindow()));
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->options.toolWindow);
    EXPECT_EQ(icon->bounds, (backend::Rect{kIconPlace.left, kIconPlace.top, kIconPlace.right, kIconPlace.bottom}));
    // Opaque in the middle, the desktop through the transparent margin.
    EXPECT_EQ(TakesInputAt(kOnIcon.x, kOnIcon.y), IconWindow());
    EXPECT_FALSE(ColorNear(Screen(kOnIcon.x, kOnIcon.y), DesktopAt(kOnIcon.x, kOnIcon.y), 40));
    EXPECT_TRUE(ColorNear(Screen(kOrigin.x + 1, kOrigin.y + 1), DesktopAt(kOrigin.x + 1, kOrigin.y + 1)));
    // The hidden palette takes no input where it was.
    EXPECT_NE(TakesInputAt(kOrigin.x + 25, kOrigin.y + 300), Palette().m_hWnd);
  });
  Script("click " + At(kOnIcon));
  Then([this] { EXPECT_EQ(desktop_.FocusedWindow(), BoardNative()); });
  Run();
}

TEST_F(PaletteWindow, ClickOnTheIconUnfoldsThePaletteAtTheIconsCornerTenMillisecondsLater) {
  Script("click " + At(kFold) + "\nclick " + At(kOnIcon) + "\nwait 9");
  Then([this] { EXPECT_TRUE(Folded()); });
  Script("wait 1");
  Then([this] {
    EXPECT_TRUE(Unfolded());
    EXPECT_EQ(PaletteRect(), kPlace);
  });
  Run();
}

// Pointer travel between press and release on the icon: under 20 pixels is a click.
struct IconMove {
  int dx;
  int dy;
  bool unfolds;
};

class IconPress : public PaletteWindow, public testing::WithParamInterface<IconMove> {};

TEST_P(IconPress, DragsTheIconAndUnfoldsOnlyWithinTwentyPixels) {
  const IconMove m = GetParam();
  const POINT end{kOnIcon.x + m.dx, kOnIcon.y + m.dy};
  const RECT moved{kIconPlace.left + m.dx, kIconPlace.top + m.dy, kIconPlace.right + m.dx, kIconPlace.bottom + m.dy};
  Script("click " + At(kFold) + "\npress " + At(kOnIcon) + "\nmove " + At(end) + "\nrelease " + At(end) +
         "\nwait 50");
  Then([&] {
    if (m.unfolds) {
      EXPECT_TRUE(Unfolded());
      EXPECT_EQ(PaletteRect(), (RECT{moved.left, moved.top, moved.left + kSize.cx, moved.top + kSize.cy}));
    } else {
      EXPECT_TRUE(Folded());
      EXPECT_EQ(IconRect(), moved);
    }
  });
  Run();
}

INSTANTIATE_TEST_SUITE_P(Distances, IconPress,
                         testing::Values(IconMove{0, 0, true}, IconMove{12, 15, true}, IconMove{12, 16, false},
                                         IconMove{-19, 0, true}, IconMove{0, -20, false},
                                         IconMove{-300, 200, false}));

TEST_F(PaletteWindow, PressOnATransparentIconPixelGoesBeneath) {
  const POINT margin{kOrigin.x + 1, kOrigin.y + 1};
  Script("click " + At(kFold) + "\nclick " + At(margin) + "\nwait 50");
  Then([&] {
    EXPECT_EQ(desktop_.DesktopInputLog().back(), (DesktopInput{EventKind::PointerUp, margin.x, margin.y}));
    EXPECT_TRUE(Folded());
    EXPECT_EQ(IconRect(), kIconPlace);
  });
  Run();
}

TEST_F(PaletteWindow, FoldingAfterDragsPutsTheIconOnThePalettesCorner) {
  // Fold, drag the icon away and click it there; drag the palette elsewhere; fold again.
  Script("click " + At(kFold) + "\ndrag " + At(kOnIcon) + " 300 200 5\nclick 300 200\nwait 10");
  Then([this] {
    ASSERT_TRUE(Unfolded());
    EXPECT_EQ(PaletteRect(), (RECT{300 - 35, 200 - 30, 300 - 35 + kSize.cx, 200 - 30 + kSize.cy}));
  });
  Script("drag 270 200 800 150 5");
  Script("click " + At(800 - 5 + 25, 150 - 30 + 464));
  Then([this] {
    ASSERT_TRUE(Folded());
    EXPECT_EQ(IconRect(), (RECT{795, 120, 865, 180}));
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
