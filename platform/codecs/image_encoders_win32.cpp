#include "platform/codecs/image_encoders.h"

#include <array>

#include "platform/codecs/gdiplus_encoder_win32.h"

namespace plumet::codecs {
namespace {

const GdiplusEncoder tiffEncoder("image/tiff");
const GdiplusEncoder pngEncoder("image/png");
const std::array<const ImageEncoder*, 2> encoders{&tiffEncoder, &pngEncoder};

}  // namespace

std::span<const ImageEncoder* const> InstalledEncoders() { return encoders; }

}  // namespace plumet::codecs
