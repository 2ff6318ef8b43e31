#pragma once
// The About box. It is created in its place in the start-up order; its contents come with
// the menu commands.
#include "toolkit/core/TForm.h"

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TComponent* AOwner);
};
