// A full redraw of the benchmark page at 1920 x 1080 through the page's
// DrawAll, and the same strokes stroked with plain cairo as the anchor.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include "bench/drawing_page.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_RedrawPage(benchmark::State& state) {
  CQarelPage page;
  FillBenchPage(page, kWidth, kHeight);
  BenchBoardSurface surface(kWidth, kHeight);
  CDC& dc = surface.Dc();
  for (auto _ : state) {
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    page.DrawAll(&graphics);
  }
}

// The page as a cairo user would stroke it: one cardinal spline path per
// stroke at cairo's default tolerance, round caps and joins, anti-aliased.
void BM_RedrawPlainCairo(benchmark::State& state) {
  CQarelPage page;
  FillBenchPage(page, kWidth, kHeight);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 0.5, 0.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (auto _ : state) {
    for (const CQarelObject* stroke : page.m_strokes) {
      const Gdiplus::PointF* p = stroke->Points();
      const int n = stroke->m_nCount;
      cairo_set_source_rgba(cr, GetRValue(stroke->m_crColor) / 255.0, GetGValue(stroke->m_crColor) / 255.0,
                            GetBValue(stroke->m_crColor) / 255.0, 1.0);
      cairo_set_line_width(cr, stroke->m_fWidth);
      cairo_move_to(cr, p[0].X, p[0].Y);
      for (int i = 0; i + 1 < n; ++i) {
        const Gdiplus::PointF& p0 = p[i == 0 ? 0 : i - 1];
        const Gdiplus::PointF& p3 = p[i + 2 < n ? i + 2 : n - 1];
        constexpr double k = 0.5 / 3.0;
        cairo_curve_to(cr, p[i].X + k * (p[i + 1].X - p0.X), p[i].Y + k * (p[i + 1].Y - p0.Y),
                       p[i + 1].X - k * (p3.X - p[i].X), p[i + 1].Y - k * (p3.Y - p[i].Y), p[i + 1].X, p[i + 1].Y);
      }
      cairo_stroke(cr);
    }
    cairo_surface_flush(surface);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// Process CPU time: the page redraw runs on two threads.
BENCHMARK(BM_RedrawPage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RedrawPlainCairo)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
