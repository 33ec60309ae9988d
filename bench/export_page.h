// The export benchmark's board: two pages of handwriting-like pen strokes
// covering about 5 % of the board with ink, the same on every run.
#pragma once

#include <memory>

#include "export/board_picture.h"
#include "model/qarel_page.h"
#include "platform/graphics/gdiplus.h"

struct ExportBoard {
  CQarelPage pages[2];
  BoardPicture picture;
  std::unique_ptr<Gdiplus::Bitmap> rendered[2];  // the pages as the exports draw them
  double inkShare = 0;                           // of page 0's pixels, not fully transparent
};

// Built once per size and kept for the whole run.
ExportBoard& BoardOfSize(int width, int height);
