// The board surface, its fill per background mode, and how the board (or the
// magnified capture) reaches the screen.
#include "app/scrivane_dlg.h"
#include "model/board_modes.h"

void CScrivaneDlg::CreateBoardSurface() {
  m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  CClientDC client(this);
  m_dcBoard.CreateCompatibleDC(&client);
  CreateDibSurface(&client, &m_bmpBoard, m_nScreenWidth, m_nScreenHeight);
  m_hOldBoardBitmap = m_dcBoard.SelectObject(&m_bmpBoard);
  FillBackground();
}

void CScrivaneDlg::FreeBoardSurface() {
  if (!m_dcBoard.GetSafeHdc()) return;
  m_dcBoard.DeleteDC();
  m_bmpBoard.DeleteObject();
  m_hOldBoardBitmap = nullptr;
}

// Made again whenever the screen size changes: a magnified picture always
// fills the screen as it is now.
void CScrivaneDlg::CreateZoomSurface() {
  m_dcZoom.DeleteDC();
  m_bmpZoom.DeleteObject();
  CClientDC client(this);
  m_dcZoom.CreateCompatibleDC(&client);
  m_bmpZoom.CreateCompatibleBitmap(&client, m_nScreenWidth, m_nScreenHeight);
  m_dcZoom.SelectObject(&m_bmpZoom);
  const RECT all{0, 0, m_nScreenWidth, m_nScreenHeight};
  m_dcZoom.FillSolidRect(&all, RGB(255, 255, 255));
}

void CScrivaneDlg::FillBackground() {
  const bool opaque = m_nBackMode == BM_GREENBOARD || m_nBackMode == BM_WHITEBOARD;
  const std::uint32_t alpha = opaque ? 255u : 1u;
  const std::uint32_t rgb = m_nBackMode == BM_GREENBOARD ? 0x006934u : 0xFFFFFFu;
  Gdiplus::SolidBrush brush((alpha << 24) | rgb);
  Gdiplus::Graphics graphics(m_dcBoard.GetSafeHdc());
  // The colour, alpha included, replaces the pixels instead of blending with them.
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics.FillRectangle(&brush, 0, 0, m_nScreenWidth, m_nScreenHeight);
}

void CScrivaneDlg::RedrawBoard() {
  FillBackground();
  Gdiplus::Graphics graphics(m_dcBoard.GetSafeHdc());
  CurrentPage().DrawAll(&graphics);
  PresentBoard();
}

void CScrivaneDlg::PresentBoard(const RECT* dirty) {
  const POINT origin{0, 0};
  const SIZE size{m_nScreenWidth, m_nScreenHeight};
  CClientDC client(this);
  UPDATELAYEREDWINDOWINFO info;
  info.hdcDst = client.GetSafeHdc();
  info.pptDst = &origin;
  info.psize = &size;
  info.pptSrc = &origin;
  info.crKey = RGB(255, 0, 255);
  info.pblend = &kPixelAlphaBlend;
  if (m_nZoom <= 1 || m_bUnmagnifiedForCapture) {
    info.hdcSrc = m_dcBoard.GetSafeHdc();
    info.dwFlags = ULW_ALPHA;
    info.prcDirty = dirty;
  } else {
    m_dcZoom.StretchBlt(0, 0, m_nScreenWidth, m_nScreenHeight, &m_dcCapture, m_ptViewOrigin.x, m_ptViewOrigin.y,
                        m_nScreenWidth / m_nZoom, m_nScreenHeight / m_nZoom, SRCCOPY);
    // Opaque, but for capture pixels of exactly the key colour.
    info.hdcSrc = m_dcZoom.GetSafeHdc();
    info.dwFlags = ULW_COLORKEY;
  }
  ::UpdateLayeredWindowIndirect(m_hWnd, &info);
}

int CScrivaneDlg::GetEraserAlpha() {
  if (m_nBackMode == BM_TRANSPARENT) return 1;
  if (m_nBackMode == BM_GREENBOARD || m_nBackMode == BM_WHITEBOARD) return 255;
  return 0;
}
