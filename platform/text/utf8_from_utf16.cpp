// Over the code-page conversions of whichever system this is built for.
#include "platform/text/code_page_converter.h"

namespace plumet::text {

std::string Utf8FromUtf16(std::u16string_view text) {
  const auto length = static_cast<int>(text.size());
  std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, text.data(), length, nullptr, 0, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, text.data(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr);
  return utf8;
}

}  // namespace plumet::text
