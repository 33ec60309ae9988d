// GDI+ for the whole process: started once, on first use, and left running
// (surfaces and pictures can be made before the program's own start, and
// GDI+ may not stop while any of them lives). For the Windows parts of the
// platform layer that call GDI+ themselves.
#pragma once

namespace plumet::gfx {

// False when GDI+ cannot be started.
bool GdiplusReady();

}  // namespace plumet::gfx
