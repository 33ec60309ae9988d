// An image encoder of the platform: writes premultiplied surfaces as one
// picture file with straight alpha.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/graphics/surface.h"
#include "platform/text/system_path.h"

namespace plumet::codecs {

class ImageEncoder {
 public:
  virtual ~ImageEncoder() = default;
  virtual std::string_view MimeType() const = 0;
  // Writes the frames, in order, as a new file at path. False when the file
  // cannot be made, a frame cannot be written or the format cannot hold the
  // frames given; what was written stays as it is.
  virtual bool Save(const text::SystemPath& path, std::span<const gfx::Surface* const> frames) const = 0;
};

}  // namespace plumet::codecs
