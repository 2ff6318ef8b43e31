#include "widgets/THoverPanel.h"

THoverPanel::THoverPanel(TComponent* AOwner) : TPanel(AOwner) {}

void THoverPanel::WndProc(TMessage& message) {
  // These two replace the toolkit's own enter and leave handling rather than add to it: the
  // inherited OnMouseLeave stays silent, OnMouseExit speaks instead.
  switch (message.Msg) {
    case CM_MOUSEENTER:
      if (Enabled() && OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (Enabled() && OnMouseExit) OnMouseExit(this);
      return;
    default:
      TPanel::WndProc(message);
  }
}
