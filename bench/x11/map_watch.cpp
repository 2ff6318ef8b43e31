// Times a program from its start to the first window mapped on the screen, for
// bench/x11_program.sh: the same watcher times Vantrel and the bare window, so both figures
// carry the same fixed costs (one fork, one exec, one event read).
//
//   bench_x11_map_watch PROGRAM [ARGS...]
//
// Prints "PID MS" once a MapNotify arrives on the root (PID: the program; MS: milliseconds
// from just before the fork), then waits for the program to end, so whoever started the watcher
// can stop the program by PID and then wait for the watcher. Prints "PID none" and stops the
// program when nothing was mapped within 10 s (exit status 1). The program's standard output
// goes to the watcher's standard error, so only the figure is printed.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {
double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_x11_map_watch PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "bench_x11_map_watch: cannot open the display\n");
    return 2;
  }
  XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
  XSync(dpy, True);  // listening, and nothing older in the queue

  std::fflush(nullptr);
  const double start = NowMs();
  const pid_t pid = fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    close(ConnectionNumber(dpy));
    dup2(2, 1);
    execvp(argv[1], argv + 1);
    std::perror("bench_x11_map_watch: exec");
    _exit(127);
  }
  const double deadline = start + 10000;
  for (;;) {
    while (XPending(dpy) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type == MapNotify) {
        std::printf("%d %.2f\n", int(pid), NowMs() - start);
        std::fflush(stdout);
        XCloseDisplay(dpy);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return 0;
      }
    }
    const double now = NowMs();
    int status = 0;
    if (now >= deadline || waitpid(pid, &status, WNOHANG) == pid) break;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, int(deadline - now) < 50 ? int(deadline - now) + 1 : 50);
  }
  std::printf("%d none\n", int(pid));
  std::fflush(stdout);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return 1;
}
