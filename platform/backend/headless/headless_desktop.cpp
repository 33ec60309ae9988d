#include "platform/backend/headless/headless_desktop.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/backend/file_type_name.h"
#include "platform/backend/headless/png_file.h"
#include "platform/backend/headless/test_pattern.h"

namespace plumet::backend::headless {

HeadlessDesktop::HeadlessDesktop(Size screen) : screenSize_(screen) {
  pointerX_ = screen.width / 2;
  pointerY_ = screen.height / 2;
  RenderDesktop();
}

// ---- Desktop picture and screen --------------------------------------------

bool HeadlessDesktop::UseDesktopPicture(const std::string& pngPath) {
  std::optional<Image> picture = LoadPng(pngPath);
  if (!picture) return false;
  desktopPicture_ = std::move(picture);
  RenderDesktop();
  return true;
}

void HeadlessDesktop::UseDesktopPattern() {
  desktopPicture_.reset();
  RenderDesktop();
}

void HeadlessDesktop::RenderDesktop() {
  desktop_ = MakeTestPattern(screenSize_.width, screenSize_.height);
  if (desktopPicture_) {
    const int width = std::min(desktopPicture_->width, desktop_.width);
    const int height = std::min(desktopPicture_->height, desktop_.height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) desktop_.At(x, y) = SourceOver(desktopPicture_->At(x, y), desktop_.At(x, y));
    }
  }
  Changed();
}

void HeadlessDesktop::SetScreenSize(Size size) {
  screenSize_ = size;
  pointerX_ = std::clamp(pointerX_, 0, size.width - 1);
  pointerY_ = std::clamp(pointerY_, 0, size.height - 1);
  RenderDesktop();
}

const Image& HeadlessDesktop::Screen() const {
  if (!screen_) screen_ = stack_.Compose(desktop_);
  return *screen_;
}

bool HeadlessDesktop::WriteShot(const std::string& pngPath) const { return WritePng(pngPath, Screen()); }

bool HeadlessDesktop::CaptureScreen(ScreenImage& out) {
  copyPending_ = false;
  if (copyDelayMs_ > 0) {
    if (!copyAskedAt_) copyAskedAt_ = now_;
    if (now_ < *copyAskedAt_ + copyDelayMs_) {
      copyPending_ = true;
      return false;
    }
    copyAskedAt_.reset();
  }
  if (!captureAllowed_) return false;
  const Image& screen = Screen();
  out.width = screen.width;
  out.height = screen.height;
  out.pixels = screen.pixels;
  return true;
}

// ---- Windows ---------------------------------------------------------------

WindowId HeadlessDesktop::CreateWindow(const WindowOptions& options) {
  Changed();
  return stack_.Create(options);
}

void HeadlessDesktop::DestroyWindow(WindowId window) {
  if (focus_ == window) focus_ = 0;
  if (grab_ == window) grab_ = 0;
  if (pointerWindow_ == window) pointerWindow_ = 0;
  stack_.Destroy(window);
  Changed();
}

void HeadlessDesktop::SetBounds(WindowId window, const Rect& screenRect) {
  if (NativeWindow* w = Find(window)) w->SetBounds(screenRect);
  Changed();
}

void HeadlessDesktop::Show(WindowId window, bool visible) {
  if (NativeWindow* w = Find(window)) w->Settings().visible = visible;
  Changed();
}

void HeadlessDesktop::Raise(WindowId window) {
  stack_.Raise(window);
  Changed();
}

void HeadlessDesktop::SetInputPassThrough(WindowId window, bool passThrough) {
  if (NativeWindow* w = Find(window)) w->Settings().passThrough = passThrough;
}

void HeadlessDesktop::SetShape(WindowId window, const std::vector<Rect>& rects) {
  if (NativeWindow* w = Find(window)) w->SetShape(rects);
  Changed();
}

void HeadlessDesktop::Present(WindowId window, const Presentation& presentation) {
  if (NativeWindow* w = Find(window)) w->Present(presentation);
  Changed();
}

void HeadlessDesktop::SetTitle(WindowId window, const std::string& title) {
  if (NativeWindow* w = Find(window)) w->Settings().title = title;
}

void HeadlessDesktop::SetIcon(WindowId window, const CursorImage& picture) {
  if (NativeWindow* w = Find(window)) w->Settings().icon = picture;
}

void HeadlessDesktop::Focus(WindowId window) {
  if (window == 0 || Find(window) != nullptr) focus_ = window;
}

std::optional<WindowState> HeadlessDesktop::Window(WindowId window) const {
  const NativeWindow* w = stack_.Find(window);
  if (w == nullptr) return std::nullopt;
  return w->State();
}

// ---- Pointer and cursors ---------------------------------------------------

CursorId HeadlessDesktop::MakeCursor(const CursorImage& image) {
  cursors_[nextCursor_] = CursorState{std::nullopt, image};
  return nextCursor_++;
}

CursorId HeadlessDesktop::MakeSystemCursor(SystemCursor cursor) {
  cursors_[nextCursor_] = CursorState{cursor, {}};
  return nextCursor_++;
}

void HeadlessDesktop::FreeCursor(CursorId cursor) { cursors_.erase(cursor); }

void HeadlessDesktop::SetCursor(WindowId window, CursorId cursor) {
  if (NativeWindow* w = Find(window)) w->Settings().cursor = cursor;
}

std::optional<CursorState> HeadlessDesktop::Cursor(CursorId cursor) const {
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) return std::nullopt;
  return it->second;
}

CursorId HeadlessDesktop::CursorAtPointer() const {
  const NativeWindow* w = stack_.Find(InputWindowAt(pointerX_, pointerY_));
  return w == nullptr ? 0 : w->State().cursor;
}

void HeadlessDesktop::GrabPointer(WindowId window) {
  grab_ = (window == 0 || Find(window) != nullptr) ? window : 0;
}

void HeadlessDesktop::PointerPosition(int& screenX, int& screenY) {
  screenX = pointerX_;
  screenY = pointerY_;
}

WindowId HeadlessDesktop::InputWindowAt(int x, int y) const {
  return grab_ != 0 ? grab_ : stack_.InputWindowAt(x, y);
}

// ---- Save dialog -----------------------------------------------------------

void HeadlessDesktop::AddSaveAnswer(std::optional<std::string> path, std::size_t fileType) {
  if (!path) {
    saveAnswers_.emplace_back();
    return;
  }
  saveAnswers_.push_back(SaveAnswer{std::move(*path), fileType});
}

std::optional<std::string> HeadlessDesktop::RunSaveDialog(const SaveDialogRequest& request) {
  saveRequests_.push_back(request);
  if (saveAnswers_.empty()) return std::nullopt;
  const std::optional<SaveAnswer> answer = std::move(saveAnswers_.front());
  saveAnswers_.pop_front();
  if (!answer) return std::nullopt;
  return WithTypeExtension(answer->path, request.fileTypes, answer->fileType);
}

// ---- Message boxes ---------------------------------------------------------

void HeadlessDesktop::ShowMessage(const MessageRequest& message) {
  messages_.push_back(message);
  if (messageSink_) messageSink_(message);
}

// ---- Steps -----------------------------------------------------------------

void HeadlessDesktop::AddPress(int x, int y) { AddInput({EventKind::PointerDown, x, y}); }
void HeadlessDesktop::AddMove(int x, int y) { AddInput({EventKind::PointerMove, x, y}); }
void HeadlessDesktop::AddRelease(int x, int y) { AddInput({EventKind::PointerUp, x, y}); }
void HeadlessDesktop::AddClick(int x, int y) {
  AddPress(x, y);
  AddRelease(x, y);
}

void HeadlessDesktop::AddDrag(int fromX, int fromY, int toX, int toY, int moves) {
  AddPress(fromX, fromY);
  for (int i = 1; i <= moves; ++i) {
    const double t = static_cast<double>(i) / moves;
    AddMove(static_cast<int>(std::lround(fromX + (toX - fromX) * t)),
            static_cast<int>(std::lround(fromY + (toY - fromY) * t)));
  }
  AddRelease(toX, toY);
}

void HeadlessDesktop::AddKey(EventKind key) { AddInput({key}); }
void HeadlessDesktop::AddDisplayChange(Size size) { AddInput({EventKind::DisplayChange, size.width, size.height}); }

void HeadlessDesktop::AddInput(const Input& input) {
  AddCallback([this, input] { inputs_.push_back(input); });
}

void HeadlessDesktop::AddWait(std::uint64_t ms) {
  AddCallback([this, ms] { waitLeft_ = ms; });
}

// For the program as a whole (window 0), as X delivers it.
void HeadlessDesktop::AddMessageFromOutside(const PostedMessage& message) {
  AddCallback([this, message] {
    Event event{EventKind::MessageFromOutside};
    event.posted = message;
    events_.push_back(event);
  });
}

void HeadlessDesktop::AddCallback(std::function<void()> step) { steps_.push_back(std::move(step)); }

bool HeadlessDesktop::HasPendingSteps() const {
  return !steps_.empty() || !inputs_.empty() || waitLeft_ != 0 || !events_.empty();
}

void HeadlessDesktop::StartNextStep() {
  // Popped before it runs: a callback may start the program, whose own
  // WaitEvent calls then take the steps after it.
  const std::function<void()> step = std::move(steps_.front());
  steps_.pop_front();
  step();
}

std::optional<Rect> HeadlessDesktop::DragWindow(WindowId window) {
  NativeWindow* moving = Find(window);
  if (!systemWindowDrag_ || !moving || !buttonDown_) return std::nullopt;
  GrabPointer(0);
  const int startX = pointerX_;
  const int startY = pointerY_;
  const Rect start = moving->State().bounds;
  // The move loop takes the pointer's moves and its release, and nothing
  // reaches the program meanwhile; time passes without it.
  while (buttonDown_ && Find(window)) {
    if (inputs_.empty()) {
      if (steps_.empty()) break;  // the script ends with the button held
      StartNextStep();
      now_ += std::exchange(waitLeft_, 0);
      continue;
    }
    const Input input = inputs_.front();
    if (input.kind != EventKind::PointerMove && input.kind != EventKind::PointerUp) break;
    inputs_.pop_front();
    pointerX_ = std::clamp(input.x, 0, screenSize_.width - 1);
    pointerY_ = std::clamp(input.y, 0, screenSize_.height - 1);
    buttonDown_ = input.kind == EventKind::PointerMove;
    SetBounds(window, {start.left + pointerX_ - startX, start.top + pointerY_ - startY,
                       start.right + pointerX_ - startX, start.bottom + pointerY_ - startY});
  }
  const NativeWindow* moved = Find(window);
  return moved ? moved->State().bounds : start;
}

std::optional<Event> HeadlessDesktop::WaitEvent(int timeoutMs) {
  while (true) {
    if (!events_.empty()) {
      Event event = events_.front();
      events_.pop_front();
      return event;
    }
    if (!inputs_.empty()) {
      const Input input = inputs_.front();
      inputs_.pop_front();
      Deliver(input);
      continue;
    }
    if (waitLeft_ != 0) {
      // In pieces no longer than the time-out, so that each due timer fires
      // before the clock passes the next one.
      const std::uint64_t piece =
          timeoutMs < 0 ? waitLeft_ : std::min<std::uint64_t>(waitLeft_, static_cast<std::uint64_t>(timeoutMs));
      now_ += piece;
      waitLeft_ -= piece;
      return std::nullopt;
    }
    if (steps_.empty()) return Event{EventKind::Close};
    StartNextStep();
    // A step that queued nothing (a callback, a shot) may have posted
    // messages: the framework handles them before the next step.
    if (inputs_.empty() && waitLeft_ == 0) return std::nullopt;
  }
}

void HeadlessDesktop::RunRemainingSteps() {
  while (true) {
    events_.clear();
    if (!inputs_.empty()) {
      const Input input = inputs_.front();
      inputs_.pop_front();
      Deliver(input);
    } else if (waitLeft_ != 0) {
      now_ += std::exchange(waitLeft_, 0);
    } else if (!steps_.empty()) {
      StartNextStep();
    } else {
      return;
    }
  }
}

// ---- Input routing ---------------------------------------------------------

void HeadlessDesktop::Deliver(const Input& input) {
  switch (input.kind) {
    case EventKind::PointerDown:
    case EventKind::PointerMove:
    case EventKind::PointerUp:
      DeliverPointer(input);
      return;
    case EventKind::KeyEnter:
    case EventKind::KeyEscape:
    case EventKind::KeyCtrlZ:
    case EventKind::KeyCtrlY:
    case EventKind::KeyCtrlShiftZ:
      if (focus_ != 0) {
        events_.push_back(Event{input.kind, focus_, 0, 0, pointerX_, pointerY_, buttonDown_});
      } else {
        desktopLog_.push_back({input.kind, pointerX_, pointerY_});
      }
      return;
    case EventKind::DisplayChange:
      SetScreenSize(Size{input.x, input.y});
      events_.push_back(Event{EventKind::DisplayChange});
      return;
    default:
      return;
  }
}

void HeadlessDesktop::DeliverPointer(const Input& input) {
  pointerX_ = std::clamp(input.x, 0, screenSize_.width - 1);
  pointerY_ = std::clamp(input.y, 0, screenSize_.height - 1);
  if (input.kind == EventKind::PointerDown) buttonDown_ = true;
  if (input.kind == EventKind::PointerUp) buttonDown_ = false;

  const WindowId target = InputWindowAt(pointerX_, pointerY_);
  if (target == 0) {
    // Leaving our windows for the desktop: the framework needs a move to
    // notice that the pointer left.
    if (pointerWindow_ != 0) {
      events_.push_back(Event{EventKind::PointerMove, 0, pointerX_, pointerY_, pointerX_, pointerY_, buttonDown_});
    }
    pointerWindow_ = 0;
    desktopLog_.push_back({input.kind, pointerX_, pointerY_});
    if (input.kind == EventKind::PointerDown && focus_ != 0) {
      events_.push_back(Event{EventKind::FocusLost, std::exchange(focus_, 0), 0, 0, pointerX_, pointerY_, true});
    }
    return;
  }
  const WindowState& state = Find(target)->State();
  if (input.kind == EventKind::PointerDown && state.options.takesFocus) focus_ = target;
  pointerWindow_ = target;
  events_.push_back(Event{input.kind, target, pointerX_ - state.bounds.left, pointerY_ - state.bounds.top, pointerX_,
                          pointerY_, buttonDown_});
}

}  // namespace plumet::backend::headless
