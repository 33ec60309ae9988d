#include "platform/framework/resources.h"

#include "platform/framework/gdi_objects.h"

using plumet::framework::ResourceBlock;

HRSRC FindResource(HINSTANCE, UINT id, const char* type) {
  return reinterpret_cast<HRSRC>(const_cast<ResourceBlock*>(plumet::framework::FindResourceBlock(id, type)));
}

DWORD SizeofResource(HINSTANCE, HRSRC resource) {
  return resource ? static_cast<DWORD>(reinterpret_cast<const ResourceBlock*>(resource)->size) : 0;
}

HGLOBAL LoadResource(HINSTANCE, HRSRC resource) {
  return resource ? reinterpret_cast<const ResourceBlock*>(resource)->bytes : nullptr;
}

const void* LockResource(HGLOBAL data) { return data; }

BOOL FreeResource(HGLOBAL) { return TRUE; }

HBITMAP LoadBitmap(HINSTANCE, UINT id) {
  auto surface = plumet::framework::LoadResourceBitmap(id);
  if (!surface) return nullptr;
  return plumet::framework::ToHandle(new plumet::framework::BitmapObject(std::move(surface)));
}

namespace plumet::framework {

// The dialog font's average character is 6 x 13 pixels: 4 horizontal and 8
// vertical dialog units.
int DialogUnitsToPixelsX(int units) { return units * 6 / 4; }
int DialogUnitsToPixelsY(int units) { return units * 13 / 8; }

}  // namespace plumet::framework
