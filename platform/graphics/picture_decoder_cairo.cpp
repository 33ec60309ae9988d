#include "platform/graphics/picture_decoder.h"

#include <cairo.h>

#include <cstring>

#include "platform/graphics/surface_internals.h"

namespace plumet::gfx {
namespace {

struct MemoryReader {
  const unsigned char* bytes;
  std::size_t size;
  std::size_t offset = 0;
};

cairo_status_t ReadFromMemory(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<MemoryReader*>(closure);
  if (reader->size - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::shared_ptr<Surface> DecodePng(const void* bytes, std::size_t size) {
  if (!bytes || size == 0) return nullptr;
  MemoryReader reader{static_cast<const unsigned char*>(bytes), size};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadFromMemory, &reader);
  std::shared_ptr<Surface> surface;
  if (cairo_surface_status(decoded) == CAIRO_STATUS_SUCCESS) {
    surface = Surface::Create(cairo_image_surface_get_width(decoded), cairo_image_surface_get_height(decoded));
    if (surface) {
      cairo_t* cr = cairo_create(surface->Internals().image);
      cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
      cairo_set_source_surface(cr, decoded, 0, 0);
      cairo_paint(cr);
      cairo_destroy(cr);
    }
  }
  cairo_surface_destroy(decoded);
  return surface;
}

}  // namespace plumet::gfx
