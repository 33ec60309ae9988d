#include "tools/plumet-replay/script_steps.h"

namespace plumet::replay {
namespace {

bool NeedsProgram(CommandKind kind) {
  return kind == CommandKind::Start || kind == CommandKind::Where || kind == CommandKind::ExpectEnded;
}

}  // namespace

bool ScriptSteps::Add(const ScriptCommand& c) {
  const auto n = [&](std::size_t i) { return static_cast<int>(c.numbers[i]); };
  switch (c.kind) {
    case CommandKind::Screen:
      desktop_.AddCallback([this, size = backend::Size{n(0), n(1)}] { desktop_.SetScreenSize(size); });
      return true;
    case CommandKind::Scale:
      desktop_.AddCallback([this, factor = n(0)] { desktop_.SetScaleFactor(factor); });
      return true;
    case CommandKind::Desktop:
      desktop_.AddCallback([this, c] {
        if (!desktop_.UseDesktopPicture(c.text))
          problems_.push_back({c.line, "cannot read desktop picture '" + c.text + "'"});
      });
      return true;
    case CommandKind::DesktopPattern:
      desktop_.AddCallback([this] { desktop_.UseDesktopPattern(); });
      return true;
    case CommandKind::Press:
      desktop_.AddPress(n(0), n(1));
      return true;
    case CommandKind::Move:
      desktop_.AddMove(n(0), n(1));
      return true;
    case CommandKind::Release:
      desktop_.AddRelease(n(0), n(1));
      return true;
    case CommandKind::Click:
      desktop_.AddClick(n(0), n(1));
      return true;
    case CommandKind::Drag:
      desktop_.AddDrag(n(0), n(1), n(2), n(3), n(4));
      return true;
    case CommandKind::Key:
      if (const std::optional<backend::EventKind> key = KeyNamed(c.text)) desktop_.AddKey(*key);
      return true;
    case CommandKind::Wait:
      desktop_.AddWait(static_cast<std::uint64_t>(c.numbers[0]));
      return true;
    case CommandKind::Post:
      desktop_.AddMessageFromOutside(
          {kPostedMessage, static_cast<std::uint32_t>(c.numbers[0]), static_cast<std::int32_t>(c.numbers[1])});
      return true;
    case CommandKind::Display:
      desktop_.AddDisplayChange(backend::Size{n(0), n(1)});
      return true;
    case CommandKind::Shot:
      desktop_.AddCallback([this, c] {
        if (!desktop_.WriteShot(c.text)) problems_.push_back({c.line, "cannot write shot '" + c.text + "'"});
      });
      return true;
    case CommandKind::SaveAnswer:
      desktop_.AddCallback([this, path = c.text] { desktop_.AddSaveAnswer(path); });
      return true;
    case CommandKind::SaveCancel:
      desktop_.AddCallback([this] { desktop_.AddSaveAnswer(std::nullopt); });
      return true;
    case CommandKind::Start:
    case CommandKind::Where:
    case CommandKind::ExpectEnded:
      break;
  }
  return false;
}

std::vector<ScriptError> ScriptSteps::AddLines(std::string_view script) {
  ParsedScript parsed = ParseScript(script);
  for (const ScriptCommand& c : parsed.commands) {
    if (NeedsProgram(c.kind)) {
      parsed.errors.push_back({c.line, "this command needs the program; the desktop alone cannot run it"});
    }
  }
  if (!parsed.errors.empty()) return parsed.errors;
  for (const ScriptCommand& c : parsed.commands) Add(c);
  return {};
}

}  // namespace plumet::replay
