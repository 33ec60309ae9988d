// ConvertCharset: UTF-16 and byte charsets through the platform converter;
// the UTF-32 paths by hand.
#include <cstring>
#include <vector>

#include "platform/text/code_page_converter.h"
#include "xml/xml_charset.h"

namespace {

constexpr std::int32_t kUtf16 = plumet::text::CP_UTF16LE;
constexpr std::int32_t kUtf8 = plumet::text::CP_UTF8;
constexpr char32_t kQuestionMark = U'?';

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c < 0xE000; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c < 0xE000; }

// Writes units into an output of fixed capacity, or only counts them; a
// full output makes the whole result 0, as the platform converter does.
template <typename Unit>
class UnitWriter {
 public:
  UnitWriter(void* output, std::int32_t capacity) : output_(static_cast<unsigned char*>(output)), capacity_(capacity) {}

  void Put(char32_t value) {
    if (output_ != nullptr) {
      if (count_ >= capacity_) {
        full_ = true;
        return;
      }
      auto unit = static_cast<Unit>(value);
      std::memcpy(output_ + static_cast<std::size_t>(count_) * sizeof(Unit), &unit, sizeof(Unit));
    }
    ++count_;
  }
  std::int32_t Result() const { return full_ ? 0 : count_; }

 private:
  unsigned char* output_;
  std::int32_t capacity_;
  std::int32_t count_ = 0;
  bool full_ = false;
};

template <typename Unit>
Unit ReadUnit(const void* input, std::int32_t index) {
  Unit unit;
  std::memcpy(&unit, static_cast<const unsigned char*>(input) + static_cast<std::size_t>(index) * sizeof(Unit), sizeof(Unit));
  return unit;
}

// Only a high surrogate followed by a low one is joined; a lone surrogate
// becomes "?" and the unit after it is kept.
std::int32_t Utf16ToUtf32(const void* input, std::int32_t length, void* output, std::int32_t capacity, bool& lost) {
  UnitWriter<char32_t> writer(output, capacity);
  for (std::int32_t i = 0; i < length; ++i) {
    char32_t unit = ReadUnit<char16_t>(input, i);
    if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(ReadUnit<char16_t>(input, i + 1))) {
      char32_t low = ReadUnit<char16_t>(input, ++i);
      writer.Put((((unit & 0x3FF) << 10) | (low & 0x3FF)) + 0x10000);
    } else if (IsSurrogate(unit)) {
      writer.Put(kQuestionMark);
      lost = true;
    } else {
      writer.Put(unit);
    }
  }
  return writer.Result();
}

std::int32_t Utf32ToUtf8(const void* input, std::int32_t length, void* output, std::int32_t capacity) {
  UnitWriter<unsigned char> writer(output, capacity);
  for (std::int32_t i = 0; i < length; ++i) {
    char32_t c = ReadUnit<char32_t>(input, i);
    if (c < 0x80) {
      writer.Put(c);
    } else if (c < 0x800) {
      writer.Put(0xC0 | (c >> 6));
      writer.Put(0x80 | (c & 0x3F));
    } else if (IsSurrogate(c) || c > 0x10FFFF) {
      writer.Put(kQuestionMark);
    } else if (c < 0x10000) {
      writer.Put(0xE0 | (c >> 12));
      writer.Put(0x80 | ((c >> 6) & 0x3F));
      writer.Put(0x80 | (c & 0x3F));
    } else {
      writer.Put(0xF0 | (c >> 18));
      writer.Put(0x80 | ((c >> 12) & 0x3F));
      writer.Put(0x80 | ((c >> 6) & 0x3F));
      writer.Put(0x80 | (c & 0x3F));
    }
  }
  return writer.Result();
}

std::int32_t Utf32ToUtf16(const void* input, std::int32_t length, void* output, std::int32_t capacity, bool& lost) {
  UnitWriter<char16_t> writer(output, capacity);
  for (std::int32_t i = 0; i < length; ++i) {
    char32_t c = ReadUnit<char32_t>(input, i);
    if (IsSurrogate(c) || c > 0x10FFFF) {
      writer.Put(kQuestionMark);
      lost = true;
    } else if (c < 0x10000) {
      writer.Put(c);
    } else {
      writer.Put(0xD800 | ((c - 0x10000) >> 10));
      writer.Put(0xDC00 | ((c - 0x10000) & 0x3FF));
    }
  }
  return writer.Result();
}

// Overlong forms are let through; a cut-off sequence gives "?" and the
// byte that cut it off starts the next character.
std::int32_t Utf8ToUtf32(const void* input, std::int32_t length, void* output, std::int32_t capacity, bool& lost) {
  UnitWriter<char32_t> writer(output, capacity);
  const auto* bytes = static_cast<const unsigned char*>(input);
  std::int32_t i = 0;
  while (i < length) {
    unsigned char lead = bytes[i++];
    if (lead < 0x80) {
      writer.Put(lead);
      continue;
    }
    int following = 0;
    char32_t value = 0;
    if ((lead & 0x20) == 0) {
      following = 1;
      value = lead & 0x1F;
    } else if ((lead & 0x10) == 0) {
      following = 2;
      value = lead & 0x0F;
    } else if ((lead & 0x08) == 0) {
      following = 3;
      value = lead & 0x07;
    } else {
      writer.Put(kQuestionMark);
      lost = true;
      continue;
    }
    bool complete = true;
    for (int k = 0; k < following; ++k) {
      if (i >= length || bytes[i] < 0x80) {
        complete = false;
        break;
      }
      value = (value << 6) | (bytes[i++] & 0x3F);
    }
    writer.Put(complete ? value : kQuestionMark);
    lost = lost || !complete;
  }
  return writer.Result();
}

std::int32_t FromUtf16(const void* input, std::int32_t length, std::int32_t target, void* output,
                       std::int32_t capacity, bool& lost) {
  if (target == CP_UTF32) return Utf16ToUtf32(input, length, output, capacity, lost);
  if (target == kUtf16) {
    UnitWriter<char16_t> writer(output, capacity);
    for (std::int32_t i = 0; i < length; ++i) writer.Put(ReadUnit<char16_t>(input, i));
    return writer.Result();
  }
  bool usedDefault = false;
  std::int32_t written = plumet::text::WideCharToMultiByte(target, static_cast<const char16_t*>(input), length,
                                                           static_cast<char*>(output),
                                                           capacity, &usedDefault);
  lost = lost || usedDefault;
  return written;
}

std::int32_t CodePageOrDefault(const std::u16string& name) {
  std::int32_t codePage = CodePageForCharset(name);
  return codePage < 0 ? 0 : codePage;
}

}  // namespace

std::int32_t ConversionUnitSize(std::u16string_view charset) {
  const std::int32_t codePage = CodePageForCharset(charset);
  if (codePage == CP_UTF32) return 4;
  return codePage == kUtf16 ? 2 : 1;
}

bool CanConvertCharset(std::u16string_view charset) {
  const std::int32_t codePage = CodePageForCharset(charset);
  if (codePage <= 0 || codePage == CP_UTF32 || codePage == kUtf16) return true;
  return plumet::text::HasConverter(codePage);
}

std::u16string NoConverterStatus(std::u16string_view charset) {
  return u"No converter for charset " + std::u16string(charset);
}

std::int32_t ConvertCharset(CharsetConversion& conversion, void* output) {
  conversion.lostChars = 0;
  const std::int32_t target = CodePageOrDefault(conversion.target);
  const std::int32_t source = CodePageOrDefault(conversion.source);
  const std::int32_t length = conversion.input != nullptr && conversion.inputLength > 0 ? conversion.inputLength : 0;
  const std::int32_t capacity = output != nullptr ? conversion.output : 0;
  bool lost = false;
  std::int32_t written = 0;
  if (source == kUtf16) {
    written = FromUtf16(conversion.input, length, target, output, capacity, lost);
  } else if (source == CP_UTF32) {
    if (target == kUtf8) written = Utf32ToUtf8(conversion.input, length, output, capacity);
    if (target == kUtf16) written = Utf32ToUtf16(conversion.input, length, output, capacity, lost);
  } else if (target == kUtf16) {
    written = plumet::text::MultiByteToWideChar(source, static_cast<const char*>(conversion.input), length,
                                                static_cast<char16_t*>(output), capacity);
  } else if (target == CP_UTF32 && source == kUtf8) {
    written = Utf8ToUtf32(conversion.input, length, output, capacity, lost);
  } else {
    const char* bytes = static_cast<const char*>(conversion.input);
    std::int32_t units = plumet::text::MultiByteToWideChar(source, bytes, length, nullptr, 0);
    std::vector<char16_t> wide(static_cast<std::size_t>(units));
    plumet::text::MultiByteToWideChar(source, bytes, length, wide.data(), units);
    written = FromUtf16(wide.data(), units, target, output, capacity, lost);
  }
  // Only targets other than UTF-8 report lost characters.
  conversion.lostChars = lost && target != kUtf8 ? 1 : 0;
  conversion.output = written;
  return written;
}
