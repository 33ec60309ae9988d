// The installed image encoders, found by MIME type.
#pragma once

#include <span>
#include <string_view>

#include "platform/codecs/image_encoder.h"

namespace plumet::codecs {

// In a fixed order: "image/tiff", then "image/png".
std::span<const ImageEncoder* const> InstalledEncoders();

// Index of the first encoder whose MIME type equals mimeType exactly (case
// matters), with that encoder in *encoder; -1, *encoder untouched, when none does.
int FindEncoder(std::string_view mimeType, const ImageEncoder** encoder);

}  // namespace plumet::codecs
