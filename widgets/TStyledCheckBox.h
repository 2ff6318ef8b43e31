#pragma once
// The styled check box as forms use it (all its properties published).
#include "widgets/TCustomStyledCheckBox.h"

class TStyledCheckBox : public TCustomStyledCheckBox {
 public:
  using TCustomStyledCheckBox::TCustomStyledCheckBox;
};
