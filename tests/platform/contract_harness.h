// What the backend contract tests need from a backend beyond the Backend
// interface itself: a way to act as the user and to look at the screen.
//
// Adding a backend: implement ContractHarness for it in its own source file
// and instantiate the suite there:
//
//   INSTANTIATE_TEST_SUITE_P(Gtk, BackendContract, testing::Values(&MakeGtkHarness));
//
// then build backend_contract_test.cpp with that file and the backend's library.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/backend/backend.h"

namespace plumet::backend::contract {

// Input that none of the backend's windows took: it reached whatever lies
// beneath them. Pointer input at its screen point; keys may report any point.
struct BeneathInput {
  EventKind kind = EventKind::PointerDown;
  int x = 0;
  int y = 0;
};

class ContractHarness {
 public:
  virtual ~ContractHarness() = default;

  // The backend under test, on a screen of at least 640 x 480 whose pixels
  // between our windows are opaque and not pure magenta.
  virtual Backend& Subject() = 0;

  // The user's actions at screen points. They reach the backend's windows as
  // events that TakeEvents collects, in order.
  virtual void Press(int x, int y) = 0;
  virtual void Move(int x, int y) = 0;
  virtual void Release(int x, int y) = 0;
  // A key event kind (Enter, Escape, Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z), to whatever has the focus.
  virtual void Key(EventKind key) = 0;
  // The screen changes size; false if this desktop cannot be resized here.
  virtual bool ChangeScreenSize(Size size) = 0;
  // Another program posts the message to ours, the way the window system
  // lets any program reach the running board.
  virtual void PostFromOutside(const PostedMessage& message) = 0;
  // Arranges that ms of the backend's clock pass while the test calls
  // WaitEvent itself: no event arrives meanwhile.
  virtual void Idle(int ms) = 0;

  // Calls WaitEvent until every action so far has been reported; returns
  // those events (Close is never among them).
  virtual std::vector<Event> TakeEvents() = 0;
  // Input that went beneath our windows since the last call.
  virtual std::vector<BeneathInput> TakeBeneathInputs() = 0;

  // What the user sees now, opaque ARGB32.
  virtual ScreenImage ReadScreen() = 0;

  // Makes CaptureScreen fail from now on; false if this backend cannot.
  virtual bool DenyCapture() = 0;
  // The answer for the next save dialog (nothing: cancel); false if this
  // backend cannot script its dialog.
  virtual bool AnswerNextSaveDialog(std::optional<std::string> path) = 0;

  // How far one WaitEvent(t) call may overshoot t on this backend's clock.
  virtual int ClockToleranceMs() const { return 0; }
  // Why the window system under this harness cannot show what the named
  // test checks (the test is then skipped); empty when it can.
  virtual std::string CannotCheck(const std::string& /*testName*/) const { return {}; }
};

using HarnessFactory = std::unique_ptr<ContractHarness> (*)();

// A window surface the test paints pixel by pixel.
struct Surface {
  int width;
  int height;
  std::vector<std::uint32_t> pixels;

  Surface(int w, int h, std::uint32_t fill);
  void Fill(const Rect& r, std::uint32_t colour);
  Presentation Present(PresentMode mode, std::uint32_t key = 0) const;
};

// The suite; its tests are in backend_contract_test.cpp.
class BackendContract : public testing::TestWithParam<HarnessFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  Backend& Subject() { return harness_->Subject(); }
  ContractHarness& User() { return *harness_; }

  // A shown, raised window at screen rectangle r with the given picture.
  WindowId Open(const Rect& r, const Surface& picture, PresentMode mode, WindowOptions options = {},
                std::uint32_t key = 0);
  WindowId OpenOpaque(const Rect& r, std::uint32_t colour, WindowOptions options = {});

  // What the user sees now, and what lay there before the test opened windows.
  std::uint32_t Seen(int x, int y);
  std::uint32_t Desktop(int x, int y) const;

  // The window that took a press (and release) at (x, y); 0 when it went beneath.
  WindowId PressTarget(int x, int y);
  // The window that took the key; 0 when it went beneath.
  WindowId KeyTarget(EventKind key);

  std::vector<WindowId> windows_;  // destroyed after each test

 private:
  std::unique_ptr<ContractHarness> harness_;
  ScreenImage desktop_;
};

}  // namespace plumet::backend::contract
