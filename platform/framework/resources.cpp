#include "platform/framework/resources.h"

#include <cstring>
#include <memory>

#include "platform/framework/cursor_objects.h"
#include "platform/framework/gdi_objects.h"
#include "platform/graphics/gdiplus.h"

HRSRC FindResource(HINSTANCE, UINT id, const char* type) {
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(FindResourceEntry(id, type)));
}

DWORD SizeofResource(HINSTANCE, HRSRC resource) {
  return resource ? static_cast<DWORD>(reinterpret_cast<const ResourceEntry*>(resource)->size) : 0;
}

HGLOBAL LoadResource(HINSTANCE, HRSRC resource) {
  return resource ? reinterpret_cast<const ResourceEntry*>(resource)->bytes : nullptr;
}

const void* LockResource(HGLOBAL data) { return data; }

BOOL FreeResource(HGLOBAL) { return TRUE; }

namespace plumet::framework {
namespace {

std::unique_ptr<Gdiplus::Image> DecodeEntry(const ResourceEntry* entry) {
  if (!entry) return nullptr;
  std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromMemory(entry->bytes, entry->size));
  if (image->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return image;
}

std::optional<backend::CursorImage> PictureOf(const ResourceEntry* entry) {
  auto image = DecodeEntry(entry);
  if (!image) return std::nullopt;
  const gfx::Surface& surface = *image->GetSurface();
  backend::CursorImage picture;
  picture.width = surface.Width();
  picture.height = surface.Height();
  picture.hotX = entry->hotX;
  picture.hotY = entry->hotY;
  picture.argb.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.argb.push_back(gfx::Unpremultiply(surface.Pixel(x, y)));
  return picture;
}

}  // namespace

std::optional<backend::CursorImage> LoadCursorImage(UINT id) { return PictureOf(FindResourceEntry(id, "CURSOR")); }
std::optional<backend::CursorImage> LoadIconImage(UINT id) { return PictureOf(FindResourceEntry(id, "ICON")); }

// The dialog font's average character is 6 x 13 pixels: 4 horizontal and 8
// vertical dialog units.
int DialogUnitsToPixelsX(int units) { return units * 6 / 4; }
int DialogUnitsToPixelsY(int units) { return units * 13 / 8; }

backend::CursorId CursorObject::Realize(backend::Backend& b, std::uint64_t currentSession) {
  if (id && session == currentSession) return id;
  session = currentSession;
  id = system ? b.MakeSystemCursor(systemCursor) : b.MakeCursor(image);
  return id;
}

}  // namespace plumet::framework

HBITMAP LoadBitmap(HINSTANCE, UINT id) {
  auto image = plumet::framework::DecodeEntry(FindResourceEntry(id, "BITMAP"));
  if (!image) return nullptr;
  auto surface = plumet::gfx::Surface::Create(image->GetSurface()->Width(), image->GetSurface()->Height());
  if (!surface) return nullptr;
  surface->CopyFrom(*image->GetSurface(), 0, 0, surface->Bounds());
  return plumet::framework::ToHandle(new plumet::framework::BitmapObject(std::move(surface)));
}
