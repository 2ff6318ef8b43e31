// The "Ruler Properties" command: a round trip through the properties dialog. The strip's
// look goes into the dialog, the dialog runs modally, and on OK its previews' look, the large
// ruler and the magnification come back.
#include "app/TfrmMain.h"
#include "crossruler/TfrmCrossRuler.h"
#include "properties/TfrmRulerProperties.h"
#include "toolkit/core/TApplication.h"

void TfrmMain::mnuRulerPropertiesClick(TObject*) {
  TfrmRulerProperties* dlg = RulerProperties();
  if (!dlg || dlg->Visible()) return;
  dlg->SetLook(Ruler->Look());
  dlg->SetLarge(FLarge);
  dlg->SetMagnification(FMagnification);
  dlg->SetCopyFormats(FCopyFormats);

  // Only the dialog is seen while it is open, also when the strip is always on top and its
  // cross ruler with it; the tick keeps running. The strip and its company come back however
  // the dialog ends, even if something in it fails; the lens, which stands beside the strip,
  // comes back when the pointer next moves over it.
  const bool loupe = mnuZoom->Checked();
  Hide();
  if (loupe) HideMouseLoupe();
  HideLens();
  TfrmCrossRuler* cross = CrossRuler();
  if (cross) cross->Hide();
  auto showAgain = [this, loupe, cross] {
    if (Application->Terminated()) return;  // ended meanwhile (the session closes)
    Show();
    if (cross && mnuCrossRuler->Checked() && !cross->Visible()) {
      cross->Show();
      cross->StackWith(*this);
    }
    if (loupe) ShowMouseLoupe();
    KeepKeyboardFocus();
  };
  try {
    if (dlg->Execute()) {
      Ruler->SetLook(dlg->Look());
      FMagnification = dlg->Magnification();
      ApplyMagnification();
      FCopyFormats = dlg->CopyFormats();
      FLarge = dlg->Large();
      ApplyRulerLayout();
    }
  } catch (...) {
    showAgain();
    throw;
  }
  showAgain();
}
