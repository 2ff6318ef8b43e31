#include "toolkit/controls/TSpeedButton.h"

#include "toolkit/core/PropText.h"

#include <algorithm>

#include "toolkit/core/TWinControl.h"

namespace {

const char* LayoutName(TButtonLayout layout) {
  switch (layout) {
    case blGlyphLeft: return "blGlyphLeft";
    case blGlyphRight: return "blGlyphRight";
    case blGlyphTop: return "blGlyphTop";
    case blGlyphBottom: return "blGlyphBottom";
  }
  return "blGlyphLeft";
}

// A glyph pixel that the disabled look keeps: anything but the transparent colour and white.
bool IsInk(TColor c, TColor key) { return c != key && c != clWhite; }

}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 23, 22);
  SetColor(clBtnFace);
  // The button decides itself when a release is a click (group buttons latch first).
  SetControlStyle((ControlStyle() | csCaptureMouse) & ~csClickEvents);
}

void TSpeedButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TSpeedButton::SetGlyph(gfx::Bitmap value) {
  FGlyph = std::move(value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == FNumGlyphs) return;
  FNumGlyphs = value;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  // The last latched button of a group stays down unless the group allows all up.
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  if (value) {
    FState = bsExclusive;
    Invalidate();
    UpdateExclusive();
  } else {
    FState = bsUp;
    Invalidate();
  }
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  UpdateExclusive();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TSpeedButton::SetMargin(int value) {
  value = std::max(-1, value);
  if (value == FMargin) return;
  FMargin = value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

// Tells the other buttons of the group that this one went down, and shares AllowAllUp.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(parent->Controls(i));
    if (other && other != this) other->ButtonPressed(FGroupIndex, this);
  }
}

void TSpeedButton::ButtonPressed(int groupIndex, TSpeedButton* sender) {
  if (groupIndex != FGroupIndex) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  TButtonState next = FDown ? bsExclusive : bsUp;
  if (ClientRect().Contains({x, y})) next = FDown ? bsExclusive : bsDown;
  if (next != FState) {
    FState = next;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging || button != mbLeft) return;
  FDragging = false;
  const bool doClick = ClientRect().Contains({x, y});
  if (FGroupIndex == 0) {
    // The pointer may have left while the button was held; the leave was not seen then.
    FMouseInControl = doClick && FMouseInControl;
  } else if (doClick) {
    // A group button toggles; the last one down stays down unless the group allows all up.
    SetDown(!FDown);
  }
  FState = FDown ? bsExclusive : bsUp;
  Invalidate();
  if (doClick) Click();
}

void TSpeedButton::WndProc(TMessage& message) {
  TGraphicControl::WndProc(message);
  switch (message.Msg) {
    case CM_MOUSEENTER:
      if (FFlat && !FMouseInControl && Enabled()) {
        FMouseInControl = true;
        Invalidate();
      }
      break;
    case CM_MOUSELEAVE:
      if (FFlat && FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
      }
      break;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) FMouseInControl = false;
      Invalidate();
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}

void TSpeedButton::DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state) {
  if (FGlyph.IsEmpty()) return;
  const int w = FGlyph.Width() / FNumGlyphs;
  const int h = FGlyph.Height();
  if (w <= 0) return;
  const TColor key = FGlyph.At(0, h - 1);
  int index = int(state);
  if (state == bsExclusive && FNumGlyphs < 4) index = int(bsDown);
  const bool emboss = state == bsDisabled && FNumGlyphs < 2;
  if (index >= FNumGlyphs) index = 0;
  const int sx0 = index * w;
  if (emboss) {
    // The disabled look: the glyph's dark parts raised out of the face.
    for (int pass = 0; pass < 2; ++pass) {
      const TColor c = pass == 0 ? gfx::ColorToRGB(clBtnHighlight) : gfx::ColorToRGB(clBtnShadow);
      const int d = pass == 0 ? 1 : 0;
      for (int gy = 0; gy < h; ++gy)
        for (int gx = 0; gx < w; ++gx)
          if (IsInk(FGlyph.At(sx0 + gx, gy), key)) canvas.SetPixel(x + gx + d, y + gy + d, c);
    }
    return;
  }
  for (int gy = 0; gy < h; ++gy)
    for (int gx = 0; gx < w; ++gx) {
      const TColor c = FGlyph.At(sx0 + gx, gy);
      if (c != key) canvas.SetPixel(x + gx, y + gy, c);
    }
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  const bool pressed = FState == bsDown || FState == bsExclusive;
  Rect paint = ClientRect();
  if (!FFlat) {
    canvas.DrawEdge(paint, pressed ? gfx::EDGE_SUNKEN : gfx::EDGE_RAISED,
                    gfx::BF_RECT | gfx::BF_MIDDLE | gfx::BF_SOFT | gfx::BF_ADJUST);
  } else {
    if (pressed || (FMouseInControl && FState != bsDisabled)) {
      Rect edge = paint;
      canvas.DrawEdge(edge, pressed ? gfx::BDR_SUNKENOUTER : gfx::BDR_RAISEDINNER,
                      (FTransparent ? 0u : unsigned(gfx::BF_MIDDLE)) | gfx::BF_RECT);
    } else if (!FTransparent) {
      canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
      canvas.FillRect(paint);
    }
    paint = paint.Inflate(-1, -1);
  }
  Point offset{0, 0};
  if (pressed) {
    if (FState == bsExclusive && (!FFlat || !FMouseInControl)) {
      // Latched buttons show the classic dither of face and highlight.
      gfx::Brush dither;
      dither.Style = gfx::BrushStyle::Pattern;
      dither.Pattern = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
      canvas.Brush = dither;
      canvas.TextColor = clBtnFace;
      canvas.BkColor = clBtnHighlight;
      canvas.FillRect(paint);
    }
    offset = {1, 1};
  }

  // Lay the glyph and the caption out in the paint rectangle.
  canvas.SelectFont(Font().Data());
  const std::string& caption = Caption();
  const Size client{paint.Width(), paint.Height()};
  const Size glyph{FGlyph.IsEmpty() ? 0 : FGlyph.Width() / FNumGlyphs, FGlyph.IsEmpty() ? 0 : FGlyph.Height()};
  Size text{0, 0};
  if (!caption.empty()) {
    Rect calc{0, 0, client.cx, 0};
    canvas.DrawText(caption, calc, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
    text = {calc.Width(), calc.Height()};
  }
  Point glyphPos, textPos;
  const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  if (horizontal) {
    glyphPos.y = (client.cy - glyph.cy + 1) / 2;
    textPos.y = (client.cy - text.cy + 1) / 2;
  } else {
    glyphPos.x = (client.cx - glyph.cx + 1) / 2;
    textPos.x = (client.cx - text.cx + 1) / 2;
  }
  int spacing = (text.cx == 0 || glyph.cx == 0) ? 0 : FSpacing;
  int margin = FMargin;
  if (margin == -1) {
    if (spacing == -1) {
      const int total = horizontal ? glyph.cx + text.cx : glyph.cy + text.cy;
      spacing = ((horizontal ? client.cx : client.cy) - total) / 3;
      margin = spacing;
    } else {
      const int total = horizontal ? glyph.cx + spacing + text.cx : glyph.cy + spacing + text.cy;
      margin = ((horizontal ? client.cx : client.cy) - total + 1) / 2;
    }
  } else if (spacing == -1) {
    const int total = horizontal ? client.cx - (margin + glyph.cx) : client.cy - (margin + glyph.cy);
    spacing = ((horizontal ? text.cx : text.cy) == 0) ? 0 : (total - (horizontal ? text.cx : text.cy)) / 2;
  }
  switch (FLayout) {
    case blGlyphLeft:
      glyphPos.x = margin;
      textPos.x = glyphPos.x + glyph.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.x = client.cx - margin - glyph.cx;
      textPos.x = glyphPos.x - spacing - text.cx;
      break;
    case blGlyphTop:
      glyphPos.y = margin;
      textPos.y = glyphPos.y + glyph.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.y = client.cy - margin - glyph.cy;
      textPos.y = glyphPos.y - spacing - text.cy;
      break;
  }
  const int ox = paint.left + offset.x;
  const int oy = paint.top + offset.y;
  DrawGlyph(canvas, ox + glyphPos.x, oy + glyphPos.y, FState);
  if (!caption.empty()) {
    canvas.BkMode = gfx::BkMode::Transparent;
    Rect tr = Rect::FromXYWH(ox + textPos.x, oy + textPos.y, text.cx, text.cy);
    const unsigned flags = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (FState == bsDisabled) {
      Rect shifted = tr.Offset(1, 1);
      canvas.TextColor = clBtnHighlight;
      canvas.DrawText(caption, shifted, flags);
      canvas.TextColor = clBtnShadow;
    }
    canvas.DrawText(caption, tr, flags);
  }
}

std::optional<std::string> TSpeedButton::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Flat")) return PropText::Bool(FFlat);
  if (PropText::Is(name, "Down")) return PropText::Bool(FDown);
  if (PropText::Is(name, "GroupIndex")) return PropText::Int(FGroupIndex);
  if (PropText::Is(name, "AllowAllUp")) return PropText::Bool(FAllowAllUp);
  if (PropText::Is(name, "NumGlyphs")) return PropText::Int(FNumGlyphs);
  if (PropText::Is(name, "Layout")) return LayoutName(FLayout);
  if (PropText::Is(name, "Margin")) return PropText::Int(FMargin);
  if (PropText::Is(name, "Spacing")) return PropText::Int(FSpacing);
  if (PropText::Is(name, "Transparent")) return PropText::Bool(FTransparent);
  return TGraphicControl::GetPropText(name);
}
