// Numbers of the program's built-in resources.
#pragma once

constexpr unsigned IDD_BOARD = 102;
constexpr unsigned IDR_MAINFRAME = 128;    // program icon
constexpr unsigned IDD_PALETTE = 129;
constexpr unsigned IDB_SKIN = 130;         // palette skin sheet
constexpr unsigned IDB_PALETTE_SHAPE = 131;
constexpr unsigned IDC_PEN = 133;          // cursors
constexpr unsigned IDC_BIGERASER = 135;
constexpr unsigned IDD_ICON = 137;
constexpr unsigned IDR_ICON_PICTURE = 138;  // the floating icon's PNG

// The skin sheet, the palette shape, the icon picture and the pen cursor are
// also drawn 2 and 3 times larger for scaled screens, numbered 100 and 200
// above their 1x number.
constexpr int kLargestArtworkScale = 3;
constexpr unsigned ScaledResourceId(unsigned id, int scale) { return id + 100 * static_cast<unsigned>(scale - 1); }
