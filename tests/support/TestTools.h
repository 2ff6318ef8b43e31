#pragma once
// Small tools the X11 and the Wayland program tests share.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "graphics/ImageFile.h"
#include "graphics/Types.h"

namespace testtools {

// Whether PROGRAM can be run from the PATH.
inline bool InPath(const std::string& program) {
  const char* env = std::getenv("PATH");
  std::stringstream dirs(env ? env : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (access(((dir.empty() ? "." : dir) + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

// The scenario runner's command that writes the picture of R to SHOT (a .bmp).
inline std::string ShotCommand(const std::filesystem::path& shot, const gfx::Rect& r) {
  return "shot " + shot.string() + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.Width()) + " " + std::to_string(r.Height()) + "\n";
}

// The picture that command wrote; a blank one, and a failed test, when it wrote none.
inline gfx::Bitmap ReadShot(const std::filesystem::path& shot, const gfx::Rect& r) {
  try {
    return gfx::ReadBmpFile(shot.string());
  } catch (const std::exception& e) {
    ADD_FAILURE() << "no screenshot from the virtual desktop: " << e.what();
    return gfx::Bitmap(r.Width(), r.Height());
  }
}

}  // namespace testtools
