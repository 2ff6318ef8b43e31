#include "platform/x11/X11Keys.h"

#include "graphics/Utf8.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace plat {

namespace {
// Classic codes that Keys.h does not name (keypad and punctuation keys).
constexpr int kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E,
              kDivide = 0x6F, kNumLock = 0x90, kScroll = 0x91, kOem1 = 0xBA, kOemPlus = 0xBB,
              kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE, kOem2 = 0xBF, kOem3 = 0xC0,
              kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE, kSnapshot = 0x2C, kLWin = 0x5B;

struct Pair {
  KeySym Sym;
  int Vk;
};

constexpr Pair kTable[] = {
    {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB}, {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN}, {XK_Shift_L, VK_SHIFT}, {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL}, {XK_Alt_L, VK_MENU}, {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU}, {XK_Meta_R, VK_MENU}, {XK_ISO_Level3_Shift, VK_MENU}, {XK_Pause, VK_PAUSE},
    {XK_Caps_Lock, VK_CAPITAL}, {XK_Escape, VK_ESCAPE}, {XK_space, VK_SPACE}, {XK_KP_Space, VK_SPACE},
    {XK_Prior, VK_PRIOR}, {XK_KP_Prior, VK_PRIOR}, {XK_Next, VK_NEXT}, {XK_KP_Next, VK_NEXT},
    {XK_End, VK_END}, {XK_KP_End, VK_END}, {XK_Home, VK_HOME}, {XK_KP_Home, VK_HOME},
    {XK_Left, VK_LEFT}, {XK_KP_Left, VK_LEFT}, {XK_Up, VK_UP}, {XK_KP_Up, VK_UP},
    {XK_Right, VK_RIGHT}, {XK_KP_Right, VK_RIGHT}, {XK_Down, VK_DOWN}, {XK_KP_Down, VK_DOWN},
    {XK_Insert, VK_INSERT}, {XK_KP_Insert, VK_INSERT}, {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE}, {XK_Menu, VK_APPS}, {XK_Print, kSnapshot}, {XK_Super_L, kLWin},
    {XK_Num_Lock, kNumLock}, {XK_Scroll_Lock, kScroll}, {XK_KP_Multiply, kMultiply},
    {XK_KP_Add, kAdd}, {XK_KP_Subtract, kSubtract}, {XK_KP_Decimal, kDecimal},
    {XK_KP_Divide, kDivide}, {XK_semicolon, kOem1}, {XK_equal, kOemPlus}, {XK_comma, kOemComma},
    {XK_minus, kOemMinus}, {XK_period, kOemPeriod}, {XK_slash, kOem2}, {XK_grave, kOem3},
    {XK_bracketleft, kOem4}, {XK_backslash, kOem5}, {XK_bracketright, kOem6},
    {XK_apostrophe, kOem7},
};

}  // namespace

int X11Keys::VirtualKeyOf(KeySym ks) {
  if (ks >= XK_a && ks <= XK_z) return int('A' + (ks - XK_a));
  if (ks >= XK_A && ks <= XK_Z) return int(ks);
  if (ks >= XK_0 && ks <= XK_9) return int(ks);
  if (ks >= XK_KP_0 && ks <= XK_KP_9) return kNumpad0 + int(ks - XK_KP_0);
  if (ks >= XK_F1 && ks <= XK_F24) return VK_F1 + int(ks - XK_F1);
  for (const Pair& p : kTable)
    if (p.Sym == ks) return p.Vk;
  return 0;
}

std::vector<KeySym> X11Keys::KeySymsOf(int vk) {
  std::vector<KeySym> out;
  if (vk >= 'A' && vk <= 'Z') return {KeySym(XK_a + (vk - 'A'))};
  if (vk >= '0' && vk <= '9') return {KeySym(vk)};
  if (vk >= kNumpad0 && vk <= kNumpad0 + 9) return {KeySym(XK_KP_0 + (vk - kNumpad0))};
  if (vk >= VK_F1 && vk < VK_F1 + 24) return {KeySym(XK_F1 + (vk - VK_F1))};
  for (const Pair& p : kTable)
    if (p.Vk == vk) out.push_back(p.Sym);
  return out;
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

ShiftState X11Keys::ModifierFlagOf(int vk) {
  switch (vk) {
    case VK_SHIFT: return ssShift;
    case VK_CONTROL: return ssCtrl;
    case VK_MENU: return ssAlt;
    default: return 0;
  }
}

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
