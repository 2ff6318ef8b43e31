#pragma once
// Shared pieces of the X11 tests: a listener that records what arrives, and ways to let the
// event loop run while another program (xdotool, xclip) talks to the server.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/x11/X11Platform.h"

namespace x11test {

struct RecordingListener : plat::WindowListener {
  std::vector<plat::MouseEvent> Downs, Ups, Moves;
  std::vector<plat::KeyEvent> KeyDowns, KeyUps;
  std::vector<std::string> Chars;
  std::vector<int> Wheel;
  std::vector<plat::Rect> Moved;
  std::vector<bool> Activations;
  int Leaves = 0, CloseRequests = 0, CaptureLost = 0;
  std::function<void(const plat::MouseEvent&)> OnDown;

  void OnMouseMove(const plat::MouseEvent& e) override { Moves.push_back(e); }
  void OnMouseDown(const plat::MouseEvent& e) override {
    Downs.push_back(e);
    if (OnDown) OnDown(e);
  }
  void OnMouseUp(const plat::MouseEvent& e) override { Ups.push_back(e); }
  void OnMouseWheel(const plat::MouseEvent&, int delta) override { Wheel.push_back(delta); }
  void OnMouseLeave() override { ++Leaves; }
  void OnKeyDown(const plat::KeyEvent& e) override { KeyDowns.push_back(e); }
  void OnKeyUp(const plat::KeyEvent& e) override { KeyUps.push_back(e); }
  void OnChar(std::string_view s) override { Chars.emplace_back(s); }
  void OnActivate(bool a) override { Activations.push_back(a); }
  void OnCloseRequest() override { ++CloseRequests; }
  void OnMoved(const plat::Rect& r) override { Moved.push_back(r); }
  void OnCaptureLost() override { ++CaptureLost; }
};

// Runs the loop without waiting for MS milliseconds.
void Pump(plat::X11Platform& p, int ms);
// Runs the loop until PRED holds or TIMEOUTMS pass; answers PRED.
bool PumpUntil(plat::X11Platform& p, const std::function<bool()>& pred, int timeoutMs = 3000);
// Runs the loop until child PID exits; its exit status, or -1 on timeout (then it is killed).
int PumpUntilExit(plat::X11Platform& p, pid_t pid, int timeoutMs = 10000);
std::string ReadFile(const std::string& path);
std::string TempPath(const std::string& name);

// Where a window really is, asked through a separate connection.
plat::Rect ServerGeometry(Display* dpy, ::Window w);
int MapState(Display* dpy, ::Window w);

}  // namespace x11test
