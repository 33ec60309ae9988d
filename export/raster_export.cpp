#include "export/raster_export.h"

#include <memory>
#include <span>
#include <string_view>

#include "export/page_picture.h"
#include "model/qarel_page.h"
#include "platform/codecs/image_encoders.h"
#include "platform/codecs/safe_file_write.h"

namespace {

using plumet::codecs::ImageEncoder;

bool SaveFrames(const ImageEncoder& encoder, const std::string& path,
                std::span<const plumet::gfx::Surface* const> frames) {
  return plumet::codecs::WriteFileSafely(
      plumet::text::SystemPathFromUtf8(path),
      [&](const plumet::codecs::SystemPath& writePath) { return encoder.Save(writePath, frames); });
}

}  // namespace

bool SaveTiff(const BoardPicture& board, const std::string& path) {
  const ImageEncoder* encoder = nullptr;
  if (plumet::codecs::FindEncoder("image/tiff", &encoder) < 0) return false;
  const std::unique_ptr<Gdiplus::Bitmap> first = RenderPage(board.pages[0], board.width, board.height);
  const std::unique_ptr<Gdiplus::Bitmap> second = RenderPage(board.pages[1], board.width, board.height);
  if (!first || !second) return false;
  const plumet::gfx::Surface* frames[] = {first->GetSurface(), second->GetSurface()};
  return SaveFrames(*encoder, path, frames);
}

bool SavePng(const BoardPicture& board, const std::string& path) {
  const ImageEncoder* encoder = nullptr;
  if (plumet::codecs::FindEncoder("image/png", &encoder) < 0) return false;
  const std::unique_ptr<Gdiplus::Bitmap> page = RenderPage(board.pages[board.currentPage], board.width, board.height);
  if (!page) return false;
  const plumet::gfx::Surface* frames[] = {page->GetSurface()};
  return SaveFrames(*encoder, path, frames);
}
