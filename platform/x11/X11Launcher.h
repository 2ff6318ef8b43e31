#pragma once
// Starts helper programs (xdg-open) directly with an argument list, never through a shell,
// and reaps them without blocking so no zombies pile up.
#include <sys/types.h>

#include <string>
#include <vector>

namespace plat {

class X11Launcher {
 public:
  X11Launcher() = default;
  ~X11Launcher();
  X11Launcher(const X11Launcher&) = delete;
  X11Launcher& operator=(const X11Launcher&) = delete;

  // Runs ARGV[0] (looked up in PATH) with ARGV; false with a message in ERROR when it could
  // not be started (not found, not executable). Does not wait for it to finish.
  bool Spawn(const std::vector<std::string>& argv, std::string& error);
  // Collects children that have finished (waitpid WNOHANG); called from the event loop.
  void Reap();
  std::size_t Running() const { return FChildren.size(); }

 private:
  std::vector<pid_t> FChildren;
};

}  // namespace plat
