// The shell's save dialog (IFileSaveDialog), modal over its owner.
#pragma once

#include <optional>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/win32/windows_api.h"

namespace plumet::backend::win32 {

// The chosen path in UTF-8 with the extension of its type (file_type_name.h),
// or nothing when cancelled. COM must be started on this thread.
std::optional<std::string> RunSaveDialog(HWND owner, const SaveDialogRequest& request);

}  // namespace plumet::backend::win32
