// Plain text for button captions: one line, centred in a box.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics/surface.h"

namespace plumet::gfx {
void DrawCentredText(Surface& surface, const std::string& text, const IntRect& box, std::uint32_t argb);
}
