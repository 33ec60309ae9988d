#include "palette/cool_button.h"

void CCoolButton::SetSkin(CDC* pSkinDC, int xNormal, int yNormal, int xHover, int yHover, int xPressed, int yPressed,
                          int nWidth, int nHeight) {
  m_pSkinDC = pSkinDC;
  ::SetRect(&m_rcNormal, xNormal, yNormal, xNormal + nWidth, yNormal + nHeight);
  ::SetRect(&m_rcHover, xHover, yHover, xHover + nWidth, yHover + nHeight);
  ::SetRect(&m_rcPressed, xPressed, yPressed, xPressed + nWidth, yPressed + nHeight);
  ModifyStyle(0, BS_OWNERDRAW, 0);
}

void CCoolButton::SetPosition(int x, int y) {
  MoveWindow(x, y, m_rcNormal.right - m_rcNormal.left, m_rcNormal.bottom - m_rcNormal.top, TRUE);
}

void CCoolButton::DrawCaption(CDC* pDC, const RECT* prc) {
  const std::string text = GetWindowText();
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = pDC->SetTextColor(m_crText);
  const HGDIOBJ oldFont = pDC->SelectObject(reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  RECT rc = *prc;
  pDC->DrawText(text, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
  pDC->SelectObject(oldFont);
}

void CCoolButton::PaintLook(CDC* pDC, const RECT& rcSlice) {
  // Before the palette skins it the button is never visible: nothing to draw.
  if (!m_pSkinDC) return;
  RECT rc;
  GetClientRect(&rc);
  pDC->BitBlt(rc.left, rc.top, rcSlice.right - rcSlice.left, rcSlice.bottom - rcSlice.top, m_pSkinDC, rcSlice.left,
              rcSlice.top, SRCCOPY);
  DrawCaption(pDC, &rc);
}

void CCoolButton::DrawItem(DRAWITEMSTRUCT*) {
  CClientDC dc(this);
  PaintLook(&dc, m_rcNormal);
}

LRESULT CCoolButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_ERASEBKGND:
      return OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    case WM_LBUTTONDOWN:
      OnLButtonDown();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(point);
      return 0;
    default:
      // WM_PAINT reaches DrawItem there and WM_SETCURSOR gets the arrow; a
      // double click's second press starts no click of its own.
      return CButton::WindowProc(message, wParam, lParam);
  }
}

BOOL CCoolButton::OnEraseBkgnd(CDC* pDC) {
  PaintLook(pDC, m_rcNormal);
  return TRUE;
}

void CCoolButton::OnLButtonDown() {
  // No focus change: the palette must never take the keyboard from the board.
  m_bPressed = TRUE;
  SetCapture();
  CClientDC dc(this);
  PaintLook(&dc, m_rcPressed);
}

void CCoolButton::OnMouseMove(POINT point) {
  RECT rc;
  GetClientRect(&rc);
  if (!::PtInRect(&rc, point)) {
    InvalidateRect(nullptr, TRUE);
    return;
  }
  CClientDC dc(this);
  const HGDIOBJ oldFont = dc.SelectObject(GetFont());
  PaintLook(&dc, m_bPressed ? m_rcPressed : m_rcHover);
  dc.SelectObject(oldFont);
  TRACKMOUSEEVENT track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = m_hWnd;
  track.dwHoverTime = 0;
  ::TrackMouseEvent(&track);
}

void CCoolButton::OnMouseLeave() { InvalidateRect(nullptr, TRUE); }

void CCoolButton::OnLButtonUp(POINT point) {
  ::ReleaseCapture();
  if (!m_bPressed) return;
  m_bPressed = FALSE;
  RECT rc;
  GetClientRect(&rc);
  // Sent, not posted: the parent's commands are out before this release ends.
  if (::PtInRect(&rc, point)) ::SendMessage(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
}
