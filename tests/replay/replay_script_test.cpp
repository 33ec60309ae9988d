#include "tools/plumet-replay/replay_script.h"

#include <gtest/gtest.h>

namespace plumet::replay {
namespace {

using backend::EventKind;

ScriptError OnlyError(std::string_view text) {
  const ParsedScript parsed = ParseScript(text);
  EXPECT_EQ(parsed.errors.size(), 1u) << text;
  return parsed.errors.empty() ? ScriptError{} : parsed.errors.front();
}

std::vector<ScriptError> OrderErrors(std::string_view text) {
  const ParsedScript parsed = ParseScript(text);
  EXPECT_TRUE(parsed.errors.empty()) << text;
  return CheckScript(parsed.commands);
}

TEST(ReplayScriptParse, ReadsEveryCommandWithItsArgumentsAndLine) {
  const ParsedScript parsed = ParseScript(
      "# a demo\n"
      "screen 800 600\n"
      "scale 2\n"
      "desktop  my pictures/desk.png  # the path keeps its space\n"
      "desktop-pattern\n"
      "\n"
      "start\n"
      "\tpress 1 2\n"
      "move 3 4\n"
      "release 5 6\n"
      "click 7 8\n"
      "drag 10 20 30 40 5\n"
      "key Enter\n"
      "key Escape\n"
      "wait 250\n"
      "post 9 -1\n"
      "display 1024 768\n"
      "shot out.png\n"
      "where 11 12\n"
      "save-answer /tmp/a b.tiff\n"
      "save-answer cancel\n"
      "expect-ended");
  ASSERT_TRUE(parsed.errors.empty()) << FormatError(parsed.errors.front());
  const std::vector<ScriptCommand>& c = parsed.commands;
  ASSERT_EQ(c.size(), 20u);
  EXPECT_EQ(c[0].kind, CommandKind::Screen);
  EXPECT_EQ(c[0].line, 2);
  EXPECT_EQ(c[0].numbers, (std::vector<std::int64_t>{800, 600}));
  EXPECT_EQ(c[1].kind, CommandKind::Scale);
  EXPECT_EQ(c[1].numbers, (std::vector<std::int64_t>{2}));
  EXPECT_EQ(c[2].kind, CommandKind::Desktop);
  EXPECT_EQ(c[2].text, "my pictures/desk.png");
  EXPECT_EQ(c[3].kind, CommandKind::DesktopPattern);
  EXPECT_EQ(c[4].kind, CommandKind::Start);
  EXPECT_EQ(c[4].line, 7);
  EXPECT_EQ(c[5].kind, CommandKind::Press);
  EXPECT_EQ(c[5].numbers, (std::vector<std::int64_t>{1, 2}));
  EXPECT_EQ(c[6].kind, CommandKind::Move);
  EXPECT_EQ(c[7].kind, CommandKind::Release);
  EXPECT_EQ(c[8].kind, CommandKind::Click);
  EXPECT_EQ(c[9].kind, CommandKind::Drag);
  EXPECT_EQ(c[9].numbers, (std::vector<std::int64_t>{10, 20, 30, 40, 5}));
  EXPECT_EQ(c[10].text, "Enter");
  EXPECT_EQ(c[11].text, "Escape");
  EXPECT_EQ(c[12].numbers, (std::vector<std::int64_t>{250}));
  EXPECT_EQ(c[13].kind, CommandKind::Post);
  EXPECT_EQ(c[13].numbers, (std::vector<std::int64_t>{9, -1}));
  EXPECT_EQ(c[14].kind, CommandKind::Display);
  EXPECT_EQ(c[15].kind, CommandKind::Shot);
  EXPECT_EQ(c[15].text, "out.png");
  EXPECT_EQ(c[16].kind, CommandKind::Where);
  EXPECT_EQ(c[17].kind, CommandKind::SaveAnswer);
  EXPECT_EQ(c[17].text, "/tmp/a b.tiff");
  EXPECT_EQ(c[18].kind, CommandKind::SaveCancel);
  EXPECT_EQ(c[19].kind, CommandKind::ExpectEnded);
  EXPECT_EQ(c[19].line, 22);
  EXPECT_TRUE(CheckScript(c).empty());
}

TEST(ReplayScriptParse, EachBadLineIsReportedWithItsNumber) {
  const ParsedScript parsed = ParseScript("start\nprss 1 2\nclick 1\nwait x\nclick 3 4\n");
  ASSERT_EQ(parsed.errors.size(), 3u);
  EXPECT_EQ(parsed.errors[0], (ScriptError{2, "unknown command 'prss'"}));
  EXPECT_EQ(parsed.errors[1], (ScriptError{3, "'click' takes X Y"}));
  EXPECT_EQ(parsed.errors[2], (ScriptError{4, "bad number 'x' for MS"}));
  ASSERT_EQ(parsed.commands.size(), 2u);
  EXPECT_EQ(parsed.commands[1].line, 5);
  EXPECT_EQ(FormatError(parsed.errors[0]), "2: unknown command 'prss'");
}

TEST(ReplayScriptParse, BadNumbersAreRefused) {
  EXPECT_EQ(OnlyError("press 1.5 2").reason, "bad number '1.5' for X");
  EXPECT_EQ(OnlyError("press 12px 2").reason, "bad number '12px' for X");
  EXPECT_EQ(OnlyError("press +3 2").reason, "bad number '+3' for X");
  EXPECT_EQ(OnlyError("press 1 99999999999999999999").reason, "bad number '99999999999999999999' for Y");
  EXPECT_EQ(OnlyError("screen 0 600").reason, "bad number '0' for W (1 to 16384)");
  EXPECT_EQ(OnlyError("display 800 20000").reason, "bad number '20000' for H (1 to 16384)");
  EXPECT_EQ(OnlyError("drag 1 1 5 5 0").reason, "bad number '0' for STEPS (1 to 100000)");
  EXPECT_EQ(OnlyError("wait -1").reason, "bad number '-1' for MS (0 to 2147483647)");
  EXPECT_EQ(OnlyError("post -2 0").reason, "bad number '-2' for CODE (0 to 4294967295)");
  EXPECT_EQ(OnlyError("scale 0").reason, "bad number '0' for FACTOR (1 to 8)");
}

TEST(ReplayScriptParse, WrongArgumentsAreRefused) {
  const std::string keys = "'key' takes Enter, Escape, Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z";
  EXPECT_EQ(OnlyError("key Space").reason, keys);
  EXPECT_EQ(OnlyError("key enter").reason, keys);
  EXPECT_EQ(OnlyError("key Enter Escape").reason, keys);
  EXPECT_EQ(OnlyError("key ctrl+z").reason, keys);
  EXPECT_EQ(OnlyError("key Ctrl+Shift+Y").reason, keys);
  EXPECT_EQ(OnlyError("key Ctrl + Z").reason, keys);
  EXPECT_EQ(KeyNamed("Ctrl+Z"), EventKind::KeyCtrlZ);
  EXPECT_EQ(KeyNamed("Ctrl+Y"), EventKind::KeyCtrlY);
  EXPECT_EQ(KeyNamed("Ctrl+Shift+Z"), EventKind::KeyCtrlShiftZ);
  EXPECT_EQ(OnlyError("shot").reason, "'shot' takes a file name");
  EXPECT_EQ(OnlyError("shot   # no name").reason, "'shot' takes a file name");
  EXPECT_EQ(OnlyError("save-answer").reason, "'save-answer' takes a path or cancel");
  EXPECT_EQ(OnlyError("start now").reason, "'start' takes nothing");
  EXPECT_EQ(OnlyError("drag 1 2 3 4").reason, "'drag' takes X1 Y1 X2 Y2 STEPS");
  EXPECT_EQ(OnlyError("post 1 2 3").reason, "'post' takes CODE ARG");
}

TEST(ReplayScriptCheck, ScreenAndDesktopOnlyBeforeStart) {
  const auto errors = OrderErrors("start\nscreen 800 600\ndesktop a.png\ndesktop-pattern\nscale 2\n");
  ASSERT_EQ(errors.size(), 4u);
  EXPECT_EQ(errors[0], (ScriptError{2, "'screen' must come before start"}));
  EXPECT_EQ(errors[1].line, 3);
  EXPECT_EQ(errors[2], (ScriptError{4, "'desktop-pattern' must come before start"}));
  EXPECT_EQ(errors[3], (ScriptError{5, "'scale' must come before start"}));
}

TEST(ReplayScriptCheck, ProgramCommandsNeedStartAndStartComesOnce) {
  const auto errors =
      OrderErrors("click 1 1\nkey Enter\nwait 5\npost 1 0\ndisplay 800 600\nexpect-ended\nstart\nstart\n");
  ASSERT_EQ(errors.size(), 7u);
  EXPECT_EQ(errors[0], (ScriptError{1, "'click' needs start first"}));
  EXPECT_EQ(errors[3], (ScriptError{4, "'post' needs start first"}));
  EXPECT_EQ(errors[5], (ScriptError{6, "'expect-ended' needs start first"}));
  EXPECT_EQ(errors[6], (ScriptError{8, "start given again (first on line 7)"}));
}

TEST(ReplayScriptCheck, ShotWhereAndSaveAnswerMayComeBeforeStart) {
  EXPECT_TRUE(OrderErrors("shot bare.png\nwhere 5 5\nsave-answer cancel\n").empty());
}

TEST(ReplayScriptCheck, PointsMustLieOnTheScreenOfTheirTime) {
  EXPECT_EQ(OrderErrors("start\nclick 1365 767\n").size(), 0u);
  const auto errors = OrderErrors("start\nclick 1366 10\nmove -1 5\ndrag 1 1 10 768 3\n");
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0], (ScriptError{2, "point (1366, 10) is outside the 1366 x 768 screen"}));
  EXPECT_EQ(errors[1].line, 3);
  EXPECT_EQ(errors[2], (ScriptError{4, "point (10, 768) is outside the 1366 x 768 screen"}));

  EXPECT_TRUE(OrderErrors("screen 2000 1000\nstart\nclick 1900 900\n").empty());
  const auto shrunk = OrderErrors("start\nclick 1000 700\ndisplay 800 600\nclick 1000 500\n");
  ASSERT_EQ(shrunk.size(), 1u);
  EXPECT_EQ(shrunk[0], (ScriptError{4, "point (1000, 500) is outside the 800 x 600 screen"}));
}

}  // namespace
}  // namespace plumet::replay
