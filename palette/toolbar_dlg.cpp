#include "palette/toolbar_dlg.h"

#include <array>
#include <cstdint>

#include "palette/artwork_scale.h"
#include "palette/board_commands.h"
#include "palette/screen_fit.h"
#include "resources/resource_ids.h"

namespace {

// A press here folds the palette; elsewhere on the background it drags. The
// layout's numbers are those of the 1x artwork.
constexpr RECT kFoldStrip{0, 464, 50, 475};

using Slices = CToolbarDlg::Slices;

// The sheet repeats the palette in its hover and pressed looks to the right.
constexpr Slices TileSlices(LONG row) { return {{7, row}, {63, row}, {120, row}, {37, 34}}; }
constexpr Slices kCrossSlices{{32, 1}, {88, 1}, {32, 1}, {15, 15}};

struct LineWidthLook {
  int width;
  Slices slices;
};

constexpr std::array<LineWidthLook, 4> kLineWidthLooks{{
    {3, TileSlices(95)},
    {5, {{172, 96}, {172, 169}, {172, 242}, {37, 34}}},
    {10, {{214, 96}, {214, 169}, {214, 242}, {37, 34}}},
    {15, {{254, 96}, {254, 169}, {254, 242}, {37, 34}}},
}};

void ApplySlices(CCoolButton& button, CDC* skin, const Slices& s, int scale) {
  button.SetSkin(skin, s.normal.x * scale, s.normal.y * scale, s.hover.x * scale, s.hover.y * scale,
                 s.pressed.x * scale, s.pressed.y * scale, s.size.cx * scale, s.size.cy * scale);
}

}  // namespace

std::span<const CToolbarDlg::ButtonEntry> CToolbarDlg::Buttons() {
  // In binding order. The sheet rows of the pens and the line width differ
  // from their places; the close cross posts nothing (IDCANCEL reaches OnCancel).
  static constexpr std::array<ButtonEntry, 13> kButtons{{
      {IDCANCEL, &CToolbarDlg::m_btnExit, kCrossSlices, {32, 1}, {}, 0},
      {1000, &CToolbarDlg::m_btnWindow, TileSlices(22), {7, 22}, {{{BC_WINDOW, 0}}}, 1},
      {1001, &CToolbarDlg::m_btnMarker, TileSlices(59), {7, 59}, {{{BC_PEN, 0}, {BC_COLOR, 0}}}, 2},
      {1002, &CToolbarDlg::m_btnLineWidth, TileSlices(95), {7, 205}, {{{BC_LINEWIDTH, 0}}}, 1},
      {1004, &CToolbarDlg::m_btnBigErase, TileSlices(169), {7, 243}, {{{BC_BIGERASE, 0}}}, 1},
      {1005, &CToolbarDlg::m_btnErase, TileSlices(205), {7, 279}, {{{BC_ERASE, 0}}}, 1},
      {1006, &CToolbarDlg::m_btnZoomOut, TileSlices(243), {7, 316}, {{{BC_ZOOMIN, 0}}}, 1},
      {1007, &CToolbarDlg::m_btnZoomIn, TileSlices(279), {7, 353}, {{{BC_ZOOMOUT, 0}}}, 1},
      {1008, &CToolbarDlg::m_btnSave, TileSlices(316), {7, 389}, {{{BC_SAVE, 0}}}, 1},
      {1009, &CToolbarDlg::m_btnBackground, TileSlices(353), {7, 426}, {{{BC_BACKGROUND, 0}}}, 1},
      {1010, &CToolbarDlg::m_btnBluePen, TileSlices(132), {7, 95}, {{{BC_PEN, 0}, {BC_COLOR, 1}}}, 2},
      {1011, &CToolbarDlg::m_btnRedPen, TileSlices(389), {7, 132}, {{{BC_PEN, 0}, {BC_COLOR, 2}}}, 2},
      {1012, &CToolbarDlg::m_btnGreenPen, TileSlices(426), {7, 169}, {{{BC_PEN, 0}, {BC_COLOR, 3}}}, 2},
  }};
  return kButtons;
}

CToolbarDlg::CToolbarDlg() : CDialog(IDD_PALETTE) {}

CToolbarDlg::~CToolbarDlg() {
  // While the object is whole, so that WM_DESTROY reaches this class.
  if (m_hWnd) DestroyWindow();
}

void CToolbarDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (const ButtonEntry& entry : Buttons()) DDX_Control(pDX, entry.id, this->*entry.button);
}

BOOL CToolbarDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ::SetProp(m_hWnd, MICROSOFT_TABLETPENSERVICE_PROPERTY, reinterpret_cast<HANDLE>(std::uintptr_t{TABLET_PLAIN_MOUSE_INPUT}));
  m_nScale = ArtworkScale(m_hWnd);
  CBitmap shape;
  BITMAP bm;
  if (shape.LoadBitmap(ScaledResourceId(IDB_PALETTE_SHAPE, m_nScale)) && shape.GetBitmap(&bm)) {
    // The creator places the palette; only its size comes from the shape.
    RECT rc;
    GetWindowRect(&rc);
    MoveWindow(rc.left, rc.top, bm.bmWidth, bm.bmHeight, TRUE);
    if (HRGN region = BuildShapeRegion(shape, RGB(255, 0, 255), RGB(0, 0, 0))) SetWindowRgn(region, TRUE);
  }
  shape.DeleteObject();
  SetupButtons();
  m_wndIcon.Create(IDD_ICON, this);
  return TRUE;
}

void CToolbarDlg::SetupButtons() {
  CClientDC dc(this);
  m_dcSkin.CreateCompatibleDC(&dc);
  m_bmpSkin.LoadBitmap(ScaledResourceId(IDB_SKIN, m_nScale));
  m_dcSkin.SelectObject(&m_bmpSkin);
  for (const ButtonEntry& entry : Buttons()) {
    CCoolButton& button = this->*entry.button;
    // The looks come from the skin alone; no template caption ever shows.
    button.SetWindowText("");
    ApplySlices(button, &m_dcSkin, entry.slices, m_nScale);
    button.SetPosition(entry.place.x * m_nScale, entry.place.y * m_nScale);
  }
}

void CToolbarDlg::SetLineWidth(int nWidth) {
  for (const LineWidthLook& look : kLineWidthLooks)
    if (look.width == nWidth) ApplySlices(m_btnLineWidth, &m_dcSkin, look.slices, m_nScale);
}

LRESULT CToolbarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && OnButtonCommand(LOWORD(wParam))) return 0;
      break;
    case WM_ERASEBKGND:
      if (m_dcSkin.GetSafeHdc()) return OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      break;
    case WM_DISPLAYCHANGE:
      KeepOnScreen(*this, lParam);
      break;
    default:
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void CToolbarDlg::OnDestroy() {
  ::RemoveProp(m_hWnd, MICROSOFT_TABLETPENSERVICE_PROPERTY);
  m_dcSkin.DeleteDC();
  m_bmpSkin.DeleteObject();
}

bool CToolbarDlg::OnButtonCommand(int id) {
  for (const ButtonEntry& entry : Buttons()) {
    if (entry.id != id || entry.postCount == 0) continue;
    // Posted, in order: the board acts on them after this click is handled.
    for (std::size_t i = 0; i < entry.postCount; ++i)
      ::PostMessage(::GetParent(m_hWnd), WM_BOARDCOMMAND, entry.posts[i].code, entry.posts[i].argument);
    return true;
  }
  return false;
}

LRESULT CToolbarDlg::OnEraseBkgnd(CDC* pDC) {
  RECT rc;
  GetClientRect(&rc);
  pDC->BitBlt(0, 0, rc.right, rc.bottom, &m_dcSkin, 0, 0, SRCCOPY);
  return TRUE;
}

void CToolbarDlg::OnLButtonDown(POINT point) {
  const RECT foldStrip = ScaleRect(kFoldStrip, m_nScale);
  if (::PtInRect(&foldStrip, point)) {
    Fold();
    return;
  }
  // Returns once the button is up: the system has dragged the palette meanwhile.
  SendMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), MAKELPARAM(point.x, point.y));
  Default();
}

void CToolbarDlg::Fold() {
  RECT rc;
  GetWindowRect(&rc);
  ShowWindow(SW_HIDE);
  m_wndIcon.SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, 0, 0, SWP_NOSIZE);
  m_wndIcon.PresentIcon();
  m_wndIcon.ShowWindow(SW_SHOW);
}

void CToolbarDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != IDT_UNFOLD) return;
  // One-shot: the icon starts it anew for each click.
  KillTimer(IDT_UNFOLD);
  RECT rc;
  m_wndIcon.GetWindowRect(&rc);
  m_wndIcon.ShowWindow(SW_HIDE);
  SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, 0, 0, SWP_NOSIZE);
  ShowWindow(SW_SHOW);
}

void CToolbarDlg::OnCancel() {
  // Ends the board's modal loop and so the program; the palette itself stays.
  ::PostQuitMessage(0);
}
