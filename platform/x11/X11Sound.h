#pragma once
// The program's named system sounds, played as the freedesktop sound theme's events through
// libcanberra, when the desktop allows them (XSETTINGS Net/EnableEventSounds and, as both are
// input feedback, Net/EnableInputFeedbackSounds; both on when no settings daemon runs).
//
// Never blocks for long: the sound context is opened at the first sound, playing is
// asynchronous, and a context that cannot be opened (no audio device, no sound server) is
// not tried again: the program simply stays silent. Built without libcanberra, it is always
// silent.
#include <set>
#include <string>
#include <string_view>

#include "platform/x11/X11Display.h"

struct ca_context;  // libcanberra

namespace plat {

class X11XSettings;

class X11Sound {
 public:
  enum class State { Unopened, Ready, Failed, Unavailable };

  explicit X11Sound(X11Display& display);
  ~X11Sound();
  X11Sound(const X11Sound&) = delete;
  X11Sound& operator=(const X11Sound&) = delete;

  // The theme event for one of the program's sound names; empty for a name without one.
  static std::string_view EventId(std::string_view systemSound);

  void Play(std::string_view systemSound);
  // Whether the desktop's settings allow our sounds at this moment.
  bool Allowed() const;
  static bool AllowedBy(const X11XSettings& settings);
  State Current() const { return FState; }

 private:
  bool OpenContext();
  void Close();

  X11Display& FDisplay;
  ::ca_context* FContext = nullptr;
  State FState;
  std::set<std::string> FMissing;  // "theme/event" pairs the theme does not have
};

}  // namespace plat
