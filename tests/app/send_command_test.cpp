// The words of plumet --send: names for people, numbers for programs, and
// nothing for anything else.
#include <gtest/gtest.h>

#include "app/send_command.h"
#include "palette/board_commands.h"

namespace plumet::test {
namespace {

TEST(SendWords, NamesAndNumbersGiveTheirCommandsAndAnythingElseNothing) {
  const auto is = [](std::vector<std::string> words, std::uint32_t code, std::int32_t argument) {
    const std::optional<BoardCommandWords> command = ParseSendWords(words);
    return command && command->code == code && command->argument == argument;
  };
  EXPECT_TRUE(is({"page", "1"}, BC_FIRSTPAGE, 0)) << "page 1 is the first page";
  EXPECT_TRUE(is({"page", "2"}, BC_SECONDPAGE, 0));
  EXPECT_TRUE(is({"color", "green"}, BC_COLOR, 3));
  EXPECT_TRUE(is({"eraser"}, BC_BIGERASE, 0));
  EXPECT_TRUE(is({"redo"}, BC_REDO, 0));
  EXPECT_TRUE(is({"4294967295", "-2147483648"}, 4294967295u, INT32_MIN));
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {}, {"Pen"}, {"pen", "now"}, {"color"}, {"color", "purple"}, {"page", "01"}, {"4294967296"}, {"-1"},
           {"+1"}, {"1", "2147483648"}, {"1", "2", "3"}, {"0x10"}, {""}}) {
    EXPECT_FALSE(ParseSendWords(words)) << testing::PrintToString(words);
  }
}

}  // namespace
}  // namespace plumet::test
