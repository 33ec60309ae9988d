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
