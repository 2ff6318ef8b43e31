#include "properties/TfrmRulerProperties.h"

#include "properties/DialogForm.h"
#include "properties/TfrmCopyFormats.h"
#include "toolkit/core/NewChild.h"

#include <functional>

namespace {

// Both previews count screen pixels like the strip: 20 to a unit, 40 when large. Their scale
// starts at -1.25 so that the zero and the first numbers are in view.
TRuler* Preview(TfrmRulerProperties* form, const char* name, TOrientation orientation, TAlign align) {
  auto* r = NewChild<TRuler>(form, form, name);
  r->SetOrientation(orientation);
  r->SetAlign(align);
  gfx::Font f;
  f.Name = "Tahoma";
  f.Height = -9;
  r->SetFont(f);
  r->SetStartValue(-1.25);
  r->SetUnitSize(20.0);
  r->SetUnitPrice(20.0);
  r->SetUnitPrecision(0);
  r->SetTickAlign(taBottomRight);
  r->SetNumberIndent(4);
  r->SetCaptionAlign(caTopLeft);
  r->SetCaptionIndent1(0);
  r->SetCaptionIndent2(0);
  r->SetCaption("");
  r->DrawFrame = false;
  return r;
}

TFaceButton* Swatch(TComponent* owner, TWinControl* parent, const char* name, int top) {
  auto* b = NewChild<TFaceButton>(owner, parent, name);
  b->SetBounds(72, top, 41, 20);
  b->SetStyle(fbsOpaque);
  b->SetLightColor(clBtnHighlight);
  b->SetShadowColor(clBtnShadow);
  b->SetGrayedInactive(true);
  b->SetLayout(blGlyphLeft);
  b->SetGroupIndex(0);
  return b;
}

TSpinEdit* SpinEdit(TComponent* owner, TWinControl* parent, const char* name, int top, double min, double max) {
  auto* e = NewChild<TSpinEdit>(owner, parent, name);
  gfx::Font f;
  f.Name = "Arial";
  f.Height = -12;
  e->Font().SetData(f);
  e->SetBounds(76, top, 49, 21);
  e->SetMinValue(min);
  e->SetMaxValue(max);
  e->SetDisplayFormat(ffGeneral);
  e->SetIncrement(1.0);
  e->SetSpinWidth(15);
  e->SetText("0");
  return e;
}

template <class T>
T* Styled(TComponent* owner, TWinControl* parent, const char* name, const char* caption, Rect r) {
  auto* c = NewChild<T>(owner, parent, name);
  c->SetCaption(caption);
  c->Font3d().SetActive(false);
  c->Hilight3d().SetActive(false);
  c->SetColor(clBtnFace);
  c->SetBounds(r.left, r.top, r.Width(), r.Height());
  return c;
}

}  // namespace

TfrmRulerProperties::TfrmRulerProperties(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  // Centred at each opening on the monitor that shows the strip.
  MakeDialogForm(*this, "frmRulerProperties", "Ruler properties", kClientWidth, kClientHeight);

  // Aligned in this order: the horizontal preview takes the top, the vertical one the right
  // side below it, the panel the rest; so growing the previews moves the panel, not its
  // contents, and everything on it keeps its place relative to the previews.
  Ruler1 = Preview(this, "Ruler1", orHoriz, alTop);
  Ruler1->SetHeight(41);
  Ruler2 = Preview(this, "Ruler2", orVert, alRight);
  Ruler2->SetWidth(49);
  pnlDialog = TComponent::Create<TPanel>(this);
  pnlDialog->SetName("pnlDialog");
  pnlDialog->SetParent(this);
  pnlDialog->SetBevelOuter(bvNone);
  pnlDialog->SetCaption("");
  pnlDialog->SetAlign(alClient);

  // The panel is 317 pixels wide, 287 beside the large vertical preview: everything stays
  // left of x = 280.
  grpColors = NewChild<TGroupBox>(this, pnlDialog, "grpColors", " Colors ", Rect::FromXYWH(8, 6, 128, 94));
  lblColor = NewChild<TLabel>(this, grpColors, "lblColor", "Ruler color", Point{10, 22});
  lblTextcolor = NewChild<TLabel>(this, grpColors, "lblTextcolor", "Text color", Point{10, 46});
  lblTickcolor = NewChild<TLabel>(this, grpColors, "lblTickcolor", "Tick color", Point{10, 70});
  btnColor = Swatch(this, grpColors, "btnColor", 18);
  btnTextcolor = Swatch(this, grpColors, "btnTextcolor", 42);
  btnTickcolor = Swatch(this, grpColors, "btnTickcolor", 66);

  grpTickSizes = NewChild<TGroupBox>(this, pnlDialog, "grpTickSizes", " Tick sizes ", Rect::FromXYWH(144, 6, 135, 94));
  lblTickBig = NewChild<TLabel>(this, grpTickSizes, "lblTickBig", "Big size", Point{10, 21});
  lblTickMedium = NewChild<TLabel>(this, grpTickSizes, "lblTickMedium", "Middle size", Point{10, 45});
  lblTickSmall = NewChild<TLabel>(this, grpTickSizes, "lblTickSmall", "Small size", Point{10, 69});
  txtTickBig = SpinEdit(this, grpTickSizes, "txtTickBig", 17, 30, 60);
  txtTickMedium = SpinEdit(this, grpTickSizes, "txtTickMedium", 41, 20, 50);
  txtTickSmall = SpinEdit(this, grpTickSizes, "txtTickSmall", 65, 10, 30);

  grpNumberAlign =
      NewChild<TGroupBox>(this, pnlDialog, "grpNumberAlign", " Number alignment ", Rect::FromXYWH(8, 108, 128, 86));
  gfx::Font arial;
  arial.Name = "Arial";
  arial.Height = -12;
  grpNumberAlign->Font().SetData(arial);
  rTop = Styled<TStyledRadioButton>(this, grpNumberAlign, "rTop", "Top-left", Rect::FromXYWH(12, 18, 108, 20));
  rCenter = Styled<TStyledRadioButton>(this, grpNumberAlign, "rCenter", "Center", Rect::FromXYWH(12, 39, 108, 20));
  rBottom = Styled<TStyledRadioButton>(this, grpNumberAlign, "rBottom", "Bottom-right", Rect::FromXYWH(12, 60, 108, 20));

  chkRoll = Styled<TStyledCheckBox>(this, pnlDialog, "chkRoll", "Roll by mouse", Rect::FromXYWH(152, 114, 127, 20));
  chkRotate = Styled<TStyledCheckBox>(this, pnlDialog, "chkRotate", "Numbers rotated", Rect::FromXYWH(152, 138, 127, 20));

  btnReset = TComponent::Create<THoverPanel>(this);
  btnReset->SetName("btnReset");
  btnReset->SetParent(pnlDialog);
  btnReset->SetBounds(154, 172, 49, 15);
  btnReset->SetBevelOuter(bvRaised);
  btnReset->SetCaption("Default");
  btnReset->Font().SetColor(clWindowText);

  chkLargeRuler =
      Styled<TStyledCheckBox>(this, pnlDialog, "chkLargeRuler", "Use large ruler", Rect::FromXYWH(8, 206, 128, 20));
  lblMagnification = NewChild<TLabel>(this, pnlDialog, "lblMagnification", "Loupe magnification", Point{10, 237});
  r2Times = Styled<TStyledRadioButton>(this, pnlDialog, "r2Times", "2x", Rect::FromXYWH(128, 234, 40, 20));
  r3Times = Styled<TStyledRadioButton>(this, pnlDialog, "r3Times", "3x", Rect::FromXYWH(172, 234, 40, 20));
  r4Times = Styled<TStyledRadioButton>(this, pnlDialog, "r4Times", "4x", Rect::FromXYWH(216, 234, 40, 20));

  btnOK = TComponent::Create<TButton>(this);
  btnOK->SetName("btnOK");
  btnOK->SetParent(pnlDialog);
  btnOK->SetBounds(120, 274, 75, 25);
  btnOK->SetCaption("&OK");
  btnOK->SetModalResult(mrOk);
  btnOK->SetDefault(true);
  btnCancel = TComponent::Create<TButton>(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(pnlDialog);
  btnCancel->SetBounds(204, 274, 75, 25);
  btnCancel->SetCaption("&Cancel");
  btnCancel->SetModalResult(mrCancel);
  btnCancel->SetCancel(true);

  // In the free corner left of OK, so nothing else moves.
  btnCopyFormats = TComponent::Create<TButton>(this);
  btnCopyFormats->SetName("btnCopyFormats");
  btnCopyFormats->SetParent(pnlDialog);
  btnCopyFormats->SetBounds(8, 274, 104, 25);
  btnCopyFormats->SetCaption("Copy &formats...");
  btnCopyFormats->OnClick = std::bind(&TfrmRulerProperties::btnCopyFormatsClick, this, _1);

  dlgColor = TComponent::Create<TColorDialog>(this);
  dlgColor->SetName("dlgColor");
  dlgColor->SetOptions(cdFullOpen | cdAnyColor);

  btnColor->OnClick = std::bind(&TfrmRulerProperties::btnColorClick, this, _1);
  btnTextcolor->OnClick = std::bind(&TfrmRulerProperties::btnTextcolorClick, this, _1);
  btnTickcolor->OnClick = std::bind(&TfrmRulerProperties::btnTickcolorClick, this, _1);
  txtTickBig->OnChange = std::bind(&TfrmRulerProperties::txtTickBigChange, this, _1);
  txtTickMedium->OnChange = std::bind(&TfrmRulerProperties::txtTickMediumChange, this, _1);
  txtTickSmall->OnChange = std::bind(&TfrmRulerProperties::txtTickSmallChange, this, _1);
  chkRoll->OnClick = std::bind(&TfrmRulerProperties::chkRollClick, this, _1);
  chkRotate->OnClick = std::bind(&TfrmRulerProperties::chkRotateClick, this, _1);
  for (TStyledRadioButton* r : {rTop, rCenter, rBottom}) r->OnClick = std::bind(&TfrmRulerProperties::rTopClick, this, _1);
  btnReset->OnMouseEnter = std::bind(&TfrmRulerProperties::btnResetMouseEnter, this, _1);
  btnReset->OnMouseExit = std::bind(&TfrmRulerProperties::btnResetMouseExit, this, _1);
  btnReset->OnClick = std::bind(&TfrmRulerProperties::btnResetClick, this, _1);
  chkLargeRuler->OnClick = std::bind(&TfrmRulerProperties::chkLargeRulerClick, this, _1);
  btnOK->OnClick = std::bind(&TfrmRulerProperties::btnOKClick, this, _1);
}

bool TfrmRulerProperties::ChooseColor(TFaceButton* swatch) {
  dlgColor->SetColor(swatch->Color());
  if (!dlgColor->Execute()) return false;
  swatch->SetColor(dlgColor->Color());
  return true;
}

void TfrmRulerProperties::btnColorClick(TObject*) {
  if (!ChooseColor(btnColor)) return;
  for (TRuler* r : {Ruler1, Ruler2}) r->SetColor(btnColor->Color());
}

void TfrmRulerProperties::btnTextcolorClick(TObject*) {
  if (!ChooseColor(btnTextcolor)) return;
  for (TRuler* r : {Ruler1, Ruler2}) r->Font().SetColor(btnTextcolor->Color());
  Ruler1->Repaint();
  Ruler2->Repaint();
}

void TfrmRulerProperties::btnTickcolorClick(TObject*) {
  if (!ChooseColor(btnTickcolor)) return;
  for (TRuler* r : {Ruler1, Ruler2}) r->SetTickColor(btnTickcolor->Color());
  Ruler1->Repaint();
  Ruler2->Repaint();
}

// While the user types, the previews take the number as it stands, even out of range; leaving
// the field clamps it, which comes back here with the clamped value.
void TfrmRulerProperties::txtTickBigChange(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetTickSizeBig(txtTickBig->RoundedValue());
}

void TfrmRulerProperties::txtTickMediumChange(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetTickSizeMiddle(txtTickMedium->RoundedValue());
}

void TfrmRulerProperties::txtTickSmallChange(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetTickSizeSmall(txtTickSmall->RoundedValue());
}

// The previews roll as the strip would, so the user can try it.
void TfrmRulerProperties::chkRollClick(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetRollEnabled(chkRoll->Checked());
}

void TfrmRulerProperties::chkRotateClick(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetFontRotation(chkRotate->Checked() ? fr90 : fr0);
}

void TfrmRulerProperties::rTopClick(TObject*) {
  for (TRuler* r : {Ruler1, Ruler2}) {
    if (rTop->Checked()) r->SetNumberAlign(naTopLeft);
    else if (rCenter->Checked()) r->SetNumberAlign(naCenter);
    else if (rBottom->Checked()) r->SetNumberAlign(naBottomRight);
  }
}

void TfrmRulerProperties::btnResetMouseEnter(TObject*) { btnReset->Font().SetColor(clRed); }

void TfrmRulerProperties::btnResetMouseExit(TObject*) { btnReset->Font().SetColor(clWindowText); }

// Default restores the dialog's own defaults, which differ from a new strip's look in one point:
// the numbers stand centred on their ticks, where a strip without settings has them at the top
// left. The large ruler and the magnification stay as they are.
void TfrmRulerProperties::btnResetClick(TObject*) {
  TRulerLook look = kNewStripLook;
  look.NumberAlign = naCenter;
  SetLook(look);
  Ruler1->Repaint();
  Ruler2->Repaint();
}

void TfrmRulerProperties::chkLargeRulerClick(TObject*) { SizePreviews(chkLargeRuler->Checked()); }

void TfrmRulerProperties::SizePreviews(bool large) {
  const double unit = large ? 40.0 : 20.0;
  // The dialog grows by what the top preview grows, so that OK and Cancel stay in view:
  // before the previews when growing, after them when shrinking, never cutting anything off.
  if (large) SetClientHeight(kClientHeight + kLargeGrowth);
  Ruler1->SetHeight(large ? 70 : 41);
  Ruler2->SetWidth(large ? 79 : 49);
  for (TRuler* r : {Ruler1, Ruler2}) {
    r->Font().SetSize(large ? 9 : 7);
    r->SetUnitPrice(unit);
    r->SetUnitSize(unit);
  }
  if (!large) SetClientHeight(kClientHeight);
}

void TfrmRulerProperties::SetLook(const TRulerLook& look) {
  for (TRuler* r : {Ruler1, Ruler2}) r->SetLook(look);
  btnColor->SetColor(look.Color);
  btnTextcolor->SetColor(look.FontColor);
  btnTickcolor->SetColor(look.TickColor);
  txtTickBig->SetValue(look.TickSizeBig);
  txtTickMedium->SetValue(look.TickSizeMiddle);
  txtTickSmall->SetValue(look.TickSizeSmall);
  // Set in code: no click handler runs, so the previews keep the look just given.
  chkRoll->SetChecked(look.RollEnabled);
  chkRotate->SetChecked(look.FontRotation != fr0);
  rCenter->SetChecked(look.NumberAlign == naCenter);
  rTop->SetChecked(look.NumberAlign == naTopLeft);
  rBottom->SetChecked(look.NumberAlign == naBottomRight);
}

TRulerLook TfrmRulerProperties::Look() const { return Ruler1->Look(); }

// The previews show the size the check box says, so the two never disagree.
void TfrmRulerProperties::SetLarge(bool large) {
  chkLargeRuler->SetChecked(large);
  SizePreviews(large);
}

bool TfrmRulerProperties::Large() const { return chkLargeRuler->Checked(); }

void TfrmRulerProperties::SetMagnification(int magnification) {
  FMagnification = magnification;
  r2Times->SetChecked(magnification == 2);
  r3Times->SetChecked(magnification == 3);
  r4Times->SetChecked(magnification == 4);
}

int TfrmRulerProperties::Magnification() const {
  if (r2Times->Checked()) return 2;
  if (r3Times->Checked()) return 3;
  if (r4Times->Checked()) return 4;
  return FMagnification;
}

bool TfrmRulerProperties::Execute() {
  SetActiveControl(btnOK);
  return ShowModal() == mrOk;
}

// Enter takes OK without leaving the field being typed in: leave it now, so that a size typed
// out of range is clamped (and shown in the previews) before the main window takes them.
void TfrmRulerProperties::btnOKClick(TObject*) { SetActiveControl(btnOK); }

void TfrmRulerProperties::btnCopyFormatsClick(TObject*) {
  auto dlg = TComponent::Make<TfrmCopyFormats>(nullptr);
  dlg->SetFormats(FCopyFormats);
  if (dlg->ShowModal() == mrOk) FCopyFormats = dlg->Formats();
}
