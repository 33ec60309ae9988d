// A page turning gestures into strokes for each tool, with a board that
// records what the page asks of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "board_surface.h"
#include "model/qarel_page.h"
#include "xml/xml_document.h"

namespace {

class RecordingBoard : public CQarelBoard {
 public:
  struct Pan {
    int downX, downY, x, y;
    friend bool operator==(const Pan&, const Pan&) = default;
  };
  void PresentBoard(const RECT* dirty) override { presents.push_back(dirty ? std::optional<RECT>(*dirty) : std::nullopt); }
  void PanView(int downX, int downY, int x, int y) override { pans.push_back({downX, downY, x, y}); }
  int GetEraserAlpha() override { return eraserAlpha; }

  std::vector<std::optional<RECT>> presents;  // nullopt: the whole board
  std::vector<Pan> pans;
  int eraserAlpha = 255;
};

class PageTest : public ::testing::Test {
 protected:
  PageTest() : surface(400, 400) { page.m_pBoard = &board; }

  void Drag(std::initializer_list<POINT> path) {
    auto it = path.begin();
    page.BeginStroke(it->x, it->y);
    for (++it; it + 1 < path.end(); ++it) page.ContinueStroke(it->x, it->y, surface.Dc());
    page.EndStroke(it->x, it->y, surface.Dc());
  }

  RecordingBoard board;
  BoardSurface surface;
  CQarelPage page;
};

TEST_F(PageTest, PenStrokeTakesThePageSettings) {
  page.m_nTool = TOOL_PEN;
  page.m_nWidth = 10;
  page.m_crColor = RGB(0, 0, 255);
  ASSERT_TRUE(page.BeginStroke(30, 40));
  ASSERT_NE(page.m_pCurrent, nullptr);
  EXPECT_EQ(page.m_pCurrent->m_nAlpha, 255);
  EXPECT_EQ(page.m_pCurrent->m_crColor, RGB(0, 0, 255));
  EXPECT_EQ(page.m_pCurrent->m_fWidth, 10.0f);
  EXPECT_EQ(page.m_pCurrent->m_bBackground, 0);
  EXPECT_EQ(page.m_pCurrent->m_nCount, 1);
  EXPECT_EQ(page.m_bDrawing, 1);
  EXPECT_EQ(page.m_ptStart, (POINT{30, 40}));
}

TEST_F(PageTest, PenMoveDrawsTheSegmentAndPresentsOnlyItsBounds) {
  page.m_nTool = TOOL_PEN;
  page.m_nWidth = 5;
  page.m_crColor = RGB(0, 0, 255);
  page.BeginStroke(100, 200);
  const auto before = surface.Snapshot();
  page.ContinueStroke(160, 230, surface.Dc());

  EXPECT_EQ(surface.Pixel(130, 215), 0xFF0000FFu);
  ASSERT_EQ(board.presents.size(), 1u);
  ASSERT_TRUE(board.presents[0].has_value());
  const RECT dirty = *board.presents[0];
  // Half the width and a pixel of margin around the ends, no more.
  EXPECT_LE(dirty.left, 100 - 3);
  EXPECT_LE(dirty.top, 200 - 3);
  EXPECT_GE(dirty.right, 160 + 3 + 1);
  EXPECT_GE(dirty.bottom, 230 + 3 + 1);
  EXPECT_GE(dirty.left, 100 - 5);
  EXPECT_LE(dirty.right, 160 + 6);
  const auto after = surface.Snapshot();
  int changed = 0;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      if (after[y * surface.Width() + x] == before[y * surface.Width() + x]) continue;
      ++changed;
      ASSERT_TRUE(x >= dirty.left && x < dirty.right && y >= dirty.top && y < dirty.bottom) << x << "," << y;
    }
  EXPECT_GT(changed, 0);
  EXPECT_EQ(page.m_ptLast, (POINT{160, 230}));
  EXPECT_EQ(page.m_pCurrent->m_nCount, 2);
}

TEST_F(PageTest, PenReleaseAwayFromTheLastPointDrawsTheCurveAndKeepsTheStroke) {
  page.m_nTool = TOOL_PEN;
  page.BeginStroke(50, 50);
  page.ContinueStroke(100, 50, surface.Dc());
  page.EndStroke(150, 50, surface.Dc());
  ASSERT_EQ(page.m_strokes.size(), 1u);
  EXPECT_EQ(page.m_strokes.back()->m_nCount, 3);
  EXPECT_EQ(page.m_pCurrent, nullptr);
  EXPECT_EQ(page.m_bDrawing, 0);
  EXPECT_EQ(surface.Pixel(140, 50), 0xFF000000u);  // only the curve reaches past the last move
  ASSERT_EQ(board.presents.size(), 2u);
  EXPECT_FALSE(board.presents[1].has_value());
}

TEST_F(PageTest, PenReleaseOnTheLastPointAppendsWithoutRedrawing) {
  page.m_nTool = TOOL_PEN;
  page.BeginStroke(50, 50);
  page.ContinueStroke(100, 50, surface.Dc());
  page.EndStroke(100, 50, surface.Dc());
  ASSERT_EQ(page.m_strokes.size(), 1u);
  EXPECT_EQ(page.m_strokes.back()->m_nCount, 2);
  EXPECT_EQ(board.presents.size(), 1u);
}

TEST_F(PageTest, ClickWithoutMovementLeavesADot) {
  page.m_nTool = TOOL_PEN;
  page.m_nWidth = 10;
  Drag({{200, 200}, {200, 200}});
  ASSERT_EQ(page.m_strokes.size(), 1u);
  EXPECT_EQ(page.m_strokes.back()->m_nCount, 2);
  for (auto [x, y] : {std::pair{200, 200}, {196, 200}, {205, 201}, {200, 196}})
    EXPECT_EQ(surface.Pixel(x, y), 0xFF000000u) << x << "," << y;
  EXPECT_EQ(surface.Pixel(200, 210), 0u);
}

TEST_F(PageTest, EraserStrokeTakesTheBackgroundAsColourAndAlpha) {
  page.m_nTool = TOOL_BIGERASER;
  page.m_nWidth = 5;
  page.m_argbBackground = 0xFF006934;
  ASSERT_TRUE(page.BeginStroke(10, 10));
  EXPECT_EQ(page.m_pCurrent->m_bBackground, 1);
  EXPECT_EQ(page.m_pCurrent->m_nAlpha, 255);
  EXPECT_EQ(page.m_pCurrent->m_crColor, RGB(0, 105, 52));
  EXPECT_EQ(page.m_pCurrent->m_fWidth, 32.0f);

  page.EndStroke(10, 10, surface.Dc());
  page.m_argbBackground = 0x01FFFFFF;
  ASSERT_TRUE(page.BeginStroke(10, 10));
  EXPECT_EQ(page.m_pCurrent->m_nAlpha, 1);
  EXPECT_EQ(page.m_pCurrent->m_crColor, RGB(255, 255, 255));
}

TEST_F(PageTest, EraserSegmentCopiesWithTheBoardsEraserAlpha) {
  struct Case {
    bool board;
    int boardAlpha;
    std::uint32_t expected;
  };
  for (Case c : {Case{true, 255, 0xFFFFFFFFu}, Case{true, 1, 0x01FFFFFFu}, Case{true, 0, 0x01FFFFFFu},
                 Case{true, -7, 0x01FFFFFFu}, Case{false, 255, 0x01FFFFFFu}}) {
    surface.Fill(0xFF000000);
    board.eraserAlpha = c.boardAlpha;
    page.m_pBoard = c.board ? &board : nullptr;
    page.m_nTool = TOOL_BIGERASER;
    page.m_argbBackground = 0xFFFFFFFF;
    page.BeginStroke(100, 100);
    page.ContinueStroke(300, 100, surface.Dc());
    EXPECT_EQ(surface.Pixel(200, 100), c.expected) << c.board << " " << c.boardAlpha;
    EXPECT_EQ(surface.Pixel(200, 85), c.expected) << "width 32";
    EXPECT_EQ(surface.Pixel(200, 140), 0xFF000000u);
    page.EndStroke(300, 100, surface.Dc());
  }
}

TEST_F(PageTest, HandPansFromTheButtonDownPositionAndMakesNoStroke) {
  page.m_nTool = TOOL_HAND;
  EXPECT_FALSE(page.BeginStroke(10, 20));
  page.ContinueStroke(15, 25, surface.Dc());
  page.ContinueStroke(40, 60, surface.Dc());
  page.EndStroke(40, 60, surface.Dc());
  EXPECT_EQ(board.pans, (std::vector<RecordingBoard::Pan>{{10, 20, 15, 25}, {10, 20, 40, 60}}));
  EXPECT_TRUE(page.m_strokes.empty());
  EXPECT_TRUE(board.presents.empty());
}

TEST_F(PageTest, NoToolOnlyTracksTheGesture) {
  page.m_nTool = TOOL_NONE;
  EXPECT_FALSE(page.BeginStroke(10, 20));
  EXPECT_EQ(page.m_bDrawing, 1);
  page.ContinueStroke(50, 60, surface.Dc());
  EXPECT_EQ(page.m_ptStart, (POINT{10, 20}));
  EXPECT_EQ(page.m_ptLast, (POINT{50, 60}));
  page.EndStroke(50, 60, surface.Dc());
  EXPECT_EQ(page.m_bDrawing, 0);
  EXPECT_TRUE(page.m_strokes.empty());
  EXPECT_TRUE(board.presents.empty());
  EXPECT_TRUE(board.pans.empty());
  EXPECT_EQ(surface.Pixel(30, 40), 0u);
}

TEST_F(PageTest, MovesWithoutAGestureAreIgnored) {
  page.m_nTool = TOOL_PEN;
  page.ContinueStroke(50, 60, surface.Dc());
  page.EndStroke(50, 60, surface.Dc());
  EXPECT_TRUE(page.m_strokes.empty());
  EXPECT_TRUE(board.presents.empty());
}

TEST_F(PageTest, SecondButtonDownKeepsTheUnfinishedStroke) {
  page.m_nTool = TOOL_PEN;
  page.BeginStroke(10, 10);
  page.ContinueStroke(20, 10, surface.Dc());
  page.ContinueStroke(30, 10, surface.Dc());
  CQarelObject* first = page.m_pCurrent;
  ASSERT_TRUE(page.BeginStroke(100, 100));
  ASSERT_EQ(page.m_strokes.size(), 1u);
  EXPECT_EQ(page.m_strokes.front(), first);
  EXPECT_EQ(first->m_nCount, 3);
  EXPECT_NE(page.m_pCurrent, first);
  EXPECT_EQ(page.m_pCurrent->m_nCount, 1);
  page.EndStroke(110, 100, surface.Dc());
  EXPECT_EQ(page.m_strokes.size(), 2u);
}

TEST_F(PageTest, SecondButtonDownAfterAClickKeepsItAsADot) {
  page.m_nTool = TOOL_PEN;
  page.BeginStroke(10, 10);
  page.m_nTool = TOOL_HAND;
  EXPECT_FALSE(page.BeginStroke(100, 100));
  ASSERT_EQ(page.m_strokes.size(), 1u);
  EXPECT_EQ(page.m_strokes.front()->m_nCount, 2);  // every listed stroke has two points
  EXPECT_EQ(page.m_pCurrent, nullptr);
}

TEST_F(PageTest, FailedPointIsNotDrawnAndTheGestureGoesOn) {
  const auto saved = CQarelObject::s_pfnAllocPoints;
  CQarelObject::s_pfnAllocPoints = [](std::size_t, std::size_t) -> void* { return nullptr; };
  page.m_nTool = TOOL_PEN;
  page.BeginStroke(0, 0);
  for (int i = 1; i < 4095; ++i) page.m_pCurrent->AddPoint(i % 300, 10, false);
  page.ContinueStroke(200, 300, surface.Dc());
  CQarelObject::s_pfnAllocPoints = saved;
  EXPECT_TRUE(board.presents.empty());
  EXPECT_EQ(surface.Pixel(200, 300), 0u);
  EXPECT_EQ(page.m_ptLast, (POINT{200, 300}));
  EXPECT_EQ(page.m_pCurrent->m_nCount, 4095);
}

TEST_F(PageTest, DrawAllPaintsEraserStrokesInTheCurrentBackground) {
  page.m_argbBackground = 0xFFFFFFFF;
  page.m_nTool = TOOL_PEN;
  page.m_nWidth = 10;
  Drag({{50, 100}, {200, 100}, {350, 100}});
  page.m_nTool = TOOL_BIGERASER;
  Drag({{200, 50}, {200, 100}, {200, 150}});

  page.m_argbBackground = 0xFF006934;
  surface.Fill(0xFF006934);
  Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
  page.DrawAll(&graphics);
  EXPECT_EQ(surface.Pixel(100, 100), 0xFF000000u);
  EXPECT_EQ(surface.Pixel(200, 100), 0xFF006934u);  // later strokes cover earlier ones
  EXPECT_EQ(surface.Pixel(200, 60), 0xFF006934u);
  EXPECT_EQ(page.m_strokes.back()->m_argbBackground, 0xFF006934u);
}

TEST_F(PageTest, WriteSvgNeedsStrokesAndStopsAtTheFirstFailure) {
  CXmlDocument doc;
  doc.ParseText(u"<svg/>");
  doc.EnterElement();
  EXPECT_FALSE(page.WriteSvg(doc));

  page.m_nTool = TOOL_PEN;
  Drag({{1, 1}, {2, 2}, {2, 2}});
  Drag({{3, 3}, {4, 4}, {4, 4}});
  EXPECT_TRUE(page.WriteSvg(doc));
  const std::u16string written = doc.text;
  EXPECT_NE(written.find(u"1.000000,1.000000 2.000000,2.000000 "), std::u16string::npos);
  EXPECT_LT(written.find(u"2.000000,2.000000 "), written.find(u"3.000000,3.000000 "));

  page.m_strokes.push_front(new CQarelObject);  // no points: cannot be written
  CXmlDocument other;
  other.ParseText(u"<svg/>");
  other.EnterElement();
  EXPECT_FALSE(page.WriteSvg(other));
  EXPECT_EQ(other.text.find(u"polyline"), std::u16string::npos);

  page.Clear();
  EXPECT_TRUE(page.m_strokes.empty());
  EXPECT_FALSE(page.WriteSvg(doc));
}

TEST_F(PageTest, ClearKeepsTheGestureAndSettings) {
  page.m_nTool = TOOL_PEN;
  Drag({{1, 1}, {2, 2}});
  page.BeginStroke(5, 5);
  page.Clear();
  EXPECT_TRUE(page.m_strokes.empty());
  ASSERT_NE(page.m_pCurrent, nullptr);
  page.EndStroke(6, 6, surface.Dc());
  EXPECT_EQ(page.m_strokes.size(), 1u);
}

// Undo and redo over a mix of strokes and erasures, checked by the very stroke
// objects on the page: an erased page gets the same strokes back, in order.
class PageHistoryTest : public PageTest {
 protected:
  CQarelObject* Stroke(int y) {
    page.m_nTool = TOOL_PEN;
    Drag({{10, y}, {50, y}});
    return page.m_strokes.back();
  }
  std::vector<CQarelObject*> Shown() const { return {page.m_strokes.begin(), page.m_strokes.end()}; }
};

TEST_F(PageHistoryTest, UndoAndRedoWalkStrokesAndErasuresBothWays) {
  CQarelObject* a = Stroke(10);
  CQarelObject* b = Stroke(20);
  page.Erase();
  EXPECT_TRUE(page.m_strokes.empty());
  CQarelObject* c = Stroke(30);

  ASSERT_TRUE(page.Undo());
  EXPECT_TRUE(page.m_strokes.empty());
  ASSERT_TRUE(page.Undo());
  EXPECT_EQ(Shown(), (std::vector{a, b}));
  ASSERT_TRUE(page.Undo());
  EXPECT_EQ(Shown(), (std::vector{a}));
  ASSERT_TRUE(page.Undo());
  EXPECT_FALSE(page.Undo()) << "nothing left to take back";
  EXPECT_TRUE(page.m_strokes.empty());

  ASSERT_TRUE(page.Redo());
  ASSERT_TRUE(page.Redo());
  EXPECT_EQ(Shown(), (std::vector{a, b}));
  ASSERT_TRUE(page.Redo());
  EXPECT_TRUE(page.m_strokes.empty());
  ASSERT_TRUE(page.Redo());
  EXPECT_EQ(Shown(), (std::vector{c}));
  EXPECT_FALSE(page.Redo());
  EXPECT_EQ(Shown(), (std::vector{c}));
}

TEST_F(PageHistoryTest, ANewStepDropsTheRedoSteps) {
  CQarelObject* a = Stroke(10);
  Stroke(20);
  page.Undo();
  CQarelObject* c = Stroke(30);
  EXPECT_FALSE(page.Redo());
  EXPECT_EQ(Shown(), (std::vector{a, c}));

  page.Undo();
  page.Erase();  // an erasure is a new step too
  EXPECT_FALSE(page.Redo());
  page.Undo();
  EXPECT_EQ(Shown(), (std::vector{a}));
}

TEST_F(PageHistoryTest, ErasingAnEmptyPageIsNoStep) {
  CQarelObject* a = Stroke(10);
  page.Undo();
  page.Erase();
  EXPECT_TRUE(page.Redo()) << "the redo step survives";
  EXPECT_EQ(Shown(), (std::vector{a}));
  page.Erase();
  page.Erase();
  ASSERT_TRUE(page.Undo());
  EXPECT_EQ(Shown(), (std::vector{a}));
}

TEST_F(PageHistoryTest, UndoDuringAStrokeKeepsItAndTakesItBack) {
  CQarelObject* a = Stroke(10);
  page.BeginStroke(100, 100);
  page.ContinueStroke(150, 100, surface.Dc());
  CQarelObject* inProgress = page.m_pCurrent;
  ASSERT_TRUE(page.Undo());
  EXPECT_EQ(page.m_pCurrent, nullptr);
  EXPECT_EQ(Shown(), (std::vector{a}));

  // The rest of the gesture draws nothing and its button-up adds no stroke.
  const std::size_t presents = board.presents.size();
  page.ContinueStroke(200, 100, surface.Dc());
  page.EndStroke(200, 100, surface.Dc());
  EXPECT_EQ(board.presents.size(), presents);
  EXPECT_EQ(page.m_bDrawing, 0);

  ASSERT_TRUE(page.Redo());
  EXPECT_EQ(Shown(), (std::vector{a, inProgress}));
  EXPECT_EQ(inProgress->m_nCount, 2);
  EXPECT_EQ(inProgress->Points()[1].X, 150.0f);
}

TEST_F(PageHistoryTest, RedoDuringAStrokeKeepsItAsANewStep) {
  CQarelObject* a = Stroke(10);
  Stroke(20);
  page.Undo();
  page.BeginStroke(100, 100);
  page.ContinueStroke(150, 100, surface.Dc());
  CQarelObject* inProgress = page.m_pCurrent;
  EXPECT_TRUE(page.Redo()) << "the strokes changed: the board must redraw";
  EXPECT_EQ(Shown(), (std::vector{a, inProgress}));
  EXPECT_FALSE(page.Redo());
}

TEST_F(PageHistoryTest, ClearForgetsTheHistoryAndItsStrokes) {
  Stroke(10);
  page.Erase();
  Stroke(20);
  Stroke(30);
  page.Undo();  // one stroke waits for redo, two sit in the erasure
  page.Clear();
  EXPECT_FALSE(page.Undo());
  EXPECT_FALSE(page.Redo());
  EXPECT_TRUE(page.m_strokes.empty());
  // A page destroyed with strokes in its history frees them (the leak check sees it).
  CQarelPage other;
  other.m_nTool = TOOL_PEN;
  other.BeginStroke(1, 1);
  other.EndStroke(2, 2, nullptr);
  other.Erase();
  other.BeginStroke(1, 1);
  other.EndStroke(2, 2, nullptr);
  other.Undo();
}

}  // namespace
