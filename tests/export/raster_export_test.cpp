// The picture exports beyond what the end-to-end tests see: the big eraser
// in the picture, and a TIFF whose second frame cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "export/raster_export.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;

constexpr COLORREF kBlue = 0x00FF0000;
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

TEST_F(RasterExport, ATiffWhoseSecondFrameFailsIsNoFileAtAll) {
  TestBoard board(640, 480);
  for (int y = 10; y < 480; y += 12) board.AddPenStroke(0, kRed, 3, {{0, y}, {639, y + 5}});
  ASSERT_TRUE(SaveTiff(board.Picture(), folder_ / "measure.tiff"));
  const auto firstFrameAndEmpty = static_cast<rlim_t>(ReadBytes(folder_ / "measure.tiff").size());
  std::filesystem::remove(folder_ / "measure.tiff");
  for (int x = 10; x < 640; x += 12) board.AddPenStroke(1, kBlue, 3, {{x, 0}, {x + 5, 479}});

  bool saved = true;
  {
    const FileSizeLimit limit(firstFrameAndEmpty + 512);
    saved = SaveTiff(board.Picture(), folder_ / "two.tiff");
  }
  EXPECT_FALSE(saved);
  EXPECT_TRUE(folder_.Names().empty());
}

}  // namespace
