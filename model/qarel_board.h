// What a page asks of the board that owns it while the user draws.
#pragma once

#include "platform/framework/win_types.h"

class CQarelBoard {
 public:
  virtual ~CQarelBoard() = default;
  // Puts the board on screen; dirty: only this part changed (nullptr: all of it).
  virtual void PresentBoard(const RECT* dirty = nullptr) = 0;
  // Moves the magnified view by a drag from (downX, downY) to (x, y).
  virtual void PanView(int downX, int downY, int x, int y) = 0;
  // Alpha of the big eraser's live segments: 1 on the see-through board, 255 on the opaque boards, else 0.
  virtual int GetEraserAlpha() = 0;
};
