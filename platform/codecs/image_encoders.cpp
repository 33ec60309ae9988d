#include "platform/codecs/image_encoders.h"

#include <array>

#include "platform/codecs/png_encoder.h"
#include "platform/codecs/tiff_encoder.h"

namespace plumet::codecs {
namespace {

const TiffEncoder tiffEncoder;
const PngEncoder pngEncoder;
const std::array<const ImageEncoder*, 2> encoders{&tiffEncoder, &pngEncoder};

}  // namespace

std::span<const ImageEncoder* const> InstalledEncoders() { return encoders; }

}  // namespace plumet::codecs
