#pragma once
// A panel that tells when the mouse comes over it and when it goes: OnMouseEnter (inherited)
// and OnMouseExit. A disabled panel tells neither, so a greyed text button does not light up.
#include "toolkit/controls/TPanel.h"

class THoverPanel : public TPanel {
 public:
  explicit THoverPanel(TComponent* AOwner);

  TNotifyEvent OnMouseExit;

 protected:
  void WndProc(TMessage& message) override;
};
