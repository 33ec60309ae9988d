// Resources compiled into the program, found by number, in the shape of the
// Windows resource functions (resource_data.h holds where they come from).
#pragma once

#include "platform/framework/resource_data.h"
#include "platform/framework/win_types.h"

// Raw access to resources of the program's own types ("PNG").
HRSRC FindResource(HINSTANCE module, UINT id, const char* type);
DWORD SizeofResource(HINSTANCE module, HRSRC resource);
HGLOBAL LoadResource(HINSTANCE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
BOOL FreeResource(HGLOBAL data);

// A built-in bitmap decoded into a new bitmap handle; nullptr when missing.
HBITMAP LoadBitmap(HINSTANCE module, UINT id);

namespace plumet::framework {
// Dialog units to pixels, for the framework's dialog font.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
}  // namespace plumet::framework
