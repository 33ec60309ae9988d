#include "platform/backend/gtk/save_dialog.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <filesystem>

#include "platform/backend/file_type_name.h"

namespace plumet::backend::gtk {
namespace {

struct Answer {
  bool done = false;
  int response = GTK_RESPONSE_CANCEL;
};

// What a request to end the program has to close.
struct Running {
  GtkNativeDialog* chooser = nullptr;
  Answer* answer = nullptr;
  GtkDialog* ask = nullptr;
  bool ending = false;
};
Running running;

void OnResponse(GtkNativeDialog*, int response, gpointer data) {
  auto* answer = static_cast<Answer*>(data);
  answer->response = response;
  answer->done = true;
}

// Our windows stay above everything: the in-process chooser is raised above
// them and given the keyboard, which no window manager may do for us.
void BringForward() {
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
      gtk_window_present(GTK_WINDOW(w->data));
      if (GdkWindow* gdk = gtk_widget_get_window(GTK_WIDGET(w->data))) gdk_window_raise(gdk);
    }
  }
  g_list_free(windows);
}

bool AskReplace(const std::string& path) {
  GtkWidget* ask = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                                          "A file named \"%s\" already exists. Replace it?",
                                          std::filesystem::path(path).filename().c_str());
  gtk_window_set_keep_above(GTK_WINDOW(ask), TRUE);
  gtk_widget_show(ask);
  gtk_window_present(GTK_WINDOW(ask));
  gdk_window_raise(gtk_widget_get_window(ask));
  running.ask = GTK_DIALOG(ask);
  const int response = gtk_dialog_run(GTK_DIALOG(ask));
  running.ask = nullptr;
  gtk_widget_destroy(ask);
  return response == GTK_RESPONSE_YES;
}

struct Choice {
  std::string path;
  bool extended = false;  // the extension was added to what the user typed
};

// One run of the chooser: the chosen name with its type's extension.
std::optional<Choice> Choose(const SaveDialogRequest& request, const std::string& suggestion) {
  GtkFileChooserNative* chooser =
      gtk_file_chooser_native_new("Save", nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, "_Save", "_Cancel");
  GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
  gtk_file_chooser_set_do_overwrite_confirmation(files, request.confirmOverwrite ? TRUE : FALSE);
  std::vector<GtkFileFilter*> filters;
  for (const FileType& type : request.fileTypes) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, type.label.c_str());
    for (const std::string& pattern : TypePatterns(type)) gtk_file_filter_add_pattern(filter, pattern.c_str());
    gtk_file_chooser_add_filter(files, filter);  // the chooser takes it
    filters.push_back(filter);
  }
  if (!filters.empty()) gtk_file_chooser_set_filter(files, filters.front());
  if (!suggestion.empty()) gtk_file_chooser_set_current_name(files, suggestion.c_str());

  Answer answer;
  g_signal_connect(chooser, "response", G_CALLBACK(OnResponse), &answer);
  gtk_native_dialog_show(GTK_NATIVE_DIALOG(chooser));
  BringForward();
  running.chooser = GTK_NATIVE_DIALOG(chooser);
  running.answer = &answer;
  while (!answer.done) g_main_context_iteration(nullptr, TRUE);
  running.chooser = nullptr;
  running.answer = nullptr;

  std::optional<Choice> chosen;
  if (answer.response == GTK_RESPONSE_ACCEPT) {
    if (char* name = gtk_file_chooser_get_filename(files)) {
      const GtkFileFilter* selected = gtk_file_chooser_get_filter(files);
      const auto type = static_cast<std::size_t>(std::find(filters.begin(), filters.end(), selected) - filters.begin());
      const std::string typed = name;
      g_free(name);
      const std::string path = WithTypeExtension(typed, request.fileTypes, type);
      chosen = Choice{path, path != typed};
    }
  }
  g_object_unref(chooser);
  return chosen;
}

}  // namespace

void CancelSaveDialog() {
  running.ending = true;
  if (running.chooser != nullptr) {
    // Hiding emits no response: the answer is given here.
    gtk_native_dialog_hide(running.chooser);
    running.answer->response = GTK_RESPONSE_CANCEL;
    running.answer->done = true;
  }
  if (running.ask != nullptr) gtk_dialog_response(running.ask, GTK_RESPONSE_NO);
}

std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) {
  running.ending = false;
  std::string suggestion;
  while (true) {
    const std::optional<Choice> chosen = Choose(request, suggestion);
    if (!chosen || running.ending) return std::nullopt;
    // The chooser asked about the name as typed; a name that got its
    // extension only now is asked about here.
    if (!chosen->extended || !request.confirmOverwrite || !std::filesystem::exists(chosen->path) ||
        AskReplace(chosen->path)) {
      if (running.ending) return std::nullopt;
      return chosen->path;
    }
    suggestion = std::filesystem::path(chosen->path).filename().string();
  }
}

}  // namespace plumet::backend::gtk
