#include "platform/framework/wnd.h"

#include <memory>
#include <unordered_map>

#include "platform/framework/dc.h"
#include "platform/framework/window_system.h"

using plumet::framework::WindowSystem;

namespace {

// Stand-ins for handles that no object receives messages for; they live as
// long as the handle.
std::unordered_map<HWND, std::unique_ptr<CWnd>>& StandIns() {
  static std::unordered_map<HWND, std::unique_ptr<CWnd>> standIns;
  return standIns;
}

}  // namespace

const CWnd CWnd::wndTopMost = [] {
  // Built in place: CWnd is not copyable.
  return CWnd();
}();

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && WindowSystem::Get().Find(m_hWnd)) {
    // A window must not outlive its object.
    if (WindowSystem::Get().Find(m_hWnd)->object == this) WindowSystem::Get().Find(m_hWnd)->object = nullptr;
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (hwnd == HWND_TOPMOST) return const_cast<CWnd*>(&wndTopMost);
  auto* record = WindowSystem::Get().Find(hwnd);
  if (!record) return nullptr;
  if (record->object) return record->object;
  auto& standIns = StandIns();
  std::erase_if(standIns, [](const auto& entry) { return !WindowSystem::Get().Find(entry.first); });
  auto& standIn = standIns[hwnd];
  if (!standIn) {
    standIn = std::make_unique<CWnd>();
    standIn->m_hWnd = hwnd;
  }
  return standIn.get();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

LRESULT CWnd::Default() {
  const MSG& msg = WindowSystem::Get().CurrentMessage();
  return ::DefWindowProc(m_hWnd, msg.message, msg.wParam, msg.lParam);
}

void CWnd::AttachHandle(HWND hwnd) {
  m_hWnd = hwnd;
  if (auto* record = WindowSystem::Get().Find(hwnd)) record->object = this;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND child = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  if (!child) return FALSE;
  AttachHandle(child);
  return TRUE;
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  HWND after = insertAfter == &wndTopMost ? HWND_TOPMOST : (insertAfter ? insertAfter->m_hWnd : nullptr);
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  const DWORD style = GetStyle();
  const DWORD updated = (style & ~remove) | add;
  if (updated == style) return FALSE;
  ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(updated));
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
  const DWORD style = GetExStyle();
  const DWORD updated = (style & ~remove) | add;
  if (updated == style) return FALSE;
  ::SetWindowLong(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(updated));
  return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CFont* CWnd::GetFont() const {
  // One object per font, so that a second call never changes what the first
  // returned; fonts are the framework's own and live as long as the program.
  static std::unordered_map<HGDIOBJ, CFont> fonts;
  const auto font = reinterpret_cast<HGDIOBJ>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
  CFont& object = fonts.try_emplace(font).first->second;
  object.m_hObject = font;
  return &object;
}
