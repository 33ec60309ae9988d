// What windows posted and sent, for tests that watch the messages of a run.
#pragma once

#include <vector>

#include "platform/framework/win_types.h"

struct LoggedMessage {
  bool posted;  // false: sent
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

void AfxEnableMessageLog(bool enable);
std::vector<LoggedMessage> AfxMessageLog();
// Runs just before a window's record goes away, after its last message.
void AfxSetWindowDestroyHook(void (*hook)(HWND));
