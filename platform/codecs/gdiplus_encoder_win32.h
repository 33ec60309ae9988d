// An image encoder of GDI+, named by MIME type and found among the encoders
// GDI+ has by that name, CLSID and all. TIFF frames are written as pages of
// one file; every other format takes exactly one frame.
#pragma once

#include <string>

#include "platform/codecs/image_encoder.h"

namespace plumet::codecs {

class GdiplusEncoder final : public ImageEncoder {
 public:
  explicit GdiplusEncoder(std::string mimeType) : mimeType_(std::move(mimeType)) {}
  std::string_view MimeType() const override { return mimeType_; }
  bool Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const override;

 private:
  std::string mimeType_;
};

}  // namespace plumet::codecs
