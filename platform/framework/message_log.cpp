#include "platform/framework/message_log.h"

#include "platform/framework/window_system.h"

using plumet::framework::WindowSystem;

void AfxEnableMessageLog(bool enable) { WindowSystem::Get().EnableLog(enable); }

std::vector<LoggedMessage> AfxMessageLog() { return WindowSystem::Get().Log(); }

void AfxSetWindowDestroyHook(void (*hook)(HWND)) {
  WindowSystem::Get().destroyHook = hook ? std::function<void(HWND)>(hook) : std::function<void(HWND)>();
}
