// The drawing that strokes rest on: lines and curves of round pens cover
// exactly the pixels within half the pen width of the path (anti-aliased
// over the pixel around the edge), and drawing in two bands at once gives
// the same picture as drawing on one thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

#include "board_surface.h"
#include "model/round_pen.h"
#include "platform/graphics/stroke_raster.h"
#include "platform/graphics/surface.h"

namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

struct Segment {
  int x1, y1, x2, y2;
  float width;
};

class RoundLine : public ::testing::TestWithParam<Segment> {};

TEST_P(RoundLine, AntiAliasedCoverageFollowsTheDistance) {
  const Segment s = GetParam();
  BoardSurface surface(120, 100);
  Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  const Gdiplus::Pen pen = MakeRoundPen(0xFF000000, s.width);
  graphics.DrawLine(&pen, s.x1, s.y1, s.x2, s.y2);
  const double half = s.width / 2.0;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const double d = SegmentDistance(x, y, s.x1, s.y1, s.x2, s.y2);
      const int alpha = Alpha(surface.Pixel(x, y));
      if (d <= half - 0.5)
        ASSERT_EQ(alpha, 255) << x << "," << y << " d=" << d;
      else if (d >= half + 0.5)
        ASSERT_EQ(alpha, 0) << x << "," << y << " d=" << d;
      else
        ASSERT_NEAR(alpha, (half + 0.5 - d) * 255, 1.5) << x << "," << y << " d=" << d;
    }
}

TEST_P(RoundLine, WithoutSmoothingPaintsPixelsWhoseCentreIsWithinThePen) {
  const Segment s = GetParam();
  BoardSurface surface(120, 100);
  surface.Fill(0xFF102030);
  Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  const Gdiplus::Pen pen = MakeRoundPen(0x01FFFFFF, s.width);
  graphics.DrawLine(&pen, s.x1, s.y1, s.x2, s.y2);
  const double half = s.width / 2.0;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      const double d = SegmentDistance(x, y, s.x1, s.y1, s.x2, s.y2);
      if (std::abs(d - half) < 1e-9) continue;  // on the edge either way is right
      ASSERT_EQ(surface.Pixel(x, y), d < half ? 0x01FFFFFFu : 0xFF102030u) << x << "," << y << " d=" << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, RoundLine,
                         ::testing::Values(Segment{10, 50, 110, 50, 3}, Segment{60, 5, 60, 95, 5},
                                           Segment{10, 10, 100, 90, 10}, Segment{100, 20, 15, 70, 15},
                                           Segment{60, 50, 60, 50, 15}, Segment{61, 50, 60, 51, 3},
                                           Segment{-30, 40, 200, 60, 32}, Segment{20, 90, 90, 130, 8}));

TEST(RoundLine, StaysInsideTheClip) {
  auto surface = plumet::gfx::Surface::Create(100, 100);
  ASSERT_TRUE(surface);
  Gdiplus::DrawTarget target{surface.get(), 0, 0, {20, 30, 70, 60}};
  Gdiplus::Graphics graphics(target);
  const Gdiplus::Pen pen = MakeRoundPen(0xFF000000, 15);
  graphics.DrawLine(&pen, 0, 0, 99, 99);
  int inked = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const bool inside = x >= 20 && x < 70 && y >= 30 && y < 60;
      if (surface->Pixel(x, y) == 0) continue;
      ++inked;
      ASSERT_TRUE(inside) << x << "," << y;
    }
  EXPECT_GT(inked, 30 * 15);
}

// Pieces meeting at sharp and slight turns, doubling back, one of no length:
// each pixel is covered by its distance to the nearest piece, wherever the
// pieces overlap and whichever of them comes first.
TEST(RoundPolyline, CoverageFollowsTheDistanceToTheNearestPiece) {
  const std::vector<plumet::gfx::PointD> path = {{20, 20},   {60, 24},  {30, 50}, {30.5, 51.25}, {30.5, 51.25},
                                                 {100, 60}, {40, 62.5}, {95, 90}, {96, 88}};
  for (const double width : {1.5, 4.0, 15.0}) {
    auto surface = plumet::gfx::Surface::Create(120, 100);
    ASSERT_TRUE(surface);
    plumet::gfx::RasterizeStroke(*surface, {}, path.data(), static_cast<int>(path.size()),
                                 {width, 0xFF000000, plumet::gfx::StrokeBlend::Over, true});
    const double half = width / 2;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 120; ++x) {
        double d = 1e9;
        for (std::size_t i = 0; i + 1 < path.size(); ++i)
          d = std::min(d, SegmentDistance(x, y, path[i].x, path[i].y, path[i + 1].x, path[i + 1].y));
        const int alpha = Alpha(surface->Pixel(x, y));
        if (d <= half - 0.5)
          ASSERT_EQ(alpha, 255) << x << "," << y << " width " << width;
        else if (d >= half + 0.5)
          ASSERT_EQ(alpha, 0) << x << "," << y << " width " << width;
        else
          ASSERT_NEAR(alpha, (half + 0.5 - d) * 255, 1.5) << x << "," << y << " width " << width;
      }
  }
}

TEST(RoundCurve, TwoPointsDrawTheStraightLine) {
  BoardSurface line(100, 60);
  BoardSurface curve(100, 60);
  Gdiplus::Graphics onLine(line.Dc()->GetSafeHdc());
  Gdiplus::Graphics onCurve(curve.Dc()->GetSafeHdc());
  onLine.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  onCurve.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  const Gdiplus::Pen pen = MakeRoundPen(0xFF0000FF, 5);
  onLine.DrawLine(&pen, 10, 20, 90, 45);
  const Gdiplus::PointF points[] = {{10, 20}, {90, 45}};
  onCurve.DrawCurve(&pen, points, 2);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_NEAR(Alpha(line.Pixel(x, y)), Alpha(curve.Pixel(x, y)), 2) << x << "," << y;
}

// The cardinal spline of tension 0.5 sampled densely: each piece is the
// Bezier with control points a sixth of the neighbours' chord away.
std::vector<Gdiplus::PointF> DenseSpline(const std::vector<Gdiplus::PointF>& p) {
  std::vector<Gdiplus::PointF> dense;
  const int n = static_cast<int>(p.size());
  for (int i = 0; i + 1 < n; ++i) {
    const auto& p0 = p[std::max(i - 1, 0)];
    const auto& p3 = p[std::min(i + 2, n - 1)];
    const Gdiplus::PointF b0 = p[i], b3 = p[i + 1];
    const Gdiplus::PointF b1{b0.X + (b3.X - p0.X) / 6, b0.Y + (b3.Y - p0.Y) / 6};
    const Gdiplus::PointF b2{b3.X - (p3.X - b0.X) / 6, b3.Y - (p3.Y - b0.Y) / 6};
    for (int k = 0; k <= 400; ++k) {
      const float t = static_cast<float>(k) / 400, u = 1 - t;
      dense.push_back({u * u * u * b0.X + 3 * u * u * t * b1.X + 3 * u * t * t * b2.X + t * t * t * b3.X,
                       u * u * u * b0.Y + 3 * u * u * t * b1.Y + 3 * u * t * t * b2.Y + t * t * t * b3.Y});
    }
  }
  return dense;
}

// Gently turning strokes are drawn as few long pieces: the picture must still
// follow the curve itself to within a fraction of a pixel.
TEST(RoundCurve, CoverageFollowsTheTrueCurve) {
  std::vector<Gdiplus::PointF> points;
  for (int i = 0; i < 40; ++i) {
    const double a = i * 0.2;
    points.push_back({static_cast<float>(120 + 80 * std::cos(a) + 3 * i), static_cast<float>(100 + 60 * std::sin(a))});
  }
  const std::vector<Gdiplus::PointF> dense = DenseSpline(points);
  for (const float width : {3.0f, 15.0f}) {
    BoardSurface surface(320, 200);
    Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    const Gdiplus::Pen pen = MakeRoundPen(0xFF000000, width);
    graphics.DrawCurve(&pen, points.data(), static_cast<int>(points.size()));
    const double half = width / 2.0;
    // Distance of every pixel near the curve, piece by dense piece.
    std::vector<double> distance(320 * 200, 1e9);
    const int reach = static_cast<int>(half) + 3;
    for (std::size_t i = 0; i + 1 < dense.size(); ++i) {
      const int cx = static_cast<int>(dense[i].X), cy = static_cast<int>(dense[i].Y);
      for (int y = std::max(cy - reach, 0); y <= std::min(cy + reach, 199); ++y)
        for (int x = std::max(cx - reach, 0); x <= std::min(cx + reach, 319); ++x) {
          double& d = distance[static_cast<std::size_t>(y) * 320 + x];
          d = std::min(d, SegmentDistance(x, y, dense[i].X, dense[i].Y, dense[i + 1].X, dense[i + 1].Y));
        }
    }
    // A quarter pixel for the straight pieces, a little for the dense reference.
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 320; ++x) {
        const double d = distance[static_cast<std::size_t>(y) * 320 + x];
        const int alpha = Alpha(surface.Pixel(x, y));
        if (d <= half - 0.8) {
          ASSERT_EQ(alpha, 255) << x << "," << y << " width " << width;
        } else if (d >= half + 0.8) {
          ASSERT_EQ(alpha, 0) << x << "," << y << " width " << width;
        }
      }
  }
}

TEST(FlatCurve, EndsFlatAtItsLastPoint) {
  BoardSurface surface(100, 60);
  Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
  const Gdiplus::Pen pen(0xFF000000, 9);  // flat caps: the general stroker
  const Gdiplus::PointF points[] = {{10, 30}, {50, 30}, {80, 30}};
  EXPECT_EQ(graphics.DrawCurve(&pen, points, 3), Gdiplus::Ok);
  EXPECT_EQ(surface.Pixel(50, 33), 0xFF000000u);
  EXPECT_EQ(surface.Pixel(83, 30), 0u);  // a round cap would reach here
}

// Strokes crossing the middle row, drawn over one another in several colours.
void DrawCrossingStrokes(Gdiplus::Graphics& graphics) {
  const Gdiplus::ARGB colours[] = {0xFF000000, 0xFF0000FF, 0x80FF0000, 0xFF008000};
  for (int i = 0; i < 40; ++i) {
    const float f = static_cast<float>(i);
    const Gdiplus::PointF points[] = {
        {5 + 7 * f, 10}, {30 + 5 * f, 95 + static_cast<float>(i % 7)}, {200 - 3 * f, 101}, {150 + 2 * f, 190}};
    const Gdiplus::Pen pen = MakeRoundPen(colours[i % 4], 3.0f + static_cast<float>(i % 4) * 4);
    graphics.SetSmoothingMode(i % 5 == 4 ? Gdiplus::SmoothingModeNone : Gdiplus::SmoothingModeHighQuality);
    graphics.SetCompositingMode(i % 5 == 4 ? Gdiplus::CompositingModeSourceCopy : Gdiplus::CompositingModeSourceOver);
    graphics.DrawCurve(&pen, points, 4);
  }
}

TEST(DrawInBands, GivesTheSamePictureAsOneThread) {
  BoardSurface single(320, 200);
  BoardSurface banded(320, 200);
  single.Fill(0xFFFFFFFF);
  banded.Fill(0xFFFFFFFF);
  Gdiplus::Graphics onSingle(single.Dc()->GetSafeHdc());
  DrawCrossingStrokes(onSingle);
  Gdiplus::Graphics onBanded(banded.Dc()->GetSafeHdc());
  onBanded.DrawInBands([](Gdiplus::Graphics& band) { DrawCrossingStrokes(band); });
  EXPECT_EQ(single.Snapshot(), banded.Snapshot());
  EXPECT_EQ(onBanded.GetSmoothingMode(), onSingle.GetSmoothingMode());
  EXPECT_EQ(onBanded.GetCompositingMode(), onSingle.GetCompositingMode());
}

// Each band skips the strokes it cannot see; ink that reaches across the
// middle from points all in the other half must still be drawn by both.
TEST(DrawInBands, DrawsInkThatReachesAcrossTheMiddle) {
  const auto draw = [](Gdiplus::Graphics& graphics) {
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    // Points below the middle (row 100): a wide pen along y = 104 inks row 99.
    const Gdiplus::Pen wide = MakeRoundPen(0xFF0000FF, 11);
    const Gdiplus::PointF level[] = {{20, 104}, {90, 104}, {150, 104}};
    graphics.DrawCurve(&wide, level, 3);
    // The curve overshoots its points: between the two middle ones it rises
    // to about y = 97.25, farther from them than the pen reaches.
    const Gdiplus::Pen thin = MakeRoundPen(0xFF000000, 2);
    const Gdiplus::PointF overshoot[] = {{20, 140}, {30, 102}, {170, 102}, {180, 140}};
    graphics.DrawCurve(&thin, overshoot, 4);
    // The same from above, down to about y = 101.6.
    const Gdiplus::PointF fromAbove[] = {{20, 60}, {30, 97}, {170, 97}, {180, 60}};
    graphics.DrawCurve(&thin, fromAbove, 4);
    // Far from the middle: seen by one band only.
    graphics.DrawCurve(&wide, std::vector<Gdiplus::PointF>{{10, 180}, {190, 185}}.data(), 2);
  };
  BoardSurface single(200, 200);
  BoardSurface banded(200, 200);
  Gdiplus::Graphics onSingle(single.Dc()->GetSafeHdc());
  draw(onSingle);
  Gdiplus::Graphics onBanded(banded.Dc()->GetSafeHdc());
  onBanded.DrawInBands(draw);
  EXPECT_EQ(single.Snapshot(), banded.Snapshot());
  EXPECT_EQ(Alpha(banded.Pixel(120, 99)), 255);  // the wide pen
  EXPECT_GT(Alpha(banded.Pixel(100, 97)), 0);    // the overshoot
  EXPECT_GT(Alpha(banded.Pixel(100, 102)), 0);   // the overshoot from above
  EXPECT_EQ(Alpha(banded.Pixel(100, 183)), 255);
}

TEST(DrawInBands, RefusesWhatIsNotARoundStroke) {
  BoardSurface surface(100, 100);
  Gdiplus::Graphics graphics(surface.Dc()->GetSafeHdc());
  std::vector<Gdiplus::Status> results;
  graphics.DrawInBands([&](Gdiplus::Graphics& band) {
    const Gdiplus::SolidBrush brush(0xFF000000);
    const Gdiplus::Pen square(0xFF000000, 3);
    const Gdiplus::Status fill = band.FillRectangle(&brush, 0, 0, 100, 100);
    const Gdiplus::Status line = band.DrawLine(&square, 0, 0, 99, 99);
    static std::mutex lock;
    const std::lock_guard<std::mutex> hold(lock);
    results.push_back(fill);
    results.push_back(line);
  });
  EXPECT_EQ(results, (std::vector<Gdiplus::Status>(4, Gdiplus::WrongState)));
  EXPECT_EQ(surface.Pixel(50, 50), 0u);
}

}  // namespace
