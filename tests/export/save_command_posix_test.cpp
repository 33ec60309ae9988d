// The save command's failures with Linux's reasons.
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "tests/export/save_command_fixture.h"

namespace {

using namespace export_test;

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
