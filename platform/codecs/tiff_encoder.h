// TIFF through libtiff: one directory per frame, 8-bit RGBA with unassociated
// (straight) alpha, LZW-compressed.
#pragma once

#include "platform/codecs/image_encoder.h"

namespace plumet::codecs {

class TiffEncoder final : public ImageEncoder {
 public:
  std::string_view MimeType() const override { return "image/tiff"; }
  // At least one frame; a frame that cannot be written fails the whole save.
  bool Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const override;
};

}  // namespace plumet::codecs
