#pragma once
// The styled radio button: a diamond with a dot. Radio buttons of one parent with the same
// GroupIndex form a group: checking one unchecks the others; clicking a checked one changes
// nothing.
#include "widgets/TStyledControl.h"

enum TRadioStyle { rxNormal, rxFlat };

class TCustomStyledRadioButton : public TStyledControl {
 public:
  explicit TCustomStyledRadioButton(TComponent* AOwner);

  void SetChecked(bool value) override;
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);  // 0..255
  TRadioStyle Style() const { return FStyle; }
  void SetStyle(TRadioStyle value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void PaintBox(TCanvas& canvas, const Rect& r) override;
  void Toggle() override;

 private:
  int FGroupIndex = 0;
  TRadioStyle FStyle = rxNormal;
};
