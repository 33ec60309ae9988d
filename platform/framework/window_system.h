// The framework's window system: window records, the message queue and its
// loops, timers, input routing and painting, over one backend. Internal to
// the framework; the rest of the code uses the functions of user.h.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/framework/gdi_objects.h"
#include "platform/framework/message_log.h"
#include "platform/framework/win_types.h"
#include "platform/graphics/surface.h"

class CWnd;

namespace plumet::framework {

struct WindowRecord {
  HWND handle = nullptr;
  CWnd* object = nullptr;  // receives the messages; nullptr: default handling only
  HWND parent = nullptr;   // child windows
  HWND owner = nullptr;    // owned top-level windows
  std::vector<HWND> children;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect;               // top-level: screen; child: parent's client area
  std::string text;
  int id = 0;
  UINT templateId = 0;
  bool wantsDoubleClicks = false;
  backend::WindowId native = 0;
  std::shared_ptr<gfx::Surface> backing;  // the picture of a top-level window that is not layered
  gfx::IntRect invalid;
  bool eraseNeeded = false;
  std::map<std::string, HANDLE> props;
  std::vector<RECT> region;
  bool hasRegion = false;
  bool presentedOnce = false;
  // Layered presentation, at most once a frame: when the last one went, and
  // the one held back to go when the frame is due (its surface kept alive).
  std::uint64_t lastPresentMs = 0;
  std::optional<backend::Presentation> heldPresent;
  std::shared_ptr<const gfx::Surface> heldSource;
  bool destroying = false;
  HICON icons[2] = {nullptr, nullptr};
  // A layered window's client DC draws nothing; one is kept so that presenting never allocates.
  std::shared_ptr<DeviceContext> layeredDc;

  bool IsChild() const { return parent != nullptr; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT period;
  std::uint64_t due;
};

class WindowSystem {
 public:
  static WindowSystem& Get();

  void SetBackend(backend::Backend* backend);
  backend::Backend* Backend() const { return backend_; }
  // Counts backends installed: what one backend made means nothing to the next.
  std::uint64_t Session() const { return session_; }

  // Records.
  HWND Create(const WindowRecord& initial);
  void Destroy(HWND hwnd);
  WindowRecord* Find(HWND hwnd);
  HWND FromNative(backend::WindowId native) const;
  HWND TopLevelOf(HWND hwnd);
  POINT ClientOriginOnScreen(HWND hwnd);
  std::vector<HWND> TopLevelWindows() const;
  void EnsureNative(WindowRecord& record);
  void ApplyBounds(WindowRecord& record);
  void ApplyVisibility(WindowRecord& record, bool wasVisible);
  // Hands the window's icon (the big one if set) to its native window.
  void ApplyIcon(const WindowRecord& record);
  // Hands the record's region to its native window; no region, no shape.
  void ApplyShape(const WindowRecord& record);
  std::function<void(HWND)> destroyHook;  // runs just before a record goes away

  // Messages.
  void Post(const MSG& msg);
  LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  const MSG& CurrentMessage() const;
  // Runs one step of the loop; false when a quit message arrives.
  bool PumpMessage();
  void PostQuit(int code);
  void DropQueueFor(HWND hwnd);

  // Timers on the backend's clock.
  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT period);
  bool KillTimer(HWND hwnd, UINT_PTR id);

  // Keyboard state: the modifiers held with the key message being handled.
  bool KeyHeld(int virtualKey) const {
    return (virtualKey == VK_CONTROL && controlHeld_) || (virtualKey == VK_SHIFT && shiftHeld_);
  }

  // Pointer state.
  HWND Capture() const { return capture_; }
  HWND SetCapture(HWND hwnd);
  void ReleaseCapture();
  void TrackLeave(HWND hwnd) { leaveTracked_ = hwnd; }
  POINT CursorPos() const { return cursor_; }
  void SetCursor(HCURSOR cursor);
  HCURSOR Cursor() const { return currentCursor_; }
  // The window drag: moves hwnd with the pointer until the button is
  // released, by the system's own drag where the backend has one.
  void RunMoveLoop(HWND hwnd, POINT start);

  // Presents a layered window's surface. Changed parts within one frame of
  // the last presentation are joined and go when that frame is due; the
  // first change after a quiet frame and every whole picture go at once.
  void PresentLayered(WindowRecord& record, const backend::Presentation& presentation,
                      std::shared_ptr<const gfx::Surface> source);

  // Painting of windows that are not layered.
  void Invalidate(HWND hwnd, bool erase);
  void PresentRect(HWND topLevel, const gfx::IntRect& rect);

  // Message log for tests.
  void EnableLog(bool on) {
    logging_ = on;
    log_.clear();
  }
  const std::vector<LoggedMessage>& Log() const { return log_; }

 private:
  WindowSystem() = default;
  bool PaintPending() const;
  void PaintAll();
  void PaintWindow(WindowRecord& record, const gfx::IntRect& area, bool erase);
  std::optional<MSG> DueTimerMessage();
  int MillisecondsToNextTimer();
  std::uint64_t FrameInterval() const;
  void PresentDueFrames();
  void PresentHeld(WindowRecord& record, std::uint64_t now);
  // Until the next timer or held presentation is due; -1: no limit.
  int MillisecondsToWait();
  void HandleEvent(const backend::Event& event);
  void HandlePointer(const backend::Event& event);
  void HandleKey(const backend::Event& event);
  void PostFromOutside(const backend::Event& event);
  void CheckLeave(HWND under);
  void Dispatch(MSG msg);
  bool PreTranslate(MSG& msg);
  void FlushCursor(HWND target);

  backend::Backend* backend_ = nullptr;
  std::uint64_t session_ = 0;
  std::unordered_map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows_;
  std::uintptr_t nextHandle_ = 0x100;
  std::vector<MSG> queue_;
  std::size_t queueHead_ = 0;
  std::vector<MSG> current_;
  std::vector<Timer> timers_;
  HWND capture_ = nullptr;
  bool controlHeld_ = false;
  bool shiftHeld_ = false;
  HWND leaveTracked_ = nullptr;
  POINT cursor_;
  HCURSOR currentCursor_ = nullptr;
  HCURSOR shownCursor_ = nullptr;
  backend::WindowId cursorWindow_ = 0;
  HWND lastDownWindow_ = nullptr;
  POINT lastDownPoint_;
  std::uint64_t lastDownTime_ = 0;
  bool lastDownCounted_ = false;
  std::function<bool(const backend::Event&)> inputFilter_;
  bool quitRequested_ = false;
  bool presentsHeld_ = false;
  bool logging_ = false;
  std::vector<LoggedMessage> log_;
};

// Milliseconds between two presses that make a double click.
constexpr std::uint64_t kDoubleClickTime = 500;
// How far apart, in pixels, two presses of a double click may be.
constexpr int kDoubleClickDistance = 4;

}  // namespace plumet::framework
