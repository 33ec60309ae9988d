// Device contexts and GDI objects as classes: memory DCs with bitmaps
// selected into them, and the client and paint DCs of a window.
#pragma once

#include <string>

#include "platform/framework/gdi.h"
#include "platform/framework/win_types.h"

class CWnd;
class CDC;

class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject() { DeleteObject(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  BOOL Attach(HGDIOBJ object);
  HGDIOBJ Detach();
  BOOL DeleteObject();
};

class CBitmap : public CGdiObject {
 public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL LoadBitmap(UINT id);
  int GetBitmap(BITMAP* out) const { return ::GetObject(m_hObject, sizeof(BITMAP), out); }
};

// Fonts are the framework's own; a CFont only names one and never frees it.
class CFont : public CGdiObject {
 public:
  ~CFont() override { Detach(); }
};

class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  // A DC object for a handle it does not own (valid while the handle is).
  static CDC* FromHandle(HDC hdc);
  BOOL Attach(HDC hdc);
  HDC Detach();

  BOOL CreateCompatibleDC(CDC* reference);
  BOOL DeleteDC();
  // Returns the object selected before, as a handle.
  HGDIOBJ SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int srcX, int srcY, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int srcX, int srcY, int srcWidth, int srcHeight,
                  DWORD rop);
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  int DrawText(const std::string& text, RECT* rect, UINT format);
  void FillSolidRect(const RECT* rect, COLORREF color);
  BOOL DrawIcon(int x, int y, HICON icon);

 protected:
  bool owned_ = true;
};

// The client area of a window; what is drawn reaches the screen when it goes.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

 private:
  HWND window_;
};

// For WM_PAINT handlers.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;
};
