// A copy of the screen from the desktop portal (org.freedesktop.portal.
// Screenshot on the session bus), for Wayland sessions, where the X server
// shows only X clients. The portal answers late, as the desktop may first ask
// the user's permission; the answer comes through GLib's default main
// context, which the backend's event wait runs.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

#include <cstdint>
#include <string>

#include "platform/backend/backend.h"

namespace plumet::backend::gtk {

// The portal's picture covers the whole X screen (root), perhaps at another
// pixel density; the copy is the primary monitor's part, at its size.
struct CopyGeometry {
  Rect monitor;  // root coordinates
  Size root;
};

// The part of a picture of pictureSize that shows the monitor.
Rect MonitorPartOfPicture(const CopyGeometry& geometry, Size pictureSize);

class PortalScreenshot {
 public:
  enum class Answer { Ready, Pending, Failed };
  // An answer nobody collects within this long (the user gave up waiting)
  // is a picture of the past: it is dropped and the portal asked again.
  static constexpr std::uint64_t kFreshForMs = 2000;

  explicit PortalScreenshot(std::uint64_t freshForMs = kFreshForMs);
  ~PortalScreenshot();
  PortalScreenshot(const PortalScreenshot&) = delete;
  PortalScreenshot& operator=(const PortalScreenshot&) = delete;

  // Asks the portal when no request is on its way; Ready fills out with the
  // monitor's part of the answer at the monitor's size.
  Answer Take(const CopyGeometry& geometry, ScreenImage& out);

 private:
  enum class State { Idle, Waiting, Answered };

  void Start();
  void Listen(const std::string& handle);
  void StopListening();
  // The answer: a picture, or none (refused or failed, with the reason).
  void Finish(GdkPixbuf* picture, const std::string& failure);
  void LoadAnswer(const char* uri);
  static void OnCallDone(GObject* source, GAsyncResult* result, gpointer self);
  static void OnResponse(GDBusConnection* bus, const char* sender, const char* path, const char* interface,
                         const char* signal, GVariant* parameters, gpointer self);

  const std::uint64_t freshForMs_;
  GDBusConnection* bus_ = nullptr;
  GCancellable* cancellable_;
  unsigned subscription_ = 0;
  std::string handle_;  // the request object the answer comes from
  unsigned serial_ = 0;
  State state_ = State::Idle;
  GdkPixbuf* picture_ = nullptr;  // the answer, when it is a picture
  std::uint64_t answeredAtMs_ = 0;
};

}  // namespace plumet::backend::gtk
