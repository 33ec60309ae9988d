// The save command: the dialog it asks, and the format the extension of the
// answered name chooses; the dialog answers as the headless desktop is told.
#include "tests/export/save_command_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/export/picture_readers.h"

namespace {

using namespace export_test;

enum class Written { Tiff, Png, Svg };

TEST_F(SaveCommand, AsksForANameWithTheThreeTypesAndConfirmsReplacing) {
  SaveAs("x.png");
  ASSERT_EQ(desktop_.SaveDialogRequests().size(), 1u);
  const plumet::backend::SaveDialogRequest& request = desktop_.SaveDialogRequests()[0];
  ASSERT_EQ(request.fileTypes.size(), 3u);
  const char* labels[] = {"*.tiff", "*.png", "*.svg"};
  const char* patterns[] = {"*.tiff;*.tif", "*.png", "*.svg"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(request.fileTypes[i].label, labels[i]);
    EXPECT_EQ(request.fileTypes[i].pattern, patterns[i]);
  }
  EXPECT_EQ(request.defaultExtension, "tiff");
  EXPECT_TRUE(request.confirmOverwrite);
}

struct NameCase {
  const char* typed;
  std::size_t fileType;  // selected in the dialog
  const char* name;      // of the file written
  Written format;
};

class SaveCommandFormat : public SaveCommand, public testing::WithParamInterface<NameCase> {};

TEST_P(SaveCommandFormat, FollowsTheLowerCasedExtension) {
  const std::string path = folder_ / GetParam().name;
  ASSERT_EQ(SaveAs(GetParam().typed, GetParam().fileType), 1);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{GetParam().name});
  EXPECT_TRUE(desktop_.Messages().empty());
  switch (GetParam().format) {
    case Written::Tiff: {
      const auto frames = ReadTiff(path);
      ASSERT_TRUE(frames);
      EXPECT_EQ(frames->size(), 2u);
      break;
    }
    case Written::Png:
      EXPECT_TRUE(ReadPng(path));
      break;
    case Written::Svg:
      EXPECT_EQ(ReadBytes(path).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg width=\"320\"", 0), 0u);
      break;
  }
}

// The plain names run end to end; these are the names with more than one dot,
// mixed case, and names the dialog completes by the selected type, so that
// no name hides what the file holds.
INSTANTIATE_TEST_SUITE_P(
    Names, SaveCommandFormat,
    testing::Values(NameCase{"a.png.svg", 0, "a.png.svg", Written::Svg},
                    NameCase{"b.svg.tiff", 2, "b.svg.tiff", Written::Tiff},
                    NameCase{"c.pNg", 0, "c.pNg", Written::Png}, NameCase{"d.tIfF", 1, "d.tIfF", Written::Tiff},
                    NameCase{"e.TIF", 2, "e.TIF", Written::Tiff}, NameCase{"f.tiff.", 0, "f.tiff.tiff", Written::Tiff},
                    NameCase{"g.jpg", 1, "g.jpg.png", Written::Png}, NameCase{"h", 2, "h.svg", Written::Svg},
                    NameCase{".hidden", 1, ".hidden.png", Written::Png}));

}  // namespace
