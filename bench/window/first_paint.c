/* first_paint COMMAND [ARGS...]: starts COMMAND and reports how long it
 * took until its window showed its first picture: the first damage (any
 * drawing) to a top-level window that appeared after the start. Prints
 * "PID MILLISECONDS" and leaves the program running, its standard output
 * sent to /dev/null. Used by ./bench to
 * time both games the same way, whatever they draw with. Exit status 1
 * when no window was drawn within 20 s. */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int IgnoreErrors(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  return 0; /* a window may be gone before we look at it */
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: first_paint COMMAND [ARGS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  int damageEvent = 0, damageError = 0;
  if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
    fprintf(stderr, "first_paint: no X display with the DAMAGE extension\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const double start = Now();
  pid_t child = fork();
  if (child == 0) {
    /* The report is the only thing on our standard output. */
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  const int fd = ConnectionNumber(display);
  while (Now() - start < 20000) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == CreateNotify) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, event.xcreatewindow.window, &attributes) && attributes.class == InputOutput) {
          XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        }
      } else if (event.type == damageEvent + XDamageNotify) {
        printf("%d %.0f\n", (int)child, Now() - start);
        return 0;
      }
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    struct timeval wait = {0, 5000};
    select(fd + 1, &readable, NULL, NULL, &wait);
  }
  printf("%d -1\n", (int)child);
  return 1;
}
