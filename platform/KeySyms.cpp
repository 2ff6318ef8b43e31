#include "platform/KeySyms.h"

namespace plat {

namespace {
// Classic codes that Keys.h does not name (keypad and punctuation keys).
constexpr int kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E,
              kDivide = 0x6F, kNumLock = 0x90, kScroll = 0x91, kOem1 = 0xBA, kOemPlus = 0xBB,
              kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE, kOem2 = 0xBF, kOem3 = 0xC0,
              kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE, kSnapshot = 0x2C, kLWin = 0x5B;

// Key symbols by their standard values (keysymdef.h).
constexpr std::uint32_t kSymA = 0x61, kSymZ = 0x7A, kSymUpperA = 0x41, kSymUpperZ = 0x5A, kSym0 = 0x30,
                        kSym9 = 0x39, kSymKP0 = 0xFFB0, kSymKP9 = 0xFFB9, kSymF1 = 0xFFBE, kSymF24 = 0xFFD5;

struct Pair {
  std::uint32_t Sym;
  int Vk;
};

constexpr Pair kTable[] = {
    {0xFF08, VK_BACK},     {0xFF09, VK_TAB},       {0xFE20, VK_TAB},      // BackSpace, Tab, ISO_Left_Tab
    {0xFF0D, VK_RETURN},   {0xFF8D, VK_RETURN},                           // Return, KP_Enter
    {0xFFE1, VK_SHIFT},    {0xFFE2, VK_SHIFT},                            // Shift_L, Shift_R
    {0xFFE3, VK_CONTROL},  {0xFFE4, VK_CONTROL},                          // Control_L, Control_R
    {0xFFE9, VK_MENU},     {0xFFEA, VK_MENU},      {0xFFE7, VK_MENU},     // Alt_L, Alt_R, Meta_L
    {0xFFE8, VK_MENU},     {0xFE03, VK_MENU},                             // Meta_R, ISO_Level3_Shift
    {0xFF13, VK_PAUSE},    {0xFFE5, VK_CAPITAL},   {0xFF1B, VK_ESCAPE},   // Pause, Caps_Lock, Escape
    {0x0020, VK_SPACE},    {0xFF80, VK_SPACE},                            // space, KP_Space
    {0xFF55, VK_PRIOR},    {0xFF9A, VK_PRIOR},     {0xFF56, VK_NEXT},     // Prior, KP_Prior, Next
    {0xFF9B, VK_NEXT},     {0xFF57, VK_END},       {0xFF9C, VK_END},      // KP_Next, End, KP_End
    {0xFF50, VK_HOME},     {0xFF95, VK_HOME},      {0xFF51, VK_LEFT},     // Home, KP_Home, Left
    {0xFF96, VK_LEFT},     {0xFF52, VK_UP},        {0xFF97, VK_UP},       // KP_Left, Up, KP_Up
    {0xFF53, VK_RIGHT},    {0xFF98, VK_RIGHT},     {0xFF54, VK_DOWN},     // Right, KP_Right, Down
    {0xFF99, VK_DOWN},     {0xFF63, VK_INSERT},    {0xFF9E, VK_INSERT},   // KP_Down, Insert, KP_Insert
    {0xFFFF, VK_DELETE},   {0xFF9F, VK_DELETE},    {0xFF67, VK_APPS},     // Delete, KP_Delete, Menu
    {0xFF61, kSnapshot},   {0xFFEB, kLWin},        {0xFF7F, kNumLock},    // Print, Super_L, Num_Lock
    {0xFF14, kScroll},     {0xFFAA, kMultiply},    {0xFFAB, kAdd},        // Scroll_Lock, KP_Multiply, KP_Add
    {0xFFAD, kSubtract},   {0xFFAE, kDecimal},     {0xFFAF, kDivide},     // KP_Subtract, KP_Decimal, KP_Divide
    {0x003B, kOem1},       {0x003D, kOemPlus},     {0x002C, kOemComma},   // semicolon, equal, comma
    {0x002D, kOemMinus},   {0x002E, kOemPeriod},   {0x002F, kOem2},       // minus, period, slash
    {0x0060, kOem3},       {0x005B, kOem4},        {0x005C, kOem5},       // grave, bracketleft, backslash
    {0x005D, kOem6},       {0x0027, kOem7},                               // bracketright, apostrophe
};
}  // namespace

int VirtualKeyOfKeySym(std::uint32_t ks) {
  if (ks >= kSymA && ks <= kSymZ) return int('A' + (ks - kSymA));
  if (ks >= kSymUpperA && ks <= kSymUpperZ) return int(ks);
  if (ks >= kSym0 && ks <= kSym9) return int(ks);
  if (ks >= kSymKP0 && ks <= kSymKP9) return kNumpad0 + int(ks - kSymKP0);
  if (ks >= kSymF1 && ks <= kSymF24) return VK_F1 + int(ks - kSymF1);
  for (const Pair& p : kTable)
    if (p.Sym == ks) return p.Vk;
  return 0;
}

std::vector<std::uint32_t> KeySymsOfVirtualKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return {kSymA + std::uint32_t(vk - 'A')};
  if (vk >= '0' && vk <= '9') return {std::uint32_t(vk)};
  if (vk >= kNumpad0 && vk <= kNumpad0 + 9) return {kSymKP0 + std::uint32_t(vk - kNumpad0)};
  if (vk >= VK_F1 && vk < VK_F1 + 24) return {kSymF1 + std::uint32_t(vk - VK_F1)};
  std::vector<std::uint32_t> out;
  for (const Pair& p : kTable)
    if (p.Vk == vk) out.push_back(p.Sym);
  return out;
}

ShiftState ModifierFlagOfVirtualKey(int vk) {
  switch (vk) {
    case VK_SHIFT: return ssShift;
    case VK_CONTROL: return ssCtrl;
    case VK_MENU: return ssAlt;
    default: return 0;
  }
}

}  // namespace plat
