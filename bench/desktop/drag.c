/* The paced drag of the desktop benchmark, through XTest.
   drag points          print the path, one "x y" per line
   drag drag            press at the start, move along the path, release
   The path is a serpentine left of the palette: rows from x = 100 to 1700,
   60 pixels apart from y = 200, in steps of STEP pixels. Moves are timed
   against absolute deadlines so that a late wake-up does not stretch the
   drag; the wall time of the drag is printed on stderr. */
/* clock_nanosleep and CLOCK_MONOTONIC under a strict -std. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

enum { MOVES = 5000, STEP = 3, INTERVAL_NS = 4000000, LEFT = 100, RIGHT = 1700, TOP = 200, ROW_GAP = 60 };

/* Point i of the path: walk along the rows and the drops between them. */
static void point(int i, int* x, int* y) {
  const int row_len = RIGHT - LEFT;
  const int cycle = row_len + ROW_GAP;
  int d = i * STEP;
  const int row = d / cycle;
  d %= cycle;
  const int leftward = row % 2;
  if (d < row_len) {
    *x = leftward ? RIGHT - d : LEFT + d;
    *y = TOP + row * ROW_GAP;
  } else {
    *x = leftward ? LEFT : RIGHT;
    *y = TOP + row * ROW_GAP + (d - row_len);
  }
}

static void add_ns(struct timespec* t, long ns) {
  t->tv_nsec += ns;
  while (t->tv_nsec >= 1000000000L) {
    t->tv_nsec -= 1000000000L;
    t->tv_sec++;
  }
}

static double seconds(const struct timespec* t) { return (double)t->tv_sec + (double)t->tv_nsec / 1e9; }

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "points") == 0) {
    for (int i = 0; i <= MOVES; i++) {
      int x, y;
      point(i, &x, &y);
      printf("%d %d\n", x, y);
    }
    return 0;
  }
  if (argc != 2 || strcmp(argv[1], "drag") != 0) {
    fprintf(stderr, "usage: drag points|drag\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) return 1;
  int x, y;
  point(0, &x, &y);
  XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
  XSync(display, False);
  struct timespec next, start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XFlush(display);
  next = start;
  for (int i = 1; i <= MOVES; i++) {
    add_ns(&next, INTERVAL_NS);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    point(i, &x, &y);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XFlush(display);
  }
  add_ns(&next, INTERVAL_NS);
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XSync(display, False);
  clock_gettime(CLOCK_MONOTONIC, &end);
  fprintf(stderr, "drag: %d moves in %.3f s\n", MOVES, seconds(&end) - seconds(&start));
  XCloseDisplay(display);
  return 0;
}
