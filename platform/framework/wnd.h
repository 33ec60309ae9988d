// The base window class. A window class overrides WindowProc and sends each
// message to its handler with one switch: that switch is its message map.
#pragma once

#include <string>

#include "platform/framework/user.h"
#include "platform/framework/win_types.h"

class CDC;
class CFont;

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  // The object behind a handle: the one that receives its messages, or a
  // stand-in kept for handles without one.
  static CWnd* FromHandle(HWND hwnd);
  static const CWnd wndTopMost;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL DestroyWindow();

  // Binds the dialog's child with this id to this object.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);

  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsIconic() const { return FALSE; }  // the windows here are never minimised
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void SetWindowText(const char* text) { ::SetWindowText(m_hWnd, text); }
  std::string GetWindowText() const { return ::GetWindowText(m_hWnd); }
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  int SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* callback) { return ::SetTimer(m_hWnd, id, elapse, callback); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
  }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
  }
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK) {
    return ::MessageBox(m_hWnd, text, caption, type);
  }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
  HICON SetIcon(HICON icon, BOOL big);
  CFont* GetFont() const;

 protected:
  // Default processing of the message being handled now.
  LRESULT Default();
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
  }
  // Ties a new window record to this object (the framework's creation steps).
  void AttachHandle(HWND hwnd);
};
