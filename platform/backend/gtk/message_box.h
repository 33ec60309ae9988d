// The message box: a modal GTK message dialog with one OK button.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace plumet::backend::gtk {

// Shows the message above owner (None: above nothing of ours) until the user
// dismisses it.
void ShowMessageBox(const std::string& caption, const std::string& text, Window owner);
// Dismisses the box ShowMessageBox shows, if any, as its OK would.
void CloseMessageBox();

}  // namespace plumet::backend::gtk
