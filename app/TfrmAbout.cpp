#include "app/TfrmAbout.h"

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmAbout");
  SetBorderStyle(bsDialog);
  SetCaption("About Vantrel");
  SetClientWidth(345);
  SetClientHeight(250);
  SetPosition(poScreenCenter);
}
