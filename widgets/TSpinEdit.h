#pragma once
// A number field with a pair of small up/down buttons inside its right edge: the buttons and
// the up and down arrow keys step Value by Increment (clamped to the range), a held button
// repeats, and the border around the buttons turns hot with the field.
#include "widgets/TNumEdit.h"
#include "widgets/TSpinButtons.h"

class TSpinEdit : public TNumEdit {
 public:
  explicit TSpinEdit(TComponent* AOwner);

  virtual void StepUp();
  virtual void StepDown();

  double Increment() const { return FButtons->Increment(); }
  void SetIncrement(double value) { FButtons->SetIncrement(value); }
  int SpinWidth() const { return FSpinWidth; }
  void SetSpinWidth(int value);
  TSpinKind SpinKind() const { return FButtons->Kind(); }
  void SetSpinKind(TSpinKind value) { FButtons->SetKind(value); }

  // The buttons' own properties (UpCaption, UpGlyph, UpLayout, UpMargin, UpMask,
  // UpNumGlyphs, UpSpacing and the same for Down) pass through to these.
  TFlatButton* UpButton() const { return FButtons->UpButton(); }
  TFlatButton* DownButton() const { return FButtons->DownButton(); }
  TSpinButtons* Buttons() const { return FButtons; }
  void SetUpGlyph(const gfx::Bitmap& value) { UpButton()->SetGlyph(value); }
  void SetDownGlyph(const gfx::Bitmap& value) { DownButton()->SetGlyph(value); }
  void SetUpCaption(const std::string& value) { UpButton()->SetCaption(value); }
  void SetDownCaption(const std::string& value) { DownButton()->SetCaption(value); }
  void SetUpLayout(TButtonLayout value) { UpButton()->SetLayout(value); }
  void SetDownLayout(TButtonLayout value) { DownButton()->SetLayout(value); }
  void SetUpMargin(int value) { UpButton()->SetMargin(value); }
  void SetDownMargin(int value) { DownButton()->SetMargin(value); }
  void SetUpMask(const gfx::Bitmap& value) { UpButton()->SetGlyphMask(value); }
  void SetDownMask(const gfx::Bitmap& value) { DownButton()->SetGlyphMask(value); }
  void SetUpNumGlyphs(int value) { UpButton()->SetNumGlyphs(value); }
  void SetDownNumGlyphs(int value) { DownButton()->SetNumGlyphs(value); }
  void SetUpSpacing(int value) { UpButton()->SetSpacing(value); }
  void SetDownSpacing(int value) { DownButton()->SetSpacing(value); }

  bool Hot() const override;
  Rect TextRect() const override;
  // The border drawn round the buttons (window pixels of the field).
  Rect SpinBorderRect() const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void KeyDown(int& key, TShiftState shift) override;
  void Resize() override;

 private:
  void Arrange();

  TSpinButtons* FButtons;
  TWinControl* FSeparator;
  int FSpinWidth = 15;
};
