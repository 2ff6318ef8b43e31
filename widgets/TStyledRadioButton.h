#pragma once
// The styled radio button as forms use it (all its properties published).
#include "widgets/TCustomStyledRadioButton.h"

class TStyledRadioButton : public TCustomStyledRadioButton {
 public:
  using TCustomStyledRadioButton::TCustomStyledRadioButton;
};
