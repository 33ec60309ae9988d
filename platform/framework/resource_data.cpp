// Resources from the table compiled into the program: the artwork as PNG
// files, decoded when loaded.
#include "platform/framework/resource_data.h"

#include "platform/graphics/picture_decoder.h"
#include "resources/embedded_resources.h"

namespace plumet::framework {
namespace {

std::shared_ptr<gfx::Surface> Decode(const resources::EmbeddedFile* file) {
  return file ? gfx::DecodePng(file->block.bytes, file->block.size) : nullptr;
}

std::optional<backend::CursorImage> PictureOf(const resources::EmbeddedFile* file) {
  auto surface = Decode(file);
  if (!surface) return std::nullopt;
  backend::CursorImage picture;
  picture.width = surface->Width();
  picture.height = surface->Height();
  picture.hotX = file->hotX;
  picture.hotY = file->hotY;
  picture.argb.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.argb.push_back(gfx::Unpremultiply(surface->Pixel(x, y)));
  return picture;
}

}  // namespace

const ResourceBlock* FindResourceBlock(unsigned id, const char* type) {
  const resources::EmbeddedFile* file = resources::FindEmbeddedFile(id, type);
  return file ? &file->block : nullptr;
}

std::optional<DialogTemplate> LoadDialogTemplate(unsigned id) {
  for (const DialogTemplate& dialog : resources::EmbeddedDialogs())
    if (dialog.id == id) return dialog;
  return std::nullopt;
}

std::shared_ptr<gfx::Surface> LoadResourceBitmap(unsigned id) { return Decode(resources::FindEmbeddedFile(id, "BITMAP")); }

std::optional<backend::CursorImage> LoadResourceCursor(unsigned id) {
  return PictureOf(resources::FindEmbeddedFile(id, "CURSOR"));
}

std::optional<backend::CursorImage> LoadResourceIcon(unsigned id) {
  return PictureOf(resources::FindEmbeddedFile(id, "ICON"));
}

}  // namespace plumet::framework
