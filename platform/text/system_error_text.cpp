#include "platform/text/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace plumet::text {
namespace {
constexpr std::size_t kMaxLength = 100;
}

std::u16string SystemErrorText() {
  int error = errno;
  if (error == 0) return {};
  char buffer[256];
  // The GNU strerror_r may return a static text instead of filling buffer.
  const char* message = strerror_r(error, buffer, sizeof(buffer));
  std::u16string text;
  // The C locale's messages are ASCII, so widening is exact.
  for (const char* c = message; *c != '\0' && *c != '\r' && *c != '\n' && text.size() < kMaxLength; ++c)
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
  return text;
}

void ClearSystemError() { errno = 0; }

}  // namespace plumet::text
