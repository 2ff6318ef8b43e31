#pragma once
// What every open menu does alike with the keyboard: Up and Down step the highlight over the
// entries that can take it, wrapping round; Enter chooses the highlighted entry; Escape closes.
// A menu keeps its own answers to the other keys (submenus, access letters, help).
#include "toolkit/menus/Forward.h"

// The entry after (STEP 1) or before (STEP -1) index FROM among the children of ITEMS that can
// be highlighted (shown, not a separator), wrapping round; from -1 the first or the last such
// entry. FROM when there is none.
int NextMenuEntry(const TMenuItem& items, int from, int step);

// The input an open menu takes from the whole program: every key message, and the button
// presses (a press outside the menu closes it).
bool IsMenuKeyMessage(unsigned msg);
bool IsMenuMouseDown(unsigned msg);

class TMenuKeyNavigation {
 public:
  virtual ~TMenuKeyNavigation() = default;
  // Answers Up, Down, Enter and Escape; false for any other key.
  bool NavigationKey(int key);

 protected:
  virtual void MoveHighlight(int step) = 0;
  virtual void ChooseHighlighted() = 0;
  // Closes the menu, or only its innermost open submenu.
  virtual void CloseLevel() = 0;
};
