// Undo and redo on the benchmark page at 1920 x 1080, each followed by the
// full redraw the board then does; the heap a long history takes, and the
// heap a kept stroke takes by its number of points.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstddef>
#include <memory>

#include "bench/drawing_page.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSteps = 10000;

// One iteration takes the newest stroke back, the next puts it again; each
// then fills the background and draws the page, as the board's redraw does.
void BM_UndoOrRedoWithRedraw(benchmark::State& state) {
  CQarelPage page;
  FillBenchPage(page, kWidth, kHeight);
  BenchBoardSurface surface(kWidth, kHeight);
  CDC& dc = surface.Dc();
  const Gdiplus::SolidBrush background(0x01FFFFFF);
  bool undo = true;
  for (auto _ : state) {
    if (!(undo ? page.Undo() : page.Redo())) state.SkipWithError("no step to take");
    undo = !undo;
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics.FillRectangle(&background, 0, 0, kWidth, kHeight);
    page.DrawAll(&graphics);
  }
}

// The step alone, without the redraw.
void BM_UndoOrRedoOnly(benchmark::State& state) {
  CQarelPage page;
  FillBenchPage(page, kWidth, kHeight);
  bool undo = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo ? page.Undo() : page.Redo());
    undo = !undo;
  }
}

// Bytes in use on the heap, by glibc's count (arena and mapped blocks).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// 10,000 two-point pen strokes, each one step; then erasing them all (one
// step), and taking all 10,001 steps back. Counters in bytes.
void BM_HistoryHeapOf10000Steps(benchmark::State& state) {
  for (auto _ : state) {
    auto page = std::make_unique<CQarelPage>();
    page->m_nTool = TOOL_PEN;
    const std::size_t empty = HeapInUse();
    for (int i = 0; i < kSteps; ++i) {
      page->BeginStroke(i % 500, 10);
      page->EndStroke(i % 500 + 5, 20, nullptr);
    }
    const std::size_t drawn = HeapInUse();
    page->Erase();
    const std::size_t erased = HeapInUse();
    while (page->Undo()) {
    }
    const std::size_t undone = HeapInUse();
    state.counters["stroke_object"] = sizeof(CQarelObject);
    state.counters["per_stroke_step"] = static_cast<double>(drawn - empty) / kSteps;
    state.counters["beyond_stroke_per_step"] = static_cast<double>(drawn - empty) / kSteps - sizeof(CQarelObject);
    state.counters["erase_step"] = static_cast<double>(erased) - static_cast<double>(drawn);
    state.counters["all_undone_growth"] = static_cast<double>(undone) - static_cast<double>(erased);
  }
}

// Heap in use per kept pen stroke of state.range(0) points, made as a drag
// makes it (button-down, moves, button-up). Counters in bytes.
void BM_HeapPerStroke(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const int strokes = points > 1000 ? 200 : 2000;
  for (auto _ : state) {
    auto page = std::make_unique<CQarelPage>();
    page->m_nTool = TOOL_PEN;
    const std::size_t empty = HeapInUse();
    for (int s = 0; s < strokes; ++s) {
      page->BeginStroke(0, s % 1000);
      for (int i = 1; i < points - 1; ++i) page->ContinueStroke(i % 1900, s % 1000, nullptr);
      page->EndStroke(1900, s % 1000 + 1, nullptr);
    }
    const std::size_t kept = HeapInUse();
    const double perStroke = static_cast<double>(kept - empty) / strokes;
    state.counters["per_stroke"] = perStroke;
    state.counters["points_bytes"] = static_cast<double>(points) * sizeof(Gdiplus::PointF);
    state.counters["ratio_to_points"] = perStroke / (static_cast<double>(points) * sizeof(Gdiplus::PointF));
  }
}

BENCHMARK(BM_UndoOrRedoWithRedraw)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_UndoOrRedoOnly)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_HistoryHeapOf10000Steps)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeapPerStroke)->Arg(20)->Arg(200)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
