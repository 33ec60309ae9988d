#include "tools/plumet-replay/replay_script.h"

#include <array>
#include <charconv>
#include <limits>

#include "platform/backend/headless/headless_desktop.h"

namespace plumet::replay {
namespace {

using backend::EventKind;
using backend::Size;

struct Param {
  std::string_view name;
  std::int64_t min;
  std::int64_t max;
};

enum class TextArg { None, Rest, Key };

struct Grammar {
  std::string_view name;
  CommandKind kind;
  std::vector<Param> params;
  TextArg text = TextArg::None;
};

constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr Param kX{"X", kIntMin, kIntMax};
constexpr Param kY{"Y", kIntMin, kIntMax};
constexpr Param kWidth{"W", 1, 16384};
constexpr Param kHeight{"H", 1, 16384};

const std::vector<Grammar>& Commands() {
  static const std::vector<Grammar> grammar = {
      {"screen", CommandKind::Screen, {kWidth, kHeight}},
      {"scale", CommandKind::Scale, {{"FACTOR", 1, 8}}},
      {"desktop", CommandKind::Desktop, {}, TextArg::Rest},
      {"desktop-pattern", CommandKind::DesktopPattern, {}},
      {"start", CommandKind::Start, {}},
      {"press", CommandKind::Press, {kX, kY}},
      {"move", CommandKind::Move, {kX, kY}},
      {"release", CommandKind::Release, {kX, kY}},
      {"click", CommandKind::Click, {kX, kY}},
      {"drag", CommandKind::Drag, {{"X1", kIntMin, kIntMax}, {"Y1", kIntMin, kIntMax},
                                   {"X2", kIntMin, kIntMax}, {"Y2", kIntMin, kIntMax}, {"STEPS", 1, 100000}}},
      {"key", CommandKind::Key, {}, TextArg::Key},
      {"wait", CommandKind::Wait, {{"MS", 0, kIntMax}}},
      {"post", CommandKind::Post, {{"CODE", 0, std::numeric_limits<std::uint32_t>::max()}, {"ARG", kIntMin, kIntMax}}},
      {"display", CommandKind::Display, {kWidth, kHeight}},
      {"shot", CommandKind::Shot, {}, TextArg::Rest},
      {"where", CommandKind::Where, {kX, kY}},
      {"save-answer", CommandKind::SaveAnswer, {}, TextArg::Rest},
      {"expect-ended", CommandKind::ExpectEnded, {}},
  };
  return grammar;
}

constexpr std::pair<std::string_view, EventKind> kKeys[] = {
    {"Enter", EventKind::KeyEnter},  {"Escape", EventKind::KeyEscape},
    {"Ctrl+Z", EventKind::KeyCtrlZ}, {"Ctrl+Y", EventKind::KeyCtrlY},
    {"Ctrl+Shift+Z", EventKind::KeyCtrlShiftZ},
};

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (true) {
    pos = s.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos) return words;
    const std::size_t end = s.find_first_of(" \t", pos);
    words.push_back(s.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    if (end == std::string_view::npos) return words;
    pos = end;
  }
}

std::string Usage(const Grammar& g) {
  std::string usage = "'";
  usage.append(g.name).append("' takes ");
  if (g.text == TextArg::Key) {
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
      usage.append(i == 0 ? "" : i + 1 == std::size(kKeys) ? " or " : ", ").append(kKeys[i].first);
    return usage;
  }
  if (g.text == TextArg::Rest)
    return usage.append(g.kind == CommandKind::SaveAnswer ? "a path or cancel" : "a file name");
  if (g.params.empty()) return usage.append("nothing");
  for (std::size_t i = 0; i < g.params.size(); ++i) {
    if (i) usage.push_back(' ');
    usage.append(g.params[i].name);
  }
  return usage;
}

// Parses one line's arguments into the command, or gives the reason it fails.
std::optional<std::string> ParseArguments(const Grammar& g, std::string_view rest, ScriptCommand& command) {
  if (g.text == TextArg::Rest) {
    if (rest.empty()) return Usage(g);
    command.text = rest;
    if (g.kind == CommandKind::SaveAnswer && rest == "cancel") command.kind = CommandKind::SaveCancel;
    return std::nullopt;
  }
  const std::vector<std::string_view> words = Words(rest);
  if (g.text == TextArg::Key) {
    if (words.size() != 1 || !KeyNamed(words[0])) return Usage(g);
    command.text = words[0];
    return std::nullopt;
  }
  if (words.size() != g.params.size()) return Usage(g);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Param& p = g.params[i];
    std::int64_t value = 0;
    const char* end = words[i].data() + words[i].size();
    const auto [ptr, ec] = std::from_chars(words[i].data(), end, value);
    if (ec != std::errc() || ptr != end) {
      return "bad number '" + std::string(words[i]) + "' for " + std::string(p.name);
    }
    if (value < p.min || value > p.max) {
      return "bad number '" + std::string(words[i]) + "' for " + std::string(p.name) + " (" +
             std::to_string(p.min) + " to " + std::to_string(p.max) + ")";
    }
    command.numbers.push_back(value);
  }
  return std::nullopt;
}

bool NeedsStart(CommandKind kind) {
  switch (kind) {
    case CommandKind::Press:
    case CommandKind::Move:
    case CommandKind::Release:
    case CommandKind::Click:
    case CommandKind::Drag:
    case CommandKind::Key:
    case CommandKind::Wait:
    case CommandKind::Post:
    case CommandKind::Display:
    case CommandKind::ExpectEnded:
      return true;
    default:
      return false;
  }
}

bool BeforeStartOnly(CommandKind kind) {
  return kind == CommandKind::Screen || kind == CommandKind::Scale || kind == CommandKind::Desktop ||
         kind == CommandKind::DesktopPattern;
}

std::string_view NameOf(CommandKind kind) {
  if (kind == CommandKind::SaveCancel) kind = CommandKind::SaveAnswer;
  for (const Grammar& g : Commands()) {
    if (g.kind == kind) return g.name;
  }
  return {};
}

// The points a command puts the pointer on, as pairs of number indexes.
std::vector<std::array<std::size_t, 2>> PointsOf(CommandKind kind) {
  switch (kind) {
    case CommandKind::Press:
    case CommandKind::Move:
    case CommandKind::Release:
    case CommandKind::Click:
    case CommandKind::Where:
      return {{0, 1}};
    case CommandKind::Drag:
      return {{0, 1}, {2, 3}};
    default:
      return {};
  }
}

}  // namespace

std::optional<EventKind> KeyNamed(std::string_view name) {
  for (const auto& [keyName, kind] : kKeys)
    if (keyName == name) return kind;
  return std::nullopt;
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript result;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t nameEnd = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view name = line.substr(0, nameEnd);
    const Grammar* grammar = nullptr;
    for (const Grammar& g : Commands()) {
      if (g.name == name) grammar = &g;
    }
    if (grammar == nullptr) {
      result.errors.push_back({lineNumber, "unknown command '" + std::string(name) + "'"});
      continue;
    }
    ScriptCommand command{lineNumber, grammar->kind, {}, {}};
    if (auto reason = ParseArguments(*grammar, Trim(line.substr(nameEnd)), command)) {
      result.errors.push_back({lineNumber, *reason});
      continue;
    }
    result.commands.push_back(std::move(command));
  }
  return result;
}

std::vector<ScriptError> CheckScript(const std::vector<ScriptCommand>& commands) {
  std::vector<ScriptError> errors;
  int startLine = 0;
  Size screen = backend::headless::kDefaultScreen;
  for (const ScriptCommand& c : commands) {
    const std::string name = "'" + std::string(NameOf(c.kind)) + "'";
    if (BeforeStartOnly(c.kind) && startLine != 0) {
      errors.push_back({c.line, name + " must come before start"});
    } else if (NeedsStart(c.kind) && startLine == 0) {
      errors.push_back({c.line, name + " needs start first"});
    } else if (c.kind == CommandKind::Start && startLine != 0) {
      errors.push_back({c.line, "start given again (first on line " + std::to_string(startLine) + ")"});
    }
    if (c.kind == CommandKind::Start && startLine == 0) startLine = c.line;
    if (c.kind == CommandKind::Screen || c.kind == CommandKind::Display) {
      screen = Size{static_cast<int>(c.numbers[0]), static_cast<int>(c.numbers[1])};
    }
    for (const auto& [xi, yi] : PointsOf(c.kind)) {
      const std::int64_t x = c.numbers[xi];
      const std::int64_t y = c.numbers[yi];
      if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) {
        errors.push_back({c.line, "point (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside the " +
                                      std::to_string(screen.width) + " x " + std::to_string(screen.height) +
                                      " screen"});
      }
    }
  }
  return errors;
}

std::string FormatError(const ScriptError& error) { return std::to_string(error.line) + ": " + error.reason; }

}  // namespace plumet::replay
