#include "platform/backend/win32/wide_text.h"

#include "platform/backend/win32/windows_api.h"

namespace plumet::backend::win32 {

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  // Bytes that are not UTF-8 (a name made elsewhere) are read in the ANSI code page.
  UINT codePage = CP_UTF8;
  int count = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (count == 0) {
    codePage = CP_ACP;
    count = ::MultiByteToWideChar(codePage, 0, utf8.data(), length, nullptr, 0);
  }
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  ::MultiByteToWideChar(codePage, 0, utf8.data(), length, wide.data(), count);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int count = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(count), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), count, nullptr, nullptr);
  return utf8;
}

}  // namespace plumet::backend::win32
