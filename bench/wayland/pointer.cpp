// The pointer for bench/wayland_program.sh: a virtual pointer on the compositor of
// $WAYLAND_DISPLAY that moves a step every 20 ms for SECONDS, then ends. Debian ships no
// command-line virtual pointer.
//
//   bench_wayland_pointer screen|strip SECONDS
//     screen: across the 1024 x 768 screen, the path bench/x11_program.sh takes;
//     strip: to and fro along the strip at (100, 120), 500 long, through its ruler.
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {
zwlr_virtual_pointer_manager_v1* gManager = nullptr;
wl_seat* gSeat = nullptr;

void Global(void*, wl_registry* r, std::uint32_t name, const char* iface, std::uint32_t) {
  if (std::strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    gManager = static_cast<zwlr_virtual_pointer_manager_v1*>(wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
  else if (std::strcmp(iface, wl_seat_interface.name) == 0 && !gSeat)
    gSeat = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
}
void GlobalRemove(void*, wl_registry*, std::uint32_t) {}
}  // namespace

int main(int argc, char** argv) {
  const bool strip = argc == 3 && std::strcmp(argv[1], "strip") == 0;
  if (argc != 3 || (!strip && std::strcmp(argv[1], "screen") != 0) || std::atoi(argv[2]) <= 0) {
    std::fprintf(stderr, "usage: bench_wayland_pointer screen|strip SECONDS\n");
    return 2;
  }
  wl_display* d = wl_display_connect(nullptr);
  if (!d) {
    std::fprintf(stderr, "bench_wayland_pointer: no compositor\n");
    return 1;
  }
  static const wl_registry_listener kRegistry{Global, GlobalRemove};
  wl_registry_add_listener(wl_display_get_registry(d), &kRegistry, nullptr);
  wl_display_roundtrip(d);
  if (!gManager || !gSeat) {
    std::fprintf(stderr, "bench_wayland_pointer: the compositor offers no virtual pointer\n");
    return 1;
  }
  zwlr_virtual_pointer_v1* p = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(gManager, gSeat);
  const int steps = std::atoi(argv[2]) * 50;
  auto next = std::chrono::steady_clock::now();
  for (int s = 0; s < steps; ++s) {
    int x, y;
    if (strip) {
      x = 100 + (s * 7) % 998;
      if (x > 599) x = 1198 - x;
      y = 150;
    } else {
      x = (s * 13) % 2046;
      if (x > 1023) x = 2046 - x;
      y = (s * 7) % 1534;
      if (y > 767) y = 1534 - y;
    }
    zwlr_virtual_pointer_v1_motion_absolute(p, std::uint32_t(s * 20), std::uint32_t(x), std::uint32_t(y), 1024, 768);
    zwlr_virtual_pointer_v1_frame(p);
    if (wl_display_flush(d) < 0) return 1;
    next += std::chrono::milliseconds(20);
    std::this_thread::sleep_until(next);
  }
  wl_display_roundtrip(d);
  zwlr_virtual_pointer_v1_destroy(p);
  wl_display_disconnect(d);
  return 0;
}
