// The in-memory desktop: a Backend whose screen, windows, input and clock
// live in memory, driven by a queue of steps (user actions or callbacks).
//
// A test constructs it, installs it in the framework, adds steps and starts
// the program; the framework calls WaitEvent whenever it has nothing to do,
// and only then does the desktop hand out the next event of the current step,
// or start the next step once the current one is used up. When the steps run
// out while the program still runs, WaitEvent reports Close.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/headless/image.h"
#include "platform/backend/headless/native_window.h"
#include "platform/backend/headless/window_stack.h"

namespace plumet::backend::headless {

inline constexpr Size kDefaultScreen{1366, 768};

// Input that no window of ours took: it went to the desktop beneath.
// Pointer input is at its screen point; keys at the pointer's position.
struct DesktopInput {
  EventKind kind = EventKind::PointerDown;
  int x = 0;
  int y = 0;
  friend bool operator==(const DesktopInput&, const DesktopInput&) = default;
};

struct CursorState {
  std::optional<SystemCursor> system;  // set for system cursors
  CursorImage image;                   // set for bitmap cursors
};

class HeadlessDesktop final : public Backend {
 public:
  // The pointer starts at the centre of the screen, the clock at 0.
  explicit HeadlessDesktop(Size screen = kDefaultScreen);

  // The picture under all windows: the test pattern (default), or a PNG file
  // at the top-left corner, composed over the pattern where it is transparent
  // or does not reach. False (picture unchanged) when the file cannot be read.
  bool UseDesktopPicture(const std::string& pngPath);
  void UseDesktopPattern();

  // Changes the screen size without telling anyone: set-up before the
  // program starts (AddDisplayChange tells it).
  void SetScreenSize(Size size);

  // Steps run in the order added, one user action each (a click is two, a
  // drag a press, its moves and a release). Pointer actions are at a screen
  // point, kept on the screen.
  void AddPress(int x, int y);
  void AddMove(int x, int y);
  void AddRelease(int x, int y);
  void AddClick(int x, int y);
  // A press, `moves` moves along the line (the last on the end point) and a release.
  void AddDrag(int fromX, int fromY, int toX, int toY, int moves);
  // KeyEnter, KeyEscape, KeyCtrlZ, KeyCtrlY or KeyCtrlShiftZ, to the focus.
  void AddKey(EventKind key);
  // Time passes; timers fall due on the way.
  void AddWait(std::uint64_t ms);
  // The screen takes a new size and the program hears of it.
  void AddDisplayChange(Size size);
  // Another program posts a message to ours.
  void AddMessageFromOutside(const PostedMessage& message);
  // Runs between events with everything the earlier steps caused handled:
  // checks, shots (WriteShot), save answers at their time.
  void AddCallback(std::function<void()> step);
  bool HasPendingSteps() const;
  // Runs what is left without a program: time passes at once, and the events
  // the steps cause reach nobody (desktop input is still logged).
  void RunRemainingSteps();

  // What the user sees (opaque 0xFFRRGGBB pixels), our windows included.
  const Image& Screen() const;
  std::uint32_t ScreenPixel(int x, int y) const { return Screen().At(x, y); }
  bool WriteShot(const std::string& pngPath) const;

  const std::vector<DesktopInput>& DesktopInputLog() const { return desktopLog_; }
  WindowId FocusedWindow() const { return focus_; }
  WindowId GrabHolder() const { return grab_; }
  // The window that would take pointer input at a screen point now (the grab
  // holder while there is one), 0 for the desktop.
  WindowId InputWindowAt(int x, int y) const;
  CursorId CursorAtPointer() const;
  std::optional<CursorState> Cursor(CursorId cursor) const;
  std::optional<WindowState> Window(WindowId window) const;
  const std::vector<WindowId>& StackingOrder() const { return stack_.BottomToTop(); }

  // Answers for the coming save dialogs, first in first out; nothing: cancel.
  // The path is completed as a dialog with the file type at that index of
  // the request selected does (file_type_name.h).
  void AddSaveAnswer(std::optional<std::string> path, std::size_t fileType = 0);
  const std::vector<SaveDialogRequest>& SaveDialogRequests() const { return saveRequests_; }
  // Message boxes are dismissed at once; each is kept here and handed to the
  // sink, when one is set, as it is shown.
  const std::vector<MessageRequest>& Messages() const { return messages_; }
  void SetMessageSink(std::function<void(const MessageRequest&)> sink) { messageSink_ = std::move(sink); }
  // The in-memory screen shows every present at once unless given a refresh
  // period here (0 again: at once).
  void SetFrameInterval(int milliseconds) { frameIntervalMs_ = milliseconds; }
  // With capture off, CaptureScreen fails as on a window system that forbids it.
  void SetCaptureAllowed(bool allowed) { captureAllowed_ = allowed; }
  // The copy of the screen arrives this long after it is first asked for, as
  // from a desktop that asks the user's permission first (0: at once). With
  // capture off, what arrives is a refusal.
  void SetScreenCopyDelay(std::uint64_t ms) { copyDelayMs_ = ms; }
  // The screen's scale factor (1 unless set): set-up before the program starts.
  void SetScaleFactor(int factor) { scaleFactor_ = factor; }
  // On: DragWindow moves the window itself with the scripted pointer up to
  // the release, as a system's own move loop does (Windows). Off (the
  // default): it offers none, and the framework moves the window.
  void SetSystemWindowDrag(bool on) { systemWindowDrag_ = on; }

  // Backend.
  Size ScreenSize() override { return screenSize_; }
  bool CaptureScreen(ScreenImage& out) override;
  bool ScreenCopyPending() override { return copyPending_; }
  int ScaleFactor() const override { return scaleFactor_; }
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
  std::uint64_t NowMs() override { return now_; }
  int FrameIntervalMs() override { return frameIntervalMs_; }
  std::optional<Event> WaitEvent(int timeoutMs) override;
  std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) override;
  void ShowMessage(const MessageRequest& message) override;

 private:
  // One user action of a step. Pointer kinds carry a screen point; a display
  // change carries the new width and height in x and y.
  struct Input {
    EventKind kind = EventKind::PointerMove;
    int x = 0;
    int y = 0;
  };

  void AddInput(const Input& input);
  void StartNextStep();
  void Deliver(const Input& input);
  void DeliverPointer(const Input& input);
  void RenderDesktop();
  void Changed() { screen_.reset(); }
  NativeWindow* Find(WindowId window) { return stack_.Find(window); }

  Size screenSize_;
  std::optional<Image> desktopPicture_;  // the PNG, if one is used
  Image desktop_;
  WindowStack stack_;
  mutable std::optional<Image> screen_;  // composed on demand

  std::map<CursorId, CursorState> cursors_;
  CursorId nextCursor_ = 1;

  int pointerX_ = 0;
  int pointerY_ = 0;
  bool buttonDown_ = false;
  bool systemWindowDrag_ = false;
  WindowId pointerWindow_ = 0;  // took the last pointer event; 0: the desktop
  WindowId focus_ = 0;
  WindowId grab_ = 0;
  std::vector<DesktopInput> desktopLog_;

  std::uint64_t now_ = 0;
  int frameIntervalMs_ = 0;
  std::uint64_t waitLeft_ = 0;
  std::deque<std::function<void()>> steps_;
  std::deque<Input> inputs_;
  std::deque<Event> events_;

  struct SaveAnswer {
    std::string path;
    std::size_t fileType = 0;
  };
  std::deque<std::optional<SaveAnswer>> saveAnswers_;
  std::vector<MessageRequest> messages_;
  std::function<void(const MessageRequest&)> messageSink_;
  std::vector<SaveDialogRequest> saveRequests_;
  bool captureAllowed_ = true;
  std::uint64_t copyDelayMs_ = 0;
  std::optional<std::uint64_t> copyAskedAt_;  // the copy on its way was asked for then
  bool copyPending_ = false;
  int scaleFactor_ = 1;
};

}  // namespace plumet::backend::headless
