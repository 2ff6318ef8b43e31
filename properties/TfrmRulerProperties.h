#pragma once
// The ruler properties dialog. It is created in its place in the start-up order; its
// controls and previews come with the dialog itself.
#include "toolkit/core/TForm.h"

class TfrmRulerProperties : public TForm {
 public:
  explicit TfrmRulerProperties(TComponent* AOwner);
};
