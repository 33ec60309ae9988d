#include "tests/app/board_fixture.h"

#include <cstdio>
#include <cstdlib>

namespace plumet::test {

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

::testing::AssertionResult ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
  if (Near(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  char text[64];
  std::snprintf(text, sizeof text, "0x%08X, expected 0x%08X", actual, expected);
  return ::testing::AssertionFailure() << text;
}

}  // namespace plumet::test
