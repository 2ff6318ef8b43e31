#pragma once
// The edit field the forms place: a TCustomEdit with the classic defaults (121 x 21, sunken
// border, window colour).
#include "toolkit/controls/TCustomEdit.h"

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
};
