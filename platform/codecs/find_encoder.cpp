#include "platform/codecs/image_encoders.h"

namespace plumet::codecs {

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
