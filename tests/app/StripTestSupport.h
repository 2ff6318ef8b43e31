#pragma once
// Runs Vantrel on the virtual desktop through the scenario runner, in a fresh folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tools/scenario/ProgramEntry.h"
#include "tools/scenario/Runner.h"

struct StripRun {
  int Status = 0;
  std::string Out;
  std::string Err;

  // The value of "prop PATH" lines, by path.
  std::map<std::string, std::string> Props() const {
    std::map<std::string, std::string> props;
    std::istringstream in(Out);
    for (std::string line; std::getline(in, line);) {
      auto eq = line.find(" = ");
      if (eq != std::string::npos) props[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return props;
  }
  // The lines that are not prop lines, in order.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> lines;
    std::istringstream in(Out);
    for (std::string line; std::getline(in, line);)
      if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
  }
};

class StripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = std::filesystem::temp_directory_path() /
           ("vantrel-strip-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  // WALLPAPER, when given, lies on the desktop from its top-left corner.
  StripRun Run(const std::string& script, const gfx::Bitmap* wallpaper = nullptr) {
    std::ostringstream out, err;
    scenario::Runner runner(scenario::ProgramMain, FDir.string(), out, err);
    if (wallpaper) runner.Desktop().SetWallpaper(*wallpaper);
    StripRun r;
    r.Status = runner.Run(script);
    r.Out = out.str();
    r.Err = err.str();
    EXPECT_EQ(r.Status, 0) << r.Err;
    return r;
  }
  // A settings file holding LINES (joined with CR LF).
  static std::string Settings(const std::string& lines) { return "file Vantrel.ini <<<\n" + lines + "\n>>>\n"; }

  std::filesystem::path FDir;
};

// A screenshot taken with "shot FILE.bmp ..." during a run.
#include "graphics/ImageFile.h"

// Dark pixels: text drawn in black, smoothed edges included.
inline bool IsInk(gfx::TColor c) { return gfx::GetRValue(c) + gfx::GetGValue(c) + gfx::GetBValue(c) < 3 * 110; }

inline gfx::Rect InkBounds(const gfx::Bitmap& b) {
  gfx::Rect r{b.Width(), b.Height(), 0, 0};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (IsInk(b.At(x, y))) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
  return r;
}
