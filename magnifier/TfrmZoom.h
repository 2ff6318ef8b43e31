#pragma once
// The mouse loupe. It is created in its place in the start-up order; the loupe itself comes
// with the magnifiers.
#include "toolkit/core/TForm.h"

class TfrmZoom : public TForm {
 public:
  explicit TfrmZoom(TComponent* AOwner);
};
