// The save command: the dialog it asks, and the format the extension of the
// answered name chooses; the dialog answers as the headless desktop is told.
#include <gtest/gtest.h>

#include <string>

#include "export/save_command.h"
#include "platform/backend/headless/headless_desktop.h"
#include "platform/framework/user.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;
using plumet::backend::headless::HeadlessDesktop;

enum class Written { Tiff, Png, Svg };

class SaveCommand : public testing::Test {
 protected:
  SaveCommand() : board_(320, 200) {
    board_.AddPenStroke(0, 0x000000FF, 5, {{10, 10}, {300, 190}});
    AfxSetBackend(&desktop_);
  }
  ~SaveCommand() override { AfxSetBackend(nullptr); }
  LRESULT SaveAs(const std::string& name) {
    desktop_.AddSaveAnswer(folder_ / name);
    return RunSaveCommand(board_.Picture());
  }
  HeadlessDesktop desktop_;
  TestBoard board_;
  TempFolder folder_;
};

TEST_F(SaveCommand, AsksForANameWithTheThreeTypesAndConfirmsReplacing) {
  SaveAs("x.png");
  ASSERT_EQ(desktop_.SaveDialogRequests().size(), 1u);
  const plumet::backend::SaveDialogRequest& request = desktop_.SaveDialogRequests()[0];
  ASSERT_EQ(request.fileTypes.size(), 3u);
  const char* patterns[] = {"*.tiff", "*.png", "*.svg"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(request.fileTypes[i].label, patterns[i]);
    EXPECT_EQ(request.fileTypes[i].pattern, patterns[i]);
  }
  EXPECT_EQ(request.defaultExtension, "tiff");
  EXPECT_TRUE(request.confirmOverwrite);
}

struct NameCase {
  const char* name;
  Written format;
};

class SaveCommandFormat : public SaveCommand, public testing::WithParamInterface<NameCase> {};

TEST_P(SaveCommandFormat, FollowsTheLowerCasedExtension) {
  const std::string path = folder_ / GetParam().name;
  ASSERT_EQ(SaveAs(GetParam().name), 1);
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

// The plain names run end to end; these are the names with more than one dot
// and mixed case.
INSTANTIATE_TEST_SUITE_P(Names, SaveCommandFormat,
                         testing::Values(NameCase{"a.png.svg", Written::Svg}, NameCase{"b.svg.tiff", Written::Tiff},
                                         NameCase{"c.pNg", Written::Png}, NameCase{"d.tIfF", Written::Tiff},
                                         NameCase{"e.tiff.", Written::Svg}));

}  // namespace
