/* A stand-in for the desktop's screenshot portal on a private session bus:
 * answers org.freedesktop.portal.Screenshot with a picture of four coloured
 * quarters written to a fresh file (the caller removes it).
 *   portal_stand_in [--size WxH] [--delay MS] [--refuse] [--dir DIR]
 * --delay answers that late, as after a permission prompt; --refuse answers
 * as a user who said no. Prints "ready" once it owns the portal's name. */
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int width = 1280, height = 800, delay_ms = 0, refuse = 0;
static const char* dir = NULL;
static unsigned serial = 0;

static const char introspection[] =
    "<node><interface name='org.freedesktop.portal.Screenshot'>"
    "<method name='Screenshot'><arg type='s' direction='in'/><arg type='a{sv}' direction='in'/>"
    "<arg type='o' direction='out'/></method></interface></node>";

/* Quarters, top left, top right, bottom left, bottom right: the tests know them. */
static const guint8 quarters[4][3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};

typedef struct {
  GDBusConnection* bus;
  char* caller;
  char* handle;
} Pending;

static char* write_picture(void) {
  GdkPixbuf* picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  guint8* pixels = gdk_pixbuf_get_pixels(picture);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) memcpy(pixels + y * stride + x * 3, quarters[(y >= height / 2) * 2 + (x >= width / 2)], 3);
  char* path = g_strdup_printf("%s/shot-%u.png", dir, ++serial);
  GError* error = NULL;
  if (!gdk_pixbuf_save(picture, path, "png", &error, NULL)) {
    fprintf(stderr, "portal_stand_in: %s\n", error->message);
    exit(1);
  }
  g_object_unref(picture);
  return path;
}

static gboolean answer(gpointer data) {
  Pending* pending = data;
  GVariantBuilder results;
  g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
  if (!refuse) {
    char* path = write_picture();
    char* uri = g_filename_to_uri(path, NULL, NULL);
    g_variant_builder_add(&results, "{sv}", "uri", g_variant_new_string(uri));
    g_free(uri);
    g_free(path);
  }
  g_dbus_connection_emit_signal(pending->bus, pending->caller, pending->handle, "org.freedesktop.portal.Request",
                                "Response", g_variant_new("(ua{sv})", refuse ? 1u : 0u, &results), NULL);
  g_free(pending->caller);
  g_free(pending->handle);
  g_free(pending);
  return G_SOURCE_REMOVE;
}

static void on_call(GDBusConnection* bus, const char* sender, const char* path, const char* interface,
                    const char* method, GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
  (void)path, (void)interface, (void)method, (void)data;
  GVariant* options = g_variant_get_child_value(parameters, 1);
  const char* token = "t";
  g_variant_lookup(options, "handle_token", "&s", &token);
  char* name = g_strdup(sender + 1);
  g_strdelimit(name, ".", '_');
  Pending* pending = g_new0(Pending, 1);
  pending->bus = bus;
  pending->caller = g_strdup(sender);
  pending->handle = g_strdup_printf("/org/freedesktop/portal/desktop/request/%s/%s", name, token);
  g_free(name);
  g_variant_unref(options);
  g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", pending->handle));
  g_timeout_add(delay_ms, answer, pending);
}

static void on_bus(GDBusConnection* bus, const char* name, gpointer data) {
  (void)name, (void)data;
  static const GDBusInterfaceVTable vtable = {on_call, NULL, NULL, {0}};
  GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(introspection, NULL);
  g_dbus_connection_register_object(bus, "/org/freedesktop/portal/desktop", info->interfaces[0], &vtable, NULL,
                                    NULL, NULL);
  g_dbus_node_info_unref(info);
}

static void on_name(GDBusConnection* bus, const char* name, gpointer data) {
  (void)bus, (void)name, (void)data;
  printf("ready\n");
  fflush(stdout);
}

static void on_name_lost(GDBusConnection* bus, const char* name, gpointer data) {
  (void)bus, (void)data;
  fprintf(stderr, "portal_stand_in: cannot own %s\n", name);
  exit(1);
}

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--size") == 0 && i + 1 < argc && sscanf(argv[i + 1], "%dx%d", &width, &height) == 2) ++i;
    else if (strcmp(argv[i], "--delay") == 0 && i + 1 < argc) delay_ms = atoi(argv[++i]);
    else if (strcmp(argv[i], "--refuse") == 0) refuse = 1;
    else if (strcmp(argv[i], "--dir") == 0 && i + 1 < argc) dir = argv[++i];
    else {
      fprintf(stderr, "usage: portal_stand_in [--size WxH] [--delay MS] [--refuse] [--dir DIR]\n");
      return 2;
    }
  }
  if (dir == NULL) dir = g_get_tmp_dir();
  g_bus_own_name(G_BUS_TYPE_SESSION, "org.freedesktop.portal.Desktop", G_BUS_NAME_OWNER_FLAGS_NONE, on_bus, on_name,
                 on_name_lost, NULL, NULL);
  g_main_loop_run(g_main_loop_new(NULL, FALSE));
  return 0;
}
