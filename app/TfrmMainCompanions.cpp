// The windows that work with the strip: how it comes to know them, and the magnifiers'
// showing, hiding and stacking beside it.
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TForm1.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Platform.h"
#include "properties/TfrmRulerProperties.h"

void TfrmMain::SetCompanions(const TStripCompanions& companions) {
  FCompanions = companions;
  const TStripCompanions& c = companions;
  for (TComponent* window : {static_cast<TComponent*>(c.Lens), static_cast<TComponent*>(c.About),
                             static_cast<TComponent*>(c.MouseLoupe), static_cast<TComponent*>(c.PositionReadout),
                             static_cast<TComponent*>(c.RulerProperties), static_cast<TComponent*>(c.CrossRuler)})
    if (window) FreeNotification(window);
}

void TfrmMain::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation != opRemove) return;
  TStripCompanions& c = FCompanions;
  if (component == c.Lens) c.Lens = nullptr;
  if (component == c.About) c.About = nullptr;
  if (component == c.MouseLoupe) c.MouseLoupe = nullptr;
  if (component == c.PositionReadout) c.PositionReadout = nullptr;
  if (component == c.RulerProperties) c.RulerProperties = nullptr;
  if (component == c.CrossRuler) c.CrossRuler = nullptr;
}

void TfrmMain::ShowMouseLoupe() {
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe) return;
  loupe->Show();
  loupe->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
}

void TfrmMain::HideMouseLoupe() {
  if (TfrmZoom* loupe = MouseLoupe()) loupe->Hide();
}

void TfrmMain::HideLens() {
  if (TForm1* lens = Lens()) lens->Hide();
}

Rect TfrmMain::RulerBody() const {
  Rect body = BoundsRect();
  const bool flipped = mnuRulerFlip->Checked();
  if (Ruler->Orientation() == orHoriz) {
    if (flipped) body.bottom -= CaptionStrip->pnlCaption->Height() + 1;
    else body.top += CaptionStrip->pnlCaption->Height() + 1;
  } else {
    if (flipped) body.right -= CaptionStrip->pnlCaption->Width() + 1;
    else body.left += CaptionStrip->pnlCaption->Width() + 1;
  }
  return body;
}

void TfrmMain::LensTracking(Point p) {
  // Over a frozen screen the strip stays in the topmost band, above the picture.
  if (TForm1* lens = Lens()) lens->FollowPointer(p, RulerBody(), *this, mnuAlwaysTop->Checked() && !ScreenFrozen());
}

// The loupe measures from the ruler's zero on the ruler's outermost pixel row or column.
void TfrmMain::SetLoupeOrigin() {
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe || !loupe->Visible()) return;
  const bool flipped = mnuRulerFlip->Checked();
  if (Ruler->Orientation() == orHoriz)
    loupe->SetReferencePoint({int(Left() - ZeroOffset()), flipped ? Top() : Top() + Height() - 1});
  else
    loupe->SetReferencePoint({flipped ? Left() : Left() + Width() - 1, int(Top() - ZeroOffset())});
}

void TfrmMain::MouseLoupeStacking(Point cursor) {
  TfrmZoom* loupe = MouseLoupe();
  const bool inside = BoundsRect().Contains(cursor);
  // Over a frozen screen the strip stays in the topmost band, above the picture.
  if (mnuAlwaysTop->Checked() && !ScreenFrozen()) {
    NativeWindow()->SetZOrder(inside ? plat::ZOrder::NoTopMost : plat::ZOrder::TopMost);
    NativeWindow()->SetZOrder(plat::ZOrder::Top);
  }
  if (loupe && loupe->Visible() && (!inside || mnuAlwaysTop->Checked()))
    loupe->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
}
