// The line-based replay script: one command a line, '#' starts a comment.
// Parsing checks each line on its own; CheckScript checks the order of a
// whole script and that every point lies on the screen of its time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend/backend.h"

namespace plumet::replay {

enum class CommandKind {
  Screen,          // W H
  Scale,           // FACTOR
  Desktop,         // text: PNG file
  DesktopPattern,
  Start,
  Press,           // X Y
  Move,            // X Y
  Release,         // X Y
  Click,           // X Y
  Drag,            // X1 Y1 X2 Y2 STEPS
  Key,             // text: a key name, see KeyNamed
  Wait,            // MS
  Post,            // CODE ARG
  Display,         // W H
  Shot,            // text: PNG file
  Where,           // X Y
  SaveAnswer,      // text: the path to return
  SaveCancel,
  ExpectEnded,
};

struct ScriptCommand {
  int line = 0;  // 1-based
  CommandKind kind = CommandKind::Start;
  std::vector<std::int64_t> numbers;  // in the order the command takes them
  std::string text;
};

struct ScriptError {
  int line = 0;
  std::string reason;
  friend bool operator==(const ScriptError&, const ScriptError&) = default;
};

struct ParsedScript {
  std::vector<ScriptCommand> commands;
  std::vector<ScriptError> errors;  // one per bad line
};

// What `post` sends from another program: the board's command message (WM_USER + 1).
inline constexpr std::uint32_t kPostedMessage = 0x0400 + 1;

ParsedScript ParseScript(std::string_view text);

// The key event of a `key` line's name (Enter, Escape, Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z).
std::optional<backend::EventKind> KeyNamed(std::string_view name);

// Order rules: screen and desktop lines only before start; start at most once;
// input, time, post, display and expect-ended only after it; shot, where and
// save-answer anywhere.
std::vector<ScriptError> CheckScript(const std::vector<ScriptCommand>& commands);

// "LINE: reason"
std::string FormatError(const ScriptError& error);

}  // namespace plumet::replay
