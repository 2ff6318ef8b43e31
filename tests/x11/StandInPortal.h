#pragma once
// The stand-in screenshot portal (screenshot_portal.py) on a test's private session bus, and
// the picture it serves.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/ImageFile.h"

namespace x11test {

// A process started through the shell, its first line of output kept; ended with this.
struct Helper {
  FILE* Pipe = nullptr;
  pid_t Pid = -1;
  std::string Line;
  explicit Helper(const std::string& command) {
    Pipe = popen(("echo $$; exec " + command).c_str(), "r");  // the shell's id becomes the command's
    char buf[512] = {};
    if (Pipe && std::fgets(buf, sizeof buf, Pipe)) Pid = std::atoi(buf);
    if (Pipe && std::fgets(buf, sizeof buf, Pipe)) Line = buf;
    if (!Line.empty() && Line.back() == '\n') Line.pop_back();
  }
  ~Helper() {
    if (Pid > 0) kill(Pid, SIGTERM);
    if (Pipe) pclose(Pipe);
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;
};

// The portal answering every call with RESPONSE (0: the picture PNG); its Line starts with
// "ready" once it owns the portal's name on $DBUS_SESSION_BUS_ADDRESS.
inline std::unique_ptr<Helper> StartStandInPortal(int response, const std::filesystem::path& png) {
  const std::string script = std::string(VANTREL_SOURCE_DIR) + "/tests/x11/screenshot_portal.py";
  return std::make_unique<Helper>("/usr/bin/python3 " + script + " " + std::to_string(response) + " " + png.string());
}

// The portal's screenshot of a desktop of WIDTH x HEIGHT on a monitor at scale 2: twice as
// many pixels each way; desktop pixel (x, y) is red x mod 256, green y mod 256, blue 0x55.
inline void WriteScaledShot(const std::filesystem::path& png, int width, int height) {
  gfx::Bitmap shot(2 * width, 2 * height);
  for (int y = 0; y < 2 * height; ++y)
    for (int x = 0; x < 2 * width; ++x) shot.At(x, y) = gfx::TColor((x / 2 & 0xFF) | (y / 2 & 0xFF) << 8 | 0x55 << 16);
  gfx::WritePngFile(png.string(), shot);
}

}  // namespace x11test
