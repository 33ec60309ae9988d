#include "platform/framework/window_system.h"

#include <algorithm>
#include <cstdlib>

#include "platform/framework/app.h"
#include "platform/framework/cursor_objects.h"
#include "platform/framework/gdi.h"
#include "platform/framework/gdi_objects.h"
#include "platform/framework/wnd.h"

namespace plumet::framework {
namespace {

// The ground a window that is not layered shows before it paints itself.
constexpr std::uint32_t kWindowGround = 0xFFF0F0F0u;

// Application messages run from WM_USER up to here; above are the window
// system's registered messages.
constexpr UINT kFirstRegisteredMessage = 0xC000;

}  // namespace

WindowSystem& WindowSystem::Get() {
  static WindowSystem system;
  return system;
}

void WindowSystem::SetBackend(backend::Backend* backend) {
  // A new backend starts a new desktop session: nothing of the last one stays.
  backend_ = backend;
  ++session_;
  windows_.clear();
  queue_.clear();
  queueHead_ = 0;
  timers_.clear();
  capture_ = nullptr;
  leaveTracked_ = nullptr;
  currentCursor_ = nullptr;
  shownCursor_ = nullptr;
  cursorWindow_ = 0;
  lastDownWindow_ = nullptr;
  lastDownCounted_ = false;
  inputFilter_ = nullptr;
  quitRequested_ = false;
  log_.clear();
}

HWND WindowSystem::Create(const WindowRecord& initial) {
  auto record = std::make_unique<WindowRecord>(initial);
  record->handle = reinterpret_cast<HWND>(nextHandle_);
  nextHandle_ += 0x10;
  HWND hwnd = record->handle;
  if (record->parent) {
    if (WindowRecord* parent = Find(record->parent)) parent->children.push_back(hwnd);
  }
  windows_[reinterpret_cast<std::uintptr_t>(hwnd)] = std::move(record);
  return hwnd;
}

WindowRecord* WindowSystem::Find(HWND hwnd) {
  auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
  return it == windows_.end() ? nullptr : it->second.get();
}

HWND WindowSystem::FromNative(backend::WindowId native) const {
  if (native == 0) return nullptr;
  for (const auto& [key, record] : windows_)
    if (record->native == native) return record->handle;
  return nullptr;
}

HWND WindowSystem::TopLevelOf(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  while (record && record->parent) record = Find(record->parent);
  return record ? record->handle : nullptr;
}

POINT WindowSystem::ClientOriginOnScreen(HWND hwnd) {
  POINT origin;
  for (WindowRecord* record = Find(hwnd); record; record = Find(record->parent)) {
    origin.x += record->rect.left;
    origin.y += record->rect.top;
  }
  return origin;
}

std::vector<HWND> WindowSystem::TopLevelWindows() const {
  std::vector<HWND> result;
  for (const auto& [key, record] : windows_)
    if (!record->parent) result.push_back(record->handle);
  // Creation order, so that broadcasts reach owners before what they own.
  std::sort(result.begin(), result.end());
  return result;
}

void WindowSystem::Destroy(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  if (!record || record->destroying) return;
  record->destroying = true;
  for (HWND other : TopLevelWindows()) {
    WindowRecord* candidate = Find(other);
    if (candidate && candidate->owner == hwnd) Destroy(other);
  }
  if (capture_ && (capture_ == hwnd || TopLevelOf(capture_) == hwnd)) ReleaseCapture();
  Send(hwnd, WM_DESTROY, 0, 0);
  if ((record = Find(hwnd)) == nullptr) return;
  for (HWND child : std::vector<HWND>(record->children)) Destroy(child);
  Send(hwnd, WM_NCDESTROY, 0, 0);
  if ((record = Find(hwnd)) == nullptr) return;
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [hwnd](const Timer& t) { return t.window == hwnd; }),
                timers_.end());
  DropQueueFor(hwnd);
  if (leaveTracked_ == hwnd) leaveTracked_ = nullptr;
  if (lastDownWindow_ == hwnd) lastDownWindow_ = nullptr;
  if (destroyHook) destroyHook(hwnd);
  if (record->native && backend_) backend_->DestroyWindow(record->native);
  if (WindowRecord* parent = Find(record->parent))
    std::erase(parent->children, hwnd);
  CWnd* object = record->object;
  windows_.erase(reinterpret_cast<std::uintptr_t>(hwnd));
  if (object) object->m_hWnd = nullptr;
}

void WindowSystem::EnsureNative(WindowRecord& record) {
  if (record.native || record.parent || !backend_) return;
  backend::WindowOptions options;
  options.layered = (record.exStyle & WS_EX_LAYERED) != 0;
  options.toolWindow = (record.exStyle & WS_EX_TOOLWINDOW) != 0 || record.owner != nullptr;
  // Only the window that owns the others takes the keyboard focus: the
  // palette and the icon never do.
  options.takesFocus = record.owner == nullptr;
  options.title = record.text;
  if (WindowRecord* owner = Find(record.owner)) {
    EnsureNative(*owner);
    options.owner = owner->native;
  }
  record.native = backend_->CreateWindow(options);
  backend_->SetBounds(record.native, ToIntRect(record.rect));
  backend_->SetInputPassThrough(record.native, (record.exStyle & WS_EX_TRANSPARENT) != 0);
  if (record.hasRegion) ApplyShape(record);
  ApplyIcon(record);
  if (!options.layered) {
    record.backing = gfx::Surface::Create(std::max(1, record.Width()), std::max(1, record.Height()));
    if (record.backing) record.backing->Fill(record.backing->Bounds(), kWindowGround);
  }
}

void WindowSystem::ApplyShape(const WindowRecord& record) {
  if (!record.native || !backend_) return;
  std::vector<backend::Rect> rects;
  for (const RECT& r : record.region) rects.push_back(ToIntRect(r));
  backend_->SetShape(record.native, rects);
}

void WindowSystem::ApplyIcon(const WindowRecord& record) {
  if (!record.native || !backend_) return;
  const CursorObject* icon = ToCursor(record.icons[1] ? record.icons[1] : record.icons[0]);
  if (icon && !icon->system) backend_->SetIcon(record.native, icon->image);
}

void WindowSystem::ApplyBounds(WindowRecord& record) {
  if (record.parent) {
    Invalidate(record.handle, true);
    return;
  }
  if (!record.native || !backend_) return;
  backend_->SetBounds(record.native, ToIntRect(record.rect));
  const bool layered = (record.exStyle & WS_EX_LAYERED) != 0;
  if (!layered && (!record.backing || record.backing->Width() != record.Width() ||
                   record.backing->Height() != record.Height())) {
    record.backing = gfx::Surface::Create(std::max(1, record.Width()), std::max(1, record.Height()));
    if (record.backing) record.backing->Fill(record.backing->Bounds(), kWindowGround);
    Invalidate(record.handle, true);
  }
}

void WindowSystem::ApplyVisibility(WindowRecord& record, bool wasVisible) {
  const bool visible = record.Visible();
  if (visible == wasVisible) {
    if (visible && !record.parent && record.native && backend_) backend_->Raise(record.native);
    return;
  }
  if (record.parent) {
    Invalidate(record.parent, true);
    return;
  }
  if (visible) {
    EnsureNative(record);
    if (!backend_ || !record.native) return;
    backend_->Show(record.native, true);
    backend_->Raise(record.native);
    if ((record.exStyle & WS_EX_LAYERED) == 0) Invalidate(record.handle, true);
  } else if (record.native && backend_) {
    backend_->Show(record.native, false);
  }
}

void WindowSystem::Post(const MSG& msg) {
  if (logging_) log_.push_back({true, msg.hwnd, msg.message, msg.wParam, msg.lParam});
  queue_.push_back(msg);
}

LRESULT WindowSystem::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (logging_) log_.push_back({false, hwnd, message, wParam, lParam});
  WindowRecord* record = Find(hwnd);
  if (!record) return 0;
  current_.push_back({hwnd, message, wParam, lParam});
  CWnd* object = record->object;
  const LRESULT result = object ? object->WindowProc(message, wParam, lParam)
                                : DefaultProc(hwnd, message, wParam, lParam);
  current_.pop_back();
  return result;
}

const MSG& WindowSystem::CurrentMessage() const {
  static const MSG none;
  return current_.empty() ? none : current_.back();
}

void WindowSystem::PostQuit(int) { quitRequested_ = true; }

void WindowSystem::DropQueueFor(HWND hwnd) {
  for (std::size_t i = queueHead_; i < queue_.size(); ++i)
    if (queue_[i].hwnd == hwnd) queue_[i].message = WM_NULL;
}

bool WindowSystem::PumpMessage() {
  // Before any message, so that a busy queue cannot hold a frame back; after
  // the input the backend has taken in already (a frame's worth at most),
  // which then shows in this frame instead of the next.
  if (!backend_ || !backend_->InputWaiting()) PresentDueFrames();
  if (queueHead_ < queue_.size()) {
    MSG msg = queue_[queueHead_++];
    if (queueHead_ == queue_.size()) {
      queue_.clear();
      queueHead_ = 0;
    }
    if (msg.message != WM_NULL && Find(msg.hwnd) && !PreTranslate(msg)) Dispatch(msg);
    return true;
  }
  // A quit request ends the loop once the messages posted before it are handled.
  if (quitRequested_) return false;
  if (PaintPending()) {
    PaintAll();
    return true;
  }
  if (std::optional<MSG> timer = DueTimerMessage()) {
    if (!PreTranslate(*timer)) Dispatch(*timer);
    return true;
  }
  if (!backend_) return false;
  if (std::optional<backend::Event> event = backend_->WaitEvent(MillisecondsToWait())) HandleEvent(*event);
  return true;
}

bool WindowSystem::PreTranslate(MSG& msg) {
  for (WindowRecord* record = Find(msg.hwnd); record; record = Find(record->parent)) {
    if (record->object && record->object->PreTranslateMessage(&msg)) return true;
    if (!Find(msg.hwnd)) return true;  // the window went away meanwhile
  }
  return false;
}

// Delivers a message the loop took; unlike Send, it is not logged: the log
// shows what windows posted and sent, not what the loop delivered.
void WindowSystem::Dispatch(MSG msg) {
  WindowRecord* record = Find(msg.hwnd);
  if (!record) return;
  current_.push_back(msg);
  if (CWnd* object = record->object)
    object->WindowProc(msg.message, msg.wParam, msg.lParam);
  else
    DefaultProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  current_.pop_back();
}

UINT_PTR WindowSystem::SetTimer(HWND hwnd, UINT_PTR id, UINT period) {
  if (!Find(hwnd) || !backend_) return 0;
  const std::uint64_t due = backend_->NowMs() + period;
  for (Timer& t : timers_) {
    if (t.window == hwnd && t.id == id) {
      t.period = period;
      t.due = due;
      return id;
    }
  }
  timers_.push_back({hwnd, id, period, due});
  return id;
}

bool WindowSystem::KillTimer(HWND hwnd, UINT_PTR id) {
  const auto before = timers_.size();
  std::erase_if(timers_, [&](const Timer& t) { return t.window == hwnd && t.id == id; });
  return timers_.size() != before;
}

std::optional<MSG> WindowSystem::DueTimerMessage() {
  if (timers_.empty() || !backend_) return std::nullopt;
  const std::uint64_t now = backend_->NowMs();
  auto next = std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (next->due > now) return std::nullopt;
  next->due = now + std::max<UINT>(1, next->period);
  return MSG{next->window, WM_TIMER, next->id, 0};
}

int WindowSystem::MillisecondsToNextTimer() {
  if (timers_.empty() || !backend_) return -1;
  const std::uint64_t now = backend_->NowMs();
  std::uint64_t due = timers_.front().due;
  for (const Timer& t : timers_) due = std::min(due, t.due);
  return due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, 1u << 30));
}

std::uint64_t WindowSystem::FrameInterval() const {
  return static_cast<std::uint64_t>(std::max(0, backend_->FrameIntervalMs()));
}

int WindowSystem::MillisecondsToWait() {
  int wait = MillisecondsToNextTimer();
  if (!presentsHeld_ || !backend_) return wait;
  const std::uint64_t now = backend_->NowMs();
  const std::uint64_t frame = FrameInterval();
  for (const auto& [key, record] : windows_) {
    if (!record->heldPresent) continue;
    const std::uint64_t due = record->lastPresentMs + frame;
    const int left = due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, 1u << 30));
    if (wait < 0 || left < wait) wait = left;
  }
  return wait;
}

void WindowSystem::PresentLayered(WindowRecord& record, const backend::Presentation& presentation,
                                  std::shared_ptr<const gfx::Surface> source) {
  const std::uint64_t now = backend_->NowMs();
  if (record.heldPresent) {
    const backend::Presentation& held = *record.heldPresent;
    const bool samePicture = held.source.pixels == presentation.source.pixels &&
                             held.source.width == presentation.source.width &&
                             held.source.height == presentation.source.height && held.mode == presentation.mode &&
                             held.colorKey == presentation.colorKey;
    if (presentation.dirty && samePicture) {
      record.heldPresent->dirty = held.dirty->Union(*presentation.dirty);
      return;
    }
    // A whole picture replaces what was held; another picture's part goes after it.
    if (presentation.dirty) {
      PresentHeld(record, now);
    } else {
      record.heldPresent.reset();
      record.heldSource.reset();
    }
  }
  const std::uint64_t frame = FrameInterval();
  if (presentation.dirty && record.presentedOnce && now - record.lastPresentMs < frame) {
    record.heldPresent = presentation;
    record.heldSource = std::move(source);
    presentsHeld_ = true;
    return;
  }
  backend_->Present(record.native, presentation);
  record.lastPresentMs = now;
  record.presentedOnce = true;
}

void WindowSystem::PresentHeld(WindowRecord& record, std::uint64_t now) {
  backend_->Present(record.native, *record.heldPresent);
  record.heldPresent.reset();
  record.heldSource.reset();
  record.lastPresentMs = now;
}

void WindowSystem::PresentDueFrames() {
  if (!presentsHeld_ || !backend_) return;
  presentsHeld_ = false;
  const std::uint64_t now = backend_->NowMs();
  const std::uint64_t frame = FrameInterval();
  for (const auto& [key, record] : windows_) {
    if (!record->heldPresent) continue;
    if (now - record->lastPresentMs >= frame) {
      PresentHeld(*record, now);
    } else {
      presentsHeld_ = true;
    }
  }
}

void WindowSystem::HandleEvent(const backend::Event& event) {
  if (inputFilter_ && inputFilter_(event)) return;
  switch (event.kind) {
    case backend::EventKind::PointerDown:
    case backend::EventKind::PointerMove:
    case backend::EventKind::PointerUp:
      HandlePointer(event);
      break;
    case backend::EventKind::KeyEnter:
    case backend::EventKind::KeyEscape:
    case backend::EventKind::KeyCtrlZ:
    case backend::EventKind::KeyCtrlY:
    case backend::EventKind::KeyCtrlShiftZ:
      HandleKey(event);
      break;
    case backend::EventKind::DisplayChange: {
      const backend::Size size = backend_->ScreenSize();
      for (HWND hwnd : TopLevelWindows()) Send(hwnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(size.width, size.height));
      break;
    }
    case backend::EventKind::Close:
      for (HWND hwnd : TopLevelWindows()) {
        WindowRecord* record = Find(hwnd);
        if (record && !record->owner) Post({hwnd, WM_CLOSE, 0, 0});
      }
      break;
    case backend::EventKind::FocusLost:
      break;
    case backend::EventKind::MessageFromOutside:
      PostFromOutside(event);
      break;
  }
}

// Other programs reach only the application's own messages: a forged system
// message (pointer, timer, destroy) would carry handles and pointers they
// cannot know. Without a window of its own the message is for the program,
// whose main window takes it.
void WindowSystem::PostFromOutside(const backend::Event& event) {
  const backend::PostedMessage& posted = event.posted;
  if (posted.message < WM_USER || posted.message >= kFirstRegisteredMessage) return;
  HWND target = nullptr;
  if (event.window != 0) {
    target = FromNative(event.window);
  } else if (CWnd* main = AfxGetMainWnd()) {
    target = main->GetSafeHwnd();
  }
  if (target == nullptr || Find(target) == nullptr) return;
  Post({target, posted.message, posted.wParam, posted.lParam});
}

void WindowSystem::HandlePointer(const backend::Event& event) {
  cursor_ = {event.screenX, event.screenY};
  // The window under the pointer, whoever holds the capture.
  HWND under = nullptr;
  HWND top = FromNative(event.window);
  if (capture_) {
    HWND captureTop = TopLevelOf(capture_);
    WindowRecord* record = Find(captureTop);
    const POINT p{event.screenX, event.screenY};
    top = record && PtInRect(&record->rect, p) ? captureTop : nullptr;
  }
  if (top) {
    const POINT origin = ClientOriginOnScreen(top);
    under = ::ChildWindowFromPoint(top, {event.screenX - origin.x, event.screenY - origin.y});
    if (!under) under = top;
  }
  CheckLeave(under);
  HWND target = capture_ ? capture_ : under;
  if (!target) return;
  const POINT origin = ClientOriginOnScreen(target);
  const int x = event.screenX - origin.x;
  const int y = event.screenY - origin.y;
  UINT message = WM_MOUSEMOVE;
  WPARAM keys = event.buttonDown ? MK_LBUTTON : 0;
  if (event.kind == backend::EventKind::PointerDown) {
    keys = MK_LBUTTON;
    message = WM_LBUTTONDOWN;
    const std::uint64_t now = backend_->NowMs();
    WindowRecord* record = Find(target);
    if (record && record->wantsDoubleClicks && lastDownCounted_ && lastDownWindow_ == target &&
        now - lastDownTime_ <= kDoubleClickTime && std::abs(x - lastDownPoint_.x) <= kDoubleClickDistance / 2 &&
        std::abs(y - lastDownPoint_.y) <= kDoubleClickDistance / 2) {
      message = WM_LBUTTONDBLCLK;
      lastDownCounted_ = false;
    } else {
      lastDownWindow_ = target;
      lastDownPoint_ = {x, y};
      lastDownTime_ = now;
      lastDownCounted_ = true;
    }
  } else if (event.kind == backend::EventKind::PointerUp) {
    keys = 0;
    message = WM_LBUTTONUP;
  }
  Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<int>(HTCLIENT), message));
  if (!Find(target)) return;
  MSG msg{target, message, keys, MAKELPARAM(x, y)};
  if (!PreTranslate(msg)) Dispatch(msg);
  FlushCursor(target);
}

// A key reaches the focus window as Windows delivers it: WM_KEYDOWN with the
// virtual key and a repeat count of 1, the modifiers answered by GetKeyState
// while the message is handled.
void WindowSystem::HandleKey(const backend::Event& event) {
  HWND hwnd = FromNative(event.window);
  if (!hwnd) return;
  UINT key = VK_RETURN;
  switch (event.kind) {
    case backend::EventKind::KeyEscape: key = VK_ESCAPE; break;
    case backend::EventKind::KeyCtrlY: key = 'Y'; break;
    case backend::EventKind::KeyCtrlZ:
    case backend::EventKind::KeyCtrlShiftZ: key = 'Z'; break;
    default: break;
  }
  controlHeld_ = event.kind == backend::EventKind::KeyCtrlZ || event.kind == backend::EventKind::KeyCtrlY ||
                 event.kind == backend::EventKind::KeyCtrlShiftZ;
  shiftHeld_ = event.kind == backend::EventKind::KeyCtrlShiftZ;
  MSG msg{hwnd, WM_KEYDOWN, key, 1};
  if (!PreTranslate(msg)) Dispatch(msg);
  controlHeld_ = false;
  shiftHeld_ = false;
}

void WindowSystem::CheckLeave(HWND under) {
  if (!leaveTracked_ || under == leaveTracked_) return;
  Post({leaveTracked_, WM_MOUSELEAVE, 0, 0});
  leaveTracked_ = nullptr;
}

HWND WindowSystem::SetCapture(HWND hwnd) {
  HWND previous = capture_;
  WindowRecord* top = Find(TopLevelOf(hwnd));
  if (!top) return previous;
  capture_ = hwnd;
  if (backend_ && top->native) backend_->GrabPointer(top->native);
  return previous;
}

void WindowSystem::ReleaseCapture() {
  if (!capture_) return;
  capture_ = nullptr;
  if (backend_) backend_->GrabPointer(0);
}

void WindowSystem::SetCursor(HCURSOR cursor) { currentCursor_ = cursor; }

// Handlers may set the cursor more than once for one pointer message; only
// the last one reaches the screen.
void WindowSystem::FlushCursor(HWND target) {
  WindowRecord* top = Find(TopLevelOf(target));
  if (!top || !top->native || !backend_ || !currentCursor_) return;
  if (currentCursor_ == shownCursor_ && cursorWindow_ == top->native) return;
  shownCursor_ = currentCursor_;
  cursorWindow_ = top->native;
  backend_->SetCursor(top->native, ToCursor(currentCursor_)->Realize(*backend_, session_));
}

void WindowSystem::RunMoveLoop(HWND hwnd, POINT start) {
  WindowRecord* record = Find(hwnd);
  if (!record || record->parent) return;
  if (capture_) ReleaseCapture();
  if (record->native && backend_) {
    // The system's own drag where it has one; the window is where it left it.
    if (std::optional<gfx::IntRect> moved = backend_->DragWindow(record->native)) {
      record->rect = {moved->left, moved->top, moved->right, moved->bottom};
      int x = 0;
      int y = 0;
      backend_->PointerPosition(x, y);
      cursor_ = {x, y};
      return;
    }
  }
  const POINT origin{record->rect.left, record->rect.top};
  bool done = false;
  auto previousFilter = std::move(inputFilter_);
  SetCapture(hwnd);
  inputFilter_ = [&](const backend::Event& event) {
    switch (event.kind) {
      case backend::EventKind::PointerMove:
      case backend::EventKind::PointerUp:
        cursor_ = {event.screenX, event.screenY};
        if (WindowRecord* moving = Find(hwnd)) {
          const int w = moving->Width();
          const int h = moving->Height();
          moving->rect = {origin.x + event.screenX - start.x, origin.y + event.screenY - start.y, 0, 0};
          moving->rect.right = moving->rect.left + w;
          moving->rect.bottom = moving->rect.top + h;
          ApplyBounds(*moving);
        }
        if (event.kind == backend::EventKind::PointerUp) done = true;
        return true;
      case backend::EventKind::PointerDown:
        return true;
      case backend::EventKind::Close:
        // The desktop is going away: no release will come.
        done = true;
        return false;
      default:
        return false;
    }
  };
  while (!done && Find(hwnd)) {
    if (!PumpMessage()) break;
  }
  inputFilter_ = std::move(previousFilter);
  if (capture_ == hwnd) ReleaseCapture();
}

void WindowSystem::Invalidate(HWND hwnd, bool erase) {
  WindowRecord* record = Find(hwnd);
  if (!record) return;
  record->invalid = {0, 0, record->Width(), record->Height()};
  record->eraseNeeded = record->eraseNeeded || erase;
  if (!record->parent)
    for (HWND child : record->children) Invalidate(child, erase);
}

bool WindowSystem::PaintPending() const {
  for (const auto& [key, record] : windows_)
    if (!record->invalid.Empty()) return true;
  return false;
}

void WindowSystem::PaintAll() {
  for (HWND hwnd : TopLevelWindows()) {
    WindowRecord* top = Find(hwnd);
    if (!top) continue;
    const bool paintable = top->Visible() && top->backing && (top->exStyle & WS_EX_LAYERED) == 0;
    gfx::IntRect dirty;
    if (!top->invalid.Empty()) {
      const gfx::IntRect area = top->invalid;
      const bool erase = top->eraseNeeded;
      top->invalid = {};
      top->eraseNeeded = false;
      if (paintable) {
        PaintWindow(*top, area, erase);
        dirty = area;
      }
    }
    for (HWND childHandle : std::vector<HWND>(Find(hwnd) ? Find(hwnd)->children : std::vector<HWND>{})) {
      WindowRecord* child = Find(childHandle);
      if (!child || child->invalid.Empty()) continue;
      const bool erase = child->eraseNeeded;
      child->invalid = {};
      child->eraseNeeded = false;
      if (!paintable || !child->Visible()) continue;
      PaintWindow(*child, {0, 0, child->Width(), child->Height()}, erase);
      dirty = dirty.Union(ToIntRect(child->rect));
    }
    if (paintable && !dirty.Empty()) PresentRect(hwnd, dirty);
  }
  // Records whose windows cannot paint (layered, hidden) drop their requests.
  for (auto& [key, record] : windows_) {
    record->invalid = {};
    record->eraseNeeded = false;
  }
}

void WindowSystem::PaintWindow(WindowRecord& record, const gfx::IntRect& area, bool erase) {
  HWND hwnd = record.handle;
  if (erase) {
    HDC hdc = MakeWindowDc(hwnd);
    if (DeviceContext* dc = ToDc(hdc)) dc->clip = dc->clip.Intersect({area.left + dc->originX, area.top + dc->originY,
                                                                     area.right + dc->originX, area.bottom + dc->originY});
    Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    delete ToDc(hdc);
  }
  if (Find(hwnd)) Send(hwnd, WM_PAINT, 0, 0);
}

void WindowSystem::PresentRect(HWND topLevel, const gfx::IntRect& rect) {
  WindowRecord* top = Find(topLevel);
  if (!top || !top->native || !top->backing || !backend_ || !top->Visible()) return;
  const gfx::IntRect r = rect.Intersect(top->backing->Bounds());
  if (r.Empty()) return;
  backend::Presentation p;
  p.source = {top->backing->Row(0), top->backing->Width(), top->backing->Height(), top->backing->Stride()};
  p.mode = backend::PresentMode::Opaque;
  p.dirty = r;
  backend_->Present(top->native, p);
}

HDC MakeWindowDc(HWND hwnd) {
  WindowSystem& ws = WindowSystem::Get();
  WindowRecord* record = ws.Find(hwnd);
  if (!record) return nullptr;
  WindowRecord* top = ws.Find(ws.TopLevelOf(hwnd));
  if (top == record && (record->exStyle & WS_EX_LAYERED) != 0) {
    if (!record->layeredDc) {
      record->layeredDc = std::make_shared<DeviceContext>();
      record->layeredDc->window = hwnd;
    }
    return ToHandle(record->layeredDc.get());
  }
  auto* dc = new DeviceContext;
  dc->window = hwnd;
  if (top && top->backing && (top->exStyle & WS_EX_LAYERED) == 0) {
    dc->surface = top->backing;
    if (record->parent) {
      dc->originX = record->rect.left;
      dc->originY = record->rect.top;
      dc->clip = ToIntRect(record->rect).Intersect(
          top->backing->Bounds());
    }
  }
  return ToHandle(dc);
}

void ReleaseWindowDc(HDC hdc) {
  DeviceContext* dc = ToDc(hdc);
  if (!dc) return;
  WindowSystem& ws = WindowSystem::Get();
  WindowRecord* record = ws.Find(dc->window);
  if (record && record->layeredDc.get() == dc) return;
  if (!dc->touched.Empty()) ws.PresentRect(ws.TopLevelOf(dc->window), dc->touched);
  delete dc;
}

}  // namespace plumet::framework
