#include "graphics/Color.h"

#include <array>

namespace gfx {

namespace {

// The classic "Windows Standard" scheme of the 9x desktops, which the controls' look was
// designed against. Values are 0x00BBGGRR.
constexpr std::array<TColor, kSystemColorCount> kClassicScheme = {
    0xC0C0C0,  // COLOR_SCROLLBAR
    0x808000,  // COLOR_BACKGROUND (teal desktop)
    0x800000,  // COLOR_ACTIVECAPTION (navy)
    0x808080,  // COLOR_INACTIVECAPTION
    0xC0C0C0,  // COLOR_MENU
    0xFFFFFF,  // COLOR_WINDOW
    0x000000,  // COLOR_WINDOWFRAME
    0x000000,  // COLOR_MENUTEXT
    0x000000,  // COLOR_WINDOWTEXT
    0xFFFFFF,  // COLOR_CAPTIONTEXT
    0xC0C0C0,  // COLOR_ACTIVEBORDER
    0xC0C0C0,  // COLOR_INACTIVEBORDER
    0x808080,  // COLOR_APPWORKSPACE
    0x800000,  // COLOR_HIGHLIGHT (navy)
    0xFFFFFF,  // COLOR_HIGHLIGHTTEXT
    0xC0C0C0,  // COLOR_BTNFACE
    0x808080,  // COLOR_BTNSHADOW
    0x808080,  // COLOR_GRAYTEXT
    0x000000,  // COLOR_BTNTEXT
    0xC0C0C0,  // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF,  // COLOR_BTNHIGHLIGHT
    0x000000,  // COLOR_3DDKSHADOW
    0xC0C0C0,  // COLOR_3DLIGHT (same as the face in the 9x scheme)
    0x000000,  // COLOR_INFOTEXT
    0xE1FFFF,  // COLOR_INFOBK (pale yellow)
    0x000000,  // 25 has no colour assigned
    0x800000,  // COLOR_HOTLIGHT (navy hot-tracking)
    0xD08410,  // COLOR_GRADIENTACTIVECAPTION (light blue end of the navy title bar)
    0xC0C0C0,  // COLOR_GRADIENTINACTIVECAPTION
    0x800000,  // COLOR_MENUHILIGHT (classic menus highlight like selections)
    0xC0C0C0,  // COLOR_MENUBAR
};

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= kSystemColorCount) return 0;
  return kClassicScheme[std::size_t(index)];
}

TColor ColorToRGB(TColor color) {
  if (color == clNone || color == clDefault) return 0;
  if (color & kSystemColorFlag) return GetSysColor(int(color & 0xFF));
  return color & 0xFFFFFF;
}

}  // namespace gfx
