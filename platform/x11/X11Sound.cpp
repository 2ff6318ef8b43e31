#include "platform/x11/X11Sound.h"

#include <X11/Xlib.h>

#include "platform/x11/X11XSettings.h"

namespace plat {

namespace {
std::string DisplayName(X11Display& display) {
  const char* name = display.Dpy() ? DisplayString(display.Dpy()) : nullptr;
  return name ? name : "";
}
}  // namespace

X11Sound::X11Sound(X11Display& display) : FDisplay(display), FCanberra(DisplayName(display)) {}

bool X11Sound::Allowed() const {
  if (FDisplay.ConnectionLost()) return false;
  return AllowedBy(X11XSettings::Read(FDisplay.Dpy(), FDisplay.ScreenNumber()));
}

bool X11Sound::AllowedBy(const X11XSettings& s) {
  // Menu sounds are input feedback, which desktops switch separately from event sounds.
  return s.Int("Net/EnableEventSounds").value_or(1) != 0 && s.Int("Net/EnableInputFeedbackSounds").value_or(1) != 0;
}

void X11Sound::Play(std::string_view systemSound) {
  // Checked before the settings are read: those cost a round trip to the server.
  if (CanberraSound::EventId(systemSound).empty() || FCanberra.Current() == State::Failed ||
      FDisplay.ConnectionLost())
    return;
  const X11XSettings s = X11XSettings::Read(FDisplay.Dpy(), FDisplay.ScreenNumber());
  if (!AllowedBy(s)) return;
  FCanberra.PlayNamed(systemSound, s.String("Net/SoundThemeName").value_or(CanberraSound::kDefaultTheme));
}

}  // namespace plat
