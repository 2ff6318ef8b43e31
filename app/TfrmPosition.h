#pragma once
// The position readout: a small always-on-top panel that shows where the ruler's zero lies on
// the screen while the strip is moved, rolled or nudged.
#include "toolkit/core/TForm.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"

class TfrmPosition : public TForm {
 public:
  explicit TfrmPosition(TComponent* AOwner);

  TPanel* Panel1;
  TLabel* lblTxt;
};
