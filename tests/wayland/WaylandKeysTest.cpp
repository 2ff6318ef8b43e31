// Key presses into text with dead keys, from a keymap built from its names (no compositor) and
// the en_US.UTF-8 compose table, whatever the machine's locale.
#include <gtest/gtest.h>

#include <map>

#include "platform/wayland/WaylandKeys.h"

using plat::WaylandKeys;
using Repeat = WaylandKeys::Repeat;

TEST(WaylandKeys, DeadKeysComposeTheLocalesCharactersAndCancelledSequencesTypeNothing) {
  xkb_context* xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  // US international: ' is dead_acute (with Shift dead_diaeresis), Shift+6 dead_circumflex.
  const xkb_rule_names names{"evdev", "pc105", "us", "intl", nullptr};
  xkb_keymap* keymap = xkb_keymap_new_from_names(xkb, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  ASSERT_NE(keymap, nullptr) << "no xkb data (package xkb-data)";
  // Evdev codes + 8; upper case, '"' and '^' are typed with Shift, whose press is fed too.
  const std::map<char, xkb_keycode_t> code{{'\'', 48}, {'6', 15}, {'a', 38}, {'e', 26}, {'q', 24},
                                           {'u', 30},  {' ', 65}, {'\x1b', 9}};
  const std::map<char, char> shifted{{'"', '\''}, {'^', '6'}, {'A', 'a'}, {'E', 'e'}};
  const xkb_keycode_t shiftKey = 50;
  // From /usr/share/X11/locale/en_US.UTF-8/Compose: <dead_acute> <e> "é", <E> "É", <a> "á",
  // <space> "'" (the apostrophe, not the accent), <dead_acute> "´"; <dead_circumflex> <a> "â";
  // <dead_diaeresis> <u> "ü". No sequence goes on with <q> or <Escape> after <dead_acute>.
  struct {
    const char* Keys;
    std::string Text;   // what all the presses typed
    Repeat LastRepeat;  // what the last key's repeats type
    bool LastSwallowed;
  } cases[] = {{"'e", "é", Repeat::Same, false},      {"^a", "â", Repeat::Same, false},
               {"\"u", "ü", Repeat::Same, false},     {"'E", "É", Repeat::Same, false},
               {"' ", "'", Repeat::Same, false},      {"''", "´", Repeat::Same, false},
               {"'e'a", "éá", Repeat::Same, false},   {"'", "", Repeat::None, false},
               {"'q", "", Repeat::None, false},       {"'\x1b", "", Repeat::None, true},
               {"'qe", "e", Repeat::Keymap, false},   {"aA 6", "aA 6", Repeat::Keymap, false},
               {"\x1b", "\x1b", Repeat::Keymap, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keys);
    xkb_state* state = xkb_state_new(keymap);
    WaylandKeys keys(xkb, "en_US.UTF-8");
    std::string typed;
    WaylandKeys::Press last;
    for (const char* p = c.Keys; *p; ++p) {
      const bool shift = shifted.count(*p);
      if (shift) {
        EXPECT_EQ(keys.TextOfPress(state, shiftKey).Text, "");
        xkb_state_update_key(state, shiftKey, XKB_KEY_DOWN);
      }
      last = keys.TextOfPress(state, code.at(shift ? shifted.at(*p) : *p));
      typed += last.Text;
      if (shift) xkb_state_update_key(state, shiftKey, XKB_KEY_UP);
    }
    EXPECT_EQ(typed, c.Text);
    EXPECT_EQ(last.Repeats, c.LastRepeat);
    EXPECT_EQ(last.Swallow, c.LastSwallowed);
    xkb_state_unref(state);
  }
  xkb_keymap_unref(keymap);
  xkb_context_unref(xkb);
}
