#include "app/SettingsLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

TEST(SettingsLocation, BesideTheProgramWhenWritableElseInTheConfigFolder) {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path() / ("vantrel-loc-" + std::to_string(::getpid()));
  fs::create_directories(base / "bin");
  EXPECT_EQ(SettingsFilePath((base / "bin").string() + "/"), (base / "bin" / "Vantrel.ini").string());

  // A folder that cannot be written (here: one that does not exist) sends it to XDG_CONFIG_HOME.
  const std::string missing = (base / "no-such-folder").string() + "/";
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", (base / "config").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(missing), (base / "config" / "vantrel" / "Vantrel.ini").string());
  EXPECT_TRUE(fs::is_directory(base / "config" / "vantrel"));

  // Without XDG_CONFIG_HOME (or with a relative one): ~/.config/vantrel.
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  ::setenv("HOME", (base / "home").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(missing), (base / "home" / ".config" / "vantrel" / "Vantrel.ini").string());
  if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
  if (oldXdg) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
  fs::remove_all(base);
}
