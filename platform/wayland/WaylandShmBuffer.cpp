#include "platform/wayland/WaylandShmBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

namespace plat {

WaylandShmBuffer::WaylandShmBuffer(wl_shm* shm, int width, int height, std::uint32_t format) : FWidth(width), FHeight(height) {
  if (width <= 0 || height <= 0) return;
  FBytes = std::size_t(width) * std::size_t(height) * 4;
  const int fd = memfd_create("vantrel-buffer", MFD_CLOEXEC);
  if (fd < 0) return;
  if (ftruncate(fd, off_t(FBytes)) != 0) {
    close(fd);
    return;
  }
  void* p = mmap(nullptr, FBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (p == MAP_FAILED) {
    close(fd);
    return;
  }
  FPixels = static_cast<std::uint32_t*>(p);
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int(FBytes));
  FBuffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, format);
  wl_shm_pool_destroy(pool);
  close(fd);
  static const wl_buffer_listener kListener{&WaylandShmBuffer::OnRelease};
  wl_buffer_add_listener(FBuffer, &kListener, this);
  FStale = {0, 0, width, height};  // nothing drawn yet
}

WaylandShmBuffer::~WaylandShmBuffer() {
  if (FBuffer) wl_buffer_destroy(FBuffer);
  if (FPixels) munmap(FPixels, FBytes);
}

void WaylandShmBuffer::OnRelease(void* data, wl_buffer*) { static_cast<WaylandShmBuffer*>(data)->FBusy = false; }

}  // namespace plat
