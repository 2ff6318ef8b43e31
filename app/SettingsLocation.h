#pragma once
// Where the settings file lives: "Vantrel.ini" beside the executable when that folder can be
// written (a portable copy), else $XDG_CONFIG_HOME/vantrel/Vantrel.ini (default
// ~/.config/vantrel/), whose folder is created when needed.
#include <string>

constexpr const char* kSettingsFileName = "Vantrel.ini";

// EXEDIR is the executable's folder, ending with '/'.
std::string SettingsFilePath(const std::string& exeDir);
