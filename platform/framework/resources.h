// Resources compiled into the program, found by number and type: pictures,
// cursors with their hot spots, icons and dialog templates.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/framework/win_types.h"

// One embedded file. The table itself is generated at build time.
struct ResourceEntry {
  UINT id;
  const char* type;  // "BITMAP", "PNG", "CURSOR", "ICON"
  const unsigned char* bytes;
  std::size_t size;
  int hotX;  // cursors only
  int hotY;
};

struct ControlTemplate {
  int id;
  const char* text;
  DWORD style;
  short x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
  UINT id;
  DWORD style;
  DWORD exStyle;
  short cx, cy;  // dialog units
  const char* caption;
  std::vector<ControlTemplate> controls;
};

// Defined with the program's resources.
const ResourceEntry* FindResourceEntry(UINT id, const char* type);
const DialogTemplate* FindDialogTemplate(UINT id);

// Raw access in the shape of the Windows resource functions.
HRSRC FindResource(HINSTANCE module, UINT id, const char* type);
DWORD SizeofResource(HINSTANCE module, HRSRC resource);
HGLOBAL LoadResource(HINSTANCE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
BOOL FreeResource(HGLOBAL data);

// A built-in bitmap decoded into a new bitmap handle; nullptr when missing.
HBITMAP LoadBitmap(HINSTANCE module, UINT id);

namespace plumet::framework {
std::optional<backend::CursorImage> LoadCursorImage(UINT id);
std::optional<backend::CursorImage> LoadIconImage(UINT id);
// Dialog units to pixels, for the framework's dialog font.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
}  // namespace plumet::framework
