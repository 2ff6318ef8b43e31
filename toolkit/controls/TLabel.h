#pragma once
// A windowless text label. With AutoSize it takes the size of its caption (keeping its right
// edge when right-justified); with ShowAccelChar an '&' underlines the next character and
// "&&" shows one '&'. A disabled label draws its text embossed.
#include "toolkit/core/TGraphicControl.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* AOwner);

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  // The control that the label's accelerator focuses (not owned).
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value) { FFocusControl = value; }

  // The caption's key character: the one after a single '&' (lower case), or 0.
  char AccelChar() const;
  // Resizes the label to its caption now (AutoSize does it on every change, or, on a form
  // that has not been shown yet, once as the form first shows).
  void AdjustBounds();

  void SetParent(TWinControl* value) override;
  void SetBounds(int left, int top, int width, int height) override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  // Draws (or with DT_CALCRECT measures) the caption in R with the label's flags added.
  virtual void DoDrawText(TCanvas& canvas, Rect& r, unsigned flags);

 private:
  void AutoAdjust();
  void FlushAdjust();

  bool FAutoSize = true;
  bool FAdjustPending = false;
  TAlignment FAlignment = taLeftJustify;
  bool FWordWrap = false;
  bool FTransparent = false;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};
