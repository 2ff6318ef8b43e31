// The "Ruler Properties" command: a round trip through the properties dialog. The strip's
// look goes into the dialog, the dialog runs modally, and on OK its previews' look, the large
// ruler and the magnification come back.
#include "app/TfrmMain.h"
#include "crossruler/TfrmCrossRuler.h"
#include "properties/TfrmRulerProperties.h"
#include "toolkit/core/TApplication.h"

namespace {

// The look the dialog edits, as one ruler holds it.
void CopyLook(const TRuler& from, TRuler& to) {
  to.SetColor(from.Color());
  to.SetTickSizeBig(from.TickSizeBig());
  to.SetTickSizeMiddle(from.TickSizeMiddle());
  to.SetTickSizeSmall(from.TickSizeSmall());
  to.SetTickColor(from.TickColor());
  to.SetRollEnabled(from.RollEnabled());
  to.SetFontRotation(from.FontRotation());
  to.Font().SetColor(from.Font().Color());
  to.SetNumberAlign(from.NumberAlign());
}

}  // namespace

void TfrmMain::mnuRulerPropertiesClick(TObject*) {
  TfrmRulerProperties* dlg = RulerProperties();
  if (!dlg || dlg->Visible()) return;
  for (TRuler* preview : {dlg->Ruler1, dlg->Ruler2}) {
    CopyLook(*Ruler, *preview);
    preview->Invalidate();
  }
  dlg->btnColor->SetColor(Ruler->Color());
  dlg->btnTextcolor->SetColor(Ruler->Font().Color());
  dlg->btnTickcolor->SetColor(Ruler->TickColor());
  dlg->txtTickBig->SetValue(Ruler->TickSizeBig());
  dlg->txtTickMedium->SetValue(Ruler->TickSizeMiddle());
  dlg->txtTickSmall->SetValue(Ruler->TickSizeSmall());
  // Set in code: no click handler runs, so the previews keep what was copied above.
  dlg->chkRoll->SetChecked(Ruler->RollEnabled());
  dlg->chkRotate->SetChecked(Ruler->FontRotation() != fr0);
  dlg->rCenter->SetChecked(Ruler->NumberAlign() == naCenter);
  dlg->rTop->SetChecked(Ruler->NumberAlign() == naTopLeft);
  dlg->rBottom->SetChecked(Ruler->NumberAlign() == naBottomRight);
  dlg->chkLargeRuler->SetChecked(FLarge);
  dlg->r2Times->SetChecked(FMagnification == 2);
  dlg->r3Times->SetChecked(FMagnification == 3);
  dlg->r4Times->SetChecked(FMagnification == 4);
  // The previews show the size the check box says, so the two never disagree.
  dlg->SizePreviews(FLarge);
  dlg->SetCopyFormats(FCopyFormats);
  dlg->SetActiveControl(dlg->btnOK);

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
    if (dlg->ShowModal() == mrOk) {
      CopyLook(*dlg->Ruler1, *Ruler);
      Ruler->Invalidate();
      if (dlg->r2Times->Checked()) FMagnification = 2;
      else if (dlg->r3Times->Checked()) FMagnification = 3;
      else if (dlg->r4Times->Checked()) FMagnification = 4;
      ApplyMagnification();
      FCopyFormats = dlg->CopyFormats();
      FLarge = dlg->chkLargeRuler->Checked();
      ApplyRulerLayout();
    }
  } catch (...) {
    showAgain();
    throw;
  }
  showAgain();
}
