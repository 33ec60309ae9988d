// Numbers of the program's built-in resources. Macros, as the resource
// compiler reads this file too (for the Windows resources).
#pragma once

#define IDD_BOARD 102
#define IDR_MAINFRAME 128  // program icon
#define IDD_PALETTE 129
#define IDB_SKIN 130  // palette skin sheet
#define IDB_PALETTE_SHAPE 131
#define IDC_PEN 133  // cursors
#define IDC_BIGERASER 135
#define IDD_ICON 137
#define IDR_ICON_PICTURE 138  // the floating icon's PNG

#ifndef RC_INVOKED
// The skin sheet, the palette shape, the icon picture and the pen cursor are
// also drawn 2 and 3 times larger for scaled screens, numbered 100 and 200
// above their 1x number.
constexpr int kLargestArtworkScale = 3;
constexpr unsigned ScaledResourceId(unsigned id, int scale) { return id + 100 * static_cast<unsigned>(scale - 1); }
#endif
