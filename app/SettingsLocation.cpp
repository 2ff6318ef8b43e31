#include "app/SettingsLocation.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

std::string SettingsFilePath(const std::string& exeDir) {
  if (!exeDir.empty() && ::access(exeDir.c_str(), W_OK) == 0) return exeDir + kSettingsFileName;
  std::filesystem::path dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    dir = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    dir = std::filesystem::path(home) / ".config";
  } else {
    // Nowhere better to go: the executable's folder, where writing will fail with a message.
    return exeDir + kSettingsFileName;
  }
  dir /= "vantrel";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return (dir / kSettingsFileName).string();
}
