// Every export against a file system that fails it: the result is false and
// a file the user already had stays as it was; links are followed.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "export/raster_export.h"
#include "export/svg_export.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;

struct Format {
  const char* name;
  bool (*save)(const BoardPicture&, const std::string&);
  std::string magic;  // how the written file starts
};

const std::string kOld = "the user's earlier picture";

class ExportFailure : public testing::TestWithParam<Format> {
 protected:
  // A page busy enough that every format needs well over 64 KiB.
  ExportFailure() : board_(1366, 768) {
    std::mt19937 random(7);
    for (int stroke = 0; stroke < 100; ++stroke) {
      int x = static_cast<int>(random() % 1366);
      int y = static_cast<int>(random() % 768);
      auto step = [&random](int at, int size) { return std::clamp(at + static_cast<int>(random() % 61) - 30, 0, size - 1); };
      const auto color = static_cast<COLORREF>(random() & 0xFFFFFF);
      std::vector<std::pair<int, int>> points;
      for (int i = 0; i < 60; ++i) points.emplace_back(x = step(x, 1366), y = step(y, 768));
      board_.AddPenStroke(0, color, 3, points);
      board_.AddPenStroke(1, color, 3, points);
    }
  }
  bool Save(const std::string& path) const { return GetParam().save(board_.Picture(), path); }
  void ExpectOldFileAlone() const {
    EXPECT_EQ(ReadBytes(folder_ / "picture"), kOld);
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"picture"});
  }
  TestBoard board_;
  TempFolder folder_;
};

TEST_P(ExportFailure, AFullDiskKeepsTheOldFile) {
  const SmallDisk disk(folder_.Path(), 64);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine cannot mount a tmpfs";
  WriteBytes(folder_ / "picture", kOld);
  EXPECT_FALSE(Save(folder_ / "picture"));
  ExpectOldFileAlone();
}

TEST_P(ExportFailure, TheFileSizeLimitKeepsTheOldFile) {
  WriteBytes(folder_ / "picture", kOld);
  bool saved = true;
  {
    const FileSizeLimit limit(16 * 1024);
    saved = Save(folder_ / "picture");
  }
  EXPECT_FALSE(saved);
  ExpectOldFileAlone();
}

TEST_P(ExportFailure, AFolderOrAMissingFolderIsRefused) {
  std::filesystem::create_directory(folder_ / "picture");
  EXPECT_FALSE(Save(folder_ / "picture"));
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "picture"));
  EXPECT_FALSE(Save(folder_ / "missing/picture"));
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"picture"});
}

TEST_P(ExportFailure, ALinkIntoAMissingFolderIsRefusedAndStays) {
  std::filesystem::create_symlink("missing/picture", folder_ / "link");
  EXPECT_FALSE(Save(folder_ / "link"));
  EXPECT_EQ(std::filesystem::read_symlink(folder_ / "link"), "missing/picture");
}

TEST_P(ExportFailure, ALinkedFileIsReplacedAndTheLinkStays) {
  WriteBytes(folder_ / "picture", kOld);
  std::filesystem::create_symlink("picture", folder_ / "link");
  ASSERT_TRUE(Save(folder_ / "link"));
  EXPECT_EQ(std::filesystem::read_symlink(folder_ / "link"), "picture");
  EXPECT_EQ(ReadBytes(folder_ / "picture").rfind(GetParam().magic, 0), 0u);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"link", "picture"}));
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, ExportFailure,
                         testing::Values(Format{"tiff", SaveTiff, std::string("II*\0", 4)},
                                         Format{"png", SavePng, "\x89PNG"}, Format{"svg", SaveSvg, "<?xml"}),
                         [](const testing::TestParamInfo<Format>& param) { return std::string(param.param.name); });

}  // namespace
