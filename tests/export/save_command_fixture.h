// The save command on the headless desktop, with a board holding one stroke
// and a fresh folder to save into.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "export/save_command.h"
#include "platform/backend/headless/headless_desktop.h"
#include "platform/framework/user.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

namespace export_test {

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
  plumet::backend::headless::HeadlessDesktop desktop_;
  CWnd owner_;
  TestBoard board_;
  TempFolder folder_;
};

}  // namespace export_test
