// One pointer move while drawing: the page adds the point, draws the segment
// into a board-sized surface and presents, into a board that does nothing.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/drawing_page.h"

namespace {

class IdleBoard : public CQarelBoard {
 public:
  void PresentBoard(const RECT* dirty) override { benchmark::DoNotOptimize(dirty); }
  void PanView(int, int, int, int) override {}
  int GetEraserAlpha() override { return 255; }
};

// Args: board width, height, tool, pen width.
void BM_PointerMove(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  BenchBoardSurface surface(width, height);
  CDC& dc = surface.Dc();
  IdleBoard board;
  {
    CQarelPage page;
    page.m_pBoard = &board;
    page.m_nTool = static_cast<int>(state.range(2));
    page.m_nWidth = static_cast<int>(state.range(3));
    page.m_argbBackground = 0xFFFFFFFF;
    // Around a circle about the board's middle in moves of about 6 pixels.
    const double radius = 0.4 * height;
    const double step = 6 / radius;
    const auto x = [&](int i) { return width / 2 + static_cast<int>(radius * std::cos(i * step)); };
    const auto y = [&](int i) { return height / 2 + static_cast<int>(radius * std::sin(i * step)); };
    int i = 0;
    page.BeginStroke(x(0), y(0));
    for (auto _ : state) {
      ++i;
      page.ContinueStroke(x(i), y(i), &dc);
      // Stay on the inline buffer, as nearly every real stroke does.
      if (page.m_pCurrent->m_nCount == 4000) {
        state.PauseTiming();
        page.EndStroke(x(i), y(i), nullptr);
        page.Clear();
        page.BeginStroke(x(i), y(i));
        state.ResumeTiming();
      }
    }
  }
}

BENCHMARK(BM_PointerMove)
    ->ArgNames({"w", "h", "tool", "pen"})
    ->Args({1920, 1080, TOOL_PEN, 3})
    ->Args({1920, 1080, TOOL_PEN, 15})
    ->Args({1920, 1080, TOOL_BIGERASER, 32})
    ->Args({3840, 2160, TOOL_PEN, 3})
    ->Args({3840, 2160, TOOL_PEN, 15})
    ->Args({3840, 2160, TOOL_BIGERASER, 32});

}  // namespace
