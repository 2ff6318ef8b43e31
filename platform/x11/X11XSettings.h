#pragma once
// The desktop's XSETTINGS (the settings a desktop's settings daemon publishes to every X
// client: sound theme, whether event sounds are on, ...), read from the _XSETTINGS_S<screen>
// selection owner's _XSETTINGS_SETTINGS property.
#include <X11/Xlib.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace plat {

class X11XSettings {
 public:
  // No settings: no settings daemon runs, or its data could not be read.
  X11XSettings() = default;
  // The settings published for SCREEN now (an empty set without a settings daemon).
  static X11XSettings Read(Display* dpy, int screen);
  // Decodes the property's bytes; whatever lies past a damaged entry is dropped.
  static X11XSettings Parse(const std::uint8_t* data, std::size_t size);

  std::optional<int> Int(const std::string& name) const;
  std::optional<std::string> String(const std::string& name) const;
  std::size_t Count() const { return FInts.size() + FStrings.size(); }

 private:
  std::map<std::string, int> FInts;
  std::map<std::string, std::string> FStrings;
};

}  // namespace plat
