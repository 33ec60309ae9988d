/* The other program under the board in the desktop checks: a window over
   the whole screen, striped so that a black or cleared screen shows, that
   appends "press X Y" to its log for every left press it receives. */
#include <X11/Xlib.h>
#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: click_logger LOG\n");
    return 2;
  }
  FILE* log = fopen(argv[1], "a");
  Display* display = XOpenDisplay(NULL);
  if (log == NULL || display == NULL) return 1;
  const int screen = DefaultScreen(display);
  const unsigned width = (unsigned)DisplayWidth(display, screen);
  const unsigned height = (unsigned)DisplayHeight(display, screen);
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, 0, 0xC8B496);
  XSelectInput(display, window, ExposureMask | ButtonPressMask);
  XMapWindow(display, window);
  GC gc = XCreateGC(display, window, 0, NULL);
  XSetForeground(display, gc, 0x3C7850);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == Expose && event.xexpose.count == 0) {
      for (unsigned x = 0; x < width; x += 80) XFillRectangle(display, window, gc, (int)x, 0, 20, height);
      XFlush(display);
    } else if (event.type == ButtonPress && event.xbutton.button == Button1) {
      fprintf(log, "press %d %d\n", event.xbutton.x_root, event.xbutton.y_root);
      fflush(log);
    }
  }
}
