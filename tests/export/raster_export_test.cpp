// The picture exports beyond what the end-to-end tests see: the big eraser
// in the picture (raster_export_limits_test.cpp: a TIFF whose second frame
// cannot be written).
#include <gtest/gtest.h>

#include <string>

#include "export/raster_export.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;

constexpr COLORREF kRed = 0x000000FF;

class RasterExport : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(RasterExport, OnlyBigEraserStrokesCarryTheBoardColour) {
  TestBoard board(320, 200, BM_WHITEBOARD);
  board.AddPenStroke(0, kRed, 15, {{20, 100}, {300, 100}});
  board.AddWhiteEraserStroke(0, {{160, 20}, {160, 180}});
  ASSERT_TRUE(SavePng(board.Picture(), folder_ / "erased.png"));
  const std::optional<PngFile> png = ReadPng(folder_ / "erased.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->picture.At(160, 100), 0xFFFFFFFF);  // erased over the ink
  EXPECT_EQ(png->picture.At(160, 40), 0xFFFFFFFF);   // erased over nothing
  EXPECT_EQ(png->picture.At(60, 100), 0xFFFF0000);
  EXPECT_EQ(png->picture.At(60, 40), 0x00FFFFFFu);  // the white board itself stays out
}

}  // namespace
