#include "platform/backend/gtk/message_box.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace plumet::backend::gtk {

namespace {
GtkDialog* shownBox = nullptr;  // while ShowMessageBox waits for the user
}

void CloseMessageBox() {
  if (shownBox != nullptr) gtk_dialog_response(shownBox, GTK_RESPONSE_CLOSE);
}

void ShowMessageBox(const std::string& caption, const std::string& text, Window owner) {
  // A file name in the text may be in any encoding; GTK shows only UTF-8.
  gchar* shown = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
  GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", shown);
  g_free(shown);
  gchar* title = g_utf8_make_valid(caption.c_str(), static_cast<gssize>(caption.size()));
  gtk_window_set_title(GTK_WINDOW(box), title);
  g_free(title);
  // Our windows stay above everything, so the box must too; centred, as no
  // window manager may place it.
  gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  gtk_widget_realize(box);
  GdkWindow* window = gtk_widget_get_window(box);
  if (owner != None && GDK_IS_X11_WINDOW(window)) {
    Display* display = GDK_WINDOW_XDISPLAY(window);
    XSetTransientForHint(display, GDK_WINDOW_XID(window), owner);
  }
  gtk_widget_show(box);
  gtk_window_present(GTK_WINDOW(box));
  gdk_window_raise(window);
  shownBox = GTK_DIALOG(box);
  gtk_dialog_run(shownBox);
  shownBox = nullptr;
  gtk_widget_destroy(box);
}

}  // namespace plumet::backend::gtk
