#include "crossruler/TfrmCrossRuler.h"

TfrmCrossRuler::TfrmCrossRuler(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmCrossRuler");
  SetBorderStyle(bsNone);
}
