// The picture exports: the pages drawn afresh at the board's size, read back
// with libpng and libtiff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "export/raster_export.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;

constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kRed = 0x000000FF;
constexpr std::uint32_t kEmpty = 0x00FFFFFF;

// Ink away from the middle of the picture: page 0 a black row at y = 50,
// page 1 a blue column at x = 160 below it.
class RasterExport : public testing::Test {
 protected:
  RasterExport() : board_(320, 200, BM_WHITEBOARD) {
    board_.AddPenStroke(0, kBlack, 10, {{40, 50}, {280, 50}});
    board_.AddPenStroke(1, kBlue, 10, {{160, 100}, {160, 180}});
  }
  // Pixels off the band |coordinate - centre| <= reach of the row (row true) or column.
  static int InkOutside(const Picture& picture, bool row, int centre, int reach) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const int distance = std::abs((row ? y : x) - centre);
        if (distance > reach && picture.At(x, y) != kEmpty) ++count;
      }
    }
    return count;
  }
  TestBoard board_;
  TempFolder folder_;
};

TEST_F(RasterExport, PngHoldsTheCurrentPageOnlyAtTheBoardSize) {
  board_.SetCurrentPage(1);
  ASSERT_TRUE(SavePng(board_.Picture(), folder_ / "page.png"));
  const std::optional<PngFile> png = ReadPng(folder_ / "page.png");
  ASSERT_TRUE(png);
  EXPECT_TRUE(png->hasAlpha);
  const Picture& picture = png->picture;
  ASSERT_EQ(picture.width, 320);
  ASSERT_EQ(picture.height, 200);
  EXPECT_EQ(picture.At(160, 140), 0xFF0000FF);
  EXPECT_EQ(picture.At(100, 50), kEmpty);  // page 0's ink
  EXPECT_EQ(InkOutside(picture, false, 160, 8), 0);
}

TEST_F(RasterExport, TiffHoldsPageZeroThenPageOneWhicheverIsCurrent) {
  board_.SetCurrentPage(1);
  ASSERT_TRUE(SaveTiff(board_.Picture(), folder_ / "pages.tiff"));
  const auto frames = ReadTiff(folder_ / "pages.tiff");
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 2u);
  for (const TiffFrame& frame : *frames) {
    EXPECT_EQ(frame.picture.width, 320);
    EXPECT_EQ(frame.picture.height, 200);
  }
  const Picture& first = (*frames)[0].picture;
  const Picture& second = (*frames)[1].picture;
  EXPECT_EQ(first.At(100, 50), 0xFF000000);
  EXPECT_EQ(InkOutside(first, true, 50, 8), 0);
  EXPECT_EQ(second.At(160, 140), 0xFF0000FF);
  EXPECT_EQ(InkOutside(second, false, 160, 8), 0);
}

TEST_F(RasterExport, AnEmptyPageIsTransparentWhiteEverywhere) {
  board_.Page(1).Clear();
  ASSERT_TRUE(SaveTiff(board_.Picture(), folder_ / "half.tiff"));
  const auto frames = ReadTiff(folder_ / "half.tiff");
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 2u);
  EXPECT_EQ((*frames)[1].picture.CountOther(kEmpty), 0);

  board_.SetCurrentPage(1);
  ASSERT_TRUE(SavePng(board_.Picture(), folder_ / "empty.png"));
  const std::optional<PngFile> png = ReadPng(folder_ / "empty.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->picture.width * png->picture.height, 320 * 200);
  EXPECT_EQ(png->picture.CountOther(kEmpty), 0);
}

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
  EXPECT_EQ(png->picture.At(60, 40), kEmpty);  // the white board itself stays out
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
