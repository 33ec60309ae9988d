#include "platform/backend/win32/win32_backend.h"

#include <cstdio>

#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_desktop.h"

namespace plumet::backend::win32 {

std::unique_ptr<Backend> OpenDesktop(std::string& error) { return Win32Desktop::Open(error); }

SendResult PostToRunningBoard(const PostedMessage& message, const std::string& boardCaption) {
  HWND board = ::FindWindowW(kBoardClass, WideFromUtf8(boardCaption).c_str());
  if (board == nullptr) return SendResult::NoBoard;
  // The argument travels as the 32-bit value it is, sign and all.
  const auto lParam = static_cast<LPARAM>(message.lParam);
  return ::PostMessageW(board, message.message, message.wParam, lParam) ? SendResult::Delivered : SendResult::NoBoard;
}

namespace {

bool Redirected(DWORD stream) {
  const HANDLE handle = ::GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void UseParentConsole() {
  // Streams the program was started with (redirections) stay as they are.
  const bool output = Redirected(STD_OUTPUT_HANDLE);
  const bool errors = Redirected(STD_ERROR_HANDLE);
  if ((output && errors) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!output) std::freopen("CONOUT$", "w", stdout);
  if (!errors) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace plumet::backend::win32
