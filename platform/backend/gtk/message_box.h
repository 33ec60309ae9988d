// The message box: a modal GTK message dialog with one OK button.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace plumet::backend::gtk {

// Shows the message above owner (None: above nothing of ours) until the user
// dismisses it.
void ShowMessageBox(const std::string& caption, const std::string& text, Window owner);

}  // namespace plumet::backend::gtk
