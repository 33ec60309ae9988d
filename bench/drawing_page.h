// The benchmark page: 1,000 pen strokes of 200 points each, random but the
// same on every run, shaped like handwriting (smooth turns, short steps).
#pragma once

#include "model/qarel_page.h"
#include "platform/framework/dc.h"

constexpr int kBenchStrokes = 1000;
constexpr int kBenchPoints = 200;

// Fills the page with the benchmark strokes inside a width x height board.
void FillBenchPage(CQarelPage& page, int width, int height);

// A width x height board surface selected into a memory DC, as the board
// draws into.
class BenchBoardSurface {
 public:
  BenchBoardSurface(int width, int height);
  ~BenchBoardSurface();
  BenchBoardSurface(const BenchBoardSurface&) = delete;
  BenchBoardSurface& operator=(const BenchBoardSurface&) = delete;
  CDC& Dc() { return dc_; }

 private:
  CBitmap bitmap_;
  CDC dc_;
};
