// The byte layout both file formats store: R, G, B, A with straight alpha.
#pragma once

#include <cstdint>

namespace plumet::codecs {

// Converts one row of premultiplied native ARGB32 pixels into width * 4
// bytes. Fully transparent pixels become white with alpha 0 (FF FF FF 00),
// the colour the exports give an empty page.
void ToStraightRgba(const std::uint32_t* row, int width, std::uint8_t* out);

}  // namespace plumet::codecs
