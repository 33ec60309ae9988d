#include "platform/text/system_error_text.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

namespace plumet::text {
namespace {

constexpr std::size_t kMaxLength = 100;

std::u16string FirstLine(const wchar_t* message) {
  std::u16string text;
  for (const wchar_t* c = message; *c != L'\0' && *c != L'\r' && *c != L'\n' && text.size() < kMaxLength; ++c)
    text.push_back(static_cast<char16_t>(*c));
  return text;
}

}  // namespace

// The Win32 error of a failed system call comes first; a failure of the C
// runtime or of the program's own checks leaves only errno.
std::u16string SystemErrorText() {
  const DWORD error = ::GetLastError();
  if (error != 0) {
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::u16string text = length > 0 ? FirstLine(message) : std::u16string();
    ::LocalFree(message);
    return text;
  }
  if (errno == 0) return {};
  return FirstLine(_wcserror(errno));
}

void ClearSystemError() {
  ::SetLastError(0);
  errno = 0;
}

}  // namespace plumet::text
