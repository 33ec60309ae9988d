#include "tests/platform/png_reader.h"

#include <png.h>

namespace plumet::test {

// BGRA bytes are 0xAARRGGBB words on the little-endian machines we run on.
PngPixels ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  PngPixels picture;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(PNG_IMAGE_SIZE(image) / 4);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.argb = std::move(pixels);
  return picture;
}

bool WritePng(const std::string& path, const PngPixels& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&image, path.c_str(), 0, picture.argb.data(), 0, nullptr) != 0;
}

}  // namespace plumet::test
