// Charset names, conversion between charsets and the charset a document
// declares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Stands for UTF-32 (little-endian 32-bit units) inside this component only.
constexpr std::int32_t CP_UTF32 = 65005;

struct CharsetConversion {
  std::u16string target;
  std::u16string source;
  const void* input = nullptr;
  std::int32_t inputLength = 0;  // in source units
  std::int32_t output = 0;       // capacity in target units; after the call, the length
  std::int32_t lostChars = 0;    // a character had no equivalent in the target
};

// 0 for an empty name, -1 for an unknown one.
std::int32_t CodePageForCharset(std::u16string_view name);

// Bytes per source unit as ConvertCharset counts a charset's input: 4 for
// UTF-32, 2 for UTF-16 ("utf-16", "unicode"), 1 for every byte charset
// (also "unicodefffe", which the platform converter takes as bytes).
std::int32_t ConversionUnitSize(std::u16string_view charset);

// Whether text can be converted to and from the charset: names not in the
// table and the empty name mean the default (UTF-8), UTF-16 and UTF-32 are
// converted here, and every other page of the table needs a converter of
// the platform. Some pages have none anywhere (x-europa, x-ia5, the Mac
// Far East pages ...); ConvertCharset gives nothing for them.
bool CanConvertCharset(std::u16string_view charset);

// The status text of a read or save refused for that reason.
std::u16string NoConverterStatus(std::u16string_view charset);

// Converts conversion.input into output (target units: bytes, UTF-16 units
// or 32-bit units); with a null output only counts. Returns the length.
std::int32_t ConvertCharset(CharsetConversion& conversion, void* output);

// The charset named by an XML declaration or an HTML meta tag, or empty.
std::u16string FindDocumentCharset(std::u16string_view text);
