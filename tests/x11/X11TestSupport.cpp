#include "X11TestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace x11test {

void Pump(plat::X11Platform& p, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    p.ProcessEvents(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool PumpUntil(plat::X11Platform& p, const std::function<bool()>& pred, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    p.ProcessEvents(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

int PumpUntilExit(plat::X11Platform& p, pid_t pid, int timeoutMs) {
  int status = 0;
  const bool done = PumpUntil(p, [&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
  if (!done) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TempPath(const std::string& name) {
  return "/tmp/vantrel-x11test-" + std::to_string(getpid()) + "-" + name;
}

plat::Rect ServerGeometry(Display* dpy, ::Window w) {
  ::Window root, child;
  int x, y;
  unsigned width, height, border, depth;
  XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth);
  XTranslateCoordinates(dpy, w, root, 0, 0, &x, &y, &child);
  return plat::Rect::FromXYWH(x, y, int(width), int(height));
}

int MapState(Display* dpy, ::Window w) {
  XWindowAttributes a{};
  XGetWindowAttributes(dpy, w, &a);
  return a.map_state;
}

}  // namespace x11test
