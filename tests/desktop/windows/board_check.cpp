// Drives a running plumet.exe as another program and as the user would:
// finds the board by class and caption, checks its window styles, drags the
// palette, posts board commands, draws with SendInput, reads the screen, saves through the save
// dialog and ends the board with Escape.
//   board-check.exe FOLDER [SHOT.bmp]
// FOLDER receives the saved files (ink.png, ink.tiff, ink.svg and a PNG with a
// name outside the ANSI code page); SHOT, when given, a screen copy taken with
// the ink drawn. Exit status 0 when every check passed.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/send_mouse_win32.h"

namespace {

constexpr UINT kBoardCommand = WM_USER + 1;
constexpr WPARAM kPen = 1, kColor = 3, kSave = 8, kBackground = 9, kFirstPage = 10, kSecondPage = 11;  // BC_ codes
constexpr LPARAM kRed = 2;
constexpr COLORREF kWhite = RGB(255, 255, 255);

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "PASS" : "FAIL", what);
  std::fflush(stdout);
  if (!ok) ++failures;
}

// Polls until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }
bool IsWhite(COLORREF c) { return c == kWhite; }

LONG_PTR ExStyle(HWND window) { return ::GetWindowLongPtrW(window, GWL_EXSTYLE); }

struct Owned {
  HWND owner;
  const wchar_t* className;
  HWND found;
};

// A visible top-level window of the class that the owner owns.
HWND FindOwned(HWND owner, const wchar_t* className) {
  Owned search{owner, className, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Owned*>(data);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == s->owner && std::wstring(name) == s->className) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Each event given time to arrive, as a hand moves.
void SendMouseAndPause(DWORD flags, int x, int y) {
  SendMouse(flags, x, y);
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
}

void Drag(int fromX, int toX, int y) {
  SendMouseAndPause(0, fromX, y);
  SendMouseAndPause(MOUSEEVENTF_LEFTDOWN, fromX, y);
  for (int x = fromX; x <= toX; x += 10) SendMouseAndPause(0, x, y);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  SendMouseAndPause(MOUSEEVENTF_LEFTUP, toX, y);
}

void SendKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = static_cast<WORD>(c);
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
  }
}

// Runs "plumet.exe --send WORDS" from the current folder; its exit status.
DWORD RunSend(const std::wstring& words) {
  std::wstring line = L"plumet.exe --send " + words;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 255;
  }
  ::WaitForSingleObject(process.hProcess, 30000);
  DWORD status = 255;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return status;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The user picks the file type in the dialog's list (TIFF, PNG, SVG in
// that order). Wine's dialog adds the chosen type's extension to a name
// typed with another one.
void ChooseType(HWND dialog, int type) {
  HWND list = ::FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
  if (list == nullptr) return;
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// BC_SAVE, then the user types the full name into the save dialog.
bool SaveAs(HWND board, const std::wstring& path, int type) {
  ::PostMessageW(board, kBoardCommand, kSave, 0);
  HWND dialog = nullptr;
  if (!WaitFor([&] { return (dialog = FindOwned(board, L"#32770")) != nullptr; }, 10000)) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ChooseType(dialog, type);
  ::SetForegroundWindow(dialog);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  TypeText(path);
  SendKey(VK_RETURN);
  return WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 10000) &&
         WaitFor([&] { return FileExists(path); }, 10000);
}

bool WriteShot(const std::wstring& path) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
  ::GdiFlush();
  const DWORD rowBytes = static_cast<DWORD>((width * 3 + 3) & ~3);
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file{0x4D42, kHeaders + imageBytes, 0, 0, kHeaders};
  bool written = false;
  if (FILE* out = ::_wfopen(path.c_str(), L"wb")) {
    written = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out) == 1 &&
              std::fwrite(bits, imageBytes, 1, out) == 1;
    written = std::fclose(out) == 0 && written;
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: board-check.exe FOLDER [SHOT.bmp]\n", stderr);
    return 2;
  }
  // Screen points in device pixels, whatever the display's scale.
  ::SetProcessDPIAware();
  const std::wstring folder = std::wstring(argv[1]) + L"\\";
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);

  HWND board = nullptr;
  Check(WaitFor([&] { return (board = ::FindWindowW(L"PlumetBoard", L"Plumet Life")) != nullptr; }, 30000),
        "the board window is found by its class and caption");
  if (board == nullptr) return 1;
  HWND palette = nullptr;
  Check(WaitFor([&] { return (palette = FindOwned(board, L"PlumetTool")) != nullptr; }),
        "the board owns a visible palette window");

  // Start: window mode.
  const LONG_PTR style = ExStyle(board);
  Check((style & WS_EX_LAYERED) && (style & WS_EX_TOPMOST), "the board is layered and top-most");
  Check((style & WS_EX_TRANSPARENT) != 0, "in window mode the board lets pointer input through");
  RECT bounds{};
  ::GetWindowRect(board, &bounds);
  Check(bounds.left == 0 && bounds.top == 0 && bounds.right == width && bounds.bottom == height,
        "the board covers the primary screen");
  Check(reinterpret_cast<std::uintptr_t>(::GetPropW(board, L"MicrosoftTabletPenServiceProperty")) == 0x10019,
        "pen press-and-hold, feedback and flicks are off on the board");
  if (palette != nullptr) {
    RECT at{};
    ::GetWindowRect(palette, &at);
    Check(at.left == width - 100 && at.top == 100, "the palette starts at (screen width - 100, 100)");
    Check((ExStyle(palette) & WS_EX_TOOLWINDOW) != 0, "the palette is a tool window (no taskbar button)");
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(palette, region);
    ::DeleteObject(region);
    Check(kind == SIMPLEREGION || kind == COMPLEXREGION, "the palette is shaped by a window region");
    // Dragged by its title strip, beside the close cross: the system's window
    // drag follows the pointer and leaves the palette where it is let go.
    const POINT grip{at.left + 12, at.top + 10};
    SendMouseAndPause(0, grip.x, grip.y);
    SendMouseAndPause(MOUSEEVENTF_LEFTDOWN, grip.x, grip.y);
    for (int step = 1; step <= 20; ++step) SendMouseAndPause(0, grip.x - 10 * step, grip.y + 10 * step);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SendMouseAndPause(MOUSEEVENTF_LEFTUP, grip.x - 200, grip.y + 200);
    Check(WaitFor([&] {
            RECT moved{};
            ::GetWindowRect(palette, &moved);
            return moved.left == at.left - 200 && moved.top == at.top + 200;
          }),
          "a drag on the palette's title strip moves the palette with the pointer");
    // Folded by its bottom strip into the floating icon; a click on the icon
    // (the same drag, let go where it began) unfolds it there.
    RECT folded{};
    ::GetWindowRect(palette, &folded);
    const auto click = [](int x, int y) {
      SendMouseAndPause(0, x, y);
      SendMouseAndPause(MOUSEEVENTF_LEFTDOWN, x, y);
      SendMouseAndPause(MOUSEEVENTF_LEFTUP, x, y);
    };
    click(folded.left + 25, folded.top + 469);
    HWND icon = nullptr;
    Check(WaitFor([&] { return !::IsWindowVisible(palette) && (icon = FindOwned(palette, L"PlumetTool")) != nullptr; }),
          "a click on the fold strip folds the palette into the icon");
    if (icon != nullptr) {
      RECT at_icon{};
      ::GetWindowRect(icon, &at_icon);
      click(at_icon.left + 35, at_icon.top + 30);
      RECT back{};
      const bool unfolded = WaitFor([&] {
        ::GetWindowRect(palette, &back);
        return ::IsWindowVisible(palette) && !::IsWindowVisible(icon) && back.left == at_icon.left &&
               back.top == at_icon.top;
      });
      // Where the system drag left the palette is where its next picture shows it.
      Check(unfolded, "a click on the icon unfolds the palette at the icon's place");
      if (!unfolded)
        std::printf("  icon at (%ld, %ld); palette at (%ld, %ld), %s\n", at_icon.left, at_icon.top, back.left, back.top,
                    ::IsWindowVisible(palette) ? "shown" : "hidden");
    }
  }

  // The white board (by plumet.exe --send) takes input; red ink drawn with
  // the mouse shows where it was drawn.
  Check(RunSend(L"background") == 0, "plumet.exe --send background reaches the board");
  Check(WaitFor([&] { return (ExStyle(board) & WS_EX_TRANSPARENT) == 0; }), "a board command makes the board take input");
  Check(WaitFor([&] { return IsWhite(ScreenPixel(300, 300)); }), "the background command shows the white board");
  ::PostMessageW(board, kBoardCommand, kPen, 0);
  ::PostMessageW(board, kBoardCommand, kColor, kRed);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Drag(200, 400, 300);
  Check(WaitFor([&] { return IsRed(ScreenPixel(300, 300)); }), "red ink is on the screen where it was drawn");
  Check(IsWhite(ScreenPixel(300, 340)) && IsWhite(ScreenPixel(150, 300)), "and nowhere else");
  if (argc > 2) Check(WriteShot(argv[2]), "a screen copy is written");

  // Pages: the second is empty, the first still has the ink.
  ::PostMessageW(board, kBoardCommand, kSecondPage, 0);
  Check(WaitFor([&] { return IsWhite(ScreenPixel(300, 300)); }), "the second page has no ink");
  ::PostMessageW(board, kBoardCommand, kFirstPage, 0);
  Check(WaitFor([&] { return IsRed(ScreenPixel(300, 300)); }), "the first page has its ink again");

  // Other messages with any values, from another program, change nothing;
  // a flood of commands that change nothing, then one that does: all of
  // them handled, in order.
  for (UINT message : {UINT{WM_USER}, UINT{WM_USER + 2}, UINT{WM_USER + 100}, UINT{WM_APP + 5}, 0xBFFFu, 0xC100u, 0xFFFFu}) {
    ::PostMessageW(board, message, ~WPARAM{0}, -1);
    ::PostMessageW(board, message, 0, LPARAM{1} << 40);
  }
  // Codes past the last command (redo, 13): undo and redo would each redraw the screen.
  for (int i = 0; i < 5000; ++i) ::PostMessageW(board, kBoardCommand, 14 + (i % 100), i);
  ::PostMessageW(board, kBoardCommand, kBackground, 0);
  Check(WaitFor([&] { return ScreenPixel(300, 340) == RGB(0x00, 0x69, 0x34); }, 20000),
        "after odd messages and a flood of unknown commands the next one turns the board green");
  ::GetWindowRect(board, &bounds);
  Check(bounds.left == 0 && bounds.top == 0 && bounds.right == width && bounds.bottom == height &&
            IsRed(ScreenPixel(300, 300)),
        "and the board still covers the screen with its ink");

  struct Save {
    const wchar_t* name;
    int type;
  };
  for (const Save& save : {Save{L"ink.png", 1}, Save{L"ink.tiff", 0}, Save{L"ink.svg", 2},
                           Save{L"\u00f1and\u00fa-\u65e5\u672c-\u20ac.png", 1}}) {
    const wchar_t* name = save.name;
    const std::wstring path = folder + name;
    const bool saved = SaveAs(board, path, save.type);
    std::printf("%s saving %ls\n", saved ? "PASS" : "FAIL", name);
    if (!saved) ++failures;
  }

  // Escape on the board ends the program.
  ::SetForegroundWindow(board);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  SendKey(VK_ESCAPE);
  Check(WaitFor([&] { return !::IsWindow(board); }, 10000), "Escape ends the board");
  return failures == 0 ? 0 : 1;
}
