// Runs the real program on the in-memory desktop: user actions and C++
// checks run as steps inside the program's own message loop.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/scrivane_app.h"
#include "app/scrivane_dlg.h"
#include "palette/board_commands.h"
#include "platform/backend/headless/headless_desktop.h"

namespace plumet::test {

using backend::headless::HeadlessDesktop;

class BoardFixture : public ::testing::Test {
 protected:
  explicit BoardFixture(backend::Size screen = {1366, 768}) : desktop_(screen) {}

  void SetUp() override { AfxSetBackend(&desktop_); }
  void TearDown() override { AfxSetBackend(nullptr); }

  void Then(std::function<void()> check) { desktop_.AddCallback(std::move(check)); }
  void Post(WPARAM code, LPARAM argument = 0) {
    Then([this, code, argument] { ::PostMessage(Board().m_hWnd, WM_BOARDCOMMAND, code, argument); });
  }
  // Runs the program until the steps run out (the desktop then closes it).
  void Run() {
    initResult_ = theApp.InitInstance();
    ran_ = true;
  }

  CScrivaneDlg& Board() { return *static_cast<CScrivaneDlg*>(AfxGetMainWnd()); }
  CQarelPage& Page(int index) { return Board().m_pages[index]; }
  std::uint32_t Screen(int x, int y) const { return desktop_.ScreenPixel(x, y); }
  // The straight ARGB of a board surface pixel.
  std::uint32_t BoardPixel(int x, int y) { return GetPixelArgb(Board().m_dcBoard.GetSafeHdc(), x, y); }
  // The screen as the desktop alone shows it, before the program starts.
  std::uint32_t DesktopAt(int x, int y) const { return bareDesktop_.At(x, y); }
  void RememberBareDesktop() { bareDesktop_ = desktop_.Screen(); }

  HeadlessDesktop desktop_;
  backend::headless::Image bareDesktop_;
  BOOL initResult_ = TRUE;
  bool ran_ = false;
};

// Colours closer than this per channel count as equal (anti-aliasing, alpha 1 blends).
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 2);
::testing::AssertionResult ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance = 2);

}  // namespace plumet::test
