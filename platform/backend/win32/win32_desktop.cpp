#include "platform/backend/win32/win32_desktop.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "platform/backend/win32/save_dialog.h"
#include "platform/backend/win32/wide_text.h"

namespace plumet::backend::win32 {
namespace {

// Held while a board runs in this session: a second one would fight the
// first for the pointer. The system drops it however the program ends.
constexpr const wchar_t* kBoardLockName = L"Local\\PlumetBoard";
// How long, at most, a screen copy waits for the compositor.
constexpr int kSettleTries = 5;
constexpr DWORD kSettleMs = 20;

int CoordinateOf(LPARAM lParam, int shift) { return static_cast<short>((lParam >> shift) & 0xFFFF); }

// 60 Hz when the display names no rate.
int FrameInterval() {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  const bool known = ::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1;
  return static_cast<int>(1000 / (known ? mode.dmDisplayFrequency : 60));
}

// Whole steps of 96 dpi, rounded down: at 150 % the palette stays 1x, as a
// doubled one would not fit the height of a 1080-pixel screen.
int ScreenScale() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi >= 96 ? dpi / 96 : 1;
}

// The program's icon as Explorer shows it: its first icon group.
BOOL CALLBACK TakeFirstIcon(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  *reinterpret_cast<LPWSTR*>(found) = name;
  return FALSE;
}

HICON ProgramIcon(HINSTANCE instance, int size) {
  LPWSTR name = nullptr;
  ::EnumResourceNamesW(instance, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, TakeFirstIcon,
                       reinterpret_cast<LONG_PTR>(&name));
  if (name == nullptr) return nullptr;
  return static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON, size, size, LR_SHARED));
}

void RegisterClasses(HINSTANCE instance, WNDPROC procedure) {
  for (const wchar_t* name : {kBoardClass, kToolClass}) {
    WNDCLASSEXW windowClass{};
    if (::GetClassInfoExW(instance, name, &windowClass)) continue;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ProgramIcon(instance, ::GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = ProgramIcon(instance, ::GetSystemMetrics(SM_CXSMICON));
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
  }
}

}  // namespace

std::unique_ptr<Win32Desktop> Win32Desktop::Open(std::string& error) {
  HANDLE lock = ::CreateMutexW(nullptr, FALSE, kBoardLockName);
  if (lock == nullptr) {
    error = "cannot reserve the desktop for the board";
    return nullptr;
  }
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(lock);
    error = "a board already runs on this desktop";
    return nullptr;
  }
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterClasses(instance, WindowProc);
  return std::unique_ptr<Win32Desktop>(new Win32Desktop(instance, lock));
}

Win32Desktop::Win32Desktop(HINSTANCE instance, HANDLE boardLock) : instance_(instance), boardLock_(boardLock) {
  // The save dialog is a COM object of the shell's.
  comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  frameIntervalMs_ = FrameInterval();
  scaleFactor_ = ScreenScale();
}

Win32Desktop::~Win32Desktop() {
  windows_.clear();
  for (const auto& [id, cursor] : cursors_) {
    if (!cursor.shared) ::DestroyCursor(cursor.handle);
  }
  if (comStarted_) ::CoUninitialize();
  ::CloseHandle(boardLock_);
}

// ---- Screen ----------------------------------------------------------------

Size Win32Desktop::ScreenSize() {
  // In device pixels: the program is aware of each monitor's scale.
  return Size{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Desktop::CaptureScreen(ScreenImage& out) {
  // The compositor shows what we just presented a little later: the copy
  // is taken once the picture holds still (or after a few tries).
  if (!ReadScreen(out)) return false;
  ScreenImage again;
  for (int tries = 0; tries < kSettleTries; ++tries) {
    ::Sleep(kSettleMs);
    if (!ReadScreen(again)) return false;
    if (again.pixels == out.pixels) break;
    std::swap(out, again);
  }
  return true;
}

bool Win32Desktop::ReadScreen(ScreenImage& out) {
  const Size size = ScreenSize();
  if (size.width <= 0 || size.height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = MakeDibSection(screen, size.width, size.height, &bits);
  bool copied = false;
  if (memory != nullptr && dib != nullptr) {
    HGDIOBJ previous = ::SelectObject(memory, dib);
    // CAPTUREBLT: layered windows, ours included, are part of the copy.
    copied = ::BitBlt(memory, 0, 0, size.width, size.height, screen, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
    ::GdiFlush();
    if (copied) {
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      out.width = size.width;
      out.height = size.height;
      out.pixels.assign(pixels, pixels + static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
      for (std::uint32_t& pixel : out.pixels) pixel |= 0xFF000000u;
    }
    ::SelectObject(memory, previous);
  }
  if (dib != nullptr) ::DeleteObject(dib);
  if (memory != nullptr) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return copied;
}

// ---- Windows ---------------------------------------------------------------

Win32Window* Win32Desktop::Find(WindowId window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.get();
}

WindowId Win32Desktop::FromHandle(HWND hwnd) const {
  for (const auto& [id, window] : windows_) {
    if (window->Handle() == hwnd) return id;
  }
  return 0;
}

WindowId Win32Desktop::CreateWindow(const WindowOptions& options) {
  Win32Window* owner = Find(options.owner);
  auto window = std::make_unique<Win32Window>(instance_, options, owner != nullptr ? owner->Handle() : nullptr,
                                              reinterpret_cast<LPARAM>(this));
  if (window->Handle() == nullptr) return 0;
  const WindowId id = nextWindow_++;
  windows_[id] = std::move(window);
  return id;
}

void Win32Desktop::DestroyWindow(WindowId window) {
  if (Find(window) == nullptr) return;
  if (grab_ == window) GrabPointer(0);
  if (focus_ == window) focus_ = 0;
  if (tracked_ == window) tracked_ = 0;
  windows_.erase(window);
}

void Win32Desktop::SetBounds(WindowId window, const Rect& screenRect) {
  if (Win32Window* w = Find(window)) w->SetBounds(screenRect);
}

void Win32Desktop::Show(WindowId window, bool visible) {
  if (Win32Window* w = Find(window)) w->Show(visible);
}

void Win32Desktop::Raise(WindowId window) {
  Win32Window* w = Find(window);
  if (w == nullptr) return;
  w->Raise();
  // Owned windows come along above it, theirs above them, whatever the
  // window system's own rule for owners is.
  for (const auto& [id, other] : windows_) {
    if (other->Options().owner == window) Raise(id);
  }
}

void Win32Desktop::SetInputPassThrough(WindowId window, bool passThrough) {
  if (Win32Window* w = Find(window)) w->SetPassThrough(passThrough);
}

void Win32Desktop::SetShape(WindowId window, const std::vector<Rect>& rects) {
  if (Win32Window* w = Find(window)) w->SetShape(rects);
}

void Win32Desktop::Present(WindowId window, const Presentation& presentation) {
  if (Win32Window* w = Find(window)) w->Present(presentation);
}

void Win32Desktop::SetTitle(WindowId window, const std::string& title) {
  if (Win32Window* w = Find(window)) ::SetWindowTextW(w->Handle(), WideFromUtf8(title).c_str());
}

void Win32Desktop::SetIcon(WindowId window, const CursorImage& picture) {
  if (Win32Window* w = Find(window)) w->SetIcon(picture);
}

void Win32Desktop::Focus(WindowId window) {
  Win32Window* w = Find(window);
  focus_ = w != nullptr ? window : 0;
  if (w == nullptr || !w->Visible()) return;
  ::SetForegroundWindow(w->Handle());
  ::SetFocus(w->Handle());
}

// ---- Pointer ---------------------------------------------------------------

CursorId Win32Desktop::MakeCursor(const CursorImage& image) {
  // A cursor of the program's resources as the system loads it; any other
  // from its picture.
  HICON made = image.resourceId != 0
                   ? static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(image.resourceId), IMAGE_CURSOR,
                                                     image.width, image.height, LR_DEFAULTCOLOR))
                   : nullptr;
  if (made == nullptr) made = MakeIconHandle(image, false);
  if (made == nullptr) return 0;
  cursors_[nextCursor_] = CursorEntry{made, false};
  return nextCursor_++;
}

CursorId Win32Desktop::MakeSystemCursor(SystemCursor cursor) {
  HCURSOR shared = ::LoadCursorW(nullptr, cursor == SystemCursor::Hand ? IDC_HAND : IDC_ARROW);
  if (shared == nullptr) return 0;
  cursors_[nextCursor_] = CursorEntry{shared, true};
  return nextCursor_++;
}

void Win32Desktop::FreeCursor(CursorId cursor) {
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) return;
  for (auto& [id, window] : windows_) {
    if (window->Cursor() == it->second.handle) window->SetCursor(nullptr);
  }
  if (!it->second.shared) ::DestroyCursor(it->second.handle);
  cursors_.erase(it);
}

void Win32Desktop::SetCursor(WindowId window, CursorId cursor) {
  Win32Window* w = Find(window);
  if (w == nullptr) return;
  auto it = cursors_.find(cursor);
  w->SetCursor(it == cursors_.end() ? nullptr : it->second.handle);
  // Shown at once where the pointer is on this window (or held by it), not
  // only at the next move.
  POINT p{};
  ::GetCursorPos(&p);
  if (grab_ == window || ::GetAncestor(::WindowFromPoint(p), GA_ROOT) == w->Handle()) {
    ::SetCursor(w->Cursor() != nullptr ? w->Cursor() : ::LoadCursorW(nullptr, IDC_ARROW));
  }
}

void Win32Desktop::GrabPointer(WindowId window) {
  Win32Window* w = Find(window);
  grab_ = w != nullptr ? window : 0;
  if (w != nullptr) {
    ::SetCapture(w->Handle());
  } else {
    ::ReleaseCapture();
  }
}

void Win32Desktop::PointerPosition(int& screenX, int& screenY) {
  POINT p{};
  ::GetCursorPos(&p);
  screenX = p.x;
  screenY = p.y;
}

std::optional<Rect> Win32Desktop::DragWindow(WindowId window) {
  Win32Window* w = Find(window);
  if (w == nullptr) return std::nullopt;
  // The system's move loop takes the pointer itself, and returns after the
  // release, which it keeps.
  GrabPointer(0);
  POINT p{};
  ::GetCursorPos(&p);
  ::SendMessageW(w->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
  RECT bounds{};
  ::GetWindowRect(w->Handle(), &bounds);
  w->TakeBounds(Rect{bounds.left, bounds.top, bounds.right, bounds.bottom});
  return w->Bounds();
}

// ---- Events ----------------------------------------------------------------

std::uint64_t Win32Desktop::NowMs() { return ::GetTickCount64(); }

std::optional<Event> Win32Desktop::WaitEvent(int timeoutMs) {
  const std::uint64_t start = NowMs();
  while (true) {
    if (!events_.empty()) {
      const Event event = events_.front();
      events_.pop_front();
      return event;
    }
    // One message at a time: a flood from another program waits in the
    // system's queue, not in ours.
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        events_.push_back(Event{EventKind::Close});
      } else {
        ::DispatchMessageW(&msg);
      }
      continue;
    }
    DWORD wait = INFINITE;
    if (timeoutMs >= 0) {
      const std::uint64_t elapsed = NowMs() - start;
      if (elapsed >= static_cast<std::uint64_t>(timeoutMs)) return std::nullopt;
      wait = static_cast<DWORD>(static_cast<std::uint64_t>(timeoutMs) - elapsed);
    }
    ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

LRESULT CALLBACK Win32Desktop::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* desktop = reinterpret_cast<Win32Desktop*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (desktop != nullptr) {
    LRESULT result = 0;
    const WindowId window = desktop->FromHandle(hwnd);
    if (window != 0 && desktop->Translate(window, message, wParam, lParam, result)) return result;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Win32Desktop::Translate(WindowId window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  Win32Window& w = *Find(window);
  switch (message) {
    case WM_LBUTTONDOWN:
      TranslatePointer(window, EventKind::PointerDown, lParam, true);
      return true;
    case WM_LBUTTONUP:
      TranslatePointer(window, EventKind::PointerUp, lParam, false);
      return true;
    case WM_MOUSEMOVE: {
      // A release at this very point follows: it carries the point, so the
      // move says nothing more (SendInput and some drivers move first).
      MSG next;
      if (::PeekMessageW(&next, w.Handle(), WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) && next.message == WM_LBUTTONUP &&
          next.lParam == lParam) {
        return true;
      }
      if (tracked_ != window) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, w.Handle(), 0};
        if (::_TrackMouseEvent(&track)) tracked_ = window;
      }
      TranslatePointer(window, EventKind::PointerMove, lParam, (wParam & MK_LBUTTON) != 0);
      return true;
    }
    case WM_MOUSELEAVE: {
      if (tracked_ == window) tracked_ = 0;
      // Onto another program's window or the desktop: the framework needs a
      // move to notice that the pointer left ours.
      POINT p{};
      ::GetCursorPos(&p);
      if (!dialogOpen_ && grab_ == 0 && FromHandle(::GetAncestor(::WindowFromPoint(p), GA_ROOT)) == 0) {
        Event left{EventKind::PointerMove};
        left.screenX = p.x;
        left.screenY = p.y;
        events_.push_back(left);
      }
      return true;
    }
    case WM_CAPTURECHANGED:
      if (grab_ == window && FromHandle(reinterpret_cast<HWND>(lParam)) == 0) grab_ = 0;
      return true;
    case WM_SETCURSOR:
      if ((lParam & 0xFFFF) != HTCLIENT) return false;
      ::SetCursor(w.Cursor() != nullptr ? w.Cursor() : ::LoadCursorW(nullptr, IDC_ARROW));
      result = TRUE;
      return true;
    case WM_MOUSEACTIVATE:
      if (w.Options().takesFocus) return false;
      result = MA_NOACTIVATE;
      return true;
    case WM_KEYDOWN:
      TranslateKey(window, wParam);
      return true;
    case WM_ACTIVATE:
      if ((wParam & 0xFFFF) != WA_INACTIVE) {
        if (w.Options().takesFocus) focus_ = window;
      } else if (focus_ == window && !dialogOpen_ && FromHandle(reinterpret_cast<HWND>(lParam)) == 0) {
        focus_ = 0;
        events_.push_back(Event{EventKind::FocusLost, window});
      }
      return false;
    case WM_DISPLAYCHANGE:
      frameIntervalMs_ = FrameInterval();
      events_.push_back(Event{EventKind::DisplayChange});
      return false;
    case WM_CLOSE:
      // Alt+F4 or the taskbar: the program ends its own way.
      events_.push_back(Event{EventKind::Close});
      return true;
    case WM_QUERYENDSESSION:
      // The program ends in order on the Close, before the session goes.
      events_.push_back(Event{EventKind::Close});
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      return true;
    default:
      break;
  }
  if (message >= WM_USER) {
    // Posted by another program (or by anyone): the framework decides which
    // messages pass. Its values are 32 bits whatever the sender's width.
    Event posted{EventKind::MessageFromOutside, window};
    posted.posted = PostedMessage{message, static_cast<std::uint32_t>(wParam),
                                  static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam))};
    events_.push_back(posted);
    return true;
  }
  return false;
}

void Win32Desktop::TranslatePointer(WindowId window, EventKind kind, LPARAM lParam, bool buttonDown) {
  if (dialogOpen_) return;
  const Win32Window& w = *Find(window);
  Event event{kind, window};
  event.x = CoordinateOf(lParam, 0);
  event.y = CoordinateOf(lParam, 16);
  POINT screen{event.x, event.y};
  ::ClientToScreen(w.Handle(), &screen);
  event.screenX = screen.x;
  event.screenY = screen.y;
  event.buttonDown = buttonDown;
  events_.push_back(event);
}

void Win32Desktop::TranslateKey(WindowId window, WPARAM key) {
  if (dialogOpen_) return;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  std::optional<EventKind> kind;
  if (key == VK_RETURN) kind = EventKind::KeyEnter;
  if (key == VK_ESCAPE) kind = EventKind::KeyEscape;
  if (control && key == 'Z') kind = shift ? EventKind::KeyCtrlShiftZ : EventKind::KeyCtrlZ;
  if (control && !shift && key == 'Y') kind = EventKind::KeyCtrlY;
  if (!kind) return;
  POINT p{};
  ::GetCursorPos(&p);
  Event event{*kind, window};
  event.screenX = p.x;
  event.screenY = p.y;
  events_.push_back(event);
}

// ---- Modal dialogs ---------------------------------------------------------

template <typename Dialog>
auto Win32Desktop::RunModal(const Dialog& dialog) {
  if (grab_ != 0) GrabPointer(0);
  dialogOpen_ = true;
  auto answer = dialog();
  dialogOpen_ = false;
  // Input meant for our windows while the dialog was up is dropped, as the
  // owner of a modal dialog takes none; messages from other programs wait.
  std::erase_if(events_, [](const Event& e) {
    return e.kind != EventKind::DisplayChange && e.kind != EventKind::Close && e.kind != EventKind::MessageFromOutside;
  });
  return answer;
}

std::optional<std::string> Win32Desktop::RunSaveDialog(const SaveDialogRequest& request) {
  // Owned by the board, so that it shows above our top-most windows.
  HWND owner = nullptr;
  if (Win32Window* parent = Find(request.parent)) owner = parent->Handle();
  for (const auto& [id, window] : windows_) {
    if (owner == nullptr && window->Options().owner == 0) owner = window->Handle();
  }
  return RunModal([&] { return win32::RunSaveDialog(owner, request); });
}

void Win32Desktop::ShowMessage(const MessageRequest& message) {
  Win32Window* owner = Find(message.owner);
  RunModal([&] {
    return ::MessageBoxW(owner != nullptr ? owner->Handle() : nullptr, WideFromUtf8(message.text).c_str(),
                         WideFromUtf8(message.caption).c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
  });
}

}  // namespace plumet::backend::win32
