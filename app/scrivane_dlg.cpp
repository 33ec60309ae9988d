#include "app/scrivane_dlg.h"

#include "model/board_modes.h"
#include "palette/board_commands.h"
#include "resources/resource_ids.h"

CScrivaneDlg::CScrivaneDlg() : CDialog(IDD_BOARD, nullptr) {
  m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : ::LoadIcon(nullptr, IDR_MAINFRAME);
  m_pages[0].m_pBoard = this;
  m_pages[1].m_pBoard = this;
}

CScrivaneDlg::~CScrivaneDlg() {
  // The window (and the palette it owns) goes before the surfaces it shows.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (m_hIcon) ::DestroyCursor(m_hIcon);
}

BOOL CScrivaneDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  m_nZoom = 1;
  m_ptViewOrigin = {0, 0};
  SetWindowText(kBoardCaption);
  m_nBackMode = BM_TRANSPARENT;
  ModifyStyleEx(0, WS_EX_LAYERED | WS_EX_TRANSPARENT);
  ::SetProp(m_hWnd, MICROSOFT_TABLETPENSERVICE_PROPERTY, reinterpret_cast<HANDLE>(std::uintptr_t{TABLET_PLAIN_MOUSE_INPUT}));
  LoadToolCursors();
  CreateBoardSurface();
  CreateZoomSurface();
  m_wndToolbar.Create(IDD_PALETTE, this);
  SetWindowPos(&CWnd::wndTopMost, 0, 0, m_nScreenWidth, m_nScreenHeight, SWP_SHOWWINDOW);
  const int scale = m_wndToolbar.Scale();
  m_wndToolbar.SetWindowPos(&CWnd::wndTopMost, m_nScreenWidth - 100 * scale, 100 * scale, 0, 0,
                            SWP_NOSIZE | SWP_SHOWWINDOW);
  PresentBoard();
  m_pages[0].m_nTool = TOOL_NONE;
  m_pages[1].m_nTool = TOOL_NONE;
  m_nBackMode = BM_TRANSPARENT;
  m_nCurPage = 0;
  m_pages[0].m_argbBackground = ARGB_SEE_THROUGH;
  // Window mode from the start: the user sees the palette and keeps working with other programs.
  OnBoardCommand(BC_WINDOW, 0);
  m_wndToolbar.SetLineWidth(m_pages[0].m_nWidth);
  return TRUE;
}

void CScrivaneDlg::OnDestroy() {
  ::RemoveProp(m_hWnd, MICROSOFT_TABLETPENSERVICE_PROPERTY);
  Default();
  if (m_dcCapture.GetSafeHdc()) {
    m_dcCapture.DeleteDC();
    m_bmpCapture.DeleteObject();
  }
  FreeBoardSurface();
  DestroyToolCursors();
}

// The board's picture never comes from painting: only PresentBoard puts it on
// screen, and the board has no caption to be minimised by.
void CScrivaneDlg::OnPaint() { Default(); }

HCURSOR CScrivaneDlg::OnQueryDragIcon() { return m_hIcon; }

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, through the same command that other programs send.
BOOL CScrivaneDlg::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd && ::GetKeyState(VK_CONTROL) < 0) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (msg->wParam == 'Z' || msg->wParam == 'Y') {
      SendMessage(WM_BOARDCOMMAND, msg->wParam == 'Z' && !shift ? BC_UNDO : BC_REDO, 0);
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

LRESULT CScrivaneDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DISPLAYCHANGE) OnDisplayChange();
  return DispatchMessage(message, wParam, lParam);
}

LRESULT CScrivaneDlg::DispatchMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_BOARDCOMMAND:
      return OnBoardCommand(wParam, lParam);
    case WM_LBUTTONDOWN:
      OnLButtonDown(static_cast<UINT>(wParam), point);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(static_cast<UINT>(wParam), point);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wParam), point);
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    default:
      return CDialog::WindowProc(message, wParam, lParam);
  }
}
