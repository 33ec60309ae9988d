// Conversions through ICU, for the code pages glibc iconv lacks.
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <memory>

#include "platform/text/conversion_libraries.h"

namespace plumet::text {
namespace {

struct CloseConverter {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

Converter Open(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) converter.reset();
  return converter;
}

bool IsCharacterProblem(UConverterCallbackReason reason) {
  return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

// Writes the substitution string, as ICU's own substitute callback does,
// and notes that a character was lost.
void SubstituteAndNote(const void* context, UConverterFromUnicodeArgs* args, const UChar* units, int32_t length,
                       UChar32 codePoint, UConverterCallbackReason reason, UErrorCode* status) {
  if (IsCharacterProblem(reason)) *static_cast<bool*>(const_cast<void*>(context)) = true;
  UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, status);
}

// Invalid bytes become U+FFFD, as they do through iconv; ICU would write
// U+001A for pages whose own substitute is the SUB control.
void ReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* status) {
  if (!IsCharacterProblem(reason)) return;
  static constexpr UChar kReplacement = u'\uFFFD';
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// The counting call (null output) gives the length that an overflow
// reports; a real output that is too small gives 0.
int Result(int32_t length, UErrorCode status, bool counting) {
  if (status == U_BUFFER_OVERFLOW_ERROR && counting) return length;
  return U_FAILURE(status) ? 0 : length;
}

}  // namespace

bool IcuCanOpen(const char* name) { return Open(name) != nullptr; }

int IcuFromUtf16(const char* name, const char16_t* input, int inputLength, char* output, int outputCapacity,
                 bool* usedDefaultChar) {
  Converter converter = Open(name);
  if (!converter) return 0;
  UErrorCode status = U_ZERO_ERROR;
  // The default character is "?" in the target's own spelling.
  ucnv_setSubstString(converter.get(), u"?", 1, &status);
  bool lost = false;
  ucnv_setFromUCallBack(converter.get(), SubstituteAndNote, &lost, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return 0;
  const bool counting = output == nullptr;
  const int32_t length =
      ucnv_fromUChars(converter.get(), output, counting ? 0 : outputCapacity, input, inputLength, &status);
  *usedDefaultChar = lost;
  return Result(length, status, counting);
}

int IcuToUtf16(const char* name, const char* input, int inputLength, char16_t* output, int outputCapacity) {
  Converter converter = Open(name);
  if (!converter) return 0;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ReplacementCharacter, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return 0;
  const bool counting = output == nullptr;
  const int32_t length =
      ucnv_toUChars(converter.get(), output, counting ? 0 : outputCapacity, input, inputLength, &status);
  return Result(length, status, counting);
}

}  // namespace plumet::text
