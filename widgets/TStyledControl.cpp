#include "widgets/TStyledControl.h"

#include <algorithm>
#include <cctype>

#include "graphics/Canvas.h"
#include "toolkit/core/Accelerator.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TScreen.h"

namespace {

bool gHoverSuppression = false;

// The offset of the copy (or the main text) for a 3D spacing S towards POS: the copy first,
// then the main text.
void Offsets3d(TShadowPosition pos, int s, Point& main, Point& copy) {
  switch (pos) {
    case spLeftTop: main = {s, s}; copy = {0, 0}; break;
    case spLeftBottom: main = {s, 0}; copy = {0, s}; break;
    case spRightTop: main = {0, s}; copy = {s, 0}; break;
    case spRightBottom:
    default: main = {0, 0}; copy = {s, s}; break;
  }
}

}  // namespace

TStyledControl::TStyledControl(TComponent* AOwner)
    : TTransparentControl(AOwner),
      FFont3d(std::make_unique<TFont3d>()),
      FHilight3d(std::make_unique<THilight3d>()),
      FWorkFont3d(std::make_unique<TFont3d>()) {
  FFont3d->OnChange = [this](TObject*) { Font3dChanged(); };
  FHilight3d->OnChange = [this](TObject*) { Font3dChanged(); };
  SetBounds(Left(), Top(), 98, 20);
  SetColor(clBtnFace);
  SetTabStop(true);
  // Clicks are the control's own business (Toggle), not the toolkit's press-and-release.
  SetControlStyle((ControlStyle() | csCaptureMouse) & ~(csClickEvents | csDoubleClicks));
}

TStyledControl::~TStyledControl() = default;

void TStyledControl::SetHoverSuppression(bool value) { gHoverSuppression = value; }
bool TStyledControl::HoverSuppression() { return gHoverSuppression; }

bool TStyledControl::HoverAllowed() const {
  if (!gHoverSuppression || !Screen) return true;
  return dynamic_cast<TStyledControl*>(Screen->ActiveControl()) == nullptr;
}

void TStyledControl::Font3dChanged() {
  AdjustSize();
  Invalidate();
}

void TStyledControl::SetAlignment(TLeftRight value) {
  if (value == FAlignment || (value != taLeftJustify && value != taRightJustify)) return;
  FAlignment = value;
  Invalidate();
}

void TStyledControl::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustSize();
}

void TStyledControl::SetBoxColor(TColor value) {
  if (value == FBoxColor) return;
  FBoxColor = value;
  InvalidatePart(BoxArea());
}

void TStyledControl::SetButtonLike(bool value) {
  if (value == FButtonLike) return;
  FButtonLike = value;
  Invalidate();
}

void TStyledControl::SetCheckColor(TColor value) {
  if (value == FCheckColor) return;
  FCheckColor = value;
  Invalidate();
}

void TStyledControl::SetChecked(bool value) {
  if (!CanModify() || value == Checked()) return;
  SetState(value ? cbChecked : cbUnchecked);
}

void TStyledControl::SetState(TCheckBoxState value) {
  if (value == FState || value < cbUnchecked || value > cbGrayed) return;
  FState = value;
  InvalidateState();
}

void TStyledControl::SetFocusFrame(bool value) {
  if (value == FFocusFrame) return;
  FFocusFrame = value;
  Invalidate();
}

void TStyledControl::SetHilightStyle(TTextHilightStyle value) {
  if (value < hsNone || value > hsColor) return;
  if (value == hsFlushing) FFocusFrame = false;
  if (value == FHilightStyle) return;
  FHilightStyle = value;
  Invalidate();
}

void TStyledControl::SetSpacing(int value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Invalidate();
}

void TStyledControl::SetTextAlignment(TAlignment value) {
  if (value == FTextAlignment || value < taLeftJustify || value > taCenter) return;
  FTextAlignment = value;
  Invalidate();
}

void TStyledControl::SetVerticalAlignment(TVerticalAlignment value) {
  if (value == FVerticalAlignment || value < vaTop || value > vaCenter) return;
  FVerticalAlignment = value;
  Invalidate();
}

void TStyledControl::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustSize();
  InvalidateCaption();
}

std::string TStyledControl::ShownCaption() const { return Caption().substr(0, 255); }

Rect TStyledControl::BoxRect() const {
  const int h = Height();
  const int top = FVerticalAlignment == vaBottom ? h - 13 : FVerticalAlignment == vaCenter ? h / 2 - 6 : 1;
  const int left = FAlignment == taRightJustify ? Width() - 13 : 1;
  return Rect{left, top, left + 12, top + 12};
}

Rect TStyledControl::BoxArea() const {
  const int w = FSpacing + 14;
  return FAlignment == taRightJustify ? Rect{Width() - w, 0, Width(), Height() - 2} : Rect{0, 0, w, Height() - 2};
}

Rect TStyledControl::CaptionArea() const {
  const int x = FAlignment == taRightJustify ? 1 : FSpacing + 14;
  return Rect::FromXYWH(x, 1, Width() - FSpacing - 14, Height() - 2);
}

void TStyledControl::InvalidateState() {
  if (FButtonLike) Invalidate();
  else InvalidatePart(BoxArea());
}

void TStyledControl::InvalidateCaption() { InvalidatePart(CaptionArea().Inflate(2, 2)); }

void TStyledControl::EdgeColors(bool sunken, TColor& first, TColor& second) {
  first = sunken ? clBtnShadow : clBtnHighlight;
  second = sunken ? clBtnHighlight : clBtnShadow;
}

int TStyledControl::HoverState() const {
  if (!Enabled() || (ComponentState() & csDesigning)) return 0;
  if (FFocused) return 2;
  if (FMouseInside && HoverAllowed()) return 1;
  return 0;
}

char TStyledControl::Accelerator() const {
  const std::string& t = Caption();
  return char(std::toupper(static_cast<unsigned char>(AcceleratorChar(t))));
}

// ---- painting

void TStyledControl::Plain3d(TCanvas& canvas, Rect& r, unsigned format, TColor textColor, TColor color3d, int s,
                             TShadowPosition pos) {
  const bool measuring = (format & gfx::DT_CALCRECT) != 0;
  Point main, copy;
  Offsets3d(pos, s, main, copy);
  if (measuring) {
    Rect m = r;
    canvas.DrawText(ShownCaption(), m, format);
    if (s != 0) {
      const Rect a = m.Offset(main.x, main.y), b = m.Offset(copy.x, copy.y);
      r = a.Union(b);
    } else {
      r = m;
    }
    return;
  }
  if (s != 0) {
    Rect c = r.Offset(copy.x, copy.y);
    canvas.TextColor = color3d;
    canvas.DrawText(ShownCaption(), c, format);
  }
  Rect m = r.Offset(main.x, main.y);
  canvas.TextColor = textColor;
  canvas.DrawText(ShownCaption(), m, format);
}

void TStyledControl::DrawCaption(TCanvas& canvas, Rect& r, unsigned format, int hover, TColor fontColor) {
  const bool measuring = (format & gfx::DT_CALCRECT) != 0;
  const TFont3d& f3 = *FWorkFont3d;
  const THilight3d& h3 = *FHilight3d;
  if (hover != 0 && h3.Active()) {
    const TColor hc = hover == 1 ? h3.MouseOverColor() : h3.Color();
    const int hs = h3.Spacing();
    const int s3 = f3.Active() ? f3.Spacing() : 0;
    switch (FHilightStyle) {
      case hsMoving:
        if (!measuring) {
          const Point d = h3.Position() == spLeftTop      ? Point{-hs, -hs}
                          : h3.Position() == spLeftBottom ? Point{-hs, hs}
                          : h3.Position() == spRightTop   ? Point{hs, -hs}
                                                          : Point{hs, hs};
          r = r.Offset(d.x, d.y);
        }
        Plain3d(canvas, r, format, fontColor, hc, f3.Spacing(), h3.Position());
        return;
      case hsRaising:
        if (!measuring) {
          const int d = s3 - hs;
          const Point o = h3.Position() == spLeftTop      ? Point{0, 0}
                          : h3.Position() == spLeftBottom ? Point{0, d}
                          : h3.Position() == spRightTop   ? Point{d, 0}
                                                          : Point{d, d};
          r = r.Offset(o.x, o.y);
        }
        Plain3d(canvas, r, format, fontColor, hc, hs, h3.Position());
        return;
      case hsFlushing:
        if (measuring) {
          canvas.DrawText(ShownCaption(), r, format);
          return;
        }
        // A halo: the text in the highlight colour all round, the text on top.
        canvas.TextColor = hc;
        for (int dx = 1; dx <= hs; ++dx)
          for (int dy = 1; dy <= hs; ++dy)
            for (const Point sgn : {Point{1, 1}, Point{1, -1}, Point{-1, 1}, Point{-1, -1}}) {
              Rect o = r.Offset(sgn.x * dx, sgn.y * dy);
              canvas.DrawText(ShownCaption(), o, format);
            }
        canvas.TextColor = fontColor;
        canvas.DrawText(ShownCaption(), r, format);
        return;
      case hsUnderline: {
        gfx::Font underlined = canvas.Font;
        const gfx::Font plain = canvas.Font;
        underlined.Style |= gfx::fsUnderline;
        canvas.Font = underlined;
        if (f3.Active()) Plain3d(canvas, r, format, fontColor, f3.Color(), f3.Spacing(), f3.Position());
        else Plain3d(canvas, r, format, fontColor, fontColor, 0, spRightBottom);
        canvas.Font = plain;
        return;
      }
      case hsColor:
        Plain3d(canvas, r, format, hc, f3.Color(), f3.Active() ? f3.Spacing() : 0, f3.Position());
        return;
      case hsNone:
      default:
        Plain3d(canvas, r, format, fontColor, hc, hs, h3.Position());
        return;
    }
  }
  if (f3.Active()) Plain3d(canvas, r, format, fontColor, f3.Color(), f3.Spacing(), f3.Position());
  else Plain3d(canvas, r, format, fontColor, fontColor, 0, spRightBottom);
}

void TStyledControl::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  gfx::Bitmap picture(w, h, gfx::ColorToRGB(Color()));
  TCanvas c(picture);
  const Rect box = BoxRect();
  if (SeeThrough()) {
    PaintParentBackground(c);
  } else {
    c.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
    c.FillRect(BoxArea());
  }
  c.SelectFont(Font().Data());
  PaintBox(c, box);

  // Caption.
  unsigned format = FTextAlignment == taRightJustify ? unsigned(gfx::DT_RIGHT)
                    : FTextAlignment == taCenter     ? unsigned(gfx::DT_CENTER)
                                                     : 0u;
  if (FWordWrap) format |= gfx::DT_WORDBREAK;
  format |= gfx::DT_EXPANDTABS;
  const int hover = HoverState();
  FWorkFont3d->Assign(FFont3d.get());
  TColor fontColor = Font().Color();
  if (!Enabled()) {
    FWorkFont3d->SetActive(true);
    FWorkFont3d->SetPosition(spRightBottom);
    FWorkFont3d->SetSpacing(1);
    FWorkFont3d->SetColor(clBtnHighlight);
    fontColor = clGrayText;
  }
  c.SelectFont(Font().Data());
  c.BkMode = gfx::BkMode::Transparent;
  c.Brush.Style = gfx::BrushStyle::Clear;
  const Rect area = CaptionArea();
  Rect r = area;
  DrawCaption(c, r, format | gfx::DT_CALCRECT, hover, fontColor);
  const Rect measured = r;
  r.left = area.left;
  r.right = area.right;
  if (FVerticalAlignment == vaBottom) r = r.Offset(0, h - r.bottom);
  else if (FVerticalAlignment == vaCenter) r = r.Offset(0, (h - r.bottom) / 2);
  if (FPressed && FButtonLike) r = r.Offset(1, 1);
  DrawCaption(c, r, format, hover, fontColor);

  if (FFocused && FFocusFrame) {
    int shift = w + measured.left - measured.right - 21;
    if (FTextAlignment == taCenter) shift /= 2;
    else if (FTextAlignment != taRightJustify) shift = 0;
    Rect f = measured.Offset(shift, 0);
    f.left -= 1;
    f.right += 1;
    c.Brush = gfx::Brush{clBtnFace, gfx::BrushStyle::Solid, {}};
    c.FrameRect(f);
    c.DrawFocusRect(f);
  }
  Canvas().BitBlt(0, 0, w, h, picture, 0, 0);
}

void TStyledControl::AdjustSize() {
  if (!FAutoSize || (ComponentState() & csLoading)) return;
  gfx::Bitmap scratch(1, 1);
  TCanvas c(scratch);
  c.SelectFont(Font().Data());
  FWorkFont3d->Assign(FFont3d.get());
  const int inset = FHilightStyle == hsFlushing ? FHilight3d->Spacing() : 1;
  Rect r = Rect{0, 0, Width(), Height()}.Inflate(-inset, -inset);
  DrawCaption(c, r, gfx::DT_CALCRECT | (FWordWrap ? unsigned(gfx::DT_WORDBREAK) : 0u), 0, Font().Color());
  const int nw = r.Width() + 18, nh = r.Height() + 2;
  const int nl = FAlignment == taRightJustify ? Left() + Width() - nw : Left();
  SetBounds(nl, Top(), nw, nh);
}

void TStyledControl::Loaded() {
  TTransparentControl::Loaded();
  AdjustSize();
}

// ---- input

void TStyledControl::FireMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TStyledControl::FireMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TStyledControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft) {
    TTransparentControl::MouseDown(button, shift, x, y);
    return;
  }
  if (CanFocus()) SetFocus();
  TTransparentControl::MouseDown(button, shift, x, y);
  SetMouseCapture(true);
  FTracking = true;
  FPressed = true;
  Invalidate();
}

void TStyledControl::MouseMove(TShiftState shift, int x, int y) {
  if (FTracking) {
    // Both edges count as inside while the button is held.
    const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    if (inside != FPressed) {
      FPressed = inside;
      Invalidate();
    }
  }
  TTransparentControl::MouseMove(shift, x, y);
}

void TStyledControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FTracking) {
    SetMouseCapture(false);
    FTracking = false;
    FPressed = false;
    Invalidate();
    if (ClientRect().Contains(Point{x, y})) Toggle();
  }
  TTransparentControl::MouseUp(button, shift, x, y);
}

void TStyledControl::KeyDown(int& key, TShiftState shift) {
  TTransparentControl::KeyDown(key, shift);
  if (key == plat::VK_SPACE && !FPressed) {
    FPressed = true;
    Invalidate();
  }
}

void TStyledControl::KeyUp(int& key, TShiftState shift) {
  TTransparentControl::KeyUp(key, shift);
  // Only a space pressed on this control clicks it (not one held while the focus came here).
  if (key == plat::VK_SPACE && FPressed && !FTracking) {
    FPressed = false;
    Invalidate();
    Toggle();
  }
}

bool TStyledControl::WantsKey(int key) const {
  return key == plat::VK_LEFT || key == plat::VK_RIGHT || key == plat::VK_UP || key == plat::VK_DOWN;
}

void TStyledControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      const bool enter = message.Msg == CM_MOUSEENTER;
      FMouseInside = enter;
      if (enter) FireMouseEnter();
      else FireMouseLeave();
      if (Enabled() && !FFocused && HoverAllowed()) {
        // Only a highlight that looks different needs the repaint.
        const THilight3d& h3 = *FHilight3d;
        const TFont3d& f3 = *FFont3d;
        const bool differs = h3.Active() && (h3.Active() != f3.Active() || h3.Color() != f3.Color() ||
                                             h3.Position() != f3.Position() || h3.Spacing() != f3.Spacing() ||
                                             h3.MouseOverColor() != f3.Color());
        if (FHilightStyle != hsNone || differs) InvalidateCaption();
      }
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TTransparentControl::WndProc(message);
      FFocused = message.Msg == WM_SETFOCUS;
      InvalidateCaption();
      return;
    case WM_CAPTURECHANGED:
      TTransparentControl::WndProc(message);
      if (FTracking) {
        FTracking = false;
        FPressed = false;
        Invalidate();
      }
      return;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY: {
      // The caption's accelerator: typed as a character, or Alt with its key.
      const char a = Accelerator();
      const auto shift = TShiftState(message.LParam);
      const bool typed = message.Msg == CM_DIALOGCHAR || ((shift & ssAlt) && !(shift & ssCtrl));
      if (a && typed && Enabled() && CanFocus() && std::toupper(int(message.WParam)) == a) {
        Toggle();
        message.Result = 1;
        return;
      }
      TTransparentControl::WndProc(message);
      return;
    }
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TTransparentControl::WndProc(message);
      AdjustSize();
      return;
    default:
      TTransparentControl::WndProc(message);
      return;
  }
}

std::optional<std::string> TStyledControl::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Checked")) return Bool(Checked());
  if (Is(name, "Alignment")) return Enum(FAlignment, {"taLeftJustify", "taRightJustify"});
  if (Is(name, "AutoSize")) return Bool(FAutoSize);
  if (Is(name, "BoxColor")) return PropText::Color(FBoxColor);
  if (Is(name, "ButtonLike")) return Bool(FButtonLike);
  if (Is(name, "CheckColor")) return PropText::Color(FCheckColor);
  if (Is(name, "FocusFrame")) return Bool(FFocusFrame);
  if (Is(name, "Font3d.Active")) return Bool(FFont3d->Active());
  if (Is(name, "Hilight3d.Active")) return Bool(FHilight3d->Active());
  if (Is(name, "HilightStyle"))
    return Enum(FHilightStyle, {"hsNone", "hsMoving", "hsRaising", "hsFlushing", "hsUnderline", "hsColor"});
  if (Is(name, "Spacing")) return Int(FSpacing);
  if (Is(name, "TextAlignment")) return PropText::Alignment(FTextAlignment);
  if (Is(name, "TransparentMode"))
    return Enum(TransparentMode(), {"tmOpaque", "tmSemiTransparent", "tmTransparent"});
  if (Is(name, "VerticalAlignment")) return Enum(FVerticalAlignment, {"vaTop", "vaBottom", "vaCenter"});
  if (Is(name, "WordWrap")) return Bool(FWordWrap);
  return TTransparentControl::GetPropText(name);
}
