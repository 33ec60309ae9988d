#include "platform/framework/message_log.h"

#include "platform/framework/window_system.h"

using plumet::framework::WindowSystem;

void AfxEnableMessageLog(bool enable) { WindowSystem::Get().EnableLog(enable); }

std::vector<LoggedMessage> AfxMessageLog() {
  std::vector<LoggedMessage> result;
  for (const auto& m : WindowSystem::Get().Log())
    result.push_back({m.kind == plumet::framework::LoggedMessage::Kind::Posted, m.hwnd, m.message, m.wParam, m.lParam});
  return result;
}

void AfxSetWindowDestroyHook(void (*hook)(HWND)) {
  WindowSystem::Get().destroyHook = hook ? std::function<void(HWND)>(hook) : std::function<void(HWND)>();
}
