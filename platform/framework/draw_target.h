// How the graphics layer finds the surface behind a device context.
#pragma once

#include "platform/framework/win_types.h"
#include "platform/graphics/gdiplus.h"

namespace plumet::framework {
Gdiplus::DrawTarget ResolveDrawTarget(HDC hdc);
}
