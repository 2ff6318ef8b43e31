// The eight layouts of the main window (horizontal or vertical, ruler flip off or on, normal or
// large) and the two flips between them.
#include "app/TfrmMain.h"
#include "crossruler/TfrmCrossRuler.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"

namespace {

struct TLayoutConstants {
  int FontSize;
  int UnitPixels;
  int Thickness;
  int NumberIndent;
};

// By orientation, ruler flip and size.
TLayoutConstants LayoutConstants(bool vertical, bool flipped, bool large) {
  if (!vertical) {
    if (!flipped) return large ? TLayoutConstants{9, 40, 70, 4} : TLayoutConstants{7, 20, 41, 4};
    return large ? TLayoutConstants{9, 40, 70, 45} : TLayoutConstants{7, 20, 45, 28};
  }
  if (!flipped) return large ? TLayoutConstants{9, 40, 79, 4} : TLayoutConstants{7, 20, 49, 4};
  return large ? TLayoutConstants{9, 40, 79, 45} : TLayoutConstants{7, 20, 51, 33};
}

}  // namespace

void TfrmMain::ArrangeCaptionHorizontal() {
  btnClose->SetBounds(2, 2, 13, 13);
  btnMinimize->SetBounds(btnClose->Left() + 13 + 2, 2, 13, 13);
  btnMenu->SetBounds(btnMinimize->Left() + 13 + 8, 2, 13, 13);
  btnFlip->SetBounds(btnMenu->Left() + 13 + 13, 2, 13, 13);
  lblMsatPx->SetBounds(btnFlip->Left() + 13 + 10, 2, lblMsatPx->Width(), 12);
  lblMsatPx->SetAngle(0);
  lblMsPos->SetBounds(lblMsatPx->Left() + lblMsatPx->Width() + 2, 2, lblMsPos->Width(), 12);
  lblMsPos->SetAngle(0);
  btnResize->SetVisible(true);
}

void TfrmMain::ArrangeCaptionVertical() {
  btnClose->SetBounds(2, 2, 13, 13);
  btnMinimize->SetBounds(2, btnClose->Top() + 13 + 3, 13, 13);
  btnMenu->SetBounds(2, btnMinimize->Top() + 13 + 9, 13, 13);
  btnFlip->SetBounds(2, btnMenu->Top() + 13 + 13, 13, 13);
  lblMsatPx->SetBounds(-33, btnFlip->Top() + 13 + 10, lblMsatPx->Width(), 80);
  lblMsatPx->SetAngle(270);
  lblMsPos->SetBounds(-5, lblMsatPx->Top() + lblMsatPx->Height() - 5, lblMsPos->Width(), 80);
  lblMsPos->SetAngle(270);
  btnResize->SetVisible(false);
  btnResize2->SetBounds(2, Height() - 13 - 4, 13, 13);
  btnResize2->SetVisible(true);
}

void TfrmMain::btnFlipClick(TObject*) { TurnStrip(); }

// Turns the strip between horizontal and vertical, keeping its top-left corner.
void TfrmMain::TurnStrip() {
  const bool flipped = mnuRulerFlip->Checked();
  if (Ruler->Orientation() == orHoriz) {
    // Horizontal to vertical; the top-left corner stays.
    const int length = UserLength();
    Ruler->SetOrientation(orVert);
    SetBounds(Left(), Top(), Ruler->Height() + shpResize->Height(), length);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(Ruler->Left(), Ruler->Top(), Width() - shpResize->Height(), Height());
    shpResize->SetTop(0);
    pnlCaption->SetTop(1);
    if (!flipped) {
      Ruler->SetAlign(alRight);
      shpResize->SetLeft(0);
      pnlCaption->SetLeft(1);
      Ruler->SetNumberIndent(4);
      Ruler->SetCursor(crArrowH);
    } else {
      Ruler->SetAlign(alLeft);
      shpResize->SetWidth(shpResize->Height() + 1);
      shpResize->SetLeft(Width() - shpResize->Width());
      pnlCaption->SetLeft(shpResize->Left() + 1);
      Ruler->SetNumberIndent(21);
      Ruler->SetCursor(crArrowI);
    }
    shpResize->SetBounds(shpResize->Left(), shpResize->Top(), shpResize->Height() + 1, Height());
    pnlCaption->SetBounds(pnlCaption->Left(), pnlCaption->Top(), shpResize->Width() - 2, shpResize->Height() - 2);
    ArrangeCaptionVertical();
  } else {
    // Vertical to horizontal.
    const int length = UserLength();
    Ruler->SetOrientation(orHoriz);
    SetBounds(Left(), Top(), length, Ruler->Width() + shpResize->Width() - 2);
    shpResize->SetLeft(0);
    pnlCaption->SetLeft(1);
    Ruler->SetAlign(flipped ? alTop : alBottom);
    shpResize->SetBounds(0, shpResize->Top(), Width(), shpResize->Width() - 1);
    pnlCaption->SetBounds(1, pnlCaption->Top(), shpResize->Width() - 2, shpResize->Height() - 2);
    shpResize->SetTop(flipped ? Height() - shpResize->Height() : 0);
    Ruler->SetCursor(flipped ? crArrowW : crArrowV);
    pnlCaption->SetTop(shpResize->Top() + 1);
    ArrangeCaptionHorizontal();
    btnResize2->SetVisible(false);
    btnResize->SetLeft(Width() - btnResize->Width() - 4);
  }
  ApplyRulerLayout();
}

void TfrmMain::mnuFlipClick(TObject*) { TurnStrip(); }

void TfrmMain::mnuRulerFlipClick(TObject*) { SetRulerFlip(!mnuRulerFlip->Checked()); }

// The check mark is the state; the layout follows it.
void TfrmMain::SetRulerFlip(bool flipped) {
  mnuRulerFlip->SetChecked(flipped);
  ApplyRulerLayout();
}

void TfrmMain::ApplyRulerLayout() {
  const bool vertical = Ruler->Orientation() == orVert;
  const bool flipped = mnuRulerFlip->Checked();
  const TLayoutConstants k = LayoutConstants(vertical, flipped, FLarge);
  auto setScale = [&] {
    Ruler->Font().SetSize(k.FontSize);
    if (FUnits.Unit != TMeasureUnit::Pixel) return ApplyUnitScale();
    Ruler->SetUnitSize(k.UnitPixels);
    Ruler->SetUnitPrice(k.UnitPixels);
  };
  if (!vertical && !flipped) {
    shpResize->SetTop(0);
    pnlCaption->SetTop(1);
    Ruler->SetTop(pnlCaption->Height() + 1);
    setScale();
    Ruler->SetHeight(k.Thickness);
    SetHeight(Ruler->Height() + shpResize->Height() - 2);
    Ruler->SetAlign(alBottom);
    Ruler->SetTickAlign(taBottomRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowV);
  } else if (!vertical) {
    setScale();
    Ruler->SetHeight(k.Thickness);
    Ruler->SetNumberIndent(k.NumberIndent);
    SetHeight(Ruler->Height() + shpResize->Height() - 2);
    shpResize->SetTop(Height() - pnlCaption->Height() - 2);
    pnlCaption->SetTop(shpResize->Top() + 1);
    Ruler->SetTop(0);
    Ruler->SetAlign(alTop);
    Ruler->SetTickAlign(taTopLeft);
    Ruler->SetCursor(crArrowW);
  } else if (!flipped) {
    shpResize->SetLeft(0);
    pnlCaption->SetLeft(1);
    Ruler->SetLeft(pnlCaption->Width() + 1);
    setScale();
    Ruler->SetWidth(k.Thickness);
    SetWidth(Ruler->Width() + shpResize->Width() - 2);
    Ruler->SetAlign(alRight);
    Ruler->SetTickAlign(taBottomRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowH);
  } else {
    setScale();
    Ruler->SetWidth(k.Thickness);
    Ruler->SetNumberIndent(k.NumberIndent);
    SetWidth(Ruler->Width() + shpResize->Width() - 2);
    shpResize->SetLeft(Width() - pnlCaption->Width() - 2);
    pnlCaption->SetLeft(shpResize->Left() + 1);
    Ruler->SetLeft(0);
    Ruler->SetAlign(alLeft);
    Ruler->SetTickAlign(taTopLeft);
    Ruler->SetCursor(crArrowI);
  }
  // The cross ruler follows: turned across the strip, sized, flipped and styled like it, and
  // placed on its zero. Hidden meanwhile, so that it is never seen half-changed.
  TfrmCrossRuler* cross = CrossRuler();
  if (!cross) return;  // not yet while the main window is being created
  if (cross->Visible()) cross->Hide();
  cross->SetPerpendicular(!vertical);
  cross->SetLarge(FLarge);
  cross->SetFlipped(flipped);
  TRuler* r = cross->Ruler;
  r->SetColor(Ruler->Color());
  r->SetTickSizeBig(Ruler->TickSizeBig());
  r->SetTickSizeMiddle(Ruler->TickSizeMiddle());
  r->SetTickSizeSmall(Ruler->TickSizeSmall());
  r->SetTickColor(Ruler->TickColor());
  r->SetRollEnabled(Ruler->RollEnabled());
  r->SetFontRotation(Ruler->FontRotation());
  r->Font().SetColor(Ruler->Font().Color());
  r->SetNumberAlign(Ruler->NumberAlign());
  ZeroPositionText();
  if (mnuCrossRuler->Checked()) {
    cross->Show();
    cross->StackWith(*this);
  }
  KeepKeyboardFocus();
}

// Not stored: the program always starts without it.
// Measure anywhere (key M): the caption and the magnifiers follow the pointer over every
// window until a click, Escape or M again; the last reading stays in the caption.
void TfrmMain::mnuMeasureAnywhereClick(TObject*) {
  plat::Platform& platform = plat::Platform::Current();
  if (!platform.CanMeasureAnywhere() || !mnuMeasureAnywhere) return;
  if (platform.MeasuringAnywhere()) {
    platform.EndMeasureAnywhere();
    mnuMeasureAnywhere->SetChecked(false);
    return;
  }
  mnuMeasureAnywhere->SetChecked(true);
  platform.BeginMeasureAnywhere([this] { mnuMeasureAnywhere->SetChecked(false); });
}

void TfrmMain::mnuCrossRulerClick(TObject*) {
  mnuCrossRuler->SetChecked(!mnuCrossRuler->Checked());
  TfrmCrossRuler* cross = CrossRuler();
  if (!cross) return;
  if (mnuCrossRuler->Checked()) {
    cross->Show();
    cross->StackWith(*this);
  } else {
    cross->Hide();
  }
  KeepKeyboardFocus();
}
