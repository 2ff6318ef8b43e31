#include "platform/Platform.h"

#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace plat {

namespace {
Platform* gCurrent = nullptr;
}

Platform& Platform::Current() {
  if (!gCurrent) throw std::logic_error("no platform has been set");
  return *gCurrent;
}

bool Platform::HasCurrent() { return gCurrent != nullptr; }

void Platform::SetCurrent(Platform* platform) { gCurrent = platform; }

gfx::Bitmap MapToDesktop(const gfx::Bitmap& picture, Size desktop) {
  if (picture.Width() == desktop.cx && picture.Height() == desktop.cy) return picture;
  gfx::Bitmap out(std::max(desktop.cx, 0), std::max(desktop.cy, 0), 0);
  if (picture.IsEmpty() || out.IsEmpty()) return out;
  const std::int64_t pw = picture.Width(), ph = picture.Height();
  for (int y = 0; y < out.Height(); ++y) {
    // The centre of desktop row y, (y + 0.5) / height of the way down, in whole numbers.
    const int sy = int(std::min<std::int64_t>(ph - 1, ((2 * y + 1) * ph) / (2 * std::int64_t(desktop.cy))));
    const gfx::TColor* src = picture.Row(sy);
    gfx::TColor* dst = out.Row(y);
    for (int x = 0; x < out.Width(); ++x)
      dst[x] = src[std::min<std::int64_t>(pw - 1, ((2 * x + 1) * pw) / (2 * std::int64_t(desktop.cx)))];
  }
  return out;
}

std::string Platform::ExecutableDir() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string path(buf, std::size_t(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace plat
