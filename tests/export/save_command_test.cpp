// The save command: the dialog it asks, and the format the extension of the
// answered name chooses; the dialog answers as the headless desktop is told.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

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
  LRESULT SaveAs(const std::string& name, std::size_t fileType = 0) {
    desktop_.AddSaveAnswer(folder_ / name, fileType);
    return RunSaveCommand(board_.Picture(), owner_);
  }
  HeadlessDesktop desktop_;
  CWnd owner_;
  TestBoard board_;
  TempFolder folder_;
};

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

// A failed save is told, with the name and the system's reason; the result
// stays 0. A cancel and a good save say nothing.
TEST_F(SaveCommand, AFailedSaveShowsTheNameAndTheReason) {
  desktop_.AddSaveAnswer(std::nullopt);
  EXPECT_EQ(RunSaveCommand(board_.Picture(), owner_), 0);
  EXPECT_EQ(SaveAs("ok.png"), 1);
  EXPECT_TRUE(desktop_.Messages().empty());

  std::filesystem::create_directory(folder_ / "locked");
  using std::filesystem::perms;
  std::filesystem::permissions(folder_ / "locked", perms::owner_read | perms::owner_exec);
  const bool rootIgnoresModes = ::access((folder_ / "locked").c_str(), W_OK) == 0;
  const std::vector<std::pair<std::string, std::string>> failing = {
      {"missing/a.svg", "No such file or directory"},
      {"ok.png/a.tiff", "Not a directory"},
      {"locked/a.png", rootIgnoresModes ? "" : "Permission denied"}};
  for (const auto& [name, reason] : failing) {
    if (reason.empty()) continue;
    EXPECT_EQ(SaveAs(name), 0);
    ASSERT_FALSE(desktop_.Messages().empty());
    const plumet::backend::MessageRequest& shown = desktop_.Messages().back();
    EXPECT_EQ(shown.text, "Could not save " + (folder_ / name) + ": " + reason);
    EXPECT_EQ(shown.caption, "Plumet");
  }
  TestBoard empty(320, 200);
  desktop_.AddSaveAnswer(folder_ / "empty.svg");
  EXPECT_EQ(RunSaveCommand(empty.Picture(), owner_), 0);
  EXPECT_EQ(desktop_.Messages().back().text, "Could not save " + (folder_ / "empty.svg") + ": No data available");
  std::filesystem::permissions(folder_ / "locked", perms::owner_all);
}

}  // namespace
