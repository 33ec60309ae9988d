#include "tools/plumet-replay/replay_runner.h"

#include <algorithm>
#include <ostream>

#include "platform/backend/headless/png_file.h"
#include "tools/plumet-replay/script_steps.h"

namespace plumet::replay {
namespace {

std::vector<ScriptError> CheckWhole(const ParsedScript& parsed) {
  std::vector<ScriptError> errors = parsed.errors;
  for (ScriptError& e : CheckScript(parsed.commands)) errors.push_back(std::move(e));
  for (const ScriptCommand& c : parsed.commands) {
    if (c.kind == CommandKind::Desktop && !backend::headless::LoadPng(c.text)) {
      errors.push_back({c.line, "cannot read desktop picture '" + c.text + "'"});
    }
  }
  std::stable_sort(errors.begin(), errors.end(),
                   [](const ScriptError& a, const ScriptError& b) { return a.line < b.line; });
  return errors;
}

}  // namespace

int RunReplay(std::string_view script, backend::headless::HeadlessDesktop& desktop, ReplayProgram& program,
              std::ostream& out, std::ostream& err) {
  const ParsedScript parsed = ParseScript(script);
  const std::vector<ScriptError> errors = CheckWhole(parsed);
  for (const ScriptError& e : errors) err << FormatError(e) << '\n';
  if (!errors.empty()) return kReplayScriptError;

  ScriptSteps steps(desktop);
  bool ended = false;
  bool failed = false;
  desktop.SetMessageSink(
      [&out](const backend::MessageRequest& message) { out << "message: " << message.text << '\n'; });
  for (const ScriptCommand& c : parsed.commands) {
    switch (c.kind) {
      case CommandKind::Start:
        desktop.AddCallback([&] {
          program.Start();
          ended = true;
        });
        break;
      case CommandKind::Where:
        desktop.AddCallback([&program, &out, c] {
          out << program.Where(static_cast<int>(c.numbers[0]), static_cast<int>(c.numbers[1])) << '\n';
        });
        break;
      case CommandKind::ExpectEnded:
        desktop.AddCallback([&, line = c.line] {
          if (ended) return;
          err << FormatError({line, "expected the program to have ended, but it still runs"}) << '\n';
          failed = true;
        });
        break;
      default:
        steps.Add(c);
        break;
    }
  }
  desktop.RunRemainingSteps();
  desktop.SetMessageSink(nullptr);

  for (const ScriptError& e : steps.Problems()) err << FormatError(e) << '\n';
  if (!steps.Problems().empty()) return kReplayScriptError;
  return failed ? kReplayExpectationFailed : kReplayPassed;
}

}  // namespace plumet::replay
