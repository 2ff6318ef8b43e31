// The baseline for the start-up figures of bench/x11_program.sh: the least an Xlib program does
// to put a strip-sized window (640 x 58) on the screen. It maps the window and waits.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "bench_x11_bare_window: cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(dpy);
  const Window w = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 100, 120, 640, 58, 0,
                                       BlackPixel(dpy, screen), WhitePixel(dpy, screen));
  XMapWindow(dpy, w);
  XFlush(dpy);
  for (XEvent ev;;) XNextEvent(dpy, &ev);
}
