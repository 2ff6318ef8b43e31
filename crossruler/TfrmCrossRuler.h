#pragma once
// The cross ruler window. It is created in its place in the start-up order; the perpendicular
// ruler itself comes with the cross ruler.
#include "toolkit/core/TForm.h"

class TfrmCrossRuler : public TForm {
 public:
  explicit TfrmCrossRuler(TComponent* AOwner);
};
