// The code-page conversions through the system's own converters. The system
// default is UTF-8 here too, so that a document without a charset reads the
// same on every system. Windows converts no UTF-16 code page: those two are
// copies, byte-swapped for big-endian.
#include "platform/text/code_page_converter.h"

#include <windows.h>

#include <cstring>

namespace plumet::text {
namespace {

UINT SystemCodePage(int codePage) { return static_cast<UINT>(codePage == CP_SYSTEM_DEFAULT ? CP_UTF8 : codePage); }

bool IsUtf16(int codePage) { return codePage == CP_UTF16LE || codePage == CP_UTF16BE; }

// The pages for which the system takes no flags and reports no default
// character use: the stateful, UTF-7/8 and ISCII ones.
bool TakesNoFlags(UINT codePage) {
  return (codePage >= 50220 && codePage <= 50229) || codePage == 52936 || codePage == 54936 ||
         (codePage >= 57002 && codePage <= 57011) || codePage == 65000 || codePage == 65001 || codePage == 42;
}

char16_t SwapBytes(char16_t unit) { return static_cast<char16_t>((unit << 8) | (unit >> 8)); }

}  // namespace

bool HasConverter(int codePage) {
  return codePage == CP_SYSTEM_DEFAULT || IsUtf16(codePage) || ::IsValidCodePage(static_cast<UINT>(codePage)) != 0;
}

int WideCharToMultiByte(int codePage, const char16_t* input, int inputLength, char* output, int outputCapacity,
                        bool* usedDefaultChar) {
  if (usedDefaultChar != nullptr) *usedDefaultChar = false;
  if (input == nullptr || inputLength <= 0 || !HasConverter(codePage)) return 0;
  if (IsUtf16(codePage)) {
    const int bytes = inputLength * 2;
    if (output == nullptr) return bytes;
    if (outputCapacity < bytes) return 0;
    for (int i = 0; i < inputLength; ++i) {
      const char16_t unit = codePage == CP_UTF16BE ? SwapBytes(input[i]) : input[i];
      std::memcpy(output + 2 * i, &unit, 2);
    }
    return bytes;
  }
  const UINT page = SystemCodePage(codePage);
  BOOL usedDefault = FALSE;
  const bool reports = !TakesNoFlags(page);
  const int written = ::WideCharToMultiByte(page, 0, reinterpret_cast<const wchar_t*>(input), inputLength, output,
                                            output != nullptr ? outputCapacity : 0, nullptr,
                                            reports ? &usedDefault : nullptr);
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault != FALSE;
  return written;
}

int MultiByteToWideChar(int codePage, const char* input, int inputLength, char16_t* output, int outputCapacity) {
  if (input == nullptr || inputLength <= 0 || !HasConverter(codePage)) return 0;
  if (IsUtf16(codePage)) {
    // A trailing odd byte is no whole unit: it becomes U+FFFD.
    const int units = (inputLength + 1) / 2;
    if (output == nullptr) return units;
    if (outputCapacity < units) return 0;
    for (int i = 0; i < inputLength / 2; ++i) {
      char16_t unit;
      std::memcpy(&unit, input + 2 * i, 2);
      output[i] = codePage == CP_UTF16BE ? SwapBytes(unit) : unit;
    }
    if (inputLength % 2 != 0) output[units - 1] = u'\uFFFD';
    return units;
  }
  return ::MultiByteToWideChar(SystemCodePage(codePage), 0, input, inputLength, reinterpret_cast<wchar_t*>(output),
                               output != nullptr ? outputCapacity : 0);
}

}  // namespace plumet::text
