// The neutral interface every window system implements. No window-system
// names and no native types: the framework turns what a backend reports into
// messages, and a backend never calls application code.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/int_rect.h"

namespace plumet::backend {

// A native top-level window; 0 is "none".
using WindowId = std::uint32_t;
// A cursor made by the backend; 0 is "none".
using CursorId = std::uint32_t;

using Rect = gfx::IntRect;

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Premultiplied ARGB32 pixels in native byte order, rows top-down.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in bytes
  std::uint32_t At(int x, int y) const {
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const std::uint8_t*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * stride)[x];
  }
};

// A screen picture owned by the caller.
struct ScreenImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // opaque ARGB32, width * height, top-down
};

struct WindowOptions {
  bool layered = false;       // shown from whole surfaces (per-pixel alpha or colour key)
  WindowId owner = 0;         // stays above its owner; hidden and destroyed with it by the framework
  bool toolWindow = false;    // no taskbar entry
  bool takesFocus = false;    // a press on it gives it the keyboard focus
  std::string title;
};

enum class PresentMode {
  PerPixelAlpha,  // premultiplied alpha; input passes where alpha is 0
  ColorKey,       // opaque, but pixels equal to the key are holes (shown and input pass through)
  Opaque,
};

struct Presentation {
  PixelView source;            // the whole window surface
  PresentMode mode = PresentMode::PerPixelAlpha;
  std::uint32_t colorKey = 0;  // RGB 0x00RRGGBB compared with the pixel's colour
  std::optional<Rect> dirty;   // only this part changed (window coordinates); none: all
};

enum class SystemCursor { Arrow, Hand };

struct CursorImage {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<std::uint32_t> argb;  // straight ARGB, width * height
  // The program's cursor resource the picture was read from (0: none): a
  // system that loads cursors from the program's resources itself takes it
  // from there, the picture and hot spot being the same.
  unsigned resourceId = 0;
};

enum class EventKind {
  PointerDown,
  PointerMove,
  PointerUp,
  KeyEnter,
  KeyEscape,
  KeyCtrlZ,
  KeyCtrlY,
  KeyCtrlShiftZ,
  DisplayChange,
  Close,        // the desktop session asks the program to end
  FocusLost,    // another program took the keyboard focus
  MessageFromOutside,  // another program posted a message to us: Event::posted
};

// A message another program posted, with its values exactly as sent. Window
// systems with a message queue per window deliver it to the window it was
// posted to; others (X) to the program: the event's window is then 0.
struct PostedMessage {
  std::uint32_t message = 0;
  std::uint32_t wParam = 0;
  std::int32_t lParam = 0;
};

struct Event {
  EventKind kind = EventKind::PointerMove;
  WindowId window = 0;  // the window the event belongs to (pointer: under it or holding the grab; keys: focus)
  int x = 0;            // window coordinates
  int y = 0;
  int screenX = 0;
  int screenY = 0;
  bool buttonDown = false;  // the left button is held (moves)
  PostedMessage posted{};   // MessageFromOutside
};

struct FileType {
  std::string label;    // shown to the user
  std::string pattern;  // "*.tiff"
};

struct SaveDialogRequest {
  std::vector<FileType> fileTypes;  // the first is preselected
  std::string defaultExtension;     // without the dot
  bool confirmOverwrite = true;
  WindowId parent = 0;
};

// A message for the user, shown above its owner until dismissed.
struct MessageRequest {
  WindowId owner = 0;
  std::string caption;
  std::string text;  // the file names in it are bytes, not always UTF-8
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The primary screen.
  virtual Size ScreenSize() = 0;
  // A copy of what the user sees, our layered windows included; false when
  // the window system does not allow it, or has not answered yet.
  virtual bool CaptureScreen(ScreenImage& out) = 0;
  // The last CaptureScreen failed only because the copy is still on its way
  // (the desktop may be asking the user's permission): ask again later.
  virtual bool ScreenCopyPending() { return false; }
  // Device pixels per layout pixel of the primary screen, a whole number (1
  // on an unscaled screen). The board draws in device pixels; the palette,
  // icon and cursors are drawn this many times larger.
  virtual int ScaleFactor() const { return 1; }

  // Native top-level windows.
  virtual WindowId CreateWindow(const WindowOptions& options) = 0;
  virtual void DestroyWindow(WindowId window) = 0;
  virtual void SetBounds(WindowId window, const Rect& screenRect) = 0;
  virtual void Show(WindowId window, bool visible) = 0;
  // Stacking: above every window that is not ours, owned windows above their owner.
  virtual void Raise(WindowId window) = 0;
  virtual void SetInputPassThrough(WindowId window, bool passThrough) = 0;
  // Outside the rectangles nothing is shown and no input is taken; empty: no shape.
  virtual void SetShape(WindowId window, const std::vector<Rect>& rects) = 0;
  virtual void Present(WindowId window, const Presentation& presentation) = 0;
  virtual void SetTitle(WindowId window, const std::string& title) = 0;
  virtual void SetIcon(WindowId window, const CursorImage& picture) = 0;
  virtual void Focus(WindowId window) = 0;

  // Pointer.
  virtual CursorId MakeCursor(const CursorImage& image) = 0;
  virtual CursorId MakeSystemCursor(SystemCursor cursor) = 0;
  virtual void FreeCursor(CursorId cursor) = 0;
  virtual void SetCursor(WindowId window, CursorId cursor) = 0;
  // All pointer events go to this window until released (0 releases).
  virtual void GrabPointer(WindowId window) = 0;
  virtual void PointerPosition(int& screenX, int& screenY) = 0;
  // The system's own move of a window by the pointer, called while the left
  // button that went down on it is held: returns once it is released, with
  // the window's new bounds (screen). Pointer events of the drag are not
  // reported. Nothing: the system offers no such drag, and the caller moves
  // the window itself.
  virtual std::optional<Rect> DragWindow(WindowId) { return std::nullopt; }

  // Time in milliseconds on the backend's clock.
  virtual std::uint64_t NowMs() = 0;
  // One refresh period of the screen in milliseconds (rounded down): the
  // framework presents a window at most once in it. 0: at every present.
  virtual int FrameIntervalMs() = 0;
  // Waits at most timeoutMs (negative: no limit) for the next event.
  virtual std::optional<Event> WaitEvent(int timeoutMs) = 0;
  // Pointer or key events already taken in that WaitEvent will return at
  // once: the framework handles them before a due frame goes out, so that
  // they show in it.
  virtual bool InputWaiting() { return false; }

  // The modal save dialog: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) = 0;
  // A modal message box with one button; returns once it is dismissed.
  virtual void ShowMessage(const MessageRequest& message) = 0;
};

}  // namespace plumet::backend
