#pragma once
// The program's named system sounds and the bell, played as the freedesktop sound theme's
// events through libcanberra, for any backend. Whether the desktop allows them, and which
// theme it chose, is the backend's business; this class only plays.
//
// Never blocks for long: the sound context is opened at the first sound, playing is
// asynchronous, and a context that cannot be opened (no audio device, no sound server) is
// not tried again: the program simply stays silent. Built without libcanberra, it is always
// silent.
#include <set>
#include <string>
#include <string_view>

struct ca_context;  // libcanberra

namespace plat {

class CanberraSound {
 public:
  enum class State { Unopened, Ready, Failed, Unavailable };

  static constexpr const char* kDefaultTheme = "freedesktop";
  // What the X server's bell sounds like in a sound theme; the theme falls back to "bell".
  static constexpr std::string_view kBellEvent = "bell-window-system";

  // X11DISPLAY, when there is one, tells the sound server which display the sounds are for.
  explicit CanberraSound(std::string x11Display = {});
  ~CanberraSound();
  CanberraSound(const CanberraSound&) = delete;
  CanberraSound& operator=(const CanberraSound&) = delete;

  // The theme event for one of the program's sound names; empty for a name without one.
  static std::string_view EventId(std::string_view systemSound);

  // Plays EVENT (a theme event id, e.g. from EventId) of THEME; DESCRIPTION is what a sound
  // server lists it as.
  void Play(std::string_view event, const char* description, const std::string& theme = kDefaultTheme);
  // The named sound's event, if it has one.
  void PlayNamed(std::string_view systemSound, const std::string& theme = kDefaultTheme);

  State Current() const { return FState; }
  // The event last asked for, whether or not the theme, the device or the build could play it.
  const std::string& LastEvent() const { return FLastEvent; }

 private:
  bool OpenContext();
  void Close();

  std::string FX11Display;
  ::ca_context* FContext = nullptr;
  State FState;
  std::string FLastEvent;
  std::set<std::string> FMissing;  // "theme/event" pairs the theme does not have
};

}  // namespace plat
