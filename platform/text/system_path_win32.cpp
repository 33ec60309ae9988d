#include "platform/text/system_path.h"

#include <windows.h>

namespace plumet::text {

SystemPath SystemPathFromUtf8(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  if (length == 0) return {};
  SystemPath path(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, path.data(), static_cast<int>(path.size()));
  return path;
}

std::string Utf8FromSystemPath(const SystemPath& path) {
  const int length = static_cast<int>(path.size());
  if (length == 0) return {};
  std::string utf8(
      static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, path.data(), length, nullptr, 0, nullptr, nullptr)),
      '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, path.data(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

}  // namespace plumet::text
