#pragma once
// A compositor without one protocol, for tests: a relay on a socket of its own that passes
// every message between its clients and the real compositor, but for the registry's
// announcements of the hidden interface. Runs on a thread of its own until destroyed.
#include <atomic>
#include <string>
#include <thread>

namespace wltest {

class GlobalHidingRelay {
 public:
  // Throws std::runtime_error when the socket cannot be made.
  GlobalHidingRelay(const std::string& compositorSocket, const std::string& hiddenInterface);
  ~GlobalHidingRelay();
  GlobalHidingRelay(const GlobalHidingRelay&) = delete;
  GlobalHidingRelay& operator=(const GlobalHidingRelay&) = delete;

  const std::string& Socket() const { return FPath; }  // absolute, for WAYLAND_DISPLAY

 private:
  void Run();

  std::string FTarget, FHidden, FPath;
  int FListen = -1;
  std::atomic<bool> FStop{false};
  std::thread FThread;
};

}  // namespace wltest
