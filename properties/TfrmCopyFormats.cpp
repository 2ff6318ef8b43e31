#include "properties/TfrmCopyFormats.h"

#include "properties/DialogForm.h"
#include "toolkit/core/NewChild.h"

namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 270;

TStyledRadioButton* Radio(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int top) {
  auto* r = NewChild<TStyledRadioButton>(owner, parent, name, caption, Rect(12, top, 272, top + 20));
  r->Font3d().SetActive(false);
  r->Hilight3d().SetActive(false);
  r->SetColor(clBtnFace);
  return r;
}

TGroupBox* Group(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int top) {
  return NewChild<TGroupBox>(owner, parent, name, caption, Rect(8, top, 292, top + 110));
}

TEdit* Template(TComponent* owner, TWinControl* parent, const char* name) {
  return NewChild<TEdit>(owner, parent, name, Rect(104, 82, 272, 103));
}

TButton* Button(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left,
                TModalResult result) {
  auto* b = NewChild<TButton>(owner, parent, name, caption, Rect(left, 236, left + 75, 261));
  b->SetModalResult(result);
  return b;
}

}  // namespace

TfrmCopyFormats::TfrmCopyFormats(TComponent* AOwner) : TForm(AOwner) {
  MakeDialogForm(*this, "frmCopyFormats", "Copy formats", kClientWidth, kClientHeight);

  // Each choice shows what it makes of a box 137 by 41 pixels, or of the colour #336699.
  grpReadings = Group(this, this, "grpReadings", " Readings (Ctrl+C) ", 6);
  rReadingNumber = Radio(this, grpReadings, "rReadingNumber", "137  or  137 x 41", 18);
  rReadingUnit = Radio(this, grpReadings, "rReadingUnit", "137 px", 39);
  rReadingCss = Radio(this, grpReadings, "rReadingCss", "width: 137px; height: 41px;", 60);
  rReadingTemplate = Radio(this, grpReadings, "rReadingTemplate", "Template:", 81);
  rReadingTemplate->SetWidth(88);
  txtReadingTemplate = Template(this, grpReadings, "txtReadingTemplate");

  grpColours = Group(this, this, "grpColours", " Colours (Ctrl+Shift+C) ", 120);
  rColourHex = Radio(this, grpColours, "rColourHex", "#336699", 18);
  rColourRgb = Radio(this, grpColours, "rColourRgb", "rgb(51, 102, 153)", 39);
  rColourHsl = Radio(this, grpColours, "rColourHsl", "hsl(210, 50%, 40%)", 60);
  rColourTemplate = Radio(this, grpColours, "rColourTemplate", "Template:", 81);
  rColourTemplate->SetWidth(88);
  txtColourTemplate = Template(this, grpColours, "txtColourTemplate");

  btnOK = Button(this, this, "btnOK", "&OK", 132, mrOk);
  btnOK->SetDefault(true);
  btnCancel = Button(this, this, "btnCancel", "&Cancel", 216, mrCancel);
  btnCancel->SetCancel(true);
  SetActiveControl(btnOK);
}

void TfrmCopyFormats::SetFormats(const TCopyFormats& f) {
  FFormats = f;
  rReadingNumber->SetChecked(f.Reading == TReadingFormat::Number);
  rReadingUnit->SetChecked(f.Reading == TReadingFormat::WithUnit);
  rReadingCss->SetChecked(f.Reading == TReadingFormat::Css);
  rReadingTemplate->SetChecked(f.Reading == TReadingFormat::Template);
  txtReadingTemplate->SetText(f.ReadingTemplate);
  rColourHex->SetChecked(f.Colour == TColourFormat::Hex);
  rColourRgb->SetChecked(f.Colour == TColourFormat::Rgb);
  rColourHsl->SetChecked(f.Colour == TColourFormat::Hsl);
  rColourTemplate->SetChecked(f.Colour == TColourFormat::Template);
  txtColourTemplate->SetText(f.ColourTemplate);
}

TCopyFormats TfrmCopyFormats::Formats() const {
  TCopyFormats f = FFormats;
  f.Reading = rReadingUnit->Checked()       ? TReadingFormat::WithUnit
              : rReadingCss->Checked()      ? TReadingFormat::Css
              : rReadingTemplate->Checked() ? TReadingFormat::Template
                                            : TReadingFormat::Number;
  f.Colour = rColourRgb->Checked()       ? TColourFormat::Rgb
             : rColourHsl->Checked()     ? TColourFormat::Hsl
             : rColourTemplate->Checked() ? TColourFormat::Template
                                          : TColourFormat::Hex;
  if (!txtReadingTemplate->Text().empty()) f.ReadingTemplate = txtReadingTemplate->Text().substr(0, kMaxCopyTemplate);
  if (!txtColourTemplate->Text().empty()) f.ColourTemplate = txtColourTemplate->Text().substr(0, kMaxCopyTemplate);
  return f;
}
