// The push button: owner-drawn buttons paint themselves in DrawItem, others
// get a plain look; a click is reported to the parent as WM_COMMAND.
#pragma once

#include "platform/framework/wnd.h"

constexpr UINT ODT_BUTTON = 4;
constexpr UINT BN_CLICKED = 0;

struct DRAWITEMSTRUCT {
  UINT CtlType = ODT_BUTTON;
  UINT CtlID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem;
};

class CButton : public CWnd {
 public:
  virtual void DrawItem(DRAWITEMSTRUCT* drawItem);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintPlain();
  bool pressed_ = false;
};
