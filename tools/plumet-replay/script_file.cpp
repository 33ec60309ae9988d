#include "tools/plumet-replay/script_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/text/binary_file.h"
#include "platform/text/system_path.h"

namespace plumet::replay {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string CannotRead(const std::string& name, int error) {
  return "cannot read " + name + ": " + std::strerror(error);
}

// Reads to the end, stopping at the first line over the limit.
ScriptFile ReadAll(std::FILE* stream, const std::string& name) {
  ScriptFile script;
  char chunk[1 << 16];
  std::size_t line = 1;
  std::size_t lineLength = 0;
  while (true) {
    const std::size_t got = std::fread(chunk, 1, sizeof(chunk), stream);
    for (std::size_t i = 0; i < got; ++i) {
      if (chunk[i] == '\n') {
        ++line;
        lineLength = 0;
      } else if (++lineLength > kMaxScriptLine) {
        script.error = std::to_string(line) + ": line longer than " + std::to_string(kMaxScriptLine) + " characters";
        return script;
      }
    }
    script.text.append(chunk, got);
    if (script.text.size() > kMaxScriptBytes) {
      script.error = name + ": script larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
      return script;
    }
    if (got < sizeof(chunk)) break;
  }
  // A folder opens like a file and fails only when read.
  if (std::ferror(stream) != 0) script.error = CannotRead(name, errno);
  return script;
}

}  // namespace

ScriptFile ReadScriptFile(const std::string& name) {
  if (name == "-") return ReadAll(stdin, "standard input");
  std::unique_ptr<std::FILE, CloseFile> file(text::OpenBinaryStream(text::SystemPathFromUtf8(name).c_str(), "rb"));
  if (!file) return {{}, CannotRead(name, errno)};
  return ReadAll(file.get(), name);
}

}  // namespace plumet::replay
