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

int FindEncoder(std::string_view mimeType, const ImageEncoder** encoder) {
  const std::span<const ImageEncoder* const> installed = InstalledEncoders();
  for (std::size_t i = 0; i < installed.size(); ++i) {
    if (installed[i]->MimeType() != mimeType) continue;
    *encoder = installed[i];
    return static_cast<int>(i);
  }
  return -1;
}

}  // namespace plumet::codecs
