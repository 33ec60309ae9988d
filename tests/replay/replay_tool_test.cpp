// plumet-replay as a user runs it: the real program from a script file,
// judged by exit status, printed lines and the shots it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/backend/headless/test_pattern.h"
#include "tests/platform/png_reader.h"

namespace plumet::test {
namespace {

struct ToolRun {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

ToolRun ReplayFile(const std::string& scriptPath) {
  const std::string base = testing::TempDir() + "replay_tool_" +
                           testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string command = std::string("'") + PLUMET_REPLAY_PATH + "' '" + scriptPath + "' > '" + base +
                              ".out' 2> '" + base + ".err'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(base + ".out"), ReadText(base + ".err")};
}

ToolRun Replay(const std::string& script) {
  const std::string path = testing::TempDir() + "replay_tool_" +
                           testing::UnitTest::GetInstance()->current_test_info()->name() + ".script";
  std::ofstream(path) << script;
  return ReplayFile(path);
}

bool NearPixel(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  }
  return true;
}

TEST(ReplayTool, StartShotEscapeEndsWithTheDesktopShowingThroughTheBoard) {
  const std::string shot = testing::TempDir() + "replay_tool_started.png";
  std::filesystem::remove(shot);
  const ToolRun run = Replay("start\nshot " + shot + "\nwhere 10 10\nkey Escape\nexpect-ended\nwhere 10 10\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out, "desktop\ndesktop\n") << "window mode passes input through the board";
  const PngPixels picture = ReadPng(shot);
  ASSERT_EQ(picture.width, 1366);
  ASSERT_EQ(picture.height, 768);
  for (const auto& [x, y] : {std::pair{10, 10}, {64, 300}, {700, 400}, {1000, 700}}) {
    EXPECT_TRUE(NearPixel(picture.At(x, y), backend::headless::TestPatternPixel(x, y))) << x << "," << y;
  }
  // The palette stands at (screen width - 100, 100).
  int palettePixels = 0;
  for (int y = 100; y < 300; ++y) {
    for (int x = 1266; x < 1366; ++x) {
      palettePixels += !NearPixel(picture.At(x, y), backend::headless::TestPatternPixel(x, y));
    }
  }
  EXPECT_GT(palettePixels, 5000);
}

TEST(ReplayTool, ScaleDoublesThePaletteAndItsButtons) {
  // The palette at (W - 200, 200), 100 x 950; each point lies beyond where
  // the 1x button or palette would end.
  const ToolRun run = Replay(
      "screen 2732 1536\n"
      "scale 2\n"
      "start\n"
      "wait 10\n"
      "where 2600 300\n"
      "where 2600 450\n"
      "where 2582 1140\n"
      "where 2531 600\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out, "button 1000\nbutton 1010\npalette\ndesktop\n");
}

TEST(ReplayTool, WhereFindsTheBoardOnceItTakesInput) {
  // Command 1 (the pen) leaves window mode, so the board takes every press.
  const ToolRun run = Replay("screen 800 600\nstart\npost 1 0\nwhere 10 10\nkey Enter\nexpect-ended\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out, "board\n");
}

TEST(ReplayTool, ExitStatusTellsFailedExpectationsFromScriptErrors) {
  const ToolRun stillRunning = Replay("start\nwait 50\nexpect-ended\n");
  EXPECT_EQ(stillRunning.exit, 1);
  EXPECT_EQ(stillRunning.err, "3: expected the program to have ended, but it still runs\n");

  const std::string shot = testing::TempDir() + "replay_tool_never.png";
  std::filesystem::remove(shot);
  const ToolRun wrong = Replay("shot " + shot + "\nstart\nkey Return\n");
  EXPECT_EQ(wrong.exit, 2);
  EXPECT_EQ(wrong.err, "3: 'key' takes Enter, Escape, Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z\n");
  EXPECT_FALSE(std::filesystem::exists(shot)) << "nothing runs after a script error";
}

// A folder used to read as an empty script (exit 0, nothing run), and
// /dev/zero to grow memory without end.
TEST(ReplayTool, WhatCannotBeAScriptIsAScriptError) {
  const ToolRun folder = ReplayFile(testing::TempDir());
  EXPECT_EQ(folder.exit, 2);
  EXPECT_EQ(folder.err, "plumet-replay: cannot read " + testing::TempDir() + ": Is a directory\n");
  const ToolRun zeros = ReplayFile("/dev/zero");
  EXPECT_EQ(zeros.exit, 2);
  EXPECT_EQ(zeros.err, "plumet-replay: 1: line longer than 4096 characters\n");
  const ToolRun longLine = Replay("screen 800 600\n# " + std::string(4094, 'x') + "\n# " + std::string(4095, 'x') + "\n");
  EXPECT_EQ(longLine.exit, 2);
  EXPECT_EQ(longLine.err, "plumet-replay: 3: line longer than 4096 characters\n");
}

}  // namespace
}  // namespace plumet::test
