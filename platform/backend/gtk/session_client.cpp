#include "platform/backend/gtk/session_client.h"

#include <X11/ICE/ICElib.h>
#include <glib-unix.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace plumet::backend::gtk {

struct SessionCallbacks {
  // Nothing of the program's is kept across sessions: the save is done at once.
  static void SaveYourself(SmcConn connection, SmPointer, int, Bool, int, Bool) {
    SmcSaveYourselfDone(connection, True);
  }
  static void Die(SmcConn, SmPointer self) { static_cast<SessionClient*>(self)->onEnd_(); }
  static void Nothing(SmcConn, SmPointer) {}
  static gboolean OnReadable(gint, GIOCondition, gpointer data) {
    auto* self = static_cast<SessionClient*>(data);
    if (IceProcessMessages(SmcGetIceConnection(self->connection_), nullptr, nullptr) == IceProcessMessagesSuccess)
      return G_SOURCE_CONTINUE;
    // The session manager went away without a word: the program goes on alone.
    self->watch_ = 0;
    self->Leave();
    return G_SOURCE_REMOVE;
  }
};

SessionClient::SessionClient(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {
  if (g_getenv("SESSION_MANAGER") == nullptr) return;
  SmcCallbacks callbacks{};
  callbacks.save_yourself.callback = SessionCallbacks::SaveYourself;
  callbacks.die.callback = SessionCallbacks::Die;
  callbacks.die.client_data = this;
  callbacks.save_complete.callback = SessionCallbacks::Nothing;
  callbacks.shutdown_cancelled.callback = SessionCallbacks::Nothing;
  char* clientId = nullptr;
  char error[256] = "";
  connection_ = SmcOpenConnection(nullptr, nullptr, SmProtoMajor, SmProtoMinor,
                                  SmcSaveYourselfProcMask | SmcDieProcMask | SmcSaveCompleteProcMask |
                                      SmcShutdownCancelledProcMask,
                                  &callbacks, nullptr, &clientId, sizeof error, error);
  if (clientId != nullptr) std::free(clientId);
  if (connection_ == nullptr) return;
  SetProperties();
  watch_ = g_unix_fd_add(IceConnectionNumber(SmcGetIceConnection(connection_)), G_IO_IN,
                         SessionCallbacks::OnReadable, this);
}

SessionClient::~SessionClient() {
  if (watch_ != 0) g_source_remove(watch_);
  Leave();
}

void SessionClient::Leave() {
  if (connection_ != nullptr) SmcCloseConnection(connection_, 0, nullptr);
  connection_ = nullptr;
}

// What every client must tell the session manager. The board is not brought
// back in the next session: the user starts it when wanted.
void SessionClient::SetProperties() {
  std::string program = "plumet";
  std::string user = std::to_string(getuid());
  char never = SmRestartNever;
  SmPropValue programValue{static_cast<int>(program.size()), program.data()};
  SmPropValue userValue{static_cast<int>(user.size()), user.data()};
  SmPropValue styleValue{1, &never};
  SmProp programProp{const_cast<char*>(SmProgram), const_cast<char*>(SmARRAY8), 1, &programValue};
  SmProp cloneProp{const_cast<char*>(SmCloneCommand), const_cast<char*>(SmLISTofARRAY8), 1, &programValue};
  SmProp restartProp{const_cast<char*>(SmRestartCommand), const_cast<char*>(SmLISTofARRAY8), 1, &programValue};
  SmProp userProp{const_cast<char*>(SmUserID), const_cast<char*>(SmARRAY8), 1, &userValue};
  SmProp styleProp{const_cast<char*>(SmRestartStyleHint), const_cast<char*>(SmCARD8), 1, &styleValue};
  SmProp* props[] = {&programProp, &cloneProp, &restartProp, &userProp, &styleProp};
  SmcSetProperties(connection_, static_cast<int>(std::size(props)), props);
}

}  // namespace plumet::backend::gtk
