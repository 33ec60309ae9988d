// The code-page conversions: each code page goes to the library that has
// it; the system default is UTF-8.
#include "platform/text/code_page_converter.h"

#include "platform/text/conversion_libraries.h"

namespace plumet::text {
namespace {

constexpr ConverterName kSystemDefault{ConverterLibrary::Iconv, "UTF-8"};

const ConverterName* ConverterFor(int codePage) {
  return codePage == CP_SYSTEM_DEFAULT ? &kSystemDefault : ConverterForCodePage(codePage);
}

}  // namespace

bool HasConverter(int codePage) {
  const ConverterName* converter = ConverterFor(codePage);
  if (converter == nullptr) return false;
  return converter->library == ConverterLibrary::Icu ? IcuCanOpen(converter->name) : IconvCanOpen(converter->name);
}

int WideCharToMultiByte(int codePage, const char16_t* input, int inputLength, char* output, int outputCapacity,
                        bool* usedDefaultChar) {
  bool usedDefault = false;
  int written = 0;
  const ConverterName* converter = ConverterFor(codePage);
  if (converter != nullptr && input != nullptr && inputLength > 0) {
    written = converter->library == ConverterLibrary::Icu
                  ? IcuFromUtf16(converter->name, input, inputLength, output, outputCapacity, &usedDefault)
                  : IconvFromUtf16(converter->name, input, inputLength, output, outputCapacity, &usedDefault);
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault;
  return written;
}

int MultiByteToWideChar(int codePage, const char* input, int inputLength, char16_t* output, int outputCapacity) {
  const ConverterName* converter = ConverterFor(codePage);
  if (converter == nullptr || input == nullptr || inputLength <= 0) return 0;
  return converter->library == ConverterLibrary::Icu
             ? IcuToUtf16(converter->name, input, inputLength, output, outputCapacity)
             : IconvToUtf16(converter->name, input, inputLength, output, outputCapacity);
}

}  // namespace plumet::text
