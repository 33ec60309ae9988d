// The Backend on the Windows desktop: Win32 windows, input from the mouse
// messages, the screen through GDI, the save dialog of the shell.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/win32/win32_window.h"
#include "platform/backend/win32/windows_api.h"

namespace plumet::backend::win32 {

class Win32Desktop final : public Backend {
 public:
  // Fails while another board runs on this desktop.
  static std::unique_ptr<Win32Desktop> Open(std::string& error);
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  Size ScreenSize() override;
  bool CaptureScreen(ScreenImage& out) override;
  WindowId CreateWindow(const WindowOptions& options) override;
  void DestroyWindow(WindowId window) override;
  void SetBounds(WindowId window, const Rect& screenRect) override;
  void Show(WindowId window, bool visible) override;
  void Raise(WindowId window) override;
  void SetInputPassThrough(WindowId window, bool passThrough) override;
  void SetShape(WindowId window, const std::vector<Rect>& rects) override;
  void Present(WindowId window, const Presentation& presentation) override;
  void SetTitle(WindowId window, const std::string& title) override;
  void SetIcon(WindowId window, const CursorImage& picture) override;
  void Focus(WindowId window) override;
  CursorId MakeCursor(const CursorImage& image) override;
  CursorId MakeSystemCursor(SystemCursor cursor) override;
  void FreeCursor(CursorId cursor) override;
  void SetCursor(WindowId window, CursorId cursor) override;
  void GrabPointer(WindowId window) override;
  void PointerPosition(int& screenX, int& screenY) override;
  std::optional<Rect> DragWindow(WindowId window) override;
  std::uint64_t NowMs() override;
  int FrameIntervalMs() override { return frameIntervalMs_; }
  int ScaleFactor() const override { return scaleFactor_; }
  std::optional<Event> WaitEvent(int timeoutMs) override;
  std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) override;
  void ShowMessage(const MessageRequest& message) override;

 private:
  Win32Desktop(HINSTANCE instance, HANDLE boardLock);

  bool ReadScreen(ScreenImage& out);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Turns one message to one of our windows into events; false: not ours to answer.
  bool Translate(WindowId window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TranslatePointer(WindowId window, EventKind kind, LPARAM lParam, bool buttonDown);
  void TranslateKey(WindowId window, WPARAM key);
  Win32Window* Find(WindowId window);
  WindowId FromHandle(HWND hwnd) const;
  // Runs a modal dialog of the system's: input meant for our windows
  // meanwhile is dropped, messages from other programs wait.
  template <typename Dialog>
  auto RunModal(const Dialog& dialog);

  HINSTANCE instance_;
  HANDLE boardLock_;
  bool comStarted_ = false;
  int frameIntervalMs_ = 16;
  int scaleFactor_ = 1;  // read once at start, as on X
  std::map<WindowId, std::unique_ptr<Win32Window>> windows_;
  WindowId nextWindow_ = 1;
  WindowId creating_ = 0;  // the window CreateWindowExW is making
  struct CursorEntry {
    HCURSOR handle = nullptr;
    bool shared = false;  // a system cursor, never destroyed
  };
  std::map<CursorId, CursorEntry> cursors_;
  CursorId nextCursor_ = 1;
  WindowId grab_ = 0;
  WindowId tracked_ = 0;  // asked for a leave notification
  WindowId focus_ = 0;
  bool dialogOpen_ = false;
  std::deque<Event> events_;
};

}  // namespace plumet::backend::win32
