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

TEST_F(SaveCommand, CancellingWritesNothing) {
  desktop_.AddSaveAnswer(std::nullopt);
  EXPECT_EQ(RunSaveCommand(board_.Picture()), 0);
  EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(SaveCommand, AFailedExportIsZero) {
  board_.Page(0).Clear();  // an empty page makes no SVG
  EXPECT_EQ(SaveAs("empty.svg"), 0);
  EXPECT_EQ(SaveAs("missing/x.png"), 0);
  EXPECT_TRUE(folder_.Names().empty());
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

INSTANTIATE_TEST_SUITE_P(Names, SaveCommandFormat,
                         testing::Values(NameCase{"a.tiff", Written::Tiff}, NameCase{"b.TIFF", Written::Tiff},
                                         NameCase{"c.Tiff", Written::Tiff}, NameCase{"d.png", Written::Png},
                                         NameCase{"e.PNG", Written::Png}, NameCase{"f.svg", Written::Svg},
                                         NameCase{"g.tif", Written::Svg}, NameCase{"h.jpg", Written::Svg},
                                         NameCase{"no-extension", Written::Svg},
                                         NameCase{"i.png.svg", Written::Svg}, NameCase{"j.svg.tiff", Written::Tiff}));

}  // namespace
