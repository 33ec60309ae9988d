// The palette outline built from a bitmap: which pixels it keeps, for the
// built-in shape and for made-up bitmaps around the tolerance edges.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "palette/toolbar_dlg.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 32-bit bitmap whose pixel (x, y) has the colour given for it.
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      pixels[y * width + x] = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  return bitmap;
}

// How often the region covers each pixel of a width x height area, and how
// much of it lies outside that area.
struct Coverage {
  std::vector<int> hits;
  int outside = 0;
  int rects = 0;
  int At(int x, int y, int width) const { return hits[static_cast<std::size_t>(y * width + x)]; }
};

Coverage Cover(HRGN region, int width, int height) {
  Coverage c{std::vector<int>(static_cast<std::size_t>(width * height), 0)};
  for (const RECT& r : GetRegionRects(region)) {
    ++c.rects;
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) {
        if (x < 0 || y < 0 || x >= width || y >= height)
          ++c.outside;
        else
          ++c.hits[static_cast<std::size_t>(y * width + x)];
      }
  }
  return c;
}

// Checks that the region covers exactly once the pixels kept(x, y) says.
void ExpectCoversExactly(HRGN region, int width, int height, const std::function<bool(int, int)>& kept) {
  ASSERT_NE(region, nullptr);
  const Coverage c = Cover(region, width, height);
  EXPECT_EQ(c.outside, 0);
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (c.At(x, y, width) != (kept(x, y) ? 1 : 0) && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") covered " << c.At(x, y, width) << " times";
  EXPECT_EQ(wrong, 0);
}

// Pixels cut from each side of the built-in shape's outer rows.
int CornerCut(int y) {
  static constexpr int kTop[] = {4, 2, 1, 1};
  if (y < 4) return kTop[y];
  if (y > 470) return kTop[474 - y];
  return 0;
}

TEST(BuildShapeRegion, BuiltInShapeIsTheFullRectangleLessItsCorners) {
  CBitmap shape;
  ASSERT_TRUE(shape.LoadBitmap(IDB_PALETTE_SHAPE));
  BITMAP bm;
  shape.GetBitmap(&bm);
  ASSERT_EQ(bm.bmWidth, 50);
  ASSERT_EQ(bm.bmHeight, 475);
  HRGN region = CToolbarDlg::BuildShapeRegion(shape, kMagenta, RGB(0, 0, 0));
  ExpectCoversExactly(region, 50, 475, [](int x, int y) { return x >= CornerCut(y) && x < 50 - CornerCut(y); });
  // One run per row: nothing is cut inside the palette.
  EXPECT_EQ(Cover(region, 50, 475).rects, 475);
  ::DeleteObject(region);
}

TEST(BuildShapeRegion, NoBitmapGivesNoRegion) {
  EXPECT_EQ(CToolbarDlg::BuildShapeRegion(nullptr, kMagenta, RGB(0, 0, 0)), nullptr);
}

// Each colour sits on or just beyond an edge of the see-through range.
struct ToleranceCase {
  const char* name;
  COLORREF key;
  COLORREF tolerance;
  COLORREF pixel;
  bool seeThrough;
};

class ShapeTolerance : public testing::TestWithParam<ToleranceCase> {};

TEST_P(ShapeTolerance, PixelIsCutExactlyWhenEveryComponentLiesInItsRange) {
  const ToleranceCase& c = GetParam();
  // The pixel under test between two kept neighbours, and a kept row below.
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(3, 2, [&](int x, int y) { return x == 1 && y == 0 ? c.pixel : RGB(1, 2, 3); }));
  HRGN region = CToolbarDlg::BuildShapeRegion(bitmap, c.key, c.tolerance);
  ExpectCoversExactly(region, 3, 2, [&](int x, int y) { return !(x == 1 && y == 0 && c.seeThrough); });
  ::DeleteObject(region);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ShapeTolerance,
    testing::Values(ToleranceCase{"KeyItself", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 100, 100), true},
                    ToleranceCase{"UpperEdges", RGB(100, 100, 100), RGB(10, 0, 20), RGB(110, 100, 120), true},
                    ToleranceCase{"RedAboveRange", RGB(100, 100, 100), RGB(10, 0, 20), RGB(111, 100, 100), false},
                    ToleranceCase{"GreenAboveRange", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 101, 100), false},
                    ToleranceCase{"BlueAboveRange", RGB(100, 100, 100), RGB(10, 0, 20), RGB(100, 100, 121), false},
                    ToleranceCase{"BelowKey", RGB(100, 100, 100), RGB(10, 10, 10), RGB(99, 100, 100), false},
                    ToleranceCase{"RangeClampedAt255", RGB(250, 0, 250), RGB(10, 0, 10), RGB(255, 0, 255), true},
                    ToleranceCase{"ComponentsNotSwapped", RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 0, 255), false},
                    ToleranceCase{"MagentaKeepsNearMagenta", kMagenta, RGB(0, 0, 0), RGB(254, 0, 255), false}),
    [](const testing::TestParamInfo<ToleranceCase>& param) { return param.param.name; });

// Alternating columns make many runs per row; the outline must survive the
// parts the rectangles are gathered in, at and around a part's size.
class ShapeManyRuns : public testing::TestWithParam<int> {};

TEST_P(ShapeManyRuns, EveryRunSurvivesTheBatches) {
  const int rows = GetParam();
  constexpr int kWidth = 40;  // 20 kept single pixels per row, the last one at the row's end
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(kWidth, rows, [](int x, int) { return x % 2 == 1 ? RGB(0, 0, 0) : kMagenta; }));
  HRGN region = CToolbarDlg::BuildShapeRegion(bitmap, kMagenta, RGB(0, 0, 0));
  ExpectCoversExactly(region, kWidth, rows, [](int x, int) { return x % 2 == 1; });
  EXPECT_EQ(Cover(region, kWidth, rows).rects, 20 * rows);
  ::DeleteObject(region);
}

// 99 rows: 1980 rectangles, one part; 100: exactly 2000; 101 and 250: several parts.
INSTANTIATE_TEST_SUITE_P(Batches, ShapeManyRuns, testing::Values(99, 100, 101, 250));

TEST(BuildShapeRegion, RunsEndAtEachSeeThroughPixelAndAtTheRowEnd) {
  // Row 0: kept, cut, kept kept, cut cut, kept; row 1 all cut; row 2 all kept.
  const std::vector<std::vector<int>> kept{{1, 0, 1, 1, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1}};
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(7, 3, [&](int x, int y) { return kept[y][x] ? RGB(40, 40, 40) : kMagenta; }));
  HRGN region = CToolbarDlg::BuildShapeRegion(bitmap, kMagenta, RGB(0, 0, 0));
  ExpectCoversExactly(region, 7, 3, [&](int x, int y) { return kept[y][x] == 1; });
  EXPECT_EQ(Cover(region, 7, 3).rects, 4);
  ::DeleteObject(region);
}

}  // namespace
