// What a stroke's Draw leaves on a surface: blended, anti-aliased ink for the
// pen; an exact copy of the background, alpha included, for the big eraser.
#include <gtest/gtest.h>

#include <cstdlib>

#include "board_surface.h"
#include "model/qarel_object.h"
#include "platform/framework/win_types.h"

namespace {

class StrokeDraw : public ::testing::Test {
 protected:
  StrokeDraw() : surface(400, 400), graphics(surface.Dc()->GetSafeHdc()) {}

  static void Line(CQarelObject& stroke, int x1, int y1, int x2, int y2) {
    stroke.AddPoint(x1, y1, false);
    stroke.AddPoint(x2, y2, false);
  }

  BoardSurface surface;
  Gdiplus::Graphics graphics;
};

TEST_F(StrokeDraw, ThreePixelLineCoversExactlyThreeRows) {
  CQarelObject stroke;
  Line(stroke, 20, 300, 380, 300);
  stroke.Draw(&graphics);
  for (int x : {30, 100, 370}) {
    EXPECT_EQ(surface.Pixel(x, 298), 0u) << x;
    EXPECT_EQ(surface.Pixel(x, 299), 0xFF000000u) << x;
    EXPECT_EQ(surface.Pixel(x, 300), 0xFF000000u) << x;
    EXPECT_EQ(surface.Pixel(x, 301), 0xFF000000u) << x;
    EXPECT_EQ(surface.Pixel(x, 302), 0u) << x;
  }
}

TEST_F(StrokeDraw, PenBlendsItsAlphaLowByteOverTheBoard) {
  surface.Fill(0xFFFFFFFF);
  CQarelObject stroke;
  stroke.m_crColor = RGB(255, 0, 0);
  stroke.m_nAlpha = 0x100 + 128;  // only the low byte counts
  stroke.m_fWidth = 9;
  Line(stroke, 50, 50, 350, 50);
  stroke.Draw(&graphics);
  const std::uint32_t centre = surface.Pixel(200, 50);
  EXPECT_EQ(Alpha(centre), 255);
  EXPECT_EQ(Red(centre), 255);
  EXPECT_NEAR(Green(centre), 127, 2);
  EXPECT_NEAR(Blue(centre), 127, 2);
  EXPECT_EQ(surface.Pixel(200, 70), 0xFFFFFFFFu);
}

TEST_F(StrokeDraw, PenIsAntiAliasedAlongASlantedEdge) {
  surface.Fill(0xFFFFFFFF);
  CQarelObject stroke;
  stroke.m_fWidth = 5;
  Line(stroke, 20, 20, 380, 157);
  stroke.Draw(&graphics);
  int partial = 0;
  for (int x = 30; x < 370; ++x)
    for (int y = 0; y < 200; ++y) {
      const int g = Green(surface.Pixel(x, y));
      if (g > 0 && g < 255) ++partial;
    }
  EXPECT_GT(partial, 340);  // at least one grey pixel per column along the edges
}

TEST_F(StrokeDraw, PenCurvePassesThroughEveryPoint) {
  CQarelObject stroke;
  stroke.m_fWidth = 5;
  stroke.AddPoint(50, 200, false);
  stroke.AddPoint(150, 80, false);
  stroke.AddPoint(250, 320, false);
  stroke.AddPoint(350, 200, true);
  stroke.Draw(&graphics);
  for (auto [x, y] : {std::pair{50, 200}, {150, 80}, {250, 320}, {350, 200}})
    EXPECT_EQ(surface.Pixel(x, y), 0xFF000000u) << x << "," << y;
  EXPECT_EQ(surface.Pixel(200, 320), 0u);  // a straight polyline would not pass here either
}

TEST_F(StrokeDraw, BackgroundStrokeCopiesTheBackgroundAlphaIncluded) {
  for (Gdiplus::ARGB background : {0x01FFFFFFu, 0xFF006934u, 0xFFFFFFFFu}) {
    surface.Fill(0xFF102030);
    CQarelObject ink;
    ink.m_fWidth = 15;
    Line(ink, 100, 100, 300, 300);
    ink.Draw(&graphics);

    CQarelObject eraser;
    eraser.m_bBackground = 1;
    eraser.m_fWidth = 32;
    eraser.m_argbBackground = background;
    Line(eraser, 100, 100, 300, 300);
    eraser.Draw(&graphics);
    for (int i = 100; i <= 300; i += 20) EXPECT_EQ(surface.Pixel(i, i), background) << std::hex << background;
    // No anti-aliasing: every pixel is either the background or as it was.
    int touched = 0;
    for (int y = 60; y < 340; ++y)
      for (int x = 60; x < 340; ++x) {
        const std::uint32_t p = surface.Pixel(x, y);
        touched += p == background;
        ASSERT_TRUE(p == background || p == 0xFF102030u) << x << "," << y << ": " << std::hex << p;
      }
    EXPECT_GT(touched, 200 * 32);
  }
}

TEST_F(StrokeDraw, SetsItsOwnModesWhateverTheGraphicsHad) {
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
  CQarelObject pen;
  Line(pen, 0, 0, 10, 10);
  pen.Draw(&graphics);
  EXPECT_EQ(graphics.GetCompositingMode(), Gdiplus::CompositingModeSourceOver);
  EXPECT_EQ(graphics.GetSmoothingMode(), Gdiplus::SmoothingModeHighQuality);

  CQarelObject eraser;
  eraser.m_bBackground = 1;
  Line(eraser, 0, 0, 10, 10);
  eraser.Draw(&graphics);
  EXPECT_EQ(graphics.GetCompositingMode(), Gdiplus::CompositingModeSourceCopy);
  EXPECT_EQ(graphics.GetSmoothingMode(), Gdiplus::SmoothingModeNone);
}

TEST_F(StrokeDraw, GrownStrokeDrawsFromItsGrownArray) {
  CQarelObject stroke;
  // Back and forth along one row: the last points lie beyond the inline buffer.
  for (int i = 0; i < 5000; ++i) stroke.AddPoint(10 + i % 100, 100, false);
  stroke.AddPoint(390, 100, false);
  ASSERT_NE(stroke.m_pPoints, nullptr);
  stroke.Draw(&graphics);
  EXPECT_EQ(surface.Pixel(380, 100), 0xFF000000u);
}

}  // namespace
