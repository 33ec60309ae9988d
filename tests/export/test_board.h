// A board picture with two pages whose strokes the test places itself.
#pragma once

#include <vector>
#include <utility>

#include "export/board_picture.h"
#include "model/board_modes.h"
#include "model/qarel_page.h"

namespace export_test {

class TestBoard {
 public:
  TestBoard(int width, int height, int backMode = BM_TRANSPARENT);
  // A pen stroke through the points, in the colour reference and width given.
  void AddPenStroke(int page, COLORREF color, float width, const std::vector<std::pair<int, int>>& points);
  // A big-eraser stroke painting the page's background, as made on the white board.
  void AddWhiteEraserStroke(int page, const std::vector<std::pair<int, int>>& points);
  void SetCurrentPage(int page) { picture_.currentPage = page; }
  const BoardPicture& Picture() const { return picture_; }
  CQarelPage& Page(int page) { return pages_[page]; }

 private:
  CQarelPage pages_[2];
  BoardPicture picture_;
};

}  // namespace export_test
