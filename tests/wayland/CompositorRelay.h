#pragma once
// The compositor as tests need it changed: a relay on a socket of its own that passes every
// message between its clients and the real compositor, but for the registry's announcements
// of a hidden interface (a compositor without that protocol), and that can withdraw a global
// from its clients (an output unplugged, which a headless sway cannot do), or turn the screen
// copies it finishes into refusals. Runs on a thread of its own until destroyed.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wltest {

class CompositorRelay {
 public:
  // Throws std::runtime_error when the socket cannot be made.
  explicit CompositorRelay(const std::string& compositorSocket, const std::string& hiddenInterface = "");
  ~CompositorRelay();
  CompositorRelay(const CompositorRelay&) = delete;
  CompositorRelay& operator=(const CompositorRelay&) = delete;

  const std::string& Socket() const { return FPath; }  // absolute, for WAYLAND_DISPLAY
  // Tells every client that the global of INTERFACE announced last is gone.
  void WithdrawLast(const std::string& interface);
  // From now on, screen copies the compositor has made are refused instead (failed, not ready).
  void RefuseScreenCopies(bool refuse) { FRefuse = refuse; }

 private:
  void Run();

  std::string FTarget, FHidden, FPath;
  int FListen = -1;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FRefuse{false};
  std::mutex FLock;
  std::vector<std::string> FWithdraw;  // interfaces, for the relay's thread
  std::thread FThread;
};

}  // namespace wltest
