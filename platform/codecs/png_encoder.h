// PNG through libpng: one frame, 8-bit RGBA with straight alpha.
#pragma once

#include "platform/codecs/image_encoder.h"

namespace plumet::codecs {

class PngEncoder final : public ImageEncoder {
 public:
  std::string_view MimeType() const override { return "image/png"; }
  // Exactly one frame; any other count is refused.
  bool Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const override;
};

}  // namespace plumet::codecs
