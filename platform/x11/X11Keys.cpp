#include "platform/x11/X11Keys.h"

#include "graphics/Utf8.h"
#include "platform/KeySyms.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace plat {

int X11Keys::VirtualKeyOf(KeySym ks) { return VirtualKeyOfKeySym(std::uint32_t(ks)); }

std::vector<KeySym> X11Keys::KeySymsOf(int vk) {
  const std::vector<std::uint32_t> syms = KeySymsOfVirtualKey(vk);
  return std::vector<KeySym>(syms.begin(), syms.end());
}

ShiftState X11Keys::ShiftOf(unsigned int state) {
  ShiftState s = 0;
  if (state & ShiftMask) s |= ssShift;
  if (state & ControlMask) s |= ssCtrl;
  if (state & Mod1Mask) s |= ssAlt;
  if (state & Button1Mask) s |= ssLeft;
  if (state & Button3Mask) s |= ssRight;
  if (state & Button2Mask) s |= ssMiddle;
  return s;
}

ShiftState X11Keys::ModifierFlagOf(int vk) { return ModifierFlagOfVirtualKey(vk); }

std::string X11Keys::TextOf(KeySym ks, const char* latin1, int length) {
  std::string s;
  if (ks == XK_Delete || ks == XK_KP_Delete) return s;
  // Ctrl turns letters into control characters (Ctrl+C is 0x03), as the classic messages do.
  if (length == 1 && static_cast<unsigned char>(latin1[0]) < 0x20) {
    s += latin1[0];
    return s;
  }
  if ((ks >= 0x20 && ks <= 0x7E) || (ks >= 0xA0 && ks <= 0xFF)) {
    gfx::AppendUtf8(s, char32_t(ks));
  } else if ((ks & 0xFF000000ul) == 0x01000000ul) {
    gfx::AppendUtf8(s, char32_t(ks & 0x00FFFFFFul));
  } else {
    // Control characters (Ctrl+letter, Enter, Tab, Backspace, Escape) and anything else the
    // keyboard mapping produced as Latin-1.
    for (int i = 0; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(latin1[i]);
      if (c == 0x7F) continue;
      gfx::AppendUtf8(s, char32_t(c));
    }
  }
  return s;
}

}  // namespace plat
