#include "toolbarkit/TFlatButton.h"

#include <algorithm>

#include "graphics/Canvas.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"
#include "toolkit/core/TTimer.h"
#include "toolkit/menus/TPopupMenu.h"

namespace {

// Shared by all flat buttons: the hot-tracking timer lives while any button does.
int gButtons = 0;
TFlatButton* gHotButton = nullptr;
std::unique_ptr<TTimer> gHotTimer;

// The highlight pattern of a latched button: button face with the highlight colour on every
// pixel whose row and column are both even or both odd (0 bits take the text colour).
gfx::Brush HighlightPattern() {
  gfx::Brush b{clBtnFace, gfx::BrushStyle::Pattern, {}};
  for (int y = 0; y < 8; ++y) b.Pattern[std::size_t(y)] = y % 2 == 0 ? 0x55 : 0xAA;
  return b;
}

bool PointerPos(Point& p) { return plat::Platform::HasCurrent() && plat::Platform::Current().GetCursorPos(p); }

}  // namespace

TFlatButton::TFlatButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 22, 23);
  SetColor(clBtnFace);
  SetControlStyle((ControlStyle() | csCaptureMouse | csOpaque) & ~(csClickEvents | csDoubleClicks));
  if (gButtons++ == 0 || !gHotTimer) {
    gHotTimer = TComponent::Make<TTimer>(nullptr);
    gHotTimer->SetEnabled(false);
    gHotTimer->SetInterval(kHotTrackInterval);
    gHotTimer->SetOnTimer([](TObject*) {
      if (!gHotButton) return;
      if (!gHotButton->TopmostAtPointer()) gHotButton->MouseLeave();
    });
  }
}

TFlatButton::~TFlatButton() {
  if (gHotButton == this) {
    gHotButton = nullptr;
    if (gHotTimer) gHotTimer->SetEnabled(false);
  }
  if (--gButtons == 0) gHotTimer.reset();
}

TFlatButton* TFlatButton::HotButton() { return gHotButton; }
bool TFlatButton::HotTrackTimerRunning() { return gHotTimer && gHotTimer->Enabled(); }
bool TFlatButton::RepeatTimerRunning() const { return FRepeatTimer && FRepeatTimer->Enabled(); }

// ---- properties

#define FLAT_SETTER(Name, Field, Type) \
  void TFlatButton::Set##Name(Type value) { \
    if (value == Field) return;               \
    Field = value;                            \
    Invalidate();                             \
  }
FLAT_SETTER(Flat, FFlat, bool)
FLAT_SETTER(Opaque, FOpaque, bool)
FLAT_SETTER(HighlightWhenDown, FHighlightWhenDown, bool)
FLAT_SETTER(NoBorder, FNoBorder, bool)
FLAT_SETTER(Layout, FLayout, TButtonLayout)
FLAT_SETTER(Spacing, FSpacing, int)
FLAT_SETTER(Alignment, FAlignment, TAlignment)
FLAT_SETTER(DisplayMode, FDisplayMode, TDisplayMode)
FLAT_SETTER(DropdownArrow, FDropdownArrow, bool)
FLAT_SETTER(DropdownCombo, FDropdownCombo, bool)
FLAT_SETTER(OldDisabledStyle, FOldDisabledStyle, bool)
FLAT_SETTER(WordWrap, FWordWrap, bool)
#undef FLAT_SETTER

void TFlatButton::SetMargin(int value) {
  value = std::max(value, -1);
  if (value == FMargin) return;
  FMargin = value;
  Invalidate();
}

void TFlatButton::SetDropdownArrowWidth(int value) {
  value = std::max(value, 0);
  if (value == FDropdownArrowWidth) return;
  FDropdownArrowWidth = value;
  Invalidate();
}

void TFlatButton::SetGlyph(const gfx::Bitmap& value) {
  FGlyph = value;
  Invalidate();
}

void TFlatButton::SetGlyphMask(const gfx::Bitmap& value) {
  FGlyphMask = value;
  Invalidate();
}

void TFlatButton::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == FNumGlyphs) return;
  FNumGlyphs = value;
  Invalidate();
}

void TFlatButton::SetDropdownMenu(TPopupMenu* value) {
  if (value == FDropdownMenu) return;
  if (FDropdownMenu) RemoveFreeNotification(FDropdownMenu);
  FDropdownMenu = value;
  if (value) FreeNotification(value);
  Invalidate();
}

void TFlatButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
}

void TFlatButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  if (FGroupIndex == 0 && FDown) {
    FDown = false;
    FState = FMouseInControl ? bstHot : bstUp;
    Invalidate();
  }
}

void TFlatButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  // The whole group follows.
  if (TWinControl* p = Parent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TFlatButton*>(p->Controls(i)); b && b != this && FGroupIndex && b->FGroupIndex == FGroupIndex)
        b->FAllowAllUp = value;
}

void TFlatButton::SetDown(bool value) {
  // Only a button of a group latches; a latched one rises only where the group allows it.
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  if (value) {
    if (FState == bstUp || FState == bstHot) Invalidate();
    FState = bstExclusive;
    ReleaseGroup();
  } else {
    FState = FMouseInControl ? bstHot : bstUp;
  }
  Invalidate();
}

void TFlatButton::ReleaseGroup() {
  TWinControl* p = Parent();
  if (!p || FGroupIndex == 0) return;
  for (int i = 0; i < p->ControlCount(); ++i) {
    auto* b = dynamic_cast<TFlatButton*>(p->Controls(i));
    if (!b || b == this || b->FGroupIndex != FGroupIndex || !b->FDown) continue;
    b->FDown = false;
    b->FState = b->FMouseInControl ? bstHot : bstUp;
    b->Invalidate();
  }
}

// ---- hot tracking

bool TFlatButton::TopmostAtPointer() const {
  Point pt;
  if (!PointerPos(pt) || !Showing()) return false;
  TForm* form = ParentForm();
  if (!form) return false;
  if (plat::NativeWindow* w = form->NativeWindow(); !w) return false;
  const Point local = form->ScreenToClient(pt);
  return form->ControlAtPos(local) == this;
}

void TFlatButton::MouseEnter() {
  if (!Enabled() || FMouseInControl) return;
  FMouseInControl = true;
  if (FState == bstUp) FState = bstHot;
  if (FFlat) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TFlatButton::MouseLeave() {
  if (!Enabled() || !FMouseInControl || FMouseIsDown) return;
  FMouseInControl = false;
  if (gHotButton == this) {
    if (gHotTimer) gHotTimer->SetEnabled(false);
    gHotButton = nullptr;
  }
  if (FState == bstHot || (FState == bstDown && !FInClick)) FState = FDown && FGroupIndex ? bstExclusive : bstUp;
  Invalidate();
  if (OnMouseExit) OnMouseExit(this);
}

void TFlatButton::CheckPointer() {
  if (!TopmostAtPointer()) MouseLeave();
}

// ---- mouse

int TFlatButton::ArrowPartWidth() const {
  return FDropdownMenu && FDropdownArrow ? FDropdownArrowWidth : 0;
}

void TFlatButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (FMouseIsDown) {
    const bool inside = x >= 0 && x < Width() - (FDropdownCombo ? ArrowPartWidth() : 0) && y >= 0 && y < Height();
    if (inside && FRepeatTimer) FRepeatTimer->SetEnabled(true);
    const TFlatButtonState next = FDown ? bstExclusive : inside ? bstDown : bstUp;
    if (next != FState) {
      FState = next;
      Invalidate();
    }
    return;
  }
  if (gHotButton != this && TopmostAtPointer()) {
    if (gHotButton) gHotButton->MouseLeave();
    TForm* active = Screen ? Screen->ActiveForm() : nullptr;
    if (FShowBorderWhenInactive || (active && active->Active())) {
      gHotButton = this;
      if (gHotTimer) gHotTimer->SetEnabled(true);
      MouseEnter();
    }
  }
}

void TFlatButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft || !Enabled()) {
    TGraphicControl::MouseDown(button, shift, x, y);
    return;
  }
  MouseEnter();
  const int arrow = ArrowPartWidth();
  FMenuIsDown = arrow > 0 && (!FDropdownCombo || x >= Width() - arrow);
  if (FState == bstUp || FState == bstHot) {
    FState = bstDown;
    Invalidate();
  } else if (FDown && FAllowAllUp) {
    FState = bstDown;
    Invalidate();
  }
  FMouseIsDown = true;
  TGraphicControl::MouseDown(button, shift, x, y);
  if (FMenuIsDown && FDropdownMenu) {
    // The menu opens under the button; the button rises when it is done.
    Repaint();
    const Point p = ClientToScreen(Point{0, Height()});
    FDropdownMenu->Popup(p.x, p.y);
    return;
  }
  if (FRepeating) {
    Click();
    if (!FRepeatTimer) {
      FRepeatTimer = TComponent::Make<TTimer>(nullptr);
      FRepeatTimer->SetOnTimer([this](TObject*) { RepeatTimerTick(); });
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(FRepeatDelay);
    FRepeatTimer->SetEnabled(true);
  }
}

void TFlatButton::RepeatTimerTick() {
  FRepeatTimer->SetInterval(FRepeatInterval);
  Point pt;
  const bool inside = PointerPos(pt) && ClientRect().Contains(ScreenToClient(pt));
  if (FRepeating && FMouseIsDown && MouseCapture() && inside) {
    Click();
  } else {
    FRepeatTimer->SetEnabled(false);
  }
}

void TFlatButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbRight && Enabled()) {
    FMouseIsDown = false;
    MouseLeave();
  }
  if (button != mbLeft) {
    TGraphicControl::MouseUp(button, shift, x, y);
    return;
  }
  FRepeatTimer.reset();
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FMouseIsDown) return;
  FMouseIsDown = false;
  const bool menu = FMenuIsDown;
  FMenuIsDown = false;
  const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
  if (!inside || FRepeating || menu) {
    if (FState == bstDown) FState = FDown && FGroupIndex ? bstExclusive : (inside ? bstHot : bstUp);
    Invalidate();
    if (!inside) MouseLeave();
    return;
  }
  Click();
}

void TFlatButton::CancelMode() {
  FRepeatTimer.reset();
  if (!FMouseIsDown) return;
  FMouseIsDown = false;
  if (FState == bstDown) FState = FDown && FGroupIndex ? bstExclusive : bstUp;
  MouseLeave();
  Invalidate();
}

void TFlatButton::Click() {
  if (FRepeating) {
    TGraphicControl::Click();
    return;
  }
  FInClick = true;
  struct EndClick {
    TFlatButton* B;
    ~EndClick() {
      B->FInClick = false;
      if (B->FState == bstDown) B->FState = B->FMouseInControl ? bstHot : bstUp;
      B->Invalidate();
    }
  } end{this};
  if (FGroupIndex != 0) SetDown(!FDown);
  if (FState == bstDown) {
    FState = FDown && FGroupIndex ? bstExclusive : (FMouseInControl ? bstHot : bstUp);
    Invalidate();
  }
  CheckPointer();
  if (FModalResult != mrNone)
    if (TForm* f = ParentForm()) f->SetModalResult(FModalResult);
  TGraphicControl::Click();
}

void TFlatButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_CAPTURECHANGED:
      TGraphicControl::WndProc(message);
      if (FMouseIsDown && !MouseCapture()) CancelMode();
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) {
        FRepeatTimer.reset();
        FMouseIsDown = false;
        FMouseInControl = false;
        if (gHotButton == this) {
          gHotButton = nullptr;
          if (gHotTimer) gHotTimer->SetEnabled(false);
        }
        FState = bstDisabled;
      } else {
        FState = FDown && FGroupIndex ? bstExclusive : bstUp;
      }
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // Hot tracking follows the pointer itself (see MouseMove and the shared timer).
      return;
    default:
      TGraphicControl::WndProc(message);
      return;
  }
}

// ---- painting

void TFlatButton::DrawGlyph(TCanvas& canvas, int x, int y) {
  if (FGlyph.Width() <= 0 || FGlyph.Height() <= 0) return;
  const int n = std::max(1, FNumGlyphs);
  const int gw = FGlyph.Width() / n, gh = FGlyph.Height();
  int index = FState == bstDisabled ? 1 : FState == bstDown ? 2 : FState == bstExclusive ? 3 : 0;
  const bool emboss = FState == bstDisabled && index >= n;
  if (index >= n) index = 0;
  const TColor key = FGlyph.At(index * gw, gh - 1);
  const bool masked = FGlyphMask.Width() >= gw && FGlyphMask.Height() >= gh;
  auto opaque = [&](int gx, int gy) {
    if (masked) return FGlyphMask.At(gx, gy) != clWhite;
    return FGlyph.At(index * gw + gx, gy) != key;
  };
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx) {
      if (!opaque(gx, gy)) continue;
      if (emboss) {
        // Without a disabled image the glyph is pressed into the face: a light copy a
        // pixel down and right, the dark parts on top.
        const TColor c = FGlyph.At(index * gw + gx, gy);
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        if (lum < 3 * 192) {
          canvas.SetPixel(x + gx + 1, y + gy + 1, clBtnHighlight);
        }
      } else {
        canvas.SetPixel(x + gx, y + gy, FGlyph.At(index * gw + gx, gy));
      }
    }
  if (emboss)
    for (int gy = 0; gy < gh; ++gy)
      for (int gx = 0; gx < gw; ++gx) {
        if (!opaque(gx, gy)) continue;
        const TColor c = FGlyph.At(index * gw + gx, gy);
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        if (lum < 3 * 192) canvas.SetPixel(x + gx, y + gy, clBtnShadow);
      }
}

void TFlatButton::DrawGlyphAndCaption(TCanvas& c, const Rect& content, Point shift) {
  const bool showGlyph = FDisplayMode != dmTextOnly && FGlyph.Width() > 0;
  const std::string caption = FDisplayMode == dmGlyphOnly ? std::string() : Caption();
  const int gw = showGlyph ? FGlyph.Width() / std::max(1, FNumGlyphs) : 0;
  const int gh = showGlyph ? FGlyph.Height() : 0;
  const int cw = content.Width(), ch = content.Height();
  if (caption.empty()) {
    if (showGlyph)
      DrawGlyph(c, content.left + (cw - gw + 1) / 2 + shift.x, content.top + (ch - gh + 1) / 2 + shift.y);
    return;
  }
  c.SelectFont(Font().Data());
  c.BkMode = gfx::BkMode::Transparent;
  const unsigned wrap = FWordWrap ? unsigned(gfx::DT_WORDBREAK) : unsigned(gfx::DT_SINGLELINE);
  const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  Rect measure{0, 0, across ? std::max(1, cw - gw - (gw ? FSpacing : 0)) : cw, ch};
  c.DrawText(caption, measure, gfx::DT_CALCRECT | wrap);
  const int tw = measure.Width(), th = measure.Height();
  const int gap = gw && tw ? FSpacing : 0;
  // The glyph and caption block: at Margin from the glyph's side, or centred.
  Point glyph{}, text{};
  if (across) {
    const int total = gw + gap + tw;
    int start = FMargin >= 0 ? FMargin : (cw - total + 1) / 2;
    if (FMargin < 0 && FAlignment == taLeftJustify) start = 0;
    if (FMargin < 0 && FAlignment == taRightJustify) start = cw - total;
    if (FLayout == blGlyphRight && FMargin >= 0) start = cw - FMargin - total;
    const int gx = FLayout == blGlyphLeft ? start : start + tw + gap;
    const int tx = FLayout == blGlyphLeft ? start + gw + gap : start;
    glyph = {gx, (ch - gh + 1) / 2};
    text = {tx, (ch - th + 1) / 2};
  } else {
    const int total = gh + gap + th;
    int start = FMargin >= 0 ? FMargin : (ch - total + 1) / 2;
    if (FLayout == blGlyphBottom && FMargin >= 0) start = ch - FMargin - total;
    const int gy = FLayout == blGlyphTop ? start : start + th + gap;
    const int ty = FLayout == blGlyphTop ? start + gh + gap : start;
    glyph = {(cw - gw + 1) / 2, gy};
    text = {(cw - tw + 1) / 2, ty};
  }
  if (showGlyph) DrawGlyph(c, content.left + glyph.x + shift.x, content.top + glyph.y + shift.y);
  Rect tr = Rect::FromXYWH(content.left + text.x + shift.x, content.top + text.y + shift.y, tw, th);
  const unsigned align = gfx::DT_CENTER | wrap;
  if (FState == bstDisabled) {
    Rect light = tr.Offset(1, 1);
    c.TextColor = clBtnHighlight;
    c.DrawText(caption, light, align);
    c.TextColor = clBtnShadow;
  } else {
    c.TextColor = Font().Color();
  }
  c.DrawText(caption, tr, align);
}

void TFlatButton::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  const bool offscreen = FOpaque || !FFlat;
  gfx::Bitmap picture;
  std::unique_ptr<TCanvas> own;
  if (offscreen) {
    picture = gfx::Bitmap(w, h, gfx::ColorToRGB(Color()));
    own = std::make_unique<TCanvas>(picture);
  }
  TCanvas& c = offscreen ? *own : Canvas();
  const bool designing = (ComponentState() & csDesigning) != 0;
  if (!Enabled()) FState = bstDisabled;
  const bool pressed = (FState == bstDown || FState == bstExclusive) && !(FDropdownCombo && FMenuIsDown);
  const bool border =
      designing || (!FNoBorder && (!FFlat || FState == bstDown || FState == bstExclusive ||
                                   (FMouseInControl && FState != bstDisabled)));
  Rect r{0, 0, w, h};
  const int arrow = ArrowPartWidth();
  if (border) {
    Rect e = r;
    if (FFlat) c.DrawEdge(e, pressed ? gfx::BDR_SUNKENOUTER : gfx::BDR_RAISEDINNER, gfx::BF_RECT);
    else c.DrawEdge(e, pressed ? gfx::EDGE_SUNKEN : gfx::EDGE_RAISED, gfx::BF_RECT | gfx::BF_MIDDLE | gfx::BF_SOFT);
  }
  Rect content = r;
  if (!FNoBorder) content = content.Inflate(FFlat ? -1 : -2, FFlat ? -1 : -2);
  Point shift{};
  if (pressed) {
    if (FState == bstExclusive && FHighlightWhenDown && !(FFlat && FMouseInControl)) {
      c.Brush = HighlightPattern();
      c.TextColor = clBtnHighlight;
      c.BkColor = clBtnFace;
      c.FillRect(content);
    }
    shift = {1, 1};
  }
  if (arrow > 0) {
    // The drop-down arrow: a small triangle pointing down at the right.
    content.right -= arrow;
    const int ax = content.right + (arrow - 5) / 2 + shift.x, ay = (h - 3) / 2 + shift.y;
    const TColor ink = Enabled() ? Font().Color() : clBtnShadow;
    for (int i = 0; i < 3; ++i)
      for (int x = ax + i; x < ax + 5 - i; ++x) c.SetPixel(x, ay + i, ink);
    if (FDropdownCombo && border) {
      c.Pen = gfx::Pen{clBtnShadow, 1, gfx::PenStyle::Solid};
      c.MoveTo(content.right, 1);
      c.LineTo(content.right, h - 1);
    }
  }
  DrawGlyphAndCaption(c, content, shift);
  if (offscreen) Canvas().BitBlt(0, 0, w, h, picture, 0, 0);
}

std::optional<std::string> TFlatButton::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Flat")) return Bool(FFlat);
  if (Is(name, "Down")) return Bool(FDown);
  if (Is(name, "GroupIndex")) return Int(FGroupIndex);
  if (Is(name, "AllowAllUp")) return Bool(FAllowAllUp);
  if (Is(name, "Repeating")) return Bool(FRepeating);
  if (Is(name, "RepeatDelay")) return Int(FRepeatDelay);
  if (Is(name, "RepeatInterval")) return Int(FRepeatInterval);
  if (Is(name, "NumGlyphs")) return Int(FNumGlyphs);
  if (Is(name, "Margin")) return Int(FMargin);
  if (Is(name, "Spacing")) return Int(FSpacing);
  if (Is(name, "Layout")) return Enum(FLayout, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  if (Is(name, "State")) return Enum(FState, {"bsUp", "bsDisabled", "bsDown", "bsExclusive", "bsHot"});
  return TGraphicControl::GetPropText(name);
}
