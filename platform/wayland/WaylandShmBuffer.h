#pragma once
// One ARGB8888 picture in shared memory that the compositor reads: a wl_buffer over a memfd,
// busy from its attach until the compositor releases it.
#include <wayland-client.h>

#include <cstdint>

#include "graphics/Types.h"

namespace plat {

class WaylandShmBuffer {
 public:
  // Null Buffer() when the memory could not be had. Rows are WIDTH pixels of 4 bytes.
  WaylandShmBuffer(wl_shm* shm, int width, int height, std::uint32_t format = WL_SHM_FORMAT_ARGB8888);
  ~WaylandShmBuffer();
  WaylandShmBuffer(const WaylandShmBuffer&) = delete;
  WaylandShmBuffer& operator=(const WaylandShmBuffer&) = delete;

  wl_buffer* Buffer() const { return FBuffer; }
  std::uint32_t* Row(int y) { return FPixels + std::size_t(y) * std::size_t(FWidth); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Busy() const { return FBusy; }
  void SetBusy() { FBusy = true; }
  // What changed in the window since this buffer was last brought up to date.
  gfx::Rect& Stale() { return FStale; }

 private:
  static void OnRelease(void* data, wl_buffer* buffer);

  wl_buffer* FBuffer = nullptr;
  std::uint32_t* FPixels = nullptr;
  std::size_t FBytes = 0;
  int FWidth;
  int FHeight;
  bool FBusy = false;
  gfx::Rect FStale;
};

}  // namespace plat
