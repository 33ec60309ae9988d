// The plumet program on the Windows desktop: a program without a console,
// whose command line arrives in UTF-16 (-municode).
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/program_main.h"
#include "app/scrivane_dlg.h"
#include "platform/backend/win32/win32_backend.h"
#include "platform/text/code_page_converter.h"

namespace {

int PostToBoard(const plumet::backend::PostedMessage& message) {
  if (plumet::backend::win32::PostToRunningBoard(message, kBoardCaption) == plumet::backend::win32::SendResult::Delivered) {
    return 0;
  }
  std::fputs("plumet: no board runs on this desktop\n", stderr);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::wstring word = argv[i];
    arguments.push_back(plumet::text::Utf8FromUtf16(std::u16string(word.begin(), word.end())));
  }
  // Help, version and --send answer on the console that started the program.
  if (!arguments.empty()) plumet::backend::win32::UseParentConsole();
  return RunProgram(arguments, ProgramDesktop{plumet::backend::win32::OpenDesktop, PostToBoard});
}
