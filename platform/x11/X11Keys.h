#pragma once
// Key symbols and modifier masks turned into the virtual-key codes and shift state the
// toolkit works with, and back (for key-state queries).
#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "platform/Keys.h"

namespace plat {

class X11Keys {
 public:
  // The virtual-key code of the unshifted key symbol KS, or 0 when it has none.
  static int VirtualKeyOf(KeySym ks);
  // The key symbols that produce VK (for asking whether that key is held).
  static std::vector<KeySym> KeySymsOf(int vk);
  // Shift state from an X modifier and button mask.
  static ShiftState ShiftOf(unsigned int state);
  // The modifier flag a modifier key itself sets (ssShift for VK_SHIFT ...), or 0.
  static ShiftState ModifierFlagOf(int vk);
  // The text a key produces, as UTF-8: from the shifted key symbol when it names a character,
  // else from the Latin-1 bytes XLookupString gave. Empty for keys without text (Delete too,
  // which the classic character messages leave out).
  static std::string TextOf(KeySym shifted, const char* latin1, int length);
};

}  // namespace plat
