// A TIFF export whose second frame cannot be written: Linux only, where the
// process's file size limit makes the write fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "export/raster_export.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files_posix.h"

namespace {

using namespace export_test;

constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kRed = 0x000000FF;

class RasterExportLimits : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(RasterExportLimits, ATiffWhoseSecondFrameFailsIsNoFileAtAll) {
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
