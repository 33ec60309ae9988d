// The magnifier: a frozen copy of the screen shown two or three times
// enlarged, taken once the palette is out of the way, and panned by dragging.
#include <utility>

#include "app/scrivane_dlg.h"

void CScrivaneDlg::StartCapture() {
  if (m_wndToolbar.IsWindowVisible()) {
    m_wndToolbar.ShowWindow(SW_HIDE);
    m_bToolbarHiddenForCapture = true;
  }
  SetTimer(IDT_CAPTURE, kCaptureDelayMs, nullptr);
}

// False while the copy is still on its way (the desktop may be asking the
// user's permission) and still wanted: the palette stays out of the picture
// and the caller asks again.
bool CScrivaneDlg::CaptureScreen() {
  if (m_dcCapture.GetSafeHdc()) {
    m_dcCapture.DeleteDC();
    m_bmpCapture.DeleteObject();
  }
  HWND desktop = ::GetDesktopWindow();
  HDC screen = desktop ? ::GetDC(desktop) : nullptr;
  if (screen) {
    CClientDC client(this);
    m_dcCapture.CreateCompatibleDC(&client);
    m_bmpCapture.CreateCompatibleBitmap(&client, m_nScreenWidth, m_nScreenHeight);
    m_dcCapture.SelectObject(&m_bmpCapture);
    ::BitBlt(m_dcCapture.GetSafeHdc(), 0, 0, m_nScreenWidth, m_nScreenHeight, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::ReleaseDC(desktop, screen);
  } else if (desktop && ::GetLastError() == ERROR_IO_PENDING &&
             (m_bMagnifyPending || (m_bUnmagnifiedForCapture && m_nZoom > 1))) {
    return false;
  }
  if (std::exchange(m_bToolbarHiddenForCapture, false)) m_wndToolbar.ShowWindow(SW_SHOW);
  return true;
}

void CScrivaneDlg::MagnifyStep() {
  if (m_nZoom == 1) {
    // A second press during the wait finds the hand already chosen: saving
    // that would leave the pen dead once the magnifier ends.
    if (!m_bMagnifyPending) m_nSavedTool = CurrentPage().m_nTool;
    m_ptViewOrigin = {0, 0};
    m_bMagnifyPending = true;
    StartCapture();
  } else if (m_nZoom < 3) {
    ++m_nZoom;
    ClampViewOrigin();
    PresentBoard();
  }
  CurrentPage().m_nTool = TOOL_HAND;
}

void CScrivaneDlg::ReduceStep() {
  if (m_nZoom == 1) return;
  CurrentPage().m_nTool = TOOL_HAND;
  --m_nZoom;
  // A smaller factor shows more of the capture: keep that part inside it.
  ClampViewOrigin();
  PresentBoard();
  if (m_nZoom == 1) CurrentPage().m_nTool = m_nSavedTool;
}

// Ends the magnification, or the magnify step still waiting for its capture,
// and gives the page the tool it had before: the hand is the magnifier's only.
// False when the magnifier was off. The caller presents the board.
bool CScrivaneDlg::DropMagnifier() {
  const bool pending = std::exchange(m_bMagnifyPending, false);
  if (m_nZoom < 2 && !pending) return false;
  m_nZoom = 1;
  CurrentPage().m_nTool = m_nSavedTool;
  return true;
}

void CScrivaneDlg::LeaveMagnifier() {
  const bool magnified = m_nZoom > 1;
  if (DropMagnifier() && magnified) PresentBoard();
}

void CScrivaneDlg::OnTimer(UINT_PTR id) {
  if (id == IDT_CAPTURE) {
    KillTimer(IDT_CAPTURE);
    if (!CaptureScreen()) {
      SetTimer(IDT_CAPTURE, kCapturePollMs, nullptr);
      Default();
      return;
    }
    m_bUnmagnifiedForCapture = false;
    if (!m_bmpCapture.GetSafeHandle()) {
      // Without a copy of the screen there is nothing to magnify (nor to
      // show after a display change): the pen draws again.
      LeaveMagnifier();
    } else if (std::exchange(m_bMagnifyPending, false)) {
      ++m_nZoom;
      PresentBoard();
    } else if (m_nZoom > 1) {
      // A capture after a display change: show the new copy at the level the user chose.
      ClampViewOrigin();
      PresentBoard();
    }
  }
  Default();
}

void CScrivaneDlg::ClampViewOrigin() {
  const int visibleWidth = m_nScreenWidth / m_nZoom;
  const int visibleHeight = m_nScreenHeight / m_nZoom;
  if (m_ptViewOrigin.x < 0) m_ptViewOrigin.x = 0;
  if (m_ptViewOrigin.y < 0) m_ptViewOrigin.y = 0;
  if (m_ptViewOrigin.x + visibleWidth > m_nScreenWidth) m_ptViewOrigin.x = m_nScreenWidth - visibleWidth;
  if (m_ptViewOrigin.y + visibleHeight > m_nScreenHeight) m_ptViewOrigin.y = m_nScreenHeight - visibleHeight;
}

void CScrivaneDlg::PanView(int downX, int downY, int x, int y) {
  const POINT previous = m_ptViewOrigin;
  // The drag moves the origin by screen pixels, not capture pixels: the
  // picture follows the pointer at the magnification's speed.
  m_ptViewOrigin = {m_ptPanAnchor.x - (x - downX), m_ptPanAnchor.y - (y - downY)};
  ClampViewOrigin();
  if (m_ptViewOrigin != previous) PresentBoard();
}

void CScrivaneDlg::OnDisplayChange() {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  if (width == m_nScreenWidth && height == m_nScreenHeight) return;
  FreeBoardSurface();
  CreateBoardSurface();
  CreateZoomSurface();
  m_ptViewOrigin = {0, 0};
  // Magnified, the board would be in its own new copy, enlarged twice over.
  m_bUnmagnifiedForCapture = m_nZoom > 1;
  // The strokes keep their pixel positions on the new surface.
  RedrawBoard();
  // Refreshes the screen copy; it raises no magnification of its own.
  StartCapture();
}
