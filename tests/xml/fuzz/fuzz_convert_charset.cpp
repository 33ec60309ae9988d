// Fuzzes ConvertCharset: the counting call and the converting call must
// agree, for any pair of charsets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "xml/xml_charset.h"

namespace {

// Charsets of every kind: iconv's, ICU's (dos-720, x-mac-greek, hz-gb-2312,
// x-iscii-de), none (x-europa), by hand (UTF-32), unknown and empty. Sixteen,
// so that one byte picks both.
const char16_t* const kCharsets[] = {u"UTF-16",     u"UTF-8",       u"UTF-32",     u"iso-8859-1", u"shift_jis",
                                     u"utf-7",      u"iso-2022-jp", u"dos-720",    u"ebcdic-cp-us", u"unicodefffe",
                                     u"hz-gb-2312", u"x-mac-greek", u"no-such",    u"",           u"x-iscii-de",
                                     u"x-europa"};
constexpr std::size_t kCount = sizeof(kCharsets) / sizeof(kCharsets[0]);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const char16_t* target = kCharsets[data[0] % kCount];
  const char16_t* source = kCharsets[(data[0] / kCount) % kCount];
  const std::int32_t sourceUnit = ConversionUnitSize(source);
  std::vector<std::uint8_t> input(data + 1, data + size);
  // Aligned units of the source's size.
  std::vector<char32_t> aligned((input.size() + 3) / 4 + 1);
  if (!input.empty()) std::memcpy(aligned.data(), input.data(), input.size());
  CharsetConversion conversion{target, source, aligned.data(), static_cast<std::int32_t>(input.size()) / sourceUnit, 0, 0};
  const std::int32_t counted = ConvertCharset(conversion, nullptr);
  std::vector<char32_t> output(static_cast<std::size_t>(counted) + 1);
  conversion.output = counted;
  const std::int32_t written = ConvertCharset(conversion, output.data());
  if (written != counted) std::abort();
  return 0;
}
