/* Two helpers for the raise-war check.
 *   raise_war cover X Y W H   a window that raises itself, unthrottled, each
 *                             time another window comes to lie over it, as
 *                             overlays and floating video windows do
 *   raise_war count SECONDS   prints the restacks of top-level windows seen in
 *                             that time and the slowest server round trip, ms */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int covered(Display *d, Window root, Window self, XRectangle me) {
  Window r, p, *kids = NULL;
  unsigned n = 0;
  int above = 0, hit = 0;
  if (!XQueryTree(d, root, &r, &p, &kids, &n)) return 0;
  for (unsigned i = 0; i < n && !hit; ++i) {
    XWindowAttributes a;
    if (kids[i] == self) { above = 1; continue; }
    if (!above || !XGetWindowAttributes(d, kids[i], &a) || a.map_state != IsViewable) continue;
    hit = a.x < me.x + me.width && me.x < a.x + a.width && a.y < me.y + me.height && me.y < a.y + a.height;
  }
  if (kids) XFree(kids);
  return hit;
}

static void cover(Display *d, Window root, XRectangle me) {
  XSetWindowAttributes attributes;
  attributes.override_redirect = True;
  attributes.background_pixel = 0x2080C0;
  Window self = XCreateWindow(d, root, me.x, me.y, me.width, me.height, 0, CopyFromParent, InputOutput,
                              CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XSelectInput(d, root, SubstructureNotifyMask);
  XMapRaised(d, self);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if ((e.type == ConfigureNotify && e.xconfigure.window != self) || (e.type == MapNotify && e.xmap.window != self)) {
      if (covered(d, root, self, me)) XRaiseWindow(d, self);
      XFlush(d);
    }
  }
}

static int count(Display *d, Window root, double seconds) {
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);
  long restacks = 0;
  double slowest = 0, end = now_ms() + seconds * 1000.0;
  while (now_ms() < end) {
    const double asked = now_ms();
    XSync(d, False);
    if (now_ms() - asked > slowest) slowest = now_ms() - asked;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == ConfigureNotify) ++restacks;
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(ConnectionNumber(d), &fds);
    struct timeval wait = {0, 100000};
    select(ConnectionNumber(d) + 1, &fds, NULL, NULL, &wait);
  }
  printf("%ld %d\n", restacks, (int)slowest);
  return 0;
}

int main(int argc, char **argv) {
  Display *d = XOpenDisplay(NULL);
  if (!d) return 2;
  Window root = DefaultRootWindow(d);
  if (argc == 6 && strcmp(argv[1], "cover") == 0) {
    XRectangle me = {(short)atoi(argv[2]), (short)atoi(argv[3]), (unsigned short)atoi(argv[4]),
                     (unsigned short)atoi(argv[5])};
    cover(d, root, me);
  }
  if (argc == 3 && strcmp(argv[1], "count") == 0) return count(d, root, atof(argv[2]));
  fprintf(stderr, "usage: raise_war cover X Y W H | raise_war count SECONDS\n");
  return 2;
}
