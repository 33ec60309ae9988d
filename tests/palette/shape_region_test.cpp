// The palette outline built from a bitmap: which pixels it keeps, for the
// built-in shape and for made-up bitmaps around the tolerance edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "palette/toolbar_dlg.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) static_cast<std::uint32_t*>(bits)[y * width + x] = ArgbFromColorRef(0xFF, colour(x, y));
  return bitmap;
}

// Builds the region and checks that it covers exactly once each pixel that
// kept(x, y) names, and nothing else; returns its number of rectangles.
std::size_t ExpectRegion(HBITMAP bitmap, COLORREF key, COLORREF tolerance, int width, int height,
                         const std::function<bool(int, int)>& kept) {
  HRGN region = CToolbarDlg::BuildShapeRegion(bitmap, key, tolerance);
  EXPECT_NE(region, nullptr);
  std::vector<int> hits(static_cast<std::size_t>(width * height), 0);
  const std::vector<RECT> rects = GetRegionRects(region);
  for (const RECT& r : rects)
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        EXPECT_TRUE(inside) << x << "," << y;
        if (inside) ++hits[static_cast<std::size_t>(y * width + x)];
      }
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (hits[static_cast<std::size_t>(y * width + x)] != (kept(x, y) ? 1 : 0) && ++wrong <= 3)
        ADD_FAILURE() << "pixel " << x << "," << y;
  ::DeleteObject(region);
  return rects.size();
}

TEST(BuildShapeRegion, BuiltInShapeIsTheFullRectangleLessItsCorners) {
  CBitmap shape;
  ASSERT_TRUE(shape.LoadBitmap(IDB_PALETTE_SHAPE));
  // Pixels cut from each side of the four outer rows at the top and at the bottom.
  static constexpr int kCut[] = {4, 2, 1, 1};
  const auto cut = [](int y) { return y < 4 ? kCut[y] : y > 470 ? kCut[474 - y] : 0; };
  const auto kept = [&](int x, int y) { return x >= cut(y) && x < 50 - cut(y); };
  // One run per row: nothing is cut inside.
  EXPECT_EQ(ExpectRegion(shape, kMagenta, RGB(0, 0, 0), 50, 475, kept), 475u);
  EXPECT_EQ(CToolbarDlg::BuildShapeRegion(nullptr, kMagenta, RGB(0, 0, 0)), nullptr);
}

// The 2x and 3x outlines are rounded over twice and three times the rows, so
// their corners stay round instead of stepping in blocks.
TEST(BuildShapeRegion, ScaledShapesAreTheirFullRectangleLessRoundCorners) {
  for (int scale : {2, 3}) {
    CBitmap shape;
    ASSERT_TRUE(shape.LoadBitmap(ScaledResourceId(IDB_PALETTE_SHAPE, scale)));
    const int width = 50 * scale, height = 475 * scale, radius = 6 * scale;
    const auto outsideCorner = [radius](int x, int y) {
      return x < radius && y < radius && std::hypot(x + 0.5 - radius, y + 0.5 - radius) > radius;
    };
    const auto kept = [&](int x, int y) {
      const int mx = std::min(x, width - 1 - x), my = std::min(y, height - 1 - y);
      return !outsideCorner(mx, my);
    };
    EXPECT_EQ(ExpectRegion(shape, kMagenta, RGB(0, 0, 0), width, height, kept), static_cast<std::size_t>(height))
        << scale;
  }
}

struct ToleranceCase {
  const char* name;
  COLORREF key, tolerance, pixel;
  bool seeThrough;
};

class ShapeTolerance : public testing::TestWithParam<ToleranceCase> {};

TEST_P(ShapeTolerance, PixelIsCutExactlyWhenEachComponentLiesInItsRange) {
  const ToleranceCase& c = GetParam();
  CBitmap bitmap;  // the pixel under test between kept neighbours, a kept row below
  bitmap.Attach(MakeBitmap(3, 2, [&](int x, int y) { return x == 1 && y == 0 ? c.pixel : RGB(1, 2, 3); }));
  ExpectRegion(bitmap, c.key, c.tolerance, 3, 2, [&](int x, int y) { return !(x == 1 && y == 0 && c.seeThrough); });
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ShapeTolerance,
    testing::Values(ToleranceCase{"Key", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 100, 100), true},
                    ToleranceCase{"UpperEdges", RGB(100, 100, 100), RGB(10, 0, 20), RGB(110, 100, 120), true},
                    ToleranceCase{"RedAbove", RGB(100, 100, 100), RGB(10, 0, 20), RGB(111, 100, 100), false},
                    ToleranceCase{"GreenAbove", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 101, 100), false},
                    ToleranceCase{"BlueAbove", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 100, 121), false},
                    ToleranceCase{"BelowKey", RGB(100, 100, 100), RGB(10, 10, 10), RGB(99, 100, 100), false},
                    ToleranceCase{"RangeBeyond255", RGB(250, 0, 250), RGB(10, 0, 10), RGB(255, 0, 255), true},
                    ToleranceCase{"NotSwapped", RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 0, 255), false}),
    [](const testing::TestParamInfo<ToleranceCase>& param) { return param.param.name; });

// Alternating columns, 20 runs a row, the last at the row's end: the outline
// must survive the 2000-rectangle parts it is gathered in.
class ShapeManyRuns : public testing::TestWithParam<int> {};

TEST_P(ShapeManyRuns, EveryRunSurvivesTheBatches) {
  const int rows = GetParam();
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(40, rows, [](int x, int) { return x % 2 ? RGB(0, 0, 0) : kMagenta; }));
  EXPECT_EQ(ExpectRegion(bitmap, kMagenta, RGB(0, 0, 0), 40, rows, [](int x, int) { return x % 2 == 1; }),
            static_cast<std::size_t>(20 * rows));
}

INSTANTIATE_TEST_SUITE_P(Batches, ShapeManyRuns, testing::Values(99, 100, 101, 250));

}  // namespace
