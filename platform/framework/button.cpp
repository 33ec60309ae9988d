#include "platform/framework/button.h"

#include "platform/framework/dc.h"

void CButton::DrawItem(DRAWITEMSTRUCT*) {}

void CButton::PaintPlain() {
  CPaintDC dc(this);
  RECT rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, RGB(225, 225, 225));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.DrawText(GetWindowText(), &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

LRESULT CButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      if ((GetStyle() & 0xF) == BS_OWNERDRAW) {
        CPaintDC dc(this);
        DRAWITEMSTRUCT item;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID());
        item.hwndItem = m_hWnd;
        item.hDC = dc.GetSafeHdc();
        GetClientRect(&item.rcItem);
        DrawItem(&item);
      } else {
        PaintPlain();
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture();
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      ::ReleaseCapture();
      RECT rc;
      GetClientRect(&rc);
      if (wasPressed && ::PtInRect(&rc, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
        ::SendMessage(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                      reinterpret_cast<LPARAM>(m_hWnd));
      return 0;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
