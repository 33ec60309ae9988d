#include <atomic>

#include "platform/graphics/gdiplus.h"
#include "platform/graphics/picture_decoder.h"

namespace Gdiplus {
namespace {

std::atomic<int> liveImages{0};
std::atomic<int> aliveAtShutdown{0};

}  // namespace

Image::Image(std::shared_ptr<plumet::gfx::Surface> surface) : surface_(std::move(surface)) {
  if (!surface_) status_ = UnknownImageFormat;
  ++liveImages;
}

Image::~Image() { --liveImages; }

Image* Image::FromMemory(const void* bytes, std::size_t size) { return new Image(plumet::gfx::DecodePng(bytes, size)); }

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
