#include "platform/wayland/WaylandKeys.h"

#include "platform/KeySyms.h"

namespace plat {

int WaylandKeys::VirtualKeyOf(xkb_keysym_t ks) { return VirtualKeyOfKeySym(ks); }

ShiftState WaylandKeys::ShiftOf(xkb_state* state) {
  if (!state) return 0;
  ShiftState s = 0;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssShift;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssCtrl;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssAlt;
  return s;
}

ShiftState WaylandKeys::ModifierFlagOf(int vk) { return ModifierFlagOfVirtualKey(vk); }

}  // namespace plat
