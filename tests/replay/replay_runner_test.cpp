#include "tools/plumet-replay/replay_runner.h"
#include "tools/plumet-replay/script_steps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace plumet::replay {
namespace {

using namespace backend;
using backend::headless::HeadlessDesktop;

// Stands in for the real program: one full-screen board that takes focus and
// ends on Enter or Escape, as the application does.
class FakeProgram final : public ReplayProgram {
 public:
  explicit FakeProgram(HeadlessDesktop& desktop) : desktop_(desktop) {}

  void Start() override {
    ++starts;
    WindowOptions options;
    options.takesFocus = true;
    board_ = desktop_.CreateWindow(options);
    desktop_.SetBounds(board_, {0, 0, desktop_.ScreenSize().width, desktop_.ScreenSize().height / 2});
    desktop_.Show(board_, true);
    desktop_.Focus(board_);
    while (true) {
      const std::optional<Event> event = desktop_.WaitEvent(-1);
      if (!event) continue;
      if (event->kind == EventKind::Close || event->kind == EventKind::KeyEscape ||
          event->kind == EventKind::KeyEnter) {
        break;
      }
      if (event->kind == EventKind::MessageFromOutside) {
        posts.push_back({event->window, event->posted.message, event->posted.wParam, event->posted.lParam, eventsSeen,
                         static_cast<std::int64_t>(desktop_.NowMs())});
      }
      ++eventsSeen;
    }
    desktop_.DestroyWindow(board_);
    board_ = 0;
  }

  std::string Where(int x, int y) override {
    return board_ != 0 && desktop_.InputWindowAt(x, y) == board_ ? "board" : "desktop";
  }

  int starts = 0;
  std::int64_t eventsSeen = 0;
  // window, message, code, arg, events seen before, clock
  std::vector<std::vector<std::int64_t>> posts;

 private:
  HeadlessDesktop& desktop_;
  WindowId board_ = 0;
};

struct ReplayRun {
  int exit = -1;
  std::string out;
  std::string err;
  int starts = 0;
  std::vector<std::vector<std::int64_t>> posts;
};

ReplayRun Replay(std::string_view script) {
  HeadlessDesktop desktop;
  FakeProgram program(desktop);
  std::ostringstream out;
  std::ostringstream err;
  ReplayRun run;
  run.exit = RunReplay(script, desktop, program, out, err);
  run.out = out.str();
  run.err = err.str();
  run.starts = program.starts;
  run.posts = program.posts;
  return run;
}

TEST(ReplayRunner, PassingScriptExitsZero) {
  const std::string shot = testing::TempDir() + "replay_pass.png";
  std::filesystem::remove(shot);
  const ReplayRun run = Replay("start\nshot " + shot + "\nkey Escape\nexpect-ended\n");
  EXPECT_EQ(run.exit, kReplayPassed) << run.err;
  EXPECT_EQ(run.starts, 1);
  EXPECT_TRUE(std::filesystem::exists(shot));
  EXPECT_EQ(run.err, "");
}

TEST(ReplayRunner, ExpectEndedFailsWhileTheProgramRuns) {
  const ReplayRun run = Replay("start\nwait 10\nexpect-ended\nkey Escape\nexpect-ended\n");
  EXPECT_EQ(run.exit, kReplayExpectationFailed);
  EXPECT_EQ(run.err, "3: expected the program to have ended, but it still runs\n");
}

TEST(ReplayRunner, ProgramEndsWhenTheStepsRunOut) {
  EXPECT_EQ(Replay("start\nclick 5 5\nwait 100\n").exit, kReplayPassed);
  EXPECT_EQ(Replay("start\n").exit, kReplayPassed);
}

TEST(ReplayRunner, EveryScriptErrorExitsTwoWithItsLineAndRunsNothing) {
  const std::string missing = testing::TempDir() + "no such picture.png";
  const struct {
    std::string script;
    std::string message;
  } cases[] = {
      {"start\nfly 1 2\n", "2: unknown command 'fly'\n"},
      {"start\n\nclick one 2\n", "3: bad number 'one' for X\n"},
      {"start\nclick 1\n", "2: 'click' takes X Y\n"},
      {"click 1 1\nstart\n", "1: 'click' needs start first\n"},
      {"start\nscreen 640 480\n", "2: 'screen' must come before start\n"},
      {"start\nstart\n", "2: start given again (first on line 1)\n"},
      {"start\nclick 5000 1\n", "2: point (5000, 1) is outside the 1366 x 768 screen\n"},
      {"desktop " + missing + "\nstart\n", "1: cannot read desktop picture '" + missing + "'\n"},
  };
  for (const auto& c : cases) {
    const ReplayRun run = Replay(c.script);
    EXPECT_EQ(run.exit, kReplayScriptError) << c.script;
    EXPECT_EQ(run.err, c.message) << c.script;
    EXPECT_EQ(run.starts, 0) << c.script;
  }
}

TEST(ReplayRunner, AllErrorsArePrintedInLineOrder) {
  const ReplayRun run = Replay("click 1 1\nbogus\nstart\nkey Tab\n");
  EXPECT_EQ(run.exit, kReplayScriptError);
  EXPECT_EQ(run.err, "1: 'click' needs start first\n2: unknown command 'bogus'\n4: 'key' takes Enter, Escape, Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z\n");
}

TEST(ReplayRunner, AShotThatCannotBeWrittenIsAScriptError) {
  const std::string bad = testing::TempDir() + "no/such/folder/shot.png";
  const ReplayRun run = Replay("shot " + bad + "\nstart\nkey Enter\nexpect-ended\n");
  EXPECT_EQ(run.exit, kReplayScriptError);
  EXPECT_EQ(run.err, "1: cannot write shot '" + bad + "'\n");
  EXPECT_EQ(run.starts, 1) << "the rest of the script still runs";
}

TEST(ReplayRunner, PostAndWhereRunInScriptOrderBetweenEvents) {
  const ReplayRun run = Replay(
      "where 10 10\n"
      "start\n"
      "where 10 10\n"
      "where 10 700\n"
      "click 10 10\n"
      "wait 40\n"
      "post 7 -3\n"
      "post 4294967295 -2147483648\n"
      "key Escape\n"
      "post 8 0\n"
      "where 10 10\n");
  EXPECT_EQ(run.exit, kReplayPassed) << run.err;
  EXPECT_EQ(run.out, "desktop\nboard\ndesktop\ndesktop\n");
  // To the program (window 0), as the window system reports a message from another program.
  ASSERT_EQ(run.posts.size(), 2u) << "a post after the end reaches nobody";
  EXPECT_EQ(run.posts[0], (std::vector<std::int64_t>{0, 1025, 7, -3, 2, 40})) << "after the click's two events and the wait";
  EXPECT_EQ(run.posts[1], (std::vector<std::int64_t>{0, 1025, 4294967295, -2147483648LL, 3, 40}));
}

TEST(ScriptSteps, RefusesProgramCommandsAndAddsNothingOnError) {
  HeadlessDesktop desktop;
  ScriptSteps steps(desktop);
  const auto errors = steps.AddLines("click 1 1\npost 1 2\nwhere 3 3\nstart\n");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].line, 3);
  EXPECT_EQ(errors[1].line, 4);
  EXPECT_FALSE(desktop.HasPendingSteps());
  EXPECT_FALSE(steps.Add(ScriptCommand{1, CommandKind::Start, {}, {}}));
}

TEST(ScriptSteps, SaveAnswersAreGivenAtTheirStep) {
  HeadlessDesktop desktop;
  ScriptSteps steps(desktop);
  ASSERT_TRUE(steps.AddLines("save-answer /tmp/one.tiff\nsave-answer cancel\n").empty());
  SaveDialogRequest request;
  request.fileTypes = {{"TIFF picture", "*.tiff"}};
  EXPECT_EQ(desktop.RunSaveDialog(request), std::nullopt) << "not answered before the step ran";
  desktop.RunRemainingSteps();
  EXPECT_EQ(desktop.RunSaveDialog(request), std::optional<std::string>("/tmp/one.tiff"));
  EXPECT_EQ(desktop.RunSaveDialog(request), std::nullopt);
  EXPECT_TRUE(steps.Problems().empty());
}

}  // namespace
}  // namespace plumet::replay
