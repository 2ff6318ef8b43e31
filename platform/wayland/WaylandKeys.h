#pragma once
// xkbcommon key symbols and modifier state turned into the virtual-key codes and shift state
// the toolkit works with (the same codes the X11 backend gives: xkb and X key symbols agree),
// and key presses into text, dead keys and compose sequences included.
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>
#include <string>

#include "platform/Keys.h"

namespace plat {

class WaylandKeys {
 public:
  // The virtual-key code of the key symbol KS, or 0 when it has none.
  static int VirtualKeyOf(xkb_keysym_t ks);
  // Shift, Ctrl and Alt as STATE has them in effect.
  static ShiftState ShiftOf(xkb_state* state);
  // The modifier flag a modifier key itself sets (ssShift for VK_SHIFT ...), or 0.
  static ShiftState ModifierFlagOf(int vk);

  // Compose sequences from the table of COMPOSE_LOCALE, else of the user's locale (LC_ALL,
  // LC_CTYPE, LANG, else "C"). The table is read at the first press: start-up stays quick.
  explicit WaylandKeys(xkb_context* xkb, std::string composeLocale = {});
  WaylandKeys(const WaylandKeys&) = delete;
  WaylandKeys& operator=(const WaylandKeys&) = delete;

  // What the key's repeats type.
  enum class Repeat {
    Keymap,  // what the keymap gives in the modifiers of the moment, as a press would
    Same,    // the press's text again (the key finished a sequence)
    None     // nothing: a held dead key types no more
  };
  // What a press of a key gives.
  struct Press {
    std::string Text;  // UTF-8; empty while a sequence is being typed or when it was cancelled
    Repeat Repeats = Repeat::Keymap;
    bool Swallow = false;  // Escape that cancelled a sequence: no window is to see it
    // The key finished a sequence: windows get its text, not the key (as the X input method
    // hands on a composed character alone), so ´ then u types "ú" and does not change the strip's unit.
    bool TextOnly = false;
  };
  // Feeds a press of KEYCODE, in STATE's modifiers, to the compose sequence.
  Press TextOfPress(xkb_state* state, xkb_keycode_t keycode);
  // The text the keymap gives KEYCODE in STATE's modifiers.
  static std::string KeymapText(xkb_state* state, xkb_keycode_t keycode);
  // Forgets a sequence begun (the keyboard went to another window).
  void Reset();

 private:
  void LoadCompose();

  std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> FXkb;
  std::string FLocale;
  bool FComposeTried = false;
  std::unique_ptr<xkb_compose_state, decltype(&xkb_compose_state_unref)> FCompose{nullptr, &xkb_compose_state_unref};
};

}  // namespace plat
