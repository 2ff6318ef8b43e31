#include "toolkit/controls/TGroupBox.h"

#include "graphics/Bitmap.h"

namespace {

int CaptionHeight(const TFont& font) {
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(font.Data());
  return canvas.TextHeight("0");
}

}  // namespace

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBounds(Left(), Top(), 185, 105);
  SetColor(clBtnFace);
}

Rect TGroupBox::AlignRect() const {
  Rect r = ClientRect();
  r.top += CaptionHeight(Font());
  return r.Inflate(-1, -1);
}

void TGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  canvas.SelectFont(Font().Data());
  const int h = canvas.TextHeight("0");
  // The etched frame: a highlight frame one pixel right and down, a shadow frame over it.
  Rect r{0, h / 2 - 1, Width(), Height()};
  canvas.Brush = gfx::Brush{clBtnHighlight, gfx::BrushStyle::Solid, {}};
  Rect light{r.left + 1, r.top + 1, r.right, r.bottom};
  canvas.FrameRect(light);
  canvas.Brush.Color = clBtnShadow;
  Rect dark = light.Offset(-1, -1);
  canvas.FrameRect(dark);
  if (Caption().empty()) return;
  Rect t{8, 0, 0, h};
  canvas.DrawText(Caption(), t, gfx::DT_LEFT | gfx::DT_SINGLELINE | gfx::DT_CALCRECT);
  // The caption cuts the frame: its cell is filled with the box's colour.
  canvas.BkMode = gfx::BkMode::Opaque;
  canvas.BkColor = Color();
  if (!Enabled()) {
    canvas.BkMode = gfx::BkMode::Transparent;
    canvas.Brush.Color = Color();
    canvas.FillRect(t);
    Rect shifted = t.Offset(1, 1);
    canvas.TextColor = clBtnHighlight;
    canvas.DrawText(Caption(), shifted, gfx::DT_LEFT | gfx::DT_SINGLELINE);
    canvas.TextColor = clBtnShadow;
  }
  canvas.DrawText(Caption(), t, gfx::DT_LEFT | gfx::DT_SINGLELINE);
}

void TGroupBox::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Realign();
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}
