// The words of plumet --send: names for people, numbers for programs, and
// nothing for anything else.
#include <gtest/gtest.h>

#include "app/send_command.h"
#include "palette/board_commands.h"

namespace plumet::test {
namespace {

std::optional<BoardCommandWords> Parse(std::vector<std::string> words) { return ParseSendWords(words); }

TEST(SendWords, NamesTakeTheirCodesAndPageOneIsTheFirstPage) {
  const struct {
    std::vector<std::string> words;
    std::uint32_t code;
    std::int32_t argument;
  } cases[] = {
      {{"window"}, BC_WINDOW, 0},       {{"width"}, BC_LINEWIDTH, 0},  {{"eraser"}, BC_BIGERASE, 0},
      {{"erase"}, BC_ERASE, 0},         {{"zoom-out"}, BC_ZOOMOUT, 0}, {{"page", "1"}, BC_FIRSTPAGE, 0},
      {{"page", "2"}, BC_SECONDPAGE, 0}, {{"color", "black"}, BC_COLOR, 0}, {{"color", "green"}, BC_COLOR, 3},
      {{"redo"}, BC_REDO, 0},           {{"7"}, 7, 0},
      {{"4294967295", "-2147483648"}, 4294967295u, INT32_MIN},
  };
  for (const auto& c : cases) {
    const std::optional<BoardCommandWords> command = Parse(c.words);
    ASSERT_TRUE(command) << c.words[0];
    EXPECT_EQ(command->code, c.code) << c.words[0];
    EXPECT_EQ(command->argument, c.argument) << c.words[0];
  }
}

TEST(SendWords, UnknownWordsOutOfRangeNumbersAndExtraWordsAreRefused) {
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {}, {"Pen"}, {"pen", "now"}, {"color"}, {"color", "red", "2"}, {"color", "purple"}, {"page", "0"},
           {"page", "01"}, {"4294967296"}, {"-1"}, {"+1"}, {"1", "2147483648"}, {"1", "2", "3"}, {"0x10"}, {""}}) {
    EXPECT_FALSE(Parse(words)) << testing::PrintToString(words);
  }
}

}  // namespace
}  // namespace plumet::test
