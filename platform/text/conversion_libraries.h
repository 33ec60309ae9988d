// The two converter libraries behind the code-page conversions: glibc iconv
// for the pages it has, ICU for those it lacks. Inside platform/text only.
// Both take a converter name of their own library and follow the counting
// rules of code_page_converter.h.
#pragma once

namespace plumet::text {

// The library and name that convert one code page.
enum class ConverterLibrary { Iconv, Icu };
struct ConverterName {
  ConverterLibrary library;
  const char* name;
};

// nullptr when neither library has the code page.
const ConverterName* ConverterForCodePage(int codePage);

bool IconvCanOpen(const char* name);
int IconvFromUtf16(const char* name, const char16_t* input, int inputLength, char* output, int outputCapacity,
                   bool* usedDefaultChar);
int IconvToUtf16(const char* name, const char* input, int inputLength, char16_t* output, int outputCapacity);

bool IcuCanOpen(const char* name);
int IcuFromUtf16(const char* name, const char16_t* input, int inputLength, char* output, int outputCapacity,
                 bool* usedDefaultChar);
int IcuToUtf16(const char* name, const char* input, int inputLength, char16_t* output, int outputCapacity);

}  // namespace plumet::text
