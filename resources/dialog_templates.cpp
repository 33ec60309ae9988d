// The dialog templates of the board, the palette and the floating icon.
#include <array>

#include "platform/framework/resources.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kPushButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
// The board and the icon keep their stock buttons for the keyboard's OK and
// Cancel only; hidden, so they never take a click meant for the board.
constexpr DWORD kHiddenStockButton = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;

const std::array<DialogTemplate, 3>& Templates() {
  static const std::array<DialogTemplate, 3> templates{{
      {IDD_BOARD, WS_POPUP | WS_VISIBLE | DS_SETFONT, WS_EX_APPWINDOW, 126, 106, "",
       {{IDOK, "OK", kHiddenStockButton | BS_DEFPUSHBUTTON, 69, 7, 50, 14},
        {IDCANCEL, "Cancel", kHiddenStockButton, 69, 24, 50, 14}}},
      {IDD_PALETTE, WS_POPUP | DS_SETFONT, 0, 51, 218, "",
       {{IDCANCEL, "Exit", kPushButton, 4, 2, 40, 10},
        {1000, "Window", kPushButton, 4, 14, 40, 14},
        {1001, "Marker", kPushButton, 4, 30, 40, 14},
        {1002, "LineWidth", kPushButton, 4, 46, 40, 14},
        {1004, "Big Erase", kPushButton, 4, 62, 40, 14},
        {1005, "Erase", kPushButton, 4, 78, 40, 14},
        {1006, "ZoomOut", kPushButton, 4, 94, 40, 14},
        {1007, "ZoomIn", kPushButton, 4, 110, 40, 14},
        {1008, "Save", kPushButton, 4, 126, 40, 14},
        {1009, "Background", kPushButton, 4, 142, 40, 14},
        {1010, "BluePen", kPushButton, 4, 158, 40, 14},
        {1011, "RedPen", kPushButton, 4, 174, 40, 14},
        {1012, "GreenPen", kPushButton, 4, 190, 40, 14}}},
      {IDD_ICON, WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS, 0, 134, 75, "",
       {{IDOK, "OK", kHiddenStockButton | BS_DEFPUSHBUTTON, 77, 54, 50, 14},
        {IDCANCEL, "Cancel", kHiddenStockButton, 20, 54, 50, 14}}},
  }};
  return templates;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
  for (const DialogTemplate& t : Templates())
    if (t.id == id) return &t;
  return nullptr;
}
