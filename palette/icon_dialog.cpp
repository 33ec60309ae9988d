#include "palette/icon_dialog.h"

#include "palette/artwork_scale.h"
#include "palette/screen_fit.h"
#include "resources/resource_ids.h"

namespace {

// A press and release closer than this (at 1x) is a click, not a drag.
constexpr long kClickDistance = 20;

}  // namespace

CIconDialog::CIconDialog() : CDialog(IDD_ICON) {}

CIconDialog::~CIconDialog() {
  // While the object is whole, so that WM_DESTROY reaches this class.
  if (m_hWnd) DestroyWindow();
}

BOOL CIconDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
  Gdiplus::Image* image = nullptr;
  m_nScale = ArtworkScale(m_hWnd);
  if (LoadImageResource(ScaledResourceId(IDR_ICON_PICTURE, m_nScale), "PNG", &image)) m_pImage.reset(image);
  RECT rc;
  GetWindowRect(&rc);
  ModifyStyleEx(0, WS_EX_LAYERED);
  if (m_pImage) {
    const int width = static_cast<int>(m_pImage->GetWidth());
    const int height = static_cast<int>(m_pImage->GetHeight());
    MoveWindow(rc.left, rc.top, width, height, TRUE);
    ::SetRect(&rc, rc.left, rc.top, rc.left + width, rc.top + height);
  }
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  CClientDC dc(this);
  m_dcIcon.CreateCompatibleDC(&dc);
  CreateDibSurface(&dc, &m_bmpIcon, width, height);
  m_dcIcon.SelectObject(&m_bmpIcon);
  Gdiplus::Graphics graphics(m_dcIcon.GetSafeHdc());
  // Every pixel starts fully transparent, so the margins neither show nor take clicks.
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  const Gdiplus::SolidBrush clear(0x00FF00FF);
  graphics.FillRectangle(&clear, 0, 0, width, height);
  if (m_pImage) {
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    graphics.DrawImage(m_pImage.get(), Gdiplus::Rect{0, 0, width, height}, 0, 0, width, height, Gdiplus::UnitPixel);
  }
  return TRUE;
}

BOOL CIconDialog::LoadImageResource(UINT nID, const char* pszType, Gdiplus::Image** ppImage) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResource(module, nID, pszType);
  if (!resource) return FALSE;
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL data = ::LoadResource(module, resource);
  if (!data) return FALSE;
  // The picture is decoded at once, so it keeps nothing of the resource.
  *ppImage = Gdiplus::Image::FromMemory(::LockResource(data), size);
  ::FreeResource(data);
  return TRUE;
}

void CIconDialog::PresentIcon() {
  RECT rc;
  GetWindowRect(&rc);
  const POINT dst{rc.left, rc.top};
  const SIZE size{rc.right - rc.left, rc.bottom - rc.top};
  const POINT src{0, 0};
  ::UpdateLayeredWindow(m_hWnd, nullptr, &dst, &size, m_dcIcon.GetSafeHdc(), &src, 0, &kPixelAlphaBlend, ULW_ALPHA);
}

BOOL CIconDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_LBUTTONDOWN) {
    POINT start;
    ::GetCursorPos(&start);
    // Returns once the button is up: the system has dragged the icon meanwhile.
    SendMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), MAKELPARAM(start.x, start.y));
    POINT end;
    ::GetCursorPos(&end);
    const long dx = start.x - end.x;
    const long dy = start.y - end.y;
    HWND owner = ::GetParent(m_hWnd);
    // Deferred through the owner's timer, so the unfold runs after this press is handled.
    const long distance = kClickDistance * m_nScale;
    if (dx * dx + dy * dy < distance * distance && owner)
      ::SetTimer(owner, IDT_UNFOLD, kUnfoldDelayMs, nullptr);
  }
  return CDialog::PreTranslateMessage(msg);
}

LRESULT CIconDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      // The picture must not outlive the graphics library, which the
      // program shuts down after its windows are gone.
      m_pImage.reset();
      return CDialog::WindowProc(message, wParam, lParam);
    case WM_DISPLAYCHANGE:
      KeepOnScreen(*this, lParam);
      return CDialog::WindowProc(message, wParam, lParam);
    default:
      return CDialog::WindowProc(message, wParam, lParam);
  }
}
