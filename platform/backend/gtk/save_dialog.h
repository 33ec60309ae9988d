// The save dialog: GTK's file chooser in save mode (through the desktop
// portal where GTK uses one).
#pragma once

#include <optional>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// Runs the chooser modally; the chosen path, or nothing when cancelled.
std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request);
// The program is asked to end: the running dialog closes as if cancelled.
void CancelSaveDialog();

// A name without an extension gets the one of the selected file type's
// pattern ("*.png" gives ".png"); any other name stays as typed.
std::string WithTypeExtension(const std::string& path, const std::string& pattern);

}  // namespace plumet::backend::gtk
