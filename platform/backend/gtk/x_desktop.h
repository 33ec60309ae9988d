// The Backend on a real X server. Windows, input and the screen go through a
// connection of its own, whose events are read with XCB; WaitEvent waits on
// it and on GLib's main context together. GTK (on its own connection)
// watches the compositing manager and shows the save dialog.
#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/gtk/board_address.h"
#include "platform/backend/gtk/raise_policy.h"
#include "platform/backend/gtk/session_client.h"
#include "platform/backend/gtk/x_window.h"

namespace plumet::backend::gtk {

class MainContextWait;
class PortalScreenshot;

class XDesktop final : public Backend {
 public:
  // GTK must have been started (StartToolkit).
  static std::unique_ptr<XDesktop> Open(std::string& error);
  ~XDesktop() override;
  XDesktop(const XDesktop&) = delete;
  XDesktop& operator=(const XDesktop&) = delete;

  // With capture off, CaptureScreen fails as on a Wayland session.
  void SetCaptureAllowed(bool allowed) { captureAllowed_ = allowed; }
  // The screen is copied by the desktop portal instead of read from the X
  // server, which on a Wayland session shows only X clients.
  void CopyThroughPortal();
  bool Composited() const { return composited_; }
  // Windows made from now on send their pictures with PutImage, as on a
  // server without shared memory.
  void AvoidSharedMemory() { target_.sharedMemory = nullptr; }
  // Whether the window's picture is shown from memory shared with the server.
  bool SharesPicture(WindowId window);

  Size ScreenSize() override { return Size{monitor_.Width(), monitor_.Height()}; }
  bool CaptureScreen(ScreenImage& out) override;
  bool ScreenCopyPending() override { return copyPending_; }
  int ScaleFactor() const override;
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
  std::uint64_t NowMs() override;
  int FrameIntervalMs() override { return frameIntervalMs_; }
  std::optional<Event> WaitEvent(int timeoutMs) override;
  bool InputWaiting() override;
  std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) override;
  void ShowMessage(const MessageRequest& message) override;

 private:
  XDesktop(Display* display, std::unique_ptr<BoardAddress> address);

  bool ReadRoot(ScreenImage& out);
  // Runs a modal dialog of GTK's: our windows take no input meanwhile and
  // stay on top afterwards, the focus back where it was.
  void RunModal(const std::function<void()>& dialog);
  XWindow* Find(WindowId window);
  WindowId FromXid(Window xid) const;
  bool IsOwnedBy(WindowId window, WindowId owner) const;

  // Translates every event XCB holds, reading the socket first if it is
  // readable; messages from other programs only while fewer than a few
  // hundred events wait.
  void Drain(bool socketReadable);
  void Translate(const xcb_generic_event_t& event);
  void TranslatePointer(int type, const xcb_generic_event_t& event);
  void TranslateFocusOut(const xcb_focus_out_event_t& event);
  void PressSeenByServer();
  // Reads events until the server has read the window's shared picture, so
  // that it can be written again.
  void AwaitPuts(XWindow& window);
  // Where the pointer is on the root window, and the root's child under it.
  struct RootPointer {
    Window child = None;
    int rootX = 0;
    int rootY = 0;
  };
  RootPointer QueryRootPointer() const;
  void KeepOnTop();
  // The session ends: the program is asked to end as if its windows were closed.
  void RequestEnd();
  // Windows of other programs that lie above one of ours and overlap it.
  std::vector<RaisePolicy::WindowRef> CoveringWindows() const;
  // Raises our windows if they are covered and the policy lets us.
  void CheckCovered();
  void UpdateMonitor();
  void UpdateCompositing(bool composited);
  // Without a compositor the board is cut out of its picture, so clicks
  // between its strokes would reach the windows beneath: a pointer grab that
  // leaves our other windows their events keeps them on the board.
  void RefreshFallbackGrab();
  Event PointerEvent(EventKind kind, WindowId window, int rootX, int rootY, bool buttonDown) const;

  friend struct XDesktopCallbacks;  // GLib's, in the source file

  Display* display_;
  xcb_connection_t* xcb_;  // display_'s
  std::unique_ptr<BoardAddress> address_;  // where other programs post
  std::unique_ptr<MainContextWait> mainContext_;
  XTarget target_;
  bool alphaVisual_ = false;
  int xiOpcode_ = -1;
  int randrEventBase_ = -1;
  int shmEventBase_ = -1;
  std::vector<unsigned> endWatches_;  // termination signals
  std::unique_ptr<SessionClient> session_;
  unsigned addressWatch_ = 0;  // while a dialog runs
  unsigned long compositedHandler_ = 0;

  Rect monitor_;  // the primary monitor, root coordinates
  int frameIntervalMs_ = 0;  // of the primary monitor
  bool composited_ = true;
  bool captureAllowed_ = true;
  std::unique_ptr<PortalScreenshot> portal_;
  bool copyPending_ = false;  // the portal has not answered yet
  bool dialogOpen_ = false;

  std::map<WindowId, std::unique_ptr<XWindow>> windows_;
  std::vector<WindowId> order_;  // bottom to top
  WindowId nextWindow_ = 1;
  std::map<CursorId, Cursor> cursors_;
  CursorId nextCursor_ = 1;

  WindowId focus_ = 0;
  WindowId grab_ = 0;      // SetCapture's grab
  WindowId fallback_ = 0;  // holds the fallback grab
  std::uint64_t lastFallbackTry_ = 0;
  bool leaving_ = false;   // the pointer left our windows in this batch
  int leaveX_ = 0;
  int leaveY_ = 0;
  std::deque<Event> events_;
  // Until then the X connection is not read: the events of a frame that has
  // just been presented are taken together when it ends (see WaitEvent).
  std::uint64_t readAfterMs_ = 0;

  RaisePolicy raisePolicy_;
  bool coverCheckDue_ = false;  // another program's window appeared or moved
  unsigned coverTimer_ = 0;     // a check the policy put off
};

}  // namespace plumet::backend::gtk
