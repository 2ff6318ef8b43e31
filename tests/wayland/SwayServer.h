#pragma once
// A private headless sway for one test, started as an unprivileged user (sway refuses root)
// with a runtime folder of its own; the program under test connects to its socket by path.
#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/TestTools.h"

namespace wltest {

class SwayServer {
 public:
  // Throws std::runtime_error with the reason when sway cannot be started (not installed
  // included): tests fail, never skip, on a machine that cannot run them.
  // TRANSFORM turns the output ("90", "flipped-270" ...), which sway can do only at its start.
  explicit SwayServer(int width = 1024, int height = 768, const std::string& transform = "normal");
  ~SwayServer();
  SwayServer(const SwayServer&) = delete;
  SwayServer& operator=(const SwayServer&) = delete;

  const std::string& Socket() const { return FSocket; }  // absolute, for WAYLAND_DISPLAY
  // The X11 display sway's XWayland serves (":1"), as sway hands it to the programs it starts,
  // opened to root, who runs the program under test; empty when it has none.
  std::string XDisplay() const;
  // Runs ARGV as a client of this compositor and waits for it (10 s at most); its exit status
  // (-1 when it failed or was killed) and, with OUT, what it wrote on standard output.
  int Run(const std::vector<std::string>& argv, std::string* out = nullptr) const;
  // Runs a sway command through its IPC socket ("create_output" ...); swaymsg's exit status.
  int Command(const std::string& command) const;

 private:
  std::string FDir;
  std::string FSocket;
  pid_t FPid = -1;
};

using testtools::InPath;

}  // namespace wltest
