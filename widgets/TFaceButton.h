#pragma once
// The face button as forms use it: its face filled with Color (fbsOpaque), showing the parent
// behind it (fbsTransparent), or drawn by OnDraw (fbsOwnerDraw). As a colour swatch: no
// caption, no glyph, the whole face the colour inside a raised bevel that sinks while pressed.
#include <functional>

#include "widgets/TFaceButtonBase.h"

enum TFaceButtonStyle { fbsOpaque, fbsTransparent, fbsOwnerDraw };
// ButtonCanvas, Rect, and DrawFace: set it to true to have the face drawn over the drawing.
using TDrawButtonEvent = std::function<void(TObject* Sender, TCanvas& ButtonCanvas, const Rect& R, bool& DrawFace)>;

class TFaceButton : public TFaceButtonBase {
 public:
  explicit TFaceButton(TComponent* AOwner);

  TFaceButtonStyle Style() const { return FStyle; }
  void SetStyle(TFaceButtonStyle value);
  const TDrawButtonEvent& OnDraw() const { return FOnDraw; }
  void SetOnDraw(TDrawButtonEvent value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;

 private:
  TFaceButtonStyle FStyle = fbsOpaque;
  TDrawButtonEvent FOnDraw;
};
