/* The paced drag of the desktop benchmark, through XTest.
   drag points          print the path, one "x y" per line
   drag drag            press at the start, move along the path, release
   drag latency         press below the path, then make moves of 20 pixels
                        along y = LATENCY_Y and time each until its ink shows
                        at the segment's middle on the root window: single
                        moves after 100 ms of quiet, and the second of two
                        moves 1 ms apart; medians and maxima on stdout
   The path is a serpentine left of the palette: rows from x = 100 to 1700,
   60 pixels apart from y = 200, in steps of STEP pixels. Moves are timed
   against absolute deadlines so that a late wake-up does not stretch the
   drag; the wall time of the drag is printed on stderr. */
/* clock_nanosleep and CLOCK_MONOTONIC under a strict -std. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { MOVES = 5000, STEP = 3, INTERVAL_NS = 4000000, LEFT = 100, RIGHT = 1700, TOP = 200, ROW_GAP = 60 };
enum { LATENCY_SAMPLES = 30, LATENCY_STEP = 20, LATENCY_Y = 900 };

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

static unsigned long root_pixel(Display* display, int x, int y) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == NULL) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

static double now_s(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return seconds(&t);
}

static void pause_ms(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

/* Moves to x on the latency row and returns the seconds until the middle of
   the new segment changes colour on the root window (at most 1 s). */
static double time_move(Display* display, int x) {
  const int probe = x - LATENCY_STEP / 2;
  const unsigned long before = root_pixel(display, probe, LATENCY_Y);
  const double start = now_s();
  XTestFakeMotionEvent(display, -1, x, LATENCY_Y, CurrentTime);
  XFlush(display);
  while (root_pixel(display, probe, LATENCY_Y) == before && now_s() - start < 1.0) {
  }
  return now_s() - start;
}

static int by_value(const void* a, const void* b) {
  const double d = *(const double*)a - *(const double*)b;
  return (d > 0) - (d < 0);
}

static void report(const char* what, double* ms, int n) {
  qsort(ms, (size_t)n, sizeof *ms, by_value);
  printf("latency %s: median %.2f ms, max %.2f ms (%d samples)\n", what, ms[n / 2], ms[n - 1], n);
}

static int latency(Display* display) {
  double single[LATENCY_SAMPLES], second[LATENCY_SAMPLES];
  int x = LEFT;
  XTestFakeMotionEvent(display, -1, x, LATENCY_Y, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XSync(display, False);
  for (int i = 0; i < LATENCY_SAMPLES; i++) {
    pause_ms(100);
    x += LATENCY_STEP;
    single[i] = 1000 * time_move(display, x);
    pause_ms(100);
    x += LATENCY_STEP;
    XTestFakeMotionEvent(display, -1, x, LATENCY_Y, CurrentTime);
    XFlush(display);
    pause_ms(1);
    x += LATENCY_STEP;
    second[i] = 1000 * time_move(display, x);
  }
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XSync(display, False);
  report("single move after quiet", single, LATENCY_SAMPLES);
  report("second move 1 ms after another", second, LATENCY_SAMPLES);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "points") == 0) {
    for (int i = 0; i <= MOVES; i++) {
      int x, y;
      point(i, &x, &y);
      printf("%d %d\n", x, y);
    }
    return 0;
  }
  if (argc != 2 || (strcmp(argv[1], "drag") != 0 && strcmp(argv[1], "latency") != 0)) {
    fprintf(stderr, "usage: drag points|drag|latency\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) return 1;
  if (strcmp(argv[1], "latency") == 0) return latency(display);
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
