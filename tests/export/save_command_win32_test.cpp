// The save command's failures with Windows' reasons. (windows.h and the
// framework's Windows-shaped names do not mix: the error numbers are spelt
// out.)
#include <filesystem>
#include <vector>

#include "tests/export/save_command_fixture.h"
#include "win32_error_text.h"

namespace {

using namespace export_test;

constexpr unsigned long kPathNotFound = 3;   // ERROR_PATH_NOT_FOUND
constexpr unsigned long kAccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr unsigned long kNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS: the C runtime has no text for ENODATA

// A failed save is told, with the name and the system's reason; the result
// stays 0. A cancel and a good save say nothing.
TEST_F(SaveCommand, AFailedSaveShowsTheNameAndTheReason) {
  desktop_.AddSaveAnswer(std::nullopt);
  EXPECT_EQ(RunSaveCommand(board_.Picture(), owner_), 0);
  EXPECT_EQ(SaveAs("ok.png"), 1);
  EXPECT_TRUE(desktop_.Messages().empty());

  std::filesystem::create_directory(folder_ / "folder.tiff");
  const std::vector<std::pair<std::string, unsigned long>> failing = {
      {"missing/a.svg", kPathNotFound}, {"missing/a.png", kPathNotFound}, {"folder.tiff", kAccessDenied}};
  for (const auto& [name, reason] : failing) {
    EXPECT_EQ(SaveAs(name), 0);
    ASSERT_FALSE(desktop_.Messages().empty());
    const plumet::backend::MessageRequest& shown = desktop_.Messages().back();
    EXPECT_EQ(shown.text, "Could not save " + (folder_ / name) + ": " + Win32ErrorText(reason)) << name;
    EXPECT_EQ(shown.caption, "Plumet");
  }
  TestBoard empty(320, 200);
  desktop_.AddSaveAnswer(folder_ / "empty.svg");
  EXPECT_EQ(RunSaveCommand(empty.Picture(), owner_), 0);
  EXPECT_EQ(desktop_.Messages().back().text,
            "Could not save " + (folder_ / "empty.svg") + ": " + Win32ErrorText(kNoMoreItems));
}

}  // namespace
