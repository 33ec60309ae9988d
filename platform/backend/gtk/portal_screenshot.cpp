#include "platform/backend/gtk/portal_screenshot.h"

#include <glib/gstdio.h>

#include <cmath>
#include <cstdio>
#include <utility>

namespace plumet::backend::gtk {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kScreenshotInterface = "org.freedesktop.portal.Screenshot";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";

std::uint64_t NowMs() { return static_cast<std::uint64_t>(g_get_monotonic_time() / 1000); }

// The request object the portal makes for a token: its path is known before
// the call, so the answer cannot come before we listen for it.
std::string RequestPath(GDBusConnection* bus, const std::string& token) {
  std::string sender = g_dbus_connection_get_unique_name(bus);
  if (!sender.empty() && sender[0] == ':') sender.erase(0, 1);
  for (char& c : sender)
    if (c == '.') c = '_';
  return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

void Notice(const std::string& failure) {
  std::fprintf(stderr, "plumet: no copy of the screen from the desktop portal: %s\n", failure.c_str());
}

// Opaque ARGB32 from a picture of the copy's size.
void CopyPixels(GdkPixbuf* picture, ScreenImage& out) {
  out.width = gdk_pixbuf_get_width(picture);
  out.height = gdk_pixbuf_get_height(picture);
  out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  const int channels = gdk_pixbuf_get_n_channels(picture);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  const guint8* pixels = gdk_pixbuf_read_pixels(picture);
  for (int y = 0; y < out.height; ++y) {
    const guint8* p = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* row = &out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width)];
    for (int x = 0; x < out.width; ++x, p += channels)
      row[x] = 0xFF000000u | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
  }
}

}  // namespace

Rect MonitorPartOfPicture(const CopyGeometry& geometry, Size pictureSize) {
  const Rect whole{0, 0, pictureSize.width, pictureSize.height};
  if (geometry.root.width <= 0 || geometry.root.height <= 0) return whole;
  const double sx = static_cast<double>(pictureSize.width) / geometry.root.width;
  const double sy = static_cast<double>(pictureSize.height) / geometry.root.height;
  const Rect part{static_cast<int>(std::lround(geometry.monitor.left * sx)),
                  static_cast<int>(std::lround(geometry.monitor.top * sy)),
                  static_cast<int>(std::lround(geometry.monitor.right * sx)),
                  static_cast<int>(std::lround(geometry.monitor.bottom * sy))};
  const Rect inside = part.Intersect(whole);
  return inside.Empty() ? whole : inside;
}

PortalScreenshot::PortalScreenshot(std::uint64_t freshForMs)
    : freshForMs_(freshForMs), cancellable_(g_cancellable_new()) {}

PortalScreenshot::~PortalScreenshot() {
  // A call still on its way finds itself cancelled and touches nothing of ours.
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
  StopListening();
  if (picture_ != nullptr) g_object_unref(picture_);
  if (bus_ != nullptr) g_object_unref(bus_);
}

PortalScreenshot::Answer PortalScreenshot::Take(const CopyGeometry& geometry, ScreenImage& out) {
  if (state_ == State::Answered && NowMs() - answeredAtMs_ > freshForMs_) {
    if (picture_ != nullptr) g_object_unref(picture_);
    picture_ = nullptr;
    state_ = State::Idle;
  }
  if (state_ == State::Idle) Start();
  if (state_ == State::Waiting) return Answer::Pending;
  state_ = State::Idle;
  if (picture_ == nullptr) return Answer::Failed;
  GdkPixbuf* picture = std::exchange(picture_, nullptr);
  const Rect part = MonitorPartOfPicture(geometry, Size{gdk_pixbuf_get_width(picture), gdk_pixbuf_get_height(picture)});
  GdkPixbuf* cropped = gdk_pixbuf_new_subpixbuf(picture, part.left, part.top, part.Width(), part.Height());
  g_object_unref(picture);
  if (cropped == nullptr) return Answer::Failed;
  const int width = geometry.monitor.Width() > 0 ? geometry.monitor.Width() : part.Width();
  const int height = geometry.monitor.Height() > 0 ? geometry.monitor.Height() : part.Height();
  GdkPixbuf* sized = part.Width() == width && part.Height() == height
                         ? cropped
                         : gdk_pixbuf_scale_simple(cropped, width, height, GDK_INTERP_BILINEAR);
  if (sized != cropped) g_object_unref(cropped);
  if (sized == nullptr) return Answer::Failed;
  CopyPixels(sized, out);
  g_object_unref(sized);
  return Answer::Ready;
}

void PortalScreenshot::Start() {
  if (bus_ == nullptr) {
    GError* error = nullptr;
    bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus_ == nullptr) {
      Finish(nullptr, std::string("no session bus: ") + error->message);
      g_error_free(error);
      return;
    }
    // The bus going away ends the magnifier's copies, not the program.
    g_dbus_connection_set_exit_on_close(bus_, FALSE);
  }
  const std::string token = "plumet" + std::to_string(++serial_);
  Listen(RequestPath(bus_, token));
  state_ = State::Waiting;
  GVariantBuilder options;
  g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
  g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
  g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(FALSE));
  g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(FALSE));
  g_dbus_connection_call(bus_, kPortalName, kPortalPath, kScreenshotInterface, "Screenshot",
                         g_variant_new("(sa{sv})", "", &options), G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, -1,
                         cancellable_, OnCallDone, this);
}

void PortalScreenshot::Listen(const std::string& handle) {
  StopListening();
  handle_ = handle;
  subscription_ = g_dbus_connection_signal_subscribe(bus_, nullptr, kRequestInterface, "Response", handle_.c_str(),
                                                     nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, this, nullptr);
}

void PortalScreenshot::StopListening() {
  if (subscription_ == 0) return;
  g_dbus_connection_signal_unsubscribe(bus_, subscription_);
  subscription_ = 0;
}

void PortalScreenshot::OnCallDone(GObject* source, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
  if (reply == nullptr) {
    // Cancelled: the client is gone, and self with it.
    if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
      auto* portal = static_cast<PortalScreenshot*>(self);
      if (portal->state_ == State::Waiting) portal->Finish(nullptr, error->message);
    }
    g_error_free(error);
    return;
  }
  auto* portal = static_cast<PortalScreenshot*>(self);
  const char* handle = nullptr;
  g_variant_get(reply, "(&o)", &handle);
  // Portals older than the handle token choose the path themselves.
  if (portal->state_ == State::Waiting && portal->handle_ != handle) portal->Listen(handle);
  g_variant_unref(reply);
}

void PortalScreenshot::OnResponse(GDBusConnection*, const char*, const char*, const char*, const char*,
                                  GVariant* parameters, gpointer self) {
  auto* portal = static_cast<PortalScreenshot*>(self);
  if (portal->state_ != State::Waiting) return;
  guint32 response = 2;
  GVariant* results = nullptr;
  g_variant_get(parameters, "(u@a{sv})", &response, &results);
  const char* uri = nullptr;
  if (response == 0 && g_variant_lookup(results, "uri", "&s", &uri))
    portal->LoadAnswer(uri);
  else
    portal->Finish(nullptr, response == 1 ? "the request was refused" : "the portal gave no picture");
  g_variant_unref(results);
}

void PortalScreenshot::LoadAnswer(const char* uri) {
  GError* error = nullptr;
  gchar* path = g_filename_from_uri(uri, nullptr, &error);
  GdkPixbuf* picture = path != nullptr ? gdk_pixbuf_new_from_file(path, &error) : nullptr;
  // The picture is ours to remove, read or not: it would stay in the user's folder.
  if (path != nullptr) g_unlink(path);
  g_free(path);
  Finish(picture, picture != nullptr ? "" : std::string("unreadable picture: ") + error->message);
  if (error != nullptr) g_error_free(error);
}

void PortalScreenshot::Finish(GdkPixbuf* picture, const std::string& failure) {
  StopListening();
  if (picture == nullptr) Notice(failure);
  picture_ = picture;
  state_ = State::Answered;
  answeredAtMs_ = NowMs();
}

}  // namespace plumet::backend::gtk
