// Conversions through glibc iconv.
#include "platform/text/conversion_libraries.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

namespace plumet::text {
namespace {

constexpr const char* kHostUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

bool IsUtf8Converter(const char* name) { return std::strcmp(name, "UTF-8") == 0; }

// An open iconv descriptor.
class Converter {
 public:
  Converter() = default;
  ~Converter() { Close(); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Open(const char* to, const char* from) {
    Close();
    handle_ = iconv_open(to, from);
    return IsOpen();
  }
  bool IsOpen() const { return handle_ != kClosed; }
  iconv_t Handle() const { return handle_; }

 private:
  static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
  void Close() {
    if (IsOpen()) iconv_close(handle_);
    handle_ = kClosed;
  }
  iconv_t handle_ = kClosed;
};

// Collects converted bytes into the caller's buffer, or only counts them
// through a scratch buffer when there is none.
class ByteSink {
 public:
  ByteSink(char* output, std::size_t capacity) : output_(output), capacity_(capacity) {}

  char* Cursor() { return output_ != nullptr ? output_ + written_ : scratch_; }
  std::size_t Room() const { return output_ != nullptr ? capacity_ - written_ : sizeof(scratch_); }
  void Advance(std::size_t bytes) { written_ += bytes; }
  bool Counting() const { return output_ == nullptr; }
  std::size_t Written() const { return written_; }

  bool Put(const std::string& bytes) {
    if (!Counting()) {
      if (Room() < bytes.size()) return false;
      std::memcpy(output_ + written_, bytes.data(), bytes.size());
    }
    written_ += bytes.size();
    return true;
  }

 private:
  char* output_;
  std::size_t capacity_;
  std::size_t written_ = 0;
  char scratch_[1024];
};

// How to step over one input character that cannot be converted.
struct InvalidInputRule {
  std::size_t (*skip)(const char* input, std::size_t left);
  std::string replacement;
};

std::size_t SkipUtf16Character(const char* input, std::size_t left) {
  if (left < 4) return left;
  char16_t first = 0;
  char16_t second = 0;
  std::memcpy(&first, input, 2);
  std::memcpy(&second, input + 2, 2);
  bool pair = first >= 0xD800 && first < 0xDC00 && second >= 0xDC00 && second < 0xE000;
  return pair ? 4 : 2;
}

std::size_t SkipOneByte(const char*, std::size_t left) { return left < 1 ? left : 1; }

// Runs a whole conversion; returns the bytes produced, or -1 when the
// caller's buffer is too small.
long RunConversion(const Converter& converter, const char* input, std::size_t inputBytes,
                   ByteSink& sink, const InvalidInputRule& rule, bool* replaced) {
  char* in = const_cast<char*>(input);
  std::size_t inLeft = inputBytes;
  // Once the input is used up, one more call writes any closing shift
  // sequence of stateful charsets (ISO-2022, UTF-7).
  bool closingShift = false;
  while (true) {
    char* out = sink.Cursor();
    std::size_t outLeft = sink.Room();
    std::size_t result = closingShift ? iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft)
                                      : iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
    int error = errno;
    sink.Advance(sink.Room() - outLeft);
    if (result != static_cast<std::size_t>(-1)) {
      if (closingShift) break;
      closingShift = true;
      continue;
    }
    if (error == E2BIG) {
      if (sink.Counting()) continue;
      return -1;
    }
    if (closingShift) break;
    std::size_t skip = rule.skip(in, inLeft);
    in += skip;
    inLeft -= skip;
    if (!sink.Put(rule.replacement)) return -1;
    *replaced = true;
  }
  return static_cast<long>(sink.Written());
}

// The target's own spelling of "?", the default character.
std::string DefaultCharacter(const char* converterName) {
  if (IsUtf8Converter(converterName)) return "\xEF\xBF\xBD";
  Converter converter;
  if (!converter.Open(converterName, "ASCII")) return "?";
  char question[] = "?";
  char* in = question;
  std::size_t inLeft = 1;
  char buffer[16];
  char* out = buffer;
  std::size_t outLeft = sizeof(buffer);
  if (iconv(converter.Handle(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return "?";
  iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
  return std::string(buffer, sizeof(buffer) - outLeft);
}

int ToResult(long produced, int unitSize) {
  return produced < 0 ? 0 : static_cast<int>(produced / unitSize);
}

}  // namespace

bool IconvCanOpen(const char* name) {
  Converter converter;
  return converter.Open(name, kHostUtf16);
}

int IconvFromUtf16(const char* name, const char16_t* input, int inputLength, char* output, int outputCapacity,
                   bool* usedDefaultChar) {
  Converter converter;
  if (!converter.Open(name, kHostUtf16)) return 0;
  ByteSink sink(output, output != nullptr ? static_cast<std::size_t>(outputCapacity) : 0);
  InvalidInputRule rule{SkipUtf16Character, DefaultCharacter(name)};
  bool replaced = false;
  long produced = RunConversion(converter, reinterpret_cast<const char*>(input),
                                static_cast<std::size_t>(inputLength) * 2, sink, rule, &replaced);
  *usedDefaultChar = replaced && !IsUtf8Converter(name);
  return ToResult(produced, 1);
}

int IconvToUtf16(const char* name, const char* input, int inputLength, char16_t* output, int outputCapacity) {
  Converter converter;
  if (!converter.Open(kHostUtf16, name)) return 0;
  ByteSink sink(reinterpret_cast<char*>(output),
                output != nullptr ? static_cast<std::size_t>(outputCapacity) * 2 : 0);
  const char16_t replacementCharacter = u'\uFFFD';
  InvalidInputRule rule{SkipOneByte, std::string(reinterpret_cast<const char*>(&replacementCharacter), 2)};
  bool replaced = false;
  long produced = RunConversion(converter, input, static_cast<std::size_t>(inputLength), sink, rule, &replaced);
  return ToResult(produced, 2);
}

}  // namespace plumet::text
