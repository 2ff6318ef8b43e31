#pragma once
// The program's named system sounds on X11: played through libcanberra (CanberraSound) in the
// sound theme XSETTINGS names, when the desktop allows them (XSETTINGS Net/EnableEventSounds
// and, as both are input feedback, Net/EnableInputFeedbackSounds; both on when no settings
// daemon runs).
#include <string_view>

#include "platform/sound/CanberraSound.h"
#include "platform/x11/X11Display.h"

namespace plat {

class X11XSettings;

class X11Sound {
 public:
  using State = CanberraSound::State;

  explicit X11Sound(X11Display& display);
  X11Sound(const X11Sound&) = delete;
  X11Sound& operator=(const X11Sound&) = delete;

  void Play(std::string_view systemSound);
  // Whether the desktop's settings allow our sounds at this moment.
  bool Allowed() const;
  static bool AllowedBy(const X11XSettings& settings);
  State Current() const { return FCanberra.Current(); }

 private:
  X11Display& FDisplay;
  CanberraSound FCanberra;
};

}  // namespace plat
