// Conversions through ICU, for the code pages glibc iconv lacks.
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <cstddef>
#include <memory>
#include <vector>

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

// Converts into output, or with a null output counts by converting into
// scratch space: ICU's own count (a preflight) can be shorter than what the
// conversion writes, as for ISCII's script switch before a substituted
// character. A real output that is too small gives 0.
template <typename Unit, typename Convert>
int ConvertOrCount(Unit* output, int outputCapacity, std::size_t guess, const Convert& convert) {
  if (output != nullptr) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = convert(output, outputCapacity, &status);
    return U_FAILURE(status) ? 0 : length;
  }
  std::vector<Unit> scratch(guess);
  while (true) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = convert(scratch.data(), static_cast<int32_t>(scratch.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR) return U_FAILURE(status) ? 0 : length;
    scratch.resize(scratch.size() * 2);
  }
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
  const std::size_t guess = UCNV_GET_MAX_BYTES_FOR_STRING(inputLength, ucnv_getMaxCharSize(converter.get()));
  const int length = ConvertOrCount(output, outputCapacity, guess, [&](char* out, int32_t capacity, UErrorCode* result) {
    return ucnv_fromUChars(converter.get(), out, capacity, input, inputLength, result);
  });
  *usedDefaultChar = lost;
  return length;
}

int IcuToUtf16(const char* name, const char* input, int inputLength, char16_t* output, int outputCapacity) {
  Converter converter = Open(name);
  if (!converter) return 0;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ReplacementCharacter, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return 0;
  const auto guess = static_cast<std::size_t>(inputLength) * 2 + 16;
  return ConvertOrCount(output, outputCapacity, guess, [&](char16_t* out, int32_t capacity, UErrorCode* result) {
    return ucnv_toUChars(converter.get(), out, capacity, input, inputLength, result);
  });
}

}  // namespace plumet::text
