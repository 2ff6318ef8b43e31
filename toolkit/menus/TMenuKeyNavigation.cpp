#include "toolkit/menus/TMenuKeyNavigation.h"

#include "platform/Keys.h"
#include "toolkit/core/Types.h"
#include "toolkit/menus/TMenuItem.h"

int NextMenuEntry(const TMenuItem& items, int from, int step) {
  const int n = items.Count();
  int i = from;
  // At most one round: a menu of separators only keeps its (absent) highlight.
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    const TMenuItem* item = items.Items(i);
    if (item->Visible() && !item->IsLine()) return i;
  }
  return from;
}

bool IsMenuKeyMessage(unsigned msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

bool IsMenuMouseDown(unsigned msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
         msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool TMenuKeyNavigation::NavigationKey(int key) {
  switch (key) {
    case plat::VK_UP: MoveHighlight(-1); return true;
    case plat::VK_DOWN: MoveHighlight(1); return true;
    case plat::VK_RETURN: ChooseHighlighted(); return true;
    case plat::VK_ESCAPE: CloseLevel(); return true;
    default: return false;
  }
}
