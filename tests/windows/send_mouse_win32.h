// A mouse event at a screen pixel, as a user's hand would give it, for the
// Windows test programs.
#pragma once

#include <windows.h>

// SendInput takes absolute places in 0..65535 over the primary screen.
inline void SendMouse(DWORD flags, int x, int y) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof(INPUT));
}
