#include "tests/export/test_board.h"

namespace export_test {
namespace {

CQarelObject* StrokeThrough(const std::vector<std::pair<int, int>>& points) {
  // Every point as a move: a button-up would bend a two-point stroke into a dot.
  auto* stroke = new CQarelObject;
  for (const auto& [x, y] : points) stroke->AddPoint(x, y, false);
  return stroke;
}

}  // namespace

TestBoard::TestBoard(int width, int height, int backMode) {
  picture_.width = width;
  picture_.height = height;
  picture_.pages = pages_;
  picture_.backMode = backMode;
}

void TestBoard::AddPenStroke(int page, COLORREF color, float width, const std::vector<std::pair<int, int>>& points) {
  CQarelObject* stroke = StrokeThrough(points);
  stroke->m_crColor = color;
  stroke->m_fWidth = width;
  pages_[page].m_strokes.push_back(stroke);
}

void TestBoard::AddWhiteEraserStroke(int page, const std::vector<std::pair<int, int>>& points) {
  CQarelObject* stroke = StrokeThrough(points);
  stroke->m_bBackground = 1;
  stroke->m_crColor = 0x00FFFFFF;
  stroke->m_fWidth = CQarelPage::kEraserWidth;
  pages_[page].m_argbBackground = ARGB_WHITEBOARD;
  pages_[page].m_strokes.push_back(stroke);
}

}  // namespace export_test
