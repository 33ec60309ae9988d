#include "bench/export_page.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <utility>

#include "export/page_picture.h"

namespace {

constexpr double kInkShare = 0.05;
constexpr int kPointsPerStroke = 60;
constexpr int kStrokesPerRound = 8;

// A word's worth of writing: short steps with smooth turns, mostly thin pens.
void AddStroke(CQarelPage& page, std::mt19937& random, int width, int height) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::normal_distribution<double> turn(0.0, 0.35);
  const float widths[] = {3, 3, 5, 10};
  const COLORREF colours[] = {RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 128, 0)};
  auto* stroke = new CQarelObject;
  stroke->m_fWidth = widths[random() % 4];
  stroke->m_crColor = colours[random() % 4];
  double x = 40 + unit(random) * (width - 80);
  double y = 40 + unit(random) * (height - 80);
  double heading = unit(random) * 6.283;
  for (int i = 0; i < kPointsPerStroke; ++i) {
    stroke->AddPoint(static_cast<int>(x), static_cast<int>(y), false);
    heading += turn(random);
    x = std::clamp(x + 5 * std::cos(heading), 0.0, width - 1.0);
    y = std::clamp(y + 5 * std::sin(heading), 0.0, height - 1.0);
  }
  page.m_strokes.push_back(stroke);
}

double InkShare(const plumet::gfx::Surface& surface) {
  long ink = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* row = surface.Row(y);
    ink += std::count_if(row, row + surface.Width(), [](std::uint32_t p) { return (p >> 24) != 0; });
  }
  return static_cast<double>(ink) / (static_cast<double>(surface.Width()) * surface.Height());
}

// Adds strokes until the rendered page holds the wanted share of ink.
std::unique_ptr<Gdiplus::Bitmap> FillToShare(CQarelPage& page, unsigned seed, int width, int height, double* share) {
  std::mt19937 random(seed);
  for (;;) {
    for (int i = 0; i < kStrokesPerRound; ++i) AddStroke(page, random, width, height);
    std::unique_ptr<Gdiplus::Bitmap> rendered = RenderPage(page, width, height);
    *share = InkShare(*rendered->GetSurface());
    if (*share >= kInkShare) return rendered;
  }
}

}  // namespace

ExportBoard& BoardOfSize(int width, int height) {
  static std::map<std::pair<int, int>, std::unique_ptr<ExportBoard>> boards;
  std::unique_ptr<ExportBoard>& board = boards[{width, height}];
  if (!board) {
    board = std::make_unique<ExportBoard>();
    board->picture = {width, height, board->pages, 0, 1};
    double secondShare = 0;
    board->rendered[0] = FillToShare(board->pages[0], 1, width, height, &board->inkShare);
    board->rendered[1] = FillToShare(board->pages[1], 2, width, height, &secondShare);
  }
  return *board;
}
