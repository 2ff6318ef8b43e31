#pragma once
// The styled check box: a raised, sunken or flat box with a tick, and an optional grayed
// state that clicks pass through (unchecked -> grayed -> checked -> unchecked).
#include "widgets/TStyledControl.h"

enum TBoxStyle { bxRaised, bxSunken, bxFlat };

class TCustomStyledCheckBox : public TStyledControl {
 public:
  explicit TCustomStyledCheckBox(TComponent* AOwner);

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool value) { FAllowGrayed = value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState value) override { TStyledControl::SetState(value); }
  TBoxStyle Style() const { return FStyle; }
  void SetStyle(TBoxStyle value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void PaintBox(TCanvas& canvas, const Rect& r) override;
  void Toggle() override;
  bool CanModify() const override { return !FReadOnly; }

 private:
  bool FAllowGrayed = false;
  bool FReadOnly = false;
  TBoxStyle FStyle = bxRaised;
};
