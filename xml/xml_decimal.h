// Numbers in status texts, diagnostics and attribute values: plain decimal,
// as "%d" writes them in the C locale.
#pragma once

#include <cstdint>
#include <string>

inline std::u16string Decimal(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
