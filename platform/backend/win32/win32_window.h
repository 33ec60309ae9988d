// One native top-level window: a layered popup that shows its own 32-bit DIB
// section through UpdateLayeredWindowIndirect, whatever the framework's
// window is (an opaque window is a layered one whose every pixel is solid).
#pragma once

#include "platform/backend/win32/windows_api.h"

#include <vector>

#include "platform/backend/backend.h"

namespace plumet::backend::win32 {

// Window classes: other programs find the board by its class and caption.
inline constexpr const wchar_t* kBoardClass = L"PlumetBoard";
inline constexpr const wchar_t* kToolClass = L"PlumetTool";

class Win32Window {
 public:
  // A window that never got a picture: layered ones show nothing, others
  // show the dialog face colour.
  static constexpr std::uint32_t kUnpresentedFill = 0xFFF0F0F0u;

  // The class must be registered; owner may be null.
  Win32Window(HINSTANCE instance, const WindowOptions& options, HWND owner, LPARAM creationData);
  ~Win32Window();
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return hwnd_; }
  const WindowOptions& Options() const { return options_; }
  const Rect& Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  HCURSOR Cursor() const { return cursor_; }

  void SetBounds(const Rect& screenRect);
  // The system moved the window (its own drag): later pictures go there.
  void TakeBounds(const Rect& screenRect) { bounds_ = screenRect; }
  void Show(bool visible);
  void Raise();
  void SetPassThrough(bool passThrough);
  void SetShape(const std::vector<Rect>& rects);
  void Present(const Presentation& presentation);
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  // Takes the picture as the window's icon (taskbar, Alt+Tab).
  void SetIcon(const CursorImage& picture);

 private:
  bool MakeSurface(int width, int height);
  // Pixels outside the shape are cleared as well as cut off by the window
  // region: some window systems (Wine) ignore a layered window's region
  // when they show it.
  void ClearOutsideShape(const RECT& area);
  // Hands the surface (or its dirty part) to the window system.
  void Update(const RECT* dirty);

  HWND hwnd_ = nullptr;
  WindowOptions options_;
  Rect bounds_;
  bool visible_ = false;
  bool presented_ = false;
  HDC dc_ = nullptr;          // memory DC holding the DIB section
  HBITMAP dib_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;  // top-down, width_ * height_
  int width_ = 0;
  int height_ = 0;
  PresentMode mode_ = PresentMode::PerPixelAlpha;
  std::uint32_t colorKey_ = 0;
  HCURSOR cursor_ = nullptr;
  HICON icon_ = nullptr;
  std::vector<Rect> shape_;
};

// A 32-bit top-down DIB section; bits receives its pixels.
HBITMAP MakeDibSection(HDC dc, int width, int height, void** bits);
// A Win32 icon or cursor from straight ARGB pixels; nullptr when it cannot be made.
HICON MakeIconHandle(const CursorImage& image, bool icon);

}  // namespace plumet::backend::win32
