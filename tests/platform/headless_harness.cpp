// The contract suite on the in-memory desktop.
#include <gtest/gtest.h>

#include "platform/backend/headless/headless_desktop.h"
#include "tests/platform/contract_harness.h"

namespace plumet::backend::contract {
namespace {

using headless::HeadlessDesktop;

class HeadlessHarness final : public ContractHarness {
 public:
  Backend& Subject() override { return desktop_; }

  void Press(int x, int y) override { desktop_.AddPress(x, y); }
  void Move(int x, int y) override { desktop_.AddMove(x, y); }
  void Release(int x, int y) override { desktop_.AddRelease(x, y); }
  void Key(EventKind key) override { desktop_.AddKey(key); }
  bool ChangeScreenSize(Size size) override {
    desktop_.AddDisplayChange(size);
    return true;
  }
  void PostFromOutside(const PostedMessage& message) override { desktop_.AddMessageFromOutside(message); }
  void Idle(int ms) override { desktop_.AddWait(static_cast<std::uint64_t>(ms)); }

  std::vector<Event> TakeEvents() override {
    // The desktop reports Close once its steps are used up.
    std::vector<Event> events;
    for (int calls = 0; calls < 100000; ++calls) {
      const std::optional<Event> event = desktop_.WaitEvent(-1);
      if (!event) continue;
      if (event->kind == EventKind::Close) break;
      events.push_back(*event);
    }
    return events;
  }

  std::vector<BeneathInput> TakeBeneathInputs() override {
    std::vector<BeneathInput> inputs;
    const auto& log = desktop_.DesktopInputLog();
    for (; seen_ < log.size(); ++seen_) inputs.push_back({log[seen_].kind, log[seen_].x, log[seen_].y});
    return inputs;
  }

  ScreenImage ReadScreen() override {
    const headless::Image& screen = desktop_.Screen();
    return ScreenImage{screen.width, screen.height, screen.pixels};
  }

  bool DenyCapture() override {
    desktop_.SetCaptureAllowed(false);
    return true;
  }
  bool AnswerNextSaveDialog(std::optional<std::string> path) override {
    desktop_.AddSaveAnswer(std::move(path));
    return true;
  }

 private:
  HeadlessDesktop desktop_;
  std::size_t seen_ = 0;
};

std::unique_ptr<ContractHarness> MakeHeadlessHarness() { return std::make_unique<HeadlessHarness>(); }

INSTANTIATE_TEST_SUITE_P(Headless, BackendContract, testing::Values(&MakeHeadlessHarness),
                         [](const auto&) { return std::string("InMemory"); });

}  // namespace
}  // namespace plumet::backend::contract
