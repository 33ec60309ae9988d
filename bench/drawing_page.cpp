#include "bench/drawing_page.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/framework/dib_surface.h"

void FillBenchPage(CQarelPage& page, int width, int height) {
  std::mt19937 random(20240607);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::normal_distribution<double> turn(0.0, 0.3);
  const int widths[] = {3, 5, 10, 15};
  const COLORREF colours[] = {RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0)};
  page.m_nTool = TOOL_PEN;
  for (int s = 0; s < kBenchStrokes; ++s) {
    page.m_nWidth = widths[s % 4];
    page.m_crColor = colours[(s / 4) % 4];
    double x = 40 + unit(random) * (width - 80);
    double y = 40 + unit(random) * (height - 80);
    double heading = unit(random) * 6.283;
    page.BeginStroke(static_cast<int>(x), static_cast<int>(y));
    for (int i = 1; i < kBenchPoints; ++i) {
      heading += turn(random);
      x = std::clamp(x + 6 * std::cos(heading), 0.0, width - 1.0);
      y = std::clamp(y + 6 * std::sin(heading), 0.0, height - 1.0);
      page.m_pCurrent->AddPoint(static_cast<int>(x), static_cast<int>(y), false);
    }
    // No surface: the stroke is kept without being drawn.
    const Gdiplus::PointF last = page.m_pCurrent->Points()[kBenchPoints - 1];
    page.EndStroke(static_cast<int>(last.X), static_cast<int>(last.Y), nullptr);
  }
}

BenchBoardSurface::BenchBoardSurface(int width, int height) {
  dc_.CreateCompatibleDC(nullptr);
  CreateDibSurface(nullptr, &bitmap_, width, height);
  dc_.SelectObject(&bitmap_);
}

BenchBoardSurface::~BenchBoardSurface() { dc_.DeleteDC(); }
