// Conversion between UTF-16 and numbered code pages, in the shape of the
// Windows MultiByteToWideChar / WideCharToMultiByte pair: a call with a null
// output only counts, and the result is the number of output units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plumet::text {

constexpr int CP_SYSTEM_DEFAULT = 0;
constexpr int CP_UTF16LE = 1200;
constexpr int CP_UTF16BE = 1201;
constexpr int CP_UTF8 = 65001;

// Whether text can be converted to and from a code page here. The system
// default (UTF-8) always can; a code page that no converter library has
// converts nothing (every result 0), so that callers refuse it rather than
// write other bytes than the page says.
bool HasConverter(int codePage);

// UTF-16 to bytes. Characters the target cannot hold are written as its
// default character and reported through usedDefaultChar (never for UTF-8).
// Returns the bytes written or, with a null output, needed; 0 when the
// output is too small.
int WideCharToMultiByte(int codePage, const char16_t* input, int inputLength, char* output,
                        int outputCapacity, bool* usedDefaultChar);

// UTF-16 text as UTF-8, for messages and output meant for people.
std::string Utf8FromUtf16(std::u16string_view text);

// Bytes to UTF-16; invalid bytes become U+FFFD. Same counting rules.
int MultiByteToWideChar(int codePage, const char* input, int inputLength, char16_t* output,
                        int outputCapacity);

}  // namespace plumet::text
