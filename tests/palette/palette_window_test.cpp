// The palette window as a whole: its place and cut corners, dragging by the
// background, folding into the icon and unfolding, display changes.
#include "tests/palette/palette_fixture.h"

namespace plumet::test {
namespace {

using backend::EventKind;
using backend::headless::DesktopInput;

class PaletteWindow : public PaletteFixture {
 protected:
  static constexpr RECT kPlace{kOrigin.x, kOrigin.y, kOrigin.x + 50, kOrigin.y + 475};
  static constexpr RECT kIconPlace{kOrigin.x, kOrigin.y, kOrigin.x + 70, kOrigin.y + 60};
  static constexpr POINT kOnIcon{kOrigin.x + 35, kOrigin.y + 30};
  static constexpr POINT kFold{kOrigin.x + 25, kOrigin.y + 464};
  static RECT Moved(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
};

TEST_F(PaletteWindow, ShowsAtItsPlaceWithCornersThatNeitherShowNorTakeInput) {
  RememberBareDesktop();
  Then([this] {
    EXPECT_EQ(Rect(Palette().m_hWnd), kPlace);
    // The outermost pixel of each corner and the first kept one beside it.
    for (const auto& [cut, kept] : std::vector<std::pair<POINT, POINT>>{
             {{0, 0}, {4, 0}}, {{49, 0}, {45, 0}}, {{0, 474}, {4, 474}}, {{49, 474}, {45, 474}}, {{0, 2}, {1, 2}}}) {
      const int x = kOrigin.x + cut.x, y = kOrigin.y + cut.y;
      EXPECT_TRUE(ColorNear(Screen(x, y), DesktopAt(x, y))) << cut.x << "," << cut.y;
      EXPECT_EQ(TakesInputAt(x, y), nullptr) << cut.x << "," << cut.y;
      EXPECT_EQ(TakesInputAt(kOrigin.x + kept.x, kOrigin.y + kept.y), Palette().m_hWnd) << kept.x << "," << kept.y;
    }
  });
  Click(kOrigin);
  Then([this] {
    EXPECT_EQ(desktop_.DesktopInputLog().front(), (DesktopInput{EventKind::PointerDown, kOrigin.x, kOrigin.y}));
  });
  Run();
}

// A press on the bottom band (client point) and whether it folds, or drags.
class FoldStrip : public PaletteWindow, public testing::WithParamInterface<std::pair<POINT, bool>> {};

TEST_P(FoldStrip, PressFoldsTheIconOntoThePalettesCornerInsideTheStripAndDragsAboveIt) {
  const auto [point, folds] = GetParam();
  const POINT press{kOrigin.x + point.x, kOrigin.y + point.y};
  desktop_.AddDrag(press.x, press.y, press.x - 200, press.y + 50, 4);
  Then([&] {
    EXPECT_EQ(Folded(), folds);
    if (folds) {
      EXPECT_EQ(Rect(Icon()), kIconPlace);
    }
    EXPECT_EQ(Rect(Palette().m_hWnd), folds ? kPlace : Moved(kPlace, -200, 50));
    EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(Board().m_hWnd));
  });
  Run();
}

// (49, 474) is cut from the shape; (47, 473) is the strip's last reachable corner pixel.
INSTANTIATE_TEST_SUITE_P(Edges, FoldStrip,
                         testing::Values(std::pair{POINT{25, 464}, true}, std::pair{POINT{47, 473}, true},
                                         std::pair{POINT{25, 463}, false}));

TEST_F(PaletteWindow, FoldStripEndsAtTheBottomRightPixel) {
  Then([this] {
    Palette().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(49, 474));
    EXPECT_TRUE(Folded());
  });
  desktop_.AddRelease(700, 300);  // ends the drag that a press above the strip would start
  Run();
}

TEST_F(PaletteWindow, DragsByTheTitleStripEvenPartlyOffTheScreen) {
  desktop_.AddDrag(kOrigin.x + 10, kOrigin.y + 5, 1362, 5, 6);
  Then([this] { EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{1352, 0, 1402, 475})); });
  Run();
}

TEST_F(PaletteWindow, ADesktopClosingMidDragEndsTheProgram) {
  desktop_.AddPress(kOrigin.x + 10, kOrigin.y + 5);
  desktop_.AddMove(700, 300);
  Run();  // the steps run out with the button held: the desktop closes
  EXPECT_FALSE(initResult_);
}

TEST_F(PaletteWindow, IconClickUnfoldsThePaletteTenMillisecondsLater) {
  Click(kFold);
  Click(kOnIcon);
  desktop_.AddWait(9);
  Then([this] {
    EXPECT_TRUE(Folded());
    EXPECT_TRUE(desktop_.Window(AfxNativeWindow(Icon()))->options.toolWindow);
    EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(Board().m_hWnd));
  });
  desktop_.AddWait(1);
  Then([this] {
    EXPECT_FALSE(::IsWindowVisible(Icon()));
    EXPECT_TRUE(Palette().IsWindowVisible());
    EXPECT_EQ(Rect(Palette().m_hWnd), kPlace);
  });
  Run();
}

// How far the pointer travels between press and release on the icon, and whether that unfolds.
class IconPress : public PaletteWindow, public testing::WithParamInterface<std::pair<POINT, bool>> {};

TEST_P(IconPress, DragsTheIconAndUnfoldsAtItsNewCornerOnlyWithinTwentyPixels) {
  const auto [d, unfolds] = GetParam();
  const POINT end{kOnIcon.x + d.x, kOnIcon.y + d.y};
  Click(kFold);
  Press(kOnIcon);
  Move(end);
  Release(end);
  desktop_.AddWait(50);
  Then([&] {
    EXPECT_EQ(Folded(), !unfolds);
    EXPECT_EQ(Rect(Icon()), Moved(kIconPlace, d.x, d.y));
    if (unfolds) {
      EXPECT_EQ(Rect(Palette().m_hWnd), Moved(kPlace, d.x, d.y));
    }
  });
  Run();
}

INSTANTIATE_TEST_SUITE_P(Distances, IconPress,
                         testing::Values(std::pair{POINT{12, 15}, true}, std::pair{POINT{12, 16}, false},
                                         std::pair{POINT{-300, 200}, false}));

// With the system's own window drag (Windows) the palette and the icon move
// as with the framework's, and the icon still tells a click from a drag by
// where the system left the pointer.
TEST_F(PaletteWindow, TheSystemsWindowDragMovesPaletteAndIconAsTheFrameworksDoes) {
  desktop_.SetSystemWindowDrag(true);
  Press({kOrigin.x + 10, kOrigin.y + 5});
  Move({kOrigin.x - 140, kOrigin.y + 55});
  Then([this] {
    // Mid-drag: the system holds the pointer, not the program.
    EXPECT_EQ(desktop_.GrabHolder(), 0u);
    EXPECT_EQ(desktop_.Window(AfxNativeWindow(Palette().m_hWnd))->bounds.left, kPlace.left - 150);
  });
  Move({kOrigin.x - 290, kOrigin.y + 105});
  Release({kOrigin.x - 290, kOrigin.y + 105});
  Then([this] { EXPECT_EQ(Rect(Palette().m_hWnd), Moved(kPlace, -300, 100)); });
  Click({kFold.x - 300, kFold.y + 100});
  Press({kOnIcon.x - 300, kOnIcon.y + 100});
  Move({kOnIcon.x - 288, kOnIcon.y + 115});
  Release({kOnIcon.x - 288, kOnIcon.y + 115});
  desktop_.AddWait(50);
  Then([this] {
    EXPECT_FALSE(Folded());
    EXPECT_EQ(Rect(Palette().m_hWnd), Moved(kPlace, -288, 115));
  });
  Click({kFold.x - 288, kFold.y + 115});
  desktop_.AddDrag(kOnIcon.x - 288, kOnIcon.y + 115, kOnIcon.x - 276, kOnIcon.y + 131, 2);
  desktop_.AddWait(50);
  Then([this] {
    EXPECT_TRUE(Folded());
    EXPECT_EQ(Rect(Icon()), Moved(kIconPlace, -276, 131));
  });
  Run();
}

TEST_F(PaletteWindow, PressOnATransparentIconPixelGoesBeneath) {
  const POINT margin{kOrigin.x + 1, kOrigin.y + 1};
  Click(kFold);
  Click(margin);
  desktop_.AddWait(50);
  Then([&] {
    EXPECT_EQ(desktop_.DesktopInputLog().back(), (DesktopInput{EventKind::PointerUp, margin.x, margin.y}));
    EXPECT_TRUE(Folded());
  });
  Run();
}

// After a display change the palette, or the icon when folded, moves the
// least distance that brings it wholly on the screen, and otherwise stays.
TEST_F(PaletteWindow, DisplayChangeBringsThePaletteBackOnTheScreen) {
  // The board hides the palette while it takes its new screen copy.
  desktop_.AddDisplayChange({800, 600});
  desktop_.AddWait(250);
  Then([this] {
    EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{750, 100, 800, 575}));
    EXPECT_EQ(TakesInputAt(750 + 39, 108), Palette().GetDlgItem(IDCANCEL)->m_hWnd);
  });
  desktop_.AddDrag(752, 300, 102, 250, 5);
  desktop_.AddDisplayChange({700, 500});
  desktop_.AddWait(250);
  Then([this] { EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{100, 25, 150, 500})); });
  desktop_.AddDisplayChange({900, 700});
  desktop_.AddWait(250);
  Then([this] { EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{100, 25, 150, 500})); });
  Run();
}

TEST_F(PaletteWindow, DisplayChangeBringsTheFoldedIconBackOnTheScreen) {
  Click(kFold);
  desktop_.AddDisplayChange({800, 600});
  desktop_.AddWait(250);
  Then([this] {
    EXPECT_EQ(Rect(Icon()), (RECT{730, 100, 800, 160}));
    EXPECT_TRUE(Folded()) << "the board's new screen copy leaves a folded palette folded";
  });
  desktop_.AddClick(765, 130);
  desktop_.AddWait(10);
  Then([this] {
    EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{730, 100, 780, 575}));
    EXPECT_TRUE(Palette().IsWindowVisible());
  });
  Run();
}

// A screen scaled twice (a 4K-class laptop at 200 %): the palette and the icon
// are drawn from the 2x artwork, every layout number doubled.
class ScaledPalette : public PaletteFixture {
 protected:
  ScaledPalette() : PaletteFixture({2732, 1536}) { desktop_.SetScaleFactor(2); }
  static constexpr POINT kOrigin2x{2732 - 200, 200};
  static POINT At2x(POINT layout) { return {kOrigin2x.x + 2 * layout.x, kOrigin2x.y + 2 * layout.y}; }
};

TEST_F(ScaledPalette, IsTwiceTheSizeAtTwiceItsOffsetWithRoundedCornersAndCrispLooks) {
  RememberBareDesktop();
  Then([this] {
    EXPECT_EQ(Palette().Scale(), 2);
    EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{kOrigin2x.x, kOrigin2x.y, kOrigin2x.x + 100, kOrigin2x.y + 950}));
    // The corner is rounded twice as far: row 0 loses nine pixels.
    for (const POINT cut : {POINT{0, 0}, POINT{8, 0}, POINT{0, 8}, POINT{99, 949}}) {
      EXPECT_EQ(TakesInputAt(kOrigin2x.x + cut.x, kOrigin2x.y + cut.y), nullptr) << cut.x << "," << cut.y;
      EXPECT_TRUE(ColorNear(Screen(kOrigin2x.x + cut.x, kOrigin2x.y + cut.y),
                            DesktopAt(kOrigin2x.x + cut.x, kOrigin2x.y + cut.y)));
    }
    EXPECT_EQ(TakesInputAt(kOrigin2x.x + 9, kOrigin2x.y), Palette().m_hWnd);
    for (const PaletteButton& b : kButtons) {
      const POINT look{2 * b.normal.x, 2 * b.normal.y};
      EXPECT_TRUE(ShowsSheet(At2x(b.place), look, {2 * b.size.cx, 2 * b.size.cy}, 2)) << b.id;
    }
  });
  Run();
}

TEST_F(ScaledPalette, EachButtonPostsItsCommandsFromItsDoubledPlace) {
  Posts expected;
  StartLog();
  for (const PaletteButton& b : kButtons) {
    // The save dialog, the magnifier's hidden palette and the close cross
    // would take the palette away from the next click.
    if (b.id == IDCANCEL || b.id == 1006 || b.id == 1007 || b.id == 1008) continue;
    for (const CToolbarDlg::ButtonEntry& e : CToolbarDlg::Buttons())
      if (e.id == b.id)
        for (std::size_t i = 0; i < e.postCount; ++i) expected.emplace_back(e.posts[i].code, e.posts[i].argument);
    // Inside the doubled button, beyond where the 1x one would end.
    Click(At2x({b.place.x + b.size.cx - 2, b.place.y + b.size.cy - 2}));
  }
  Then([&] { EXPECT_EQ(BoardCommands(), expected); });
  Run();
}

TEST_F(ScaledPalette, FoldsAtTheDoubledStripIntoTheDoubledIconWhichUnfoldsWithinFortyPixels) {
  Click(At2x({25, 463}));  // just above the strip: a drag that goes nowhere
  Then([this] { EXPECT_TRUE(Palette().IsWindowVisible()); });
  Click(At2x({25, 464}));
  Then([this] {
    EXPECT_TRUE(Folded());
    EXPECT_EQ(Rect(Icon()), (RECT{kOrigin2x.x, kOrigin2x.y, kOrigin2x.x + 140, kOrigin2x.y + 120}));
  });
  // 24 right and 30 down: a click at twice the size.
  const POINT onIcon = At2x({35, 30});
  Press(onIcon);
  Move({onIcon.x + 24, onIcon.y + 30});
  Release({onIcon.x + 24, onIcon.y + 30});
  desktop_.AddWait(50);
  Then([this] {
    EXPECT_FALSE(Folded());
    EXPECT_EQ(Rect(Palette().m_hWnd), (RECT{kOrigin2x.x + 24, kOrigin2x.y + 30, kOrigin2x.x + 124, kOrigin2x.y + 980}));
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
