// Window functions shaped like the USER functions the system is written
// against. Handles are the framework's own.
#pragma once

#include <string>

#include "platform/backend/backend.h"
#include "platform/framework/win_types.h"

// Messages.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Timers.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, void* callback);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Windows.
BOOL IsWindow(HWND hwnd);
BOOL DestroyWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
BOOL SetWindowText(HWND hwnd, const char* text);
std::string GetWindowText(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT command);  // GW_OWNER only
constexpr UINT GW_OWNER = 4;
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
// The visible child of parent at a client point, the parent itself when none, nullptr outside it.
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL ScreenToClient(HWND hwnd, POINT* point);
BOOL ClientToScreen(HWND hwnd, POINT* point);

// Window properties.
BOOL SetProp(HWND hwnd, const char* name, HANDLE value);
HANDLE GetProp(HWND hwnd, const char* name);
HANDLE RemoveProp(HWND hwnd, const char* name);

// Layered windows.
BOOL UpdateLayeredWindow(HWND hwnd, HDC hdcDst, const POINT* pptDst, const SIZE* psize, HDC hdcSrc,
                         const POINT* pptSrc, COLORREF crKey, const BLENDFUNCTION* pblend, DWORD flags);
BOOL UpdateLayeredWindowIndirect(HWND hwnd, const UPDATELAYEREDWINDOWINFO* info);

// Device contexts of windows and of the screen.
// GetDC of the desktop window is a copy of the screen; when it fails,
// GetLastError says ERROR_IO_PENDING while that copy is still on its way.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HWND GetDesktopWindow();
DWORD GetLastError();
void SetLastError(DWORD error);

// Pointer.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(POINT* point);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
HCURSOR LoadCursor(HINSTANCE instance, UINT id);  // instance nullptr: a system cursor
BOOL DestroyCursor(HCURSOR cursor);
HICON LoadIcon(HINSTANCE instance, UINT id);

// A modal message with an OK button, above its owner (nullptr: none); IDOK
// once dismissed, 0 without a window system. A null caption reads "Error".
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

int GetSystemMetrics(int index);
// The screen's dots per inch: USER_DEFAULT_SCREEN_DPI times its scale factor.
UINT GetDpiForWindow(HWND hwnd);
UINT GetDoubleClickTime();
// Keyboard: the high bit is set while the key is held, as of the key message being handled.
SHORT GetKeyState(int virtualKey);

// Ties the framework to the window system it runs on; starts a new session.
void AfxSetBackend(plumet::backend::Backend* backend);
plumet::backend::Backend* AfxGetBackend();
// The framework's window behind a native window (nullptr when none).
HWND AfxWindowFromNative(plumet::backend::WindowId native);
plumet::backend::WindowId AfxNativeWindow(HWND hwnd);
// The dialog template a window was made from (0 for other windows).
int AfxGetDialogTemplateId(HWND hwnd);
