// The command line's --send words: the board command another program sends
// to the running board, by number or by name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BoardCommandWords {
  std::uint32_t code = 0;
  std::int32_t argument = 0;
};

// CODE [ARG] in decimal, or one name: window, pen, width, eraser, erase,
// zoom-in, zoom-out, save, background, undo, redo, "page 1|2" (1 is the
// first page) or "color black|blue|red|green". Nothing for anything else.
std::optional<BoardCommandWords> ParseSendWords(const std::vector<std::string>& words);

// The lines of --help that list the commands.
extern const char* const kSendHelp;
