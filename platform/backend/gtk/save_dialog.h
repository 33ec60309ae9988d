// The save dialog: GTK's file chooser in save mode (through the desktop
// portal where GTK uses one).
#pragma once

#include <optional>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// Runs the chooser modally; the chosen path, completed by the selected
// type's extension (file_type_name.h), or nothing when cancelled.
std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request);
// The program is asked to end: the running dialog closes as if cancelled.
void CancelSaveDialog();

}  // namespace plumet::backend::gtk
