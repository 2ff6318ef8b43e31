// The eight layouts of the main window (horizontal or vertical, ruler flip off or on, normal or
// large) and the two flips between them.
#include "app/TfrmMain.h"
#include "crossruler/TfrmCrossRuler.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"

void TfrmMain::ArrangeCaption(bool vertical) {
  // After the close, minimise, menu and flip buttons: across a horizontal strip, down a
  // vertical one.
  static constexpr int kGapsAcross[] = {2, 8, 13, 10}, kGapsDown[] = {3, 9, 13, 10};
  TSpeedButton* const buttons[] = {btnClose, btnMinimize, btnMenu, btnFlip};
  int at = 2;
  for (int i = 0; i < 4; ++i) {
    if (vertical) buttons[i]->SetBounds(2, at, TCaptionStrip::kGrip, TCaptionStrip::kGrip);
    else buttons[i]->SetBounds(at, 2, TCaptionStrip::kGrip, TCaptionStrip::kGrip);
    at += TCaptionStrip::kGrip + (vertical ? kGapsDown : kGapsAcross)[i];
  }
  CaptionStrip->PlaceLabels(at);
  CaptionStrip->PlaceGrip(false);
}

void TfrmMain::btnFlipClick(TObject*) { TurnStrip(); }

// Turns the strip between horizontal and vertical, keeping its top-left corner.
void TfrmMain::TurnStrip() {
  const bool flipped = mnuRulerFlip->Checked();
  if (Ruler->Orientation() == orHoriz) {
    // Horizontal to vertical; the top-left corner stays.
    const int length = UserLength();
    Ruler->SetOrientation(orVert);
    SetBounds(Left(), Top(), Ruler->Height() + CaptionStrip->shpResize->Height(), length);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(Ruler->Left(), Ruler->Top(), Width() - CaptionStrip->shpResize->Height(), Height());
    if (!flipped) {
      Ruler->SetAlign(alRight);
      Ruler->SetNumberIndent(4);
      Ruler->SetCursor(crArrowH);
    } else {
      Ruler->SetAlign(alLeft);
      Ruler->SetNumberIndent(21);
      Ruler->SetCursor(crArrowI);
    }
    CaptionStrip->Dock(flipped ? alRight : alLeft);
    ArrangeCaption(true);
  } else {
    // Vertical to horizontal.
    const int length = UserLength();
    Ruler->SetOrientation(orHoriz);
    SetBounds(Left(), Top(), length, Ruler->Width() + CaptionStrip->shpResize->Width() - 2);
    Ruler->SetAlign(flipped ? alTop : alBottom);
    CaptionStrip->Dock(flipped ? alBottom : alTop);
    Ruler->SetCursor(flipped ? crArrowW : crArrowV);
    ArrangeCaption(false);
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
  const TCaptionStrip::TRulerFit k = TCaptionStrip::RulerFit(vertical, flipped, FLarge);
  auto setScale = [&] {
    Ruler->Font().SetSize(k.FontSize);
    if (FUnits.Unit != TMeasureUnit::Pixel) return ApplyUnitScale();
    Ruler->SetUnitSize(k.UnitPixels);
    Ruler->SetUnitPrice(k.UnitPixels);
  };
  TShape* frame = CaptionStrip->shpResize;
  if (!vertical && !flipped) {
    CaptionStrip->Dock(alTop);
    Ruler->SetTop(CaptionStrip->pnlCaption->Height() + 1);
    setScale();
    Ruler->SetHeight(k.Thickness);
    SetHeight(Ruler->Height() + frame->Height() - 2);
    Ruler->SetAlign(alBottom);
    Ruler->SetTickAlign(taBottomRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowV);
  } else if (!vertical) {
    setScale();
    Ruler->SetHeight(k.Thickness);
    Ruler->SetNumberIndent(k.NumberIndent);
    SetHeight(Ruler->Height() + frame->Height() - 2);
    CaptionStrip->Dock(alBottom);
    Ruler->SetTop(0);
    Ruler->SetAlign(alTop);
    Ruler->SetTickAlign(taTopLeft);
    Ruler->SetCursor(crArrowW);
  } else if (!flipped) {
    CaptionStrip->Dock(alLeft);
    Ruler->SetLeft(CaptionStrip->pnlCaption->Width() + 1);
    setScale();
    Ruler->SetWidth(k.Thickness);
    SetWidth(Ruler->Width() + frame->Width() - 2);
    Ruler->SetAlign(alRight);
    Ruler->SetTickAlign(taBottomRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowH);
  } else {
    setScale();
    Ruler->SetWidth(k.Thickness);
    Ruler->SetNumberIndent(k.NumberIndent);
    SetWidth(Ruler->Width() + frame->Width() - 2);
    CaptionStrip->Dock(alRight);
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
  cross->Ruler->SetLook(Ruler->Look());
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
void TfrmMain::mnuMeasureAnywhereClick(TObject*) { ToggleMeasureAnywhere(); }

void TfrmMain::ToggleMeasureAnywhere() {
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
