#pragma once
// A pair of flat buttons that step a value up and down: one above the other (skVertical) or
// side by side (skHorizontal). With Repeating, a held button steps after RepeatDelay and then
// every RepeatInterval while the pointer stays on it; the click at the moment of the press is
// swallowed, and the release over the button gives the last step.
#include <functional>

#include "graphics/Bitmap.h"
#include "toolbarkit/TFlatButton.h"
#include "toolkit/core/TWinControl.h"

enum TSpinKind { skVertical, skHorizontal };

class TSpinButtons : public TWinControl {
 public:
  explicit TSpinButtons(TComponent* AOwner);

  TSpinKind Kind() const { return FKind; }
  void SetKind(TSpinKind value);
  bool Flat() const { return FUp->Flat(); }
  void SetFlat(bool value);
  bool NoBorder() const { return FUp->NoBorder(); }
  void SetNoBorder(bool value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value);
  double Increment() const { return FIncrement; }
  void SetIncrement(double value) { FIncrement = value; }
  bool Repeating() const { return FRepeating; }
  void SetRepeating(bool value) { FRepeating = value; }
  unsigned RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(unsigned value) { FRepeatDelay = value; }
  unsigned RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(unsigned value) { FRepeatInterval = value; }

  // The two buttons, for their seven published properties each (Caption, Glyph, Layout,
  // Margin, GlyphMask, NumGlyphs, Spacing as UpCaption ... DownSpacing).
  TFlatButton* UpButton() const { return FUp; }
  TFlatButton* DownButton() const { return FDown; }
  // Whether the pointer is over either button.
  bool MouseOverButtons() const { return FUp->MouseInControl() || FDown->MouseInControl(); }

  // The default arrow glyphs (black on a transparent background).
  static gfx::Bitmap DefaultGlyph(bool up);

  Rect VisibleWindowRect() const override;
  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  // Raised when the pointer enters or leaves either button (the owner's border follows).
  TNotifyEvent OnHoverChange;

 protected:
  void Resize() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Arrange();
  void Wire(TFlatButton* button, bool up);

  TFlatButton* FUp;
  TFlatButton* FDown;
  TSpinKind FKind = skVertical;
  TWinControl* FFocusControl = nullptr;
  double FIncrement = 1.0;
  bool FRepeating = false;
  unsigned FRepeatDelay = 100;
  unsigned FRepeatInterval = 100;
  bool FSwallowClick = false;
};
