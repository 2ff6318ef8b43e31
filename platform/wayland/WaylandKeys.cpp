#include "platform/wayland/WaylandKeys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace plat {

namespace {
// Classic codes that Keys.h does not name (keypad and punctuation keys).
constexpr int kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E,
              kDivide = 0x6F, kNumLock = 0x90, kScroll = 0x91, kOem1 = 0xBA, kOemPlus = 0xBB,
              kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE, kOem2 = 0xBF, kOem3 = 0xC0,
              kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE, kSnapshot = 0x2C, kLWin = 0x5B;

struct Pair {
  xkb_keysym_t Sym;
  int Vk;
};

constexpr Pair kTable[] = {
    {XKB_KEY_BackSpace, VK_BACK}, {XKB_KEY_Tab, VK_TAB}, {XKB_KEY_ISO_Left_Tab, VK_TAB},
    {XKB_KEY_Return, VK_RETURN}, {XKB_KEY_KP_Enter, VK_RETURN}, {XKB_KEY_Shift_L, VK_SHIFT},
    {XKB_KEY_Shift_R, VK_SHIFT}, {XKB_KEY_Control_L, VK_CONTROL}, {XKB_KEY_Control_R, VK_CONTROL},
    {XKB_KEY_Alt_L, VK_MENU}, {XKB_KEY_Alt_R, VK_MENU}, {XKB_KEY_Meta_L, VK_MENU}, {XKB_KEY_Meta_R, VK_MENU},
    {XKB_KEY_ISO_Level3_Shift, VK_MENU}, {XKB_KEY_Pause, VK_PAUSE}, {XKB_KEY_Caps_Lock, VK_CAPITAL},
    {XKB_KEY_Escape, VK_ESCAPE}, {XKB_KEY_space, VK_SPACE}, {XKB_KEY_KP_Space, VK_SPACE},
    {XKB_KEY_Prior, VK_PRIOR}, {XKB_KEY_KP_Prior, VK_PRIOR}, {XKB_KEY_Next, VK_NEXT}, {XKB_KEY_KP_Next, VK_NEXT},
    {XKB_KEY_End, VK_END}, {XKB_KEY_KP_End, VK_END}, {XKB_KEY_Home, VK_HOME}, {XKB_KEY_KP_Home, VK_HOME},
    {XKB_KEY_Left, VK_LEFT}, {XKB_KEY_KP_Left, VK_LEFT}, {XKB_KEY_Up, VK_UP}, {XKB_KEY_KP_Up, VK_UP},
    {XKB_KEY_Right, VK_RIGHT}, {XKB_KEY_KP_Right, VK_RIGHT}, {XKB_KEY_Down, VK_DOWN}, {XKB_KEY_KP_Down, VK_DOWN},
    {XKB_KEY_Insert, VK_INSERT}, {XKB_KEY_KP_Insert, VK_INSERT}, {XKB_KEY_Delete, VK_DELETE},
    {XKB_KEY_KP_Delete, VK_DELETE}, {XKB_KEY_Menu, VK_APPS}, {XKB_KEY_Print, kSnapshot},
    {XKB_KEY_Super_L, kLWin}, {XKB_KEY_Num_Lock, kNumLock}, {XKB_KEY_Scroll_Lock, kScroll},
    {XKB_KEY_KP_Multiply, kMultiply}, {XKB_KEY_KP_Add, kAdd}, {XKB_KEY_KP_Subtract, kSubtract},
    {XKB_KEY_KP_Decimal, kDecimal}, {XKB_KEY_KP_Divide, kDivide}, {XKB_KEY_semicolon, kOem1},
    {XKB_KEY_equal, kOemPlus}, {XKB_KEY_comma, kOemComma}, {XKB_KEY_minus, kOemMinus},
    {XKB_KEY_period, kOemPeriod}, {XKB_KEY_slash, kOem2}, {XKB_KEY_grave, kOem3},
    {XKB_KEY_bracketleft, kOem4}, {XKB_KEY_backslash, kOem5}, {XKB_KEY_bracketright, kOem6},
    {XKB_KEY_apostrophe, kOem7},
};
}  // namespace

int WaylandKeys::VirtualKeyOf(xkb_keysym_t ks) {
  if (ks >= XKB_KEY_a && ks <= XKB_KEY_z) return int('A' + (ks - XKB_KEY_a));
  if (ks >= XKB_KEY_A && ks <= XKB_KEY_Z) return int(ks);
  if (ks >= XKB_KEY_0 && ks <= XKB_KEY_9) return int(ks);
  if (ks >= XKB_KEY_KP_0 && ks <= XKB_KEY_KP_9) return kNumpad0 + int(ks - XKB_KEY_KP_0);
  if (ks >= XKB_KEY_F1 && ks <= XKB_KEY_F24) return VK_F1 + int(ks - XKB_KEY_F1);
  for (const Pair& p : kTable)
    if (p.Sym == ks) return p.Vk;
  return 0;
}

ShiftState WaylandKeys::ShiftOf(xkb_state* state) {
  if (!state) return 0;
  ShiftState s = 0;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssShift;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssCtrl;
  if (xkb_state_mod_name_is_active(state, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssAlt;
  return s;
}

ShiftState WaylandKeys::ModifierFlagOf(int vk) {
  switch (vk) {
    case VK_SHIFT: return ssShift;
    case VK_CONTROL: return ssCtrl;
    case VK_MENU: return ssAlt;
    default: return 0;
  }
}

}  // namespace plat
