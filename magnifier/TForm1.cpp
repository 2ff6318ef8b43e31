#include "magnifier/TForm1.h"

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form1");
  SetBorderStyle(bsNone);
  SetWindowKind(plat::WindowKind::Popup);
}
