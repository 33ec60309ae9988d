// Fuzzes FindDocumentCharset over UTF-16 text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "xml/xml_charset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);
  std::u16string charset = FindDocumentCharset(text);
  CodePageForCharset(charset);
  return 0;
}
