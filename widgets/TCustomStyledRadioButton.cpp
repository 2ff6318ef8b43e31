#include "widgets/TCustomStyledRadioButton.h"

#include <algorithm>

#include "graphics/Canvas.h"
#include "toolkit/core/PropText.h"

TCustomStyledRadioButton::TCustomStyledRadioButton(TComponent* AOwner) : TStyledControl(AOwner) {}

void TCustomStyledRadioButton::SetGroupIndex(int value) { FGroupIndex = std::clamp(value, 0, 255); }

void TCustomStyledRadioButton::SetStyle(TRadioStyle value) {
  if (value == FStyle || value < rxNormal || value > rxFlat) return;
  FStyle = value;
  Invalidate();
}

void TCustomStyledRadioButton::SetChecked(bool value) {
  if (!CanModify() || value == Checked()) return;
  SetState(value ? cbChecked : cbUnchecked);
  if (!value || !Parent()) return;
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TCustomStyledRadioButton*>(parent->Controls(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  }
}

void TCustomStyledRadioButton::Toggle() {
  if (Checked()) {
    Invalidate();
    return;
  }
  SetChecked(true);
  if (OnClick) OnClick(this);
}

void TCustomStyledRadioButton::PaintBox(TCanvas& c, const Rect& r) {
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  auto diamond = [&](int inset) {
    const Point p[] = {{L + inset, T + 6}, {L + 6, T + inset}, {R - inset, T + 6}, {L + 6, B - inset}, {L + inset, T + 6}};
    c.Polyline(p);
  };
  if (Pressed()) {
    c.Pen = gfx::Pen{clBlack, 1, gfx::PenStyle::Solid};
    diamond(0);
    diamond(1);
  } else {
    TColor first = Font().Color(), second = Font().Color();
    if (FStyle == rxNormal) EdgeColors(Checked(), first, second);
    if (TransparentMode() == tmSemiTransparent) {
      // The inside, row by row, so that no pixel between fill and outline is left out.
      c.Brush = gfx::Brush{BoxColor(), gfx::BrushStyle::Solid, {}};
      for (int dy = -5; dy <= 5; ++dy) {
        const int half = 5 - (dy < 0 ? -dy : dy);
        c.FillRect(Rect{L + 6 - half, T + 6 + dy, L + 7 + half, T + 7 + dy});
      }
    }
    c.Pen = gfx::Pen{first, 1, gfx::PenStyle::Solid};
    const Point upper[] = {{L, T + 6}, {L + 6, T}, {R, T + 6}};
    c.Polyline(upper);
    c.Pen.Color = second;
    const Point lower[] = {{R, T + 6}, {L + 6, B}, {L, T + 6}};
    c.Polyline(lower);
  }
  if (Checked()) {
    // A small round dot on the diamond's centre.
    const int cx = L + 6, cy = T + 6;
    for (int dy = -2; dy <= 2; ++dy) {
      const int half = dy == 0 ? 2 : (dy == -1 || dy == 1) ? 1 : 0;
      for (int dx = -half; dx <= half; ++dx) c.SetPixel(cx + dx, cy + dy, CheckColor());
    }
  }
}

std::optional<std::string> TCustomStyledRadioButton::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "GroupIndex")) return Int(FGroupIndex);
  if (Is(name, "Style")) return Enum(FStyle, {"rxNormal", "rxFlat"});
  return TStyledControl::GetPropText(name);
}
