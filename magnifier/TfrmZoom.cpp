#include "magnifier/TfrmZoom.h"

TfrmZoom::TfrmZoom(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmZoom");
  SetBorderStyle(bsNone);
  SetWindowKind(plat::WindowKind::Popup);
}
