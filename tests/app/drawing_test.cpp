// Drawing end to end: commands posted from outside, drags on the board.
#include <vector>

#include "model/board_modes.h"
#include "tests/app/board_fixture.h"

namespace plumet::test {
namespace {

constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kRed = 0xFFFF0000;

class Drawing : public BoardFixture {};

TEST_F(Drawing, PenAndColourThenADragDrawsThatInkOverTheUnchangedDesktop) {
  RememberBareDesktop();
  Post(BC_PEN);
  Post(BC_COLOR, 1);
  desktop_.AddDrag(200, 300, 600, 300, 40);
  Then([this] {
    for (int x : {210, 400, 590}) EXPECT_EQ(Screen(x, 300), kBlue) << x;
    // Width 3: rows 299 to 301 are ink, 297 and 303 are not.
    EXPECT_EQ(Screen(400, 299), kBlue);
    EXPECT_EQ(Screen(400, 301), kBlue);
    for (auto [x, y] : {std::pair{400, 296}, {400, 304}, {100, 300}, {700, 300}})
      EXPECT_TRUE(ColorNear(Screen(x, y), DesktopAt(x, y), 1)) << x << "," << y;
    ASSERT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_TRUE(Page(1).m_strokes.empty());
  });
  Run();
}

TEST_F(Drawing, SegmentsShowWhileTheButtonIsHeld) {
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddPress(100, 200);
  desktop_.AddMove(150, 200);
  desktop_.AddMove(200, 250);
  Then([this] {
    EXPECT_EQ(Screen(125, 200), 0xFFFF0000u);
    EXPECT_EQ(Screen(175, 225), 0xFFFF0000u);
    EXPECT_TRUE(Page(0).m_strokes.empty());
    EXPECT_EQ(Page(0).m_bDrawing, 1);
  });
  desktop_.AddRelease(200, 250);
  Then([this] {
    // A release on the last point adds no point and draws no curve.
    ASSERT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(Page(0).m_strokes.back()->m_nCount, 3);
    EXPECT_EQ(Page(0).m_bDrawing, 0);
  });
  Run();
}

TEST_F(Drawing, AClickWithoutMovementLeavesARoundDot) {
  Post(BC_PEN);
  Post(BC_LINEWIDTH);
  Post(BC_LINEWIDTH);  // width 10
  desktop_.AddClick(400, 400);
  Then([this] {
    ASSERT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(Page(0).m_strokes.back()->m_nCount, 2);
    EXPECT_EQ(Screen(400, 400), 0xFF000000u);
    EXPECT_EQ(Screen(403, 400), 0xFF000000u);
    EXPECT_EQ(Screen(400, 397), 0xFF000000u);
  });
  Run();
}

TEST_F(Drawing, TheBigEraserLeavesExactlyTheBackgroundOnEveryBoard) {
  Post(BC_PEN);
  Post(BC_LINEWIDTH);
  Post(BC_LINEWIDTH);
  Post(BC_LINEWIDTH);  // width 15
  desktop_.AddDrag(100, 300, 700, 300, 30);
  Post(BC_BIGERASE);
  desktop_.AddDrag(400, 200, 400, 400, 20);
  Then([this] {
    EXPECT_EQ(Board().m_nBackMode, BM_TRANSPARENT);
    EXPECT_EQ(BoardPixel(400, 300), 0x01FFFFFFu);
    EXPECT_EQ(BoardPixel(300, 300), 0xFF000000u);
  });
  for (std::uint32_t expected : {0xFFFFFFFFu, 0xFF006934u, 0x01FFFFFFu}) {
    Post(BC_BACKGROUND);
    Then([this, expected] {
      // Redrawn: the erasure paints the new background.
      EXPECT_EQ(BoardPixel(400, 300), expected);
      EXPECT_EQ(BoardPixel(300, 300), 0xFF000000u);
    });
    desktop_.AddDrag(600, 200, 600, 400, 20);
    Then([this, expected] { EXPECT_EQ(BoardPixel(600, 300), expected) << "live eraser"; });
  }
  Run();
}

TEST_F(Drawing, TheBigEraserOnTheSecondPagePaintsTheBoardsBackgroundToo) {
  Post(BC_BACKGROUND);  // white board
  Post(BC_SECONDPAGE);
  Post(BC_PEN);
  desktop_.AddDrag(100, 300, 700, 300, 30);
  Post(BC_BIGERASE);
  desktop_.AddDrag(400, 200, 400, 400, 20);
  Then([this] {
    EXPECT_EQ(Board().m_nCurPage, 1);
    EXPECT_EQ(Page(1).m_argbBackground, 0xFFFFFFFFu);
    EXPECT_EQ(BoardPixel(400, 300), 0xFFFFFFFFu);
    EXPECT_EQ(Page(1).m_strokes.back()->m_crColor, 0xFFFFFFu);
  });
  Run();
}

TEST_F(Drawing, EraseClearsOnlyTheCurrentPage) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Post(BC_SECONDPAGE);
  desktop_.AddDrag(100, 200, 300, 200, 5);
  Post(BC_ERASE);
  Then([this] {
    EXPECT_TRUE(Page(1).m_strokes.empty());
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(BoardPixel(200, 200), 0x01FFFFFFu);
  });
  Run();
}

TEST_F(Drawing, PagesKeepTheirOwnStrokes) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 100, 300, 100, 5);
  Post(BC_SECONDPAGE);
  Then([this] {
    EXPECT_EQ(BoardPixel(200, 100), 0x01FFFFFFu);
    EXPECT_EQ(Board().m_nBackMode, BM_TRANSPARENT);
  });
  Post(BC_FIRSTPAGE);
  Then([this] { EXPECT_EQ(BoardPixel(200, 100), 0xFF000000u); });
  Run();
}

TEST_F(Drawing, APageChangeInMidDragEndsTheStrokeOnItsOwnPage) {
  Post(BC_PEN);
  desktop_.AddPress(100, 400);
  desktop_.AddMove(200, 400);
  desktop_.AddMove(300, 400);
  Post(BC_SECONDPAGE);
  desktop_.AddMove(400, 400);
  desktop_.AddRelease(400, 400);
  Post(BC_FIRSTPAGE);
  Then([this] {
    ASSERT_EQ(Page(0).m_strokes.size(), 1u);
    const CQarelObject& stroke = *Page(0).m_strokes.back();
    EXPECT_EQ(stroke.Points()[stroke.m_nCount - 1].X, 300.0f) << "ends where it was last seen";
    EXPECT_TRUE(Page(1).m_strokes.empty());
    EXPECT_EQ(BoardPixel(250, 400), 0xFF000000u) << "kept, and drawn again with its page";
  });
  // Moves without the button draw nothing on the page that was left mid-drag.
  desktop_.AddMove(500, 450);
  desktop_.AddMove(600, 450);
  Then([this] {
    EXPECT_EQ(BoardPixel(550, 450), 0x01FFFFFFu);
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
  });
  Run();
}

TEST_F(Drawing, WidthCyclesThroughFourWidthsAndColourSevenKeepsTheColour) {
  const int widths[] = {5, 10, 15, 3};
  Post(BC_COLOR, 3);
  for (int width : widths) {
    Post(BC_LINEWIDTH);
    Then([this, width] {
      EXPECT_EQ(Page(0).m_nWidth, width);
      EXPECT_EQ(Page(1).m_nWidth, width);
      EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
    });
  }
  Post(BC_WINDOW);
  Post(BC_COLOR, 7);
  Then([this] {
    EXPECT_EQ(Page(0).m_crColor, 0x00FF00u);
    EXPECT_EQ(Page(0).m_nTool, TOOL_PEN);
    EXPECT_EQ(Board().m_nBackMode, BM_TRANSPARENT);
  });
  Run();
}

TEST_F(Drawing, EachToolShowsItsCursor) {
  auto expectCursor = [this](std::optional<backend::SystemCursor> system, int hotX, int hotY) {
    desktop_.AddMove(500, 500);
    desktop_.AddMove(501, 501);
    Then([this, system, hotX, hotY] {
      const auto cursor = desktop_.Cursor(desktop_.CursorAtPointer());
      ASSERT_TRUE(cursor);
      EXPECT_EQ(cursor->system, system);
      if (!system) {
        EXPECT_EQ(cursor->image.hotX, hotX);
        EXPECT_EQ(cursor->image.hotY, hotY);
        EXPECT_EQ(cursor->image.width, 32);
      }
    });
  };
  Post(BC_BACKGROUND);
  expectCursor(backend::SystemCursor::Arrow, 0, 0);
  Post(BC_PEN);
  expectCursor(std::nullopt, 12, 17);
  Post(BC_BIGERASE);
  expectCursor(std::nullopt, 16, 9);
  Post(BC_ZOOMIN);
  expectCursor(backend::SystemCursor::Hand, 0, 0);
  Run();
}

// On a screen scaled twice the pencil is drawn twice as large; the eraser
// and the pen widths stay in device pixels, and so does the eraser's circle.
TEST_F(Drawing, OnAScreenScaledTwiceThePencilCursorIsDoubledAndTheInkIsNot) {
  desktop_.SetScaleFactor(2);
  Post(BC_PEN);
  desktop_.AddDrag(100, 300, 400, 300, 10);
  desktop_.AddMove(500, 500);
  Then([this] {
    const auto cursor = desktop_.Cursor(desktop_.CursorAtPointer());
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->image.width, 64);
    EXPECT_EQ(cursor->image.hotX, 24);
    EXPECT_EQ(cursor->image.hotY, 34);
    // The 3-pixel pen: rows 299 to 301, nothing at 297 or 303.
    EXPECT_EQ(BoardPixel(250, 301) >> 24, 255u);
    EXPECT_LT(BoardPixel(250, 303) >> 24, 2u);
    EXPECT_LT(BoardPixel(250, 297) >> 24, 2u);
  });
  Post(BC_BIGERASE);
  desktop_.AddMove(501, 501);
  Then([this] {
    const auto cursor = desktop_.Cursor(desktop_.CursorAtPointer());
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->image.width, 32);
  });
  Run();
}

TEST_F(Drawing, AReleaseOverThePaletteStillEndsTheStroke) {
  Post(BC_PEN);
  desktop_.AddDrag(1000, 300, 1290, 300, 20);
  Then([this] {
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(Page(0).m_bDrawing, 0);
  });
  Run();
}

// At 16 ms frames on the in-memory desktop's clock: the first move after a
// quiet frame shows at once; the later moves of that frame are drawn on the
// board at once but reach the screen together when the frame is due.
TEST_F(Drawing, MovesWithinAFrameShowTogetherWhenItIsDueAndTheFirstAtOnce) {
  RememberBareDesktop();
  desktop_.SetFrameInterval(16);
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddWait(100);
  desktop_.AddPress(100, 200);
  desktop_.AddMove(150, 200);
  desktop_.AddMove(200, 250);
  desktop_.AddMove(250, 250);
  const auto held = [this] {
    EXPECT_EQ(Screen(125, 200), kRed);
    for (auto [x, y] : {std::pair{175, 225}, {225, 250}}) {
      EXPECT_TRUE(ColorNear(Screen(x, y), DesktopAt(x, y), 1)) << x;
      EXPECT_EQ(BoardPixel(x, y), kRed) << x;
    }
  };
  Then(held);
  desktop_.AddWait(15);
  Then(held);
  desktop_.AddWait(1);
  Then([this] {
    EXPECT_EQ(Screen(175, 225), kRed);
    EXPECT_EQ(Screen(225, 250), kRed);
  });
  desktop_.AddWait(100);
  desktop_.AddMove(300, 250);
  Then([this] { EXPECT_EQ(Screen(275, 250), kRed); });
  desktop_.AddRelease(300, 250);
  Run();
}

// Undo and redo of the current page, from other programs (BC_UNDO, BC_REDO)
// and from the keyboard.
class History : public BoardFixture {
 protected:
  void ThreeRows() {
    Post(BC_PEN);
    desktop_.AddDrag(100, 200, 600, 200, 10);
    desktop_.AddDrag(100, 300, 600, 300, 10);
    desktop_.AddDrag(100, 400, 600, 400, 10);
  }
  // Ink at the middle of each row, from the board as it is now.
  std::vector<bool> RowsInked() {
    std::vector<bool> inked;
    for (int y : {200, 300, 400}) inked.push_back(BoardPixel(350, y) == 0xFF000000u);
    return inked;
  }
};

TEST_F(History, ErasingThePageIsUndoneWithEveryStrokeAndAnUndoneErasureShowsTheInkBeneath) {
  ThreeRows();
  Post(BC_BIGERASE);
  desktop_.AddDrag(350, 150, 350, 450, 10);
  Post(BC_UNDO);
  Then([this] {
    EXPECT_EQ(RowsInked(), (std::vector{true, true, true}));
    EXPECT_EQ(Screen(350, 300), 0xFF000000u);
  });
  Post(BC_REDO);
  Post(BC_ERASE);
  Then([this] { EXPECT_EQ(RowsInked(), (std::vector{false, false, false})); });
  Post(BC_UNDO);
  Then([this] {
    ASSERT_EQ(Page(0).m_strokes.size(), 4u);
    EXPECT_TRUE(Page(0).m_strokes.back()->m_bBackground) << "the erasure comes back last, as it was";
    EXPECT_EQ(RowsInked(), (std::vector{false, false, false}));
    EXPECT_EQ(BoardPixel(200, 300), 0xFF000000u);
  });
  Run();
}

TEST_F(History, EachPageHasItsOwnHistoryAndAnEmptyOneChangesNothing) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 200, 600, 200, 10);
  Post(BC_SECONDPAGE);
  desktop_.AddDrag(100, 300, 600, 300, 10);
  Post(BC_UNDO);
  Then([this] {
    EXPECT_TRUE(Page(1).m_strokes.empty());
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(BoardPixel(350, 300), 0x01FFFFFFu);
  });
  Post(BC_UNDO);  // page 1 has nothing left to take back
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 1u); });
  Post(BC_FIRSTPAGE);
  Post(BC_REDO);  // the redo step is page 1's
  Then([this] {
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_TRUE(Page(1).m_strokes.empty());
    EXPECT_EQ(Screen(350, 200), 0xFF000000u);
  });
  Post(BC_SECONDPAGE);
  Post(BC_REDO);
  Then([this] { EXPECT_EQ(BoardPixel(350, 300), 0xFF000000u); });
  Run();
}

TEST_F(History, UndoInWindowModeLeavesInputPassingThrough) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 200, 600, 200, 10);
  Post(BC_WINDOW);
  Post(BC_UNDO);
  Then([this] {
    EXPECT_TRUE(Page(0).m_strokes.empty());
    EXPECT_EQ(Board().m_nBackMode, BM_WINDOW);
    EXPECT_TRUE(Board().GetExStyle() & WS_EX_TRANSPARENT);
  });
  Run();
}

TEST_F(History, AStrokeAfterUndoDropsTheRedoSteps) {
  ThreeRows();
  Post(BC_UNDO);
  Post(BC_UNDO);
  desktop_.AddDrag(100, 500, 600, 500, 10);
  Post(BC_REDO);
  Then([this] {
    EXPECT_EQ(RowsInked(), (std::vector{true, false, false}));
    EXPECT_EQ(BoardPixel(350, 500), 0xFF000000u);
  });
  Run();
}

TEST_F(History, CtrlZUndoesCtrlYAndCtrlShiftZRedo) {
  ThreeRows();
  desktop_.AddKey(backend::EventKind::KeyCtrlZ);
  desktop_.AddKey(backend::EventKind::KeyCtrlZ);
  Then([this] { EXPECT_EQ(RowsInked(), (std::vector{true, false, false})); });
  desktop_.AddKey(backend::EventKind::KeyCtrlY);
  Then([this] { EXPECT_EQ(RowsInked(), (std::vector{true, true, false})); });
  desktop_.AddKey(backend::EventKind::KeyCtrlShiftZ);
  Then([this] { EXPECT_EQ(RowsInked(), (std::vector{true, true, true})); });
  desktop_.AddKey(backend::EventKind::KeyCtrlShiftZ);
  Then([this] { EXPECT_EQ(Page(0).m_strokes.size(), 3u); });
  Run();
}

TEST_F(History, UndoDuringADragEndsTheStrokeAndTakesItBack) {
  Post(BC_PEN);
  desktop_.AddDrag(100, 200, 600, 200, 10);
  desktop_.AddPress(100, 300);
  desktop_.AddMove(300, 300);
  Post(BC_UNDO);
  Then([this] {
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
    EXPECT_EQ(BoardPixel(200, 300), 0x01FFFFFFu) << "its segments are gone with it";
  });
  desktop_.AddMove(500, 300);
  desktop_.AddRelease(500, 300);
  Then([this] {
    EXPECT_EQ(BoardPixel(400, 300), 0x01FFFFFFu);
    EXPECT_EQ(Page(0).m_strokes.size(), 1u);
  });
  Post(BC_REDO);
  Then([this] {
    ASSERT_EQ(Page(0).m_strokes.size(), 2u);
    EXPECT_EQ(BoardPixel(200, 300), 0xFF000000u);
  });
  Run();
}

}  // namespace
}  // namespace plumet::test
