// The Windows desktop backend. Free of native types so that the program's
// entry point can use it.
#pragma once

#include <memory>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::win32 {

// The backend on this session's desktop; nothing, with the reason, while
// another board runs on it.
std::unique_ptr<Backend> OpenDesktop(std::string& error);

enum class SendResult { Delivered, NoBoard };
// Posts a message to the board running on this desktop, found by its window
// class and caption, as any other program can.
SendResult PostToRunningBoard(const PostedMessage& message, const std::string& boardCaption);

// A program without a console of its own writes to the one that started it,
// if any: call before writing to stdout or stderr.
void UseParentConsole();

}  // namespace plumet::backend::win32
