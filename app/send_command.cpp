#include "app/send_command.h"

#include <charconv>
#include <limits>

#include "palette/board_commands.h"

namespace {

struct NamedCommand {
  const char* name;
  std::uint32_t code;
};

constexpr NamedCommand kNamedCommands[] = {
    {"window", BC_WINDOW},        {"pen", BC_PEN},           {"width", BC_LINEWIDTH},
    {"eraser", BC_BIGERASE},      {"erase", BC_ERASE},       {"zoom-in", BC_ZOOMIN},
    {"zoom-out", BC_ZOOMOUT},     {"save", BC_SAVE},         {"background", BC_BACKGROUND},
    {"undo", BC_UNDO},       {"redo", BC_REDO},
};

// By BC_COLOR argument.
constexpr const char* kColourNames[] = {"black", "blue", "red", "green"};

// A whole decimal number within [low, high]; no sign but a leading '-'.
template <typename T>
std::optional<T> ReadNumber(const std::string& text, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
  return static_cast<T>(value);
}

std::optional<BoardCommandWords> ParseNamed(const std::vector<std::string>& words) {
  const std::string& name = words[0];
  if (name == "color" && words.size() == 2) {
    for (std::size_t i = 0; i < std::size(kColourNames); ++i) {
      if (words[1] == kColourNames[i]) return BoardCommandWords{BC_COLOR, static_cast<std::int32_t>(i)};
    }
    return std::nullopt;
  }
  if (name == "page" && words.size() == 2) {
    if (words[1] == "1") return BoardCommandWords{BC_FIRSTPAGE, 0};
    if (words[1] == "2") return BoardCommandWords{BC_SECONDPAGE, 0};
    return std::nullopt;
  }
  if (words.size() != 1) return std::nullopt;
  for (const NamedCommand& command : kNamedCommands) {
    if (name == command.name) return BoardCommandWords{command.code, 0};
  }
  return std::nullopt;
}

}  // namespace

std::optional<BoardCommandWords> ParseSendWords(const std::vector<std::string>& words) {
  if (words.empty() || words.size() > 2) return std::nullopt;
  const std::optional<std::uint32_t> code =
      ReadNumber<std::uint32_t>(words[0], 0, std::numeric_limits<std::uint32_t>::max());
  if (!code) return ParseNamed(words);
  if (words.size() == 1) return BoardCommandWords{*code, 0};
  const std::optional<std::int32_t> argument = ReadNumber<std::int32_t>(
      words[1], std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  if (!argument) return std::nullopt;
  return BoardCommandWords{*code, *argument};
}

const char* const kSendHelp =
    "  --send COMMAND  send COMMAND to the board running on this display, and exit:\n"
    "                  window, pen, width, eraser, erase, zoom-in, zoom-out, save,\n"
    "                  background, undo, redo, page 1, page 2,\n"
    "                  color black|blue|red|green, or a code and argument: CODE [ARG]\n";
