#include "win32_error_text.h"

#include <windows.h>

std::string Win32ErrorText(unsigned long error) {
  wchar_t message[512] = {};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, message, 512,
                   nullptr);
  std::wstring line(message);
  line = line.substr(0, line.find_first_of(L"\r\n"));
  std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(
                       CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr)),
                   '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}
