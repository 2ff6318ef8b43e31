#include "platform/wayland/WaylandKeys.h"

#include <cstdlib>

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

WaylandKeys::WaylandKeys(xkb_context* xkb, std::string composeLocale)
    : FXkb(xkb_context_ref(xkb), &xkb_context_unref), FLocale(std::move(composeLocale)) {}

void WaylandKeys::LoadCompose() {
  FComposeTried = true;
  if (FLocale.empty()) {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
      const char* v = std::getenv(name);
      if (v && *v) {
        FLocale = v;
        break;
      }
    }
  }
  xkb_compose_table* table = nullptr;
  if (!FLocale.empty()) table = xkb_compose_table_new_from_locale(FXkb.get(), FLocale.c_str(), XKB_COMPOSE_COMPILE_NO_FLAGS);
  // A locale without a table of its own still gets the dead keys every table has.
  if (!table) table = xkb_compose_table_new_from_locale(FXkb.get(), "C", XKB_COMPOSE_COMPILE_NO_FLAGS);
  if (!table) return;
  FCompose.reset(xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS));
  xkb_compose_table_unref(table);  // the state holds it
}

WaylandKeys::Press WaylandKeys::TextOfPress(xkb_state* state, xkb_keycode_t keycode) {
  if (!FComposeTried) LoadCompose();
  Press p;
  const xkb_keysym_t sym = xkb_state_key_get_one_sym(state, keycode);
  // Modifier keys leave a sequence as it is (the feed ignores them).
  if (FCompose && xkb_compose_state_feed(FCompose.get(), sym) == XKB_COMPOSE_FEED_ACCEPTED) {
    switch (xkb_compose_state_get_status(FCompose.get())) {
      case XKB_COMPOSE_COMPOSING:
        p.Repeats = Repeat::None;
        return p;
      case XKB_COMPOSE_CANCELLED:
        // The key that broke a sequence types nothing, as with the X input method.
        p.Repeats = Repeat::None;
        p.Swallow = sym == XKB_KEY_Escape;
        return p;
      case XKB_COMPOSE_COMPOSED: {
        char buf[64];
        const int n = xkb_compose_state_get_utf8(FCompose.get(), buf, sizeof buf);
        if (n > 0 && std::size_t(n) < sizeof buf) p.Text.assign(buf, std::size_t(n));
        p.Repeats = p.Text.empty() ? Repeat::None : Repeat::Same;
        p.TextOnly = true;
        return p;
      }
      case XKB_COMPOSE_NOTHING: break;
    }
  }
  p.Text = KeymapText(state, keycode);
  return p;
}

std::string WaylandKeys::KeymapText(xkb_state* state, xkb_keycode_t keycode) {
  char buf[64];
  const int n = xkb_state_key_get_utf8(state, keycode, buf, sizeof buf);
  if (n <= 0 || std::size_t(n) >= sizeof buf) return {};
  return std::string(buf, std::size_t(n));
}

void WaylandKeys::Reset() {
  if (FCompose) xkb_compose_state_reset(FCompose.get());
}

}  // namespace plat
