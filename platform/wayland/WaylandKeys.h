#pragma once
// xkbcommon key symbols and modifier state turned into the virtual-key codes and shift state
// the toolkit works with (the same codes the X11 backend gives: xkb and X key symbols agree).
#include <xkbcommon/xkbcommon.h>

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
};

}  // namespace plat
