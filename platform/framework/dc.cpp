#include "platform/framework/dc.h"

#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/framework/resources.h"

#include "platform/framework/cursor_objects.h"
#include "platform/framework/gdi_objects.h"
#include "platform/framework/wnd.h"

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (!object) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  HBITMAP bitmap = ::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height);
  return bitmap ? Attach(bitmap) : FALSE;
}

BOOL CBitmap::LoadBitmap(UINT id) {
  HBITMAP bitmap = ::LoadBitmap(nullptr, id);
  return bitmap ? Attach(bitmap) : FALSE;
}

CDC::~CDC() {
  if (owned_) DeleteDC();
}

namespace {

// One stand-in per handle, kept until the DC goes, however deeply the uses
// nest. Never destroyed: DCs still go away while the program exits.
std::unordered_map<HDC, std::unique_ptr<CDC>>& DcStandIns() {
  static auto* standIns = new std::unordered_map<HDC, std::unique_ptr<CDC>>;
  return *standIns;
}

}  // namespace

CDC* CDC::FromHandle(HDC hdc) {
  std::unique_ptr<CDC>& dc = DcStandIns()[hdc];
  if (!dc) {
    dc = std::make_unique<CDC>();
    dc->owned_ = false;
    dc->m_hDC = hdc;
  }
  return dc.get();
}

void plumet::framework::ForgetDcStandIn(HDC hdc) { DcStandIns().erase(hdc); }

BOOL CDC::Attach(HDC hdc) {
  if (!hdc) return FALSE;
  m_hDC = hdc;
  return TRUE;
}

HDC CDC::Detach() { return std::exchange(m_hDC, nullptr); }

BOOL CDC::CreateCompatibleDC(CDC* reference) {
  HDC hdc = ::CreateCompatibleDC(reference ? reference->m_hDC : nullptr);
  return Attach(hdc);
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

HGDIOBJ CDC::SelectObject(CGdiObject* object) {
  return object ? ::SelectObject(m_hDC, object->m_hObject) : nullptr;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int srcX, int srcY, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, srcX, srcY, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int srcX, int srcY, int srcWidth,
                     int srcHeight, DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, srcX, srcY, srcWidth, srcHeight,
                      rop);
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) {
  return ::DrawText(m_hDC, text.c_str(), static_cast<int>(text.size()), rect, format);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
  auto* dc = plumet::framework::ToDc(m_hDC);
  if (!dc || !dc->surface || !rect) return;
  plumet::gfx::IntRect area = dc->OnSurface(*rect);
  if (!dc->clip.Empty()) area = area.Intersect(dc->clip);
  dc->surface->Fill(area, ArgbFromColorRef(0xFF, color));
  dc->Touch(area);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
  auto* dc = plumet::framework::ToDc(m_hDC);
  auto* picture = reinterpret_cast<plumet::framework::CursorObject*>(icon);
  if (!dc || !dc->surface || !picture) return FALSE;
  const auto& image = picture->image;
  for (int row = 0; row < image.height; ++row) {
    for (int col = 0; col < image.width; ++col) {
      const int px = x + col + dc->originX;
      const int py = y + row + dc->originY;
      if (px < 0 || py < 0 || px >= dc->surface->Width() || py >= dc->surface->Height()) continue;
      const std::uint32_t argb = image.argb[static_cast<std::size_t>(row) * image.width + col];
      if ((argb >> 24) == 0) continue;
      dc->surface->Row(py)[px] = plumet::gfx::Premultiply(argb);
    }
  }
  return TRUE;
}

CClientDC::CClientDC(CWnd* window) : window_(window ? window->m_hWnd : nullptr) {
  m_hDC = ::GetDC(window_);
  owned_ = false;
}

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(window_, Detach());
}

CPaintDC::CPaintDC(CWnd* window) {
  m_hDC = plumet::framework::MakeWindowDc(window ? window->m_hWnd : nullptr);
  owned_ = false;
}

CPaintDC::~CPaintDC() {
  // The paint cycle presents what it painted itself.
  delete plumet::framework::ToDc(Detach());
}
