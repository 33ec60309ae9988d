#include <cairo.h>

#include <atomic>
#include <cstring>

#include "platform/graphics/gdiplus.h"
#include "platform/graphics/surface_internals.h"

namespace Gdiplus {
namespace {

std::atomic<int> liveImages{0};
std::atomic<int> aliveAtShutdown{0};

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

std::shared_ptr<plumet::gfx::Surface> DecodePng(const void* bytes, std::size_t size) {
  if (!bytes || size == 0) return nullptr;
  MemoryReader reader{static_cast<const unsigned char*>(bytes), size};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadFromMemory, &reader);
  std::shared_ptr<plumet::gfx::Surface> surface;
  if (cairo_surface_status(decoded) == CAIRO_STATUS_SUCCESS) {
    surface = plumet::gfx::Surface::Create(cairo_image_surface_get_width(decoded),
                                           cairo_image_surface_get_height(decoded));
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

}  // namespace

Image::Image(std::shared_ptr<plumet::gfx::Surface> surface) : surface_(std::move(surface)) {
  if (!surface_) status_ = UnknownImageFormat;
  ++liveImages;
}

Image::~Image() { --liveImages; }

Image* Image::FromMemory(const void* bytes, std::size_t size) { return new Image(DecodePng(bytes, size)); }

unsigned int Image::GetWidth() const { return surface_ ? static_cast<unsigned int>(surface_->Width()) : 0; }
unsigned int Image::GetHeight() const { return surface_ ? static_cast<unsigned int>(surface_->Height()) : 0; }

Bitmap::Bitmap(INT width, INT height, PixelFormat) : Image(plumet::gfx::Surface::Create(width, height)) {
  if (!surface_) status_ = OutOfMemory;
}

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, void*) {
  if (!token || !input || input->GdiplusVersion != 1) return InvalidParameter;
  *token = 1;
  return Ok;
}

void GdiplusShutdown(std::uintptr_t) { aliveAtShutdown = liveImages.load(); }

int LiveImageCount() { return liveImages.load(); }
int ImagesAliveAtShutdown() { return aliveAtShutdown.load(); }

}  // namespace Gdiplus
