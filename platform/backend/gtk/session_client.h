// Membership in the X session (XSMP): when the session manager ends the
// session, the program is asked to end as if its windows were closed.
#pragma once

#include <X11/SM/SMlib.h>

#include <functional>

namespace plumet::backend::gtk {

class SessionClient {
 public:
  // Joins the session named by SESSION_MANAGER, if there is one; onEnd runs
  // (from the main loop) when the session manager tells the program to end.
  explicit SessionClient(std::function<void()> onEnd);
  ~SessionClient();
  SessionClient(const SessionClient&) = delete;
  SessionClient& operator=(const SessionClient&) = delete;

  bool Joined() const { return connection_ != nullptr; }

 private:
  void SetProperties();
  void Leave();

  friend struct SessionCallbacks;  // libSM's and GLib's, in the source file

  std::function<void()> onEnd_;
  SmcConn connection_ = nullptr;
  unsigned watch_ = 0;
};

}  // namespace plumet::backend::gtk
