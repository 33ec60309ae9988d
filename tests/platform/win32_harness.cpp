// The contract suite on the Windows desktop (run under Wine in CI): input
// through SendInput, the screen read with BitBlt, and a window of another
// thread that covers the screen beneath our windows and logs the input that
// reaches it.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/platform/contract_harness.h"

#include "platform/backend/win32/win32_backend.h"
#include "platform/backend/win32/win32_desktop.h"
#include "tests/windows/send_mouse_win32.h"

namespace plumet::backend::contract {
namespace {

constexpr COLORREF kBeneathColour = RGB(0x40, 0x60, 0x80);
// Every message the system owes us arrives within this quiet spell (Wine
// tracks the pointer's leaving on a timer).
constexpr int kQuietMs = 500;

// The other program: a plain window over the whole screen on a thread of
// its own, created before every window of the backend and not top-most.
class Beneath {
 public:
  static Beneath& Get() {
    static Beneath beneath;
    return beneath;
  }

  std::vector<BeneathInput> Take() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(inputs_, {});
  }

 private:
  Beneath() {
    std::mutex ready;
    ready.lock();
    thread_ = std::thread([this, &ready] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.lpfnWndProc = Procedure;
      windowClass.hInstance = ::GetModuleHandleW(nullptr);
      windowClass.hbrBackground = ::CreateSolidBrush(kBeneathColour);
      windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      windowClass.lpszClassName = L"PlumetContractBeneath";
      ::RegisterClassExW(&windowClass);
      ::CreateWindowExW(0, windowClass.lpszClassName, L"beneath", WS_POPUP | WS_VISIBLE, 0, 0,
                        ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                        windowClass.hInstance, this);
      ready.unlock();
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    });
    thread_.detach();
    ready.lock();
    ready.unlock();
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Beneath*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
      std::optional<BeneathInput> input;
      POINT p{static_cast<short>(lParam & 0xFFFF), static_cast<short>((lParam >> 16) & 0xFFFF)};
      if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
        ::ClientToScreen(hwnd, &p);
        input = BeneathInput{message == WM_LBUTTONDOWN ? EventKind::PointerDown : EventKind::PointerUp, p.x, p.y};
      } else if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        ::GetCursorPos(&p);
        input = BeneathInput{wParam == VK_RETURN ? EventKind::KeyEnter : EventKind::KeyEscape, p.x, p.y};
      }
      if (input) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->inputs_.push_back(*input);
      }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  std::thread thread_;
  std::mutex mutex_;
  std::vector<BeneathInput> inputs_;
};

void SendKeys(const std::vector<WORD>& held, WORD key) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD modifier : held) add(modifier, false);
  add(key, false);
  add(key, true);
  for (WORD modifier : held) add(modifier, true);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

ScreenImage Grab() {
  ScreenImage image;
  image.width = ::GetSystemMetrics(SM_CXSCREEN);
  image.height = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = win32::MakeDibSection(screen, image.width, image.height, &bits);
  HGDIOBJ previous = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, image.width, image.height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  image.pixels.assign(pixels, pixels + static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  for (std::uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
  ::SelectObject(memory, previous);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return image;
}

class Win32Harness final : public ContractHarness {
 public:
  Win32Harness() {
    Beneath::Get().Take();  // what earlier tests left
    std::string error;
    desktop_ = win32::Win32Desktop::Open(error);
    if (!desktop_) throw std::runtime_error(error);
  }

  Backend& Subject() override { return *desktop_; }

  // Each action reaches the backend before the next, as a user's do: the
  // system would otherwise merge moves that wait in the queue together.
  void Press(int x, int y) override { Act([&] { SendMouse(MOUSEEVENTF_LEFTDOWN, x, y); }); }
  void Move(int x, int y) override { Act([&] { SendMouse(0, x, y); }); }
  void Release(int x, int y) override { Act([&] { SendMouse(MOUSEEVENTF_LEFTUP, x, y); }); }
  void Key(EventKind key) override { Act([&] { SendKey(key); }); }

  static void SendKey(EventKind key) {
    switch (key) {
      case EventKind::KeyEscape: SendKeys({}, VK_ESCAPE); break;
      case EventKind::KeyCtrlZ: SendKeys({VK_CONTROL}, 'Z'); break;
      case EventKind::KeyCtrlY: SendKeys({VK_CONTROL}, 'Y'); break;
      case EventKind::KeyCtrlShiftZ: SendKeys({VK_CONTROL, VK_SHIFT}, 'Z'); break;
      default: SendKeys({}, VK_RETURN); break;
    }
  }

  bool ChangeScreenSize(Size size) override {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(size.width);
    mode.dmPelsHeight = static_cast<DWORD>(size.height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    if (::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) != DISP_CHANGE_SUCCESSFUL) {
      return false;
    }
    modeChanged_ = true;
    return true;
  }

  ~Win32Harness() override {
    if (modeChanged_) ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
  }

  void PostFromOutside(const PostedMessage& message) override {
    Act([&] {
      EXPECT_EQ(win32::PostToRunningBoard(message, ""), win32::SendResult::Delivered)
          << "the board is found by its class and caption";
    });
  }

  void Idle(int) override {}  // the backend's clock is the real one

  std::vector<Event> TakeEvents() override {
    Drain(kQuietMs);
    return std::exchange(events_, {});
  }

  std::vector<BeneathInput> TakeBeneathInputs() override { return Beneath::Get().Take(); }

  ScreenImage ReadScreen() override {
    // Our own messages first (the system may owe us a repaint), then a
    // picture that holds still.
    Drain(0);
    ScreenImage last = Grab();
    for (int waitedMs = 0, unchangedMs = 0; waitedMs < 2000 && unchangedMs < 100; waitedMs += 25) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      ScreenImage now = Grab();
      unchangedMs = now.pixels == last.pixels ? unchangedMs + 25 : 0;
      last = std::move(now);
    }
    return last;
  }

  bool DenyCapture() override { return false; }
  // The shell's dialog is driven by the desktop checks (tests/desktop/windows).
  bool AnswerNextSaveDialog(std::optional<std::string>) override { return false; }
  // The tick count moves in steps of up to 16 ms.
  int ClockToleranceMs() const override { return 50; }

  // Wine (8) draws layered windows well but routes input and stacks owned
  // windows by rules of its own; on Windows every case runs.
  std::string CannotCheck(const std::string& test) const override {
    static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine) return {};
    if (test == "ColorKeyHolesShowAndPassInputToWhatLiesBeneath" ||
        test == "FullyTransparentPixelsPassInputAndAlmostTransparentOnesTakeIt") {
      return "Wine gives a layered window every press over it, holes and clear pixels too";
    }
    if (test == "OwnedWindowsStayAboveTheirOwnersRecursively") {
      return "Wine does not raise a window that owns others above a later top-most window";
    }
    if (test == "ShapesClipPictureAndInput") return "Wine shows a layered window's region only from its next picture";
    if (test == "GrabSendsEveryPointerEventToItsHolder") {
      return "Wine gives a release over another program's window to that window although we hold the capture";
    }
    return {};
  }

 private:
  template <typename Action>
  void Act(const Action& action) {
    Drain(0);
    action();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Drain(0);
  }
  // Collects what the backend reports until it has been quiet for quietMs.
  void Drain(int quietMs) {
    while (std::optional<Event> event = desktop_->WaitEvent(quietMs)) {
      if (event->kind != EventKind::Close) events_.push_back(*event);
    }
  }

  std::unique_ptr<win32::Win32Desktop> desktop_;
  std::vector<Event> events_;
  bool modeChanged_ = false;
};

std::unique_ptr<ContractHarness> MakeWin32Harness() { return std::make_unique<Win32Harness>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, BackendContract, testing::Values(&MakeWin32Harness));

}  // namespace plumet::backend::contract
