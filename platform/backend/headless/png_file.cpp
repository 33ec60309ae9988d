#include "platform/backend/headless/png_file.h"

#include <cairo.h>

#include <cstring>

namespace plumet::backend::headless {

std::optional<Image> LoadPng(const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  std::optional<Image> result;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    // Other formats (RGB24, A8) are redrawn as ARGB32 so that the copy below
    // always reads four bytes a pixel.
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);
    if (cairo_surface_status(argb) == CAIRO_STATUS_SUCCESS) {
      Image image(width, height);
      const unsigned char* data = cairo_image_surface_get_data(argb);
      const int stride = cairo_image_surface_get_stride(argb);
      for (int y = 0; y < height; ++y) {
        std::memcpy(&image.At(0, y), data + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width) * 4);
      }
      result = std::move(image);
    }
    cairo_surface_destroy(argb);
  }
  cairo_surface_destroy(surface);
  return result;
}

bool WritePng(const std::string& path, const Image& image) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, image.width);
  if (image.width <= 0 || image.height <= 0 || stride != image.width * 4) return false;
  // cairo only reads the buffer while writing, so the const cast is safe.
  auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data()));
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, image.width, image.height, stride);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace plumet::backend::headless
