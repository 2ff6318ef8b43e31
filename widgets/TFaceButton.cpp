#include "widgets/TFaceButton.h"

#include "graphics/Canvas.h"
#include "toolkit/core/PropText.h"

TFaceButton::TFaceButton(TComponent* AOwner) : TFaceButtonBase(AOwner) { SetColor(clBtnFace); }

void TFaceButton::SetStyle(TFaceButtonStyle value) {
  if (value == FStyle || value < fbsOpaque || value > fbsOwnerDraw) return;
  FStyle = value;
  if (value == fbsTransparent) SetControlStyle(ControlStyle() & ~csOpaque);
  else SetControlStyle(ControlStyle() | csOpaque);
  Invalidate();
}

void TFaceButton::SetOnDraw(TDrawButtonEvent value) {
  FOnDraw = std::move(value);
  Invalidate();
}

void TFaceButton::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TCanvas& screen = Canvas();
  gfx::Bitmap picture(w, h, gfx::ColorToRGB(Color()));
  TCanvas c(picture);
  const Rect client{0, 0, w, h};
  bool drawFace = true;
  if (FStyle != fbsOpaque) {
    // What is on the control's place already: the parent's picture.
    c.BitBlt(0, 0, w, h, screen.Target(), screen.Origin.x, screen.Origin.y);
    c.Brush.Style = gfx::BrushStyle::Clear;
    if (FStyle == fbsOwnerDraw) {
      drawFace = false;
      if (FOnDraw) FOnDraw(this, c, client, drawFace);
    }
  }
  if (drawFace) PaintFace(c);
  screen.BitBlt(0, 0, w, h, picture, 0, 0);
}

std::optional<std::string> TFaceButton::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Style")) return PropText::Enum(FStyle, {"fbsOpaque", "fbsTransparent", "fbsOwnerDraw"});
  return TFaceButtonBase::GetPropText(name);
}
