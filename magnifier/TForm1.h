#pragma once
// The lens window beside the strip. It is created in its place in the start-up order; its
// picture, crosshairs and commands come with the magnifiers.
#include "toolkit/core/TForm.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);
};
