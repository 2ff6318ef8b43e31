#include "properties/TfrmRulerProperties.h"

TfrmRulerProperties::TfrmRulerProperties(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmRulerProperties");
  SetBorderStyle(bsDialog);
  SetCaption("Ruler Properties");
  SetPosition(poScreenCenter);
}
