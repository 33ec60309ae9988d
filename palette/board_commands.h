// The command protocol of the board: one posted message, a command code and
// its argument. The palette posts it; the board accepts it from any sender.
#pragma once

#include "platform/framework/win_types.h"

constexpr UINT WM_BOARDCOMMAND = WM_USER + 1;

enum BoardCommand : WPARAM {
  BC_WINDOW = 0,
  BC_PEN = 1,
  BC_LINEWIDTH = 2,
  BC_COLOR = 3,       // argument: 0 black, 1 blue, 2 red, 3 green
  BC_BIGERASE = 4,
  BC_ERASE = 5,
  BC_ZOOMIN = 6,
  BC_ZOOMOUT = 7,
  BC_SAVE = 8,
  BC_BACKGROUND = 9,
  BC_FIRSTPAGE = 10,
  BC_SECONDPAGE = 11,
  BC_UNDO = 12,
  BC_REDO = 13,
};
