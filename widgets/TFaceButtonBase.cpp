#include "widgets/TFaceButtonBase.h"

#include <cctype>

#include "graphics/Canvas.h"
#include "toolkit/core/Accelerator.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/menus/TPopupMenu.h"

TFaceButtonBase::TFaceButtonBase(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 25, 25);
  SetControlStyle(ControlStyle() | csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque);
}

#define FACE_SETTER(Name, Field, Type) \
  void TFaceButtonBase::Set##Name(Type value) { \
    if (value == Field) return;                   \
    Field = value;                                \
    Invalidate();                                 \
  }
FACE_SETTER(LightColor, FLightColor, TColor)
FACE_SETTER(ShadowColor, FShadowColor, TColor)
FACE_SETTER(GrayedInactive, FGrayedInactive, bool)
FACE_SETTER(Layout, FLayout, TButtonLayout)
FACE_SETTER(BevelWidth, FBevelWidth, int)
FACE_SETTER(MarkDropDown, FMarkDropDown, bool)
FACE_SETTER(Spacing, FSpacing, int)
#undef FACE_SETTER

void TFaceButtonBase::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  FHot = !value;
  Invalidate();
}

void TFaceButtonBase::SetGlyph(const gfx::Bitmap& value) {
  FGlyph = value;
  const int w = FGlyph.Width(), h = FGlyph.Height();
  if (h > 0 && w % h == 0) FFrameCount = w / h;
  FTransparentColor = w > 0 && h > 0 ? FGlyph.At(0, h - 1) : clNone;
  Invalidate();
}

int TFaceButtonBase::FrameWidth() const {
  return FFrameCount > 0 ? FGlyph.Width() / FFrameCount : FGlyph.Width();
}

void TFaceButtonBase::SetDropDownMenu(TPopupMenu* value) {
  if (value == FDropDownMenu) return;
  if (FDropDownMenu) RemoveFreeNotification(FDropDownMenu);
  FDropDownMenu = value;
  if (value) FreeNotification(value);
  Invalidate();
}

void TFaceButtonBase::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FDropDownMenu) FDropDownMenu = nullptr;
}

void TFaceButtonBase::SetDown(bool value) {
  if (FGroupIndex == 0 || value == FDown) return;
  FDown = value;
  Invalidate();
  if (!value || !Parent()) return;
  TWinControl* p = Parent();
  for (int i = 0; i < p->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TFaceButtonBase*>(p->Controls(i)); b && b != this && b->FGroupIndex == FGroupIndex)
      b->SetDown(false);
}

void TFaceButtonBase::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  if (value == 0 && FDown) {
    FDown = false;
    Invalidate();
  }
  FGroupIndex = value;
}

// ---- painting

void TFaceButtonBase::DrawGlyphFrame(TCanvas& c, int x, int y) {
  const int fw = FrameWidth(), fh = FGlyph.Height();
  if (fw <= 0 || fh <= 0) return;
  // Frames: 1 up, 2 disabled, 3 pressed; one that is missing falls back to the first.
  const bool pressed = FPressed || FDown;
  int frame = !Enabled() ? 1 : pressed ? 2 : 0;
  if (frame >= std::max(1, FFrameCount)) frame = 0;
  const int sx = frame * fw;
  const bool grey = FFlat && !FHot && !FDown && FGrayedInactive && fw * fh <= 10000;
  const TColor corner = FGlyph.At(sx, 0);
  for (int gy = 0; gy < fh; ++gy)
    for (int gx = 0; gx < fw; ++gx) {
      TColor p = FGlyph.At(sx + gx, gy);
      if (grey && p != corner) {
        // Four grey levels by brightness.
        const int s = int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF);
        p = s > 550 ? clWhite : s > 250 ? gfx::ColorToRGB(FLightColor) : s <= 60 ? clBlack : gfx::ColorToRGB(FShadowColor);
      }
      if (FGlyph.At(sx + gx, gy) == FTransparentColor) continue;
      c.SetPixel(x + gx, y + gy, p);
    }
}

void TFaceButtonBase::PaintFace(TCanvas& c) {
  const int W = Width(), H = Height();
  c.SelectFont(Font().Data());
  const std::string& caption = Caption();
  const int m = FMarkDropDown && FDropDownMenu ? 4 : 0;
  const int tw = caption.empty() ? 0 : c.TextWidth(caption);
  const int th = caption.empty() ? 0 : c.TextHeight(caption);
  const int gw = FGlyph.Height() > 0 ? FrameWidth() : 0, gh = FGlyph.Height();
  int tx = 0, ty = 0, gx = 0, gy = 0, ax = 0;
  switch (FLayout) {
    case blGlyphRight:
      tx = W / 2 - tw / 2 - FSpacing - gw / 2;
      ty = H / 2 - th / 2;
      gx = tw / 2 + W / 2 + FSpacing - gw / 2;
      gy = H / 2 - gh / 2;
      ax = tx - 4;
      break;
    case blGlyphTop:
    case blGlyphBottom: {
      const int k = (gh + th + FSpacing + 2) / 2;
      tx = W / 2 - tw / 2 - m;
      gx = W / 2 - gw / 2;
      if (FLayout == blGlyphTop) {
        ty = gh + H / 2 + FSpacing - k;
        gy = ty - gh - FSpacing;
      } else {
        ty = H / 2 - k;
        gy = ty + th + FSpacing;
      }
      ax = tx + tw + m / 2 + 2;
      break;
    }
    case blGlyphLeft:
    default:
      tx = W / 2 + gw / 2 + FSpacing - tw / 2;
      ty = H / 2 - th / 2;
      gx = tx - FSpacing - gw;
      gy = H / 2 - gh / 2;
      ax = tx + tw + 2;
      break;
  }
  if (!caption.empty()) {
    c.BkMode = gfx::BkMode::Transparent;
    c.Brush.Style = gfx::BrushStyle::Clear;
    Rect r{tx, ty, W - FBevelWidth - m - 1, H};
    if (!Enabled()) {
      c.TextColor = clSilver;
      c.DrawText(caption, r, gfx::DT_NOCLIP);
      r = r.Offset(2, 2);
      c.TextColor = clGray;
    } else {
      c.TextColor = Font().Color();
    }
    c.DrawText(caption, r, gfx::DT_NOCLIP);
  }
  if (m > 0) {
    const TColor ink = Font().Color();
    c.Pen = gfx::Pen{ink, 1, gfx::PenStyle::Solid};
    c.Brush = gfx::Brush{ink, gfx::BrushStyle::Solid, {}};
    const Point tri[] = {{ax, ty + 1}, {ax + 3, ty + 1}, {ax + 2, ty + 3}};
    c.Polygon(tri);
  }
  if (gh > 0) DrawGlyphFrame(c, gx, gy);

  const bool sunk = FPressed || FDown;
  if (FFlat) {
    if (!FHot) return;
    // A one-colour frame BevelWidth pixels wide.
    const TColor tl = sunk ? FShadowColor : FLightColor, br = sunk ? FLightColor : FShadowColor;
    Rect r{0, 0, W, H};
    for (int i = 0; i < FBevelWidth; ++i) {
      const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
      c.Pen = gfx::Pen{tl, 1, gfx::PenStyle::Solid};
      const Point a[] = {{l, b}, {l, t}, {rr, t}};
      c.Polyline(a);
      c.Pen.Color = br;
      const Point z[] = {{rr, t}, {rr, b}, {l - 1, b}};
      c.Polyline(z);
      r = r.Inflate(-1, -1);
    }
    return;
  }
  if (FBevelWidth <= 0) return;
  Rect r{0, 0, W, H};
  if (!sunk) {
    c.DrawEdge(r, gfx::BDR_RAISEDOUTER, gfx::BF_RIGHT | gfx::BF_BOTTOM);
    r.right -= 1;
    r.bottom -= 1;
    c.DrawEdge(r, gfx::BDR_RAISEDINNER, gfx::BF_LEFT | gfx::BF_TOP);
    r.left += 1;
    r.top += 1;
    c.DrawEdge(r, gfx::BDR_RAISEDINNER, gfx::BF_RIGHT | gfx::BF_BOTTOM);
  } else {
    c.DrawEdge(r, gfx::BDR_SUNKENINNER, gfx::BF_LEFT | gfx::BF_TOP);
    c.DrawEdge(r, gfx::BDR_SUNKENOUTER, gfx::BF_RIGHT | gfx::BF_BOTTOM);
    r = r.Inflate(-1, -1);
    c.DrawEdge(r, gfx::BDR_SUNKENOUTER, gfx::BF_LEFT | gfx::BF_TOP);
  }
}

// ---- input

void TFaceButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  FPressed = true;
  Repaint();
  if (FDropDownMenu) {
    if (Application) Application->ProcessMessages();
    FPressed = false;
    FHot = !FFlat;
    Repaint();
    const Point p = ClientToScreen(Point{0, Height()});
    FDropDownMenu->Popup(p.x, p.y);
  }
}

void TFaceButtonBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !Enabled() || !FPressed) return;
  FPressed = false;
  Repaint();
}

char TFaceButtonBase::Accelerator() const {
  const std::string& t = Caption();
  return char(std::toupper(static_cast<unsigned char>(AcceleratorChar(t))));
}

void TFaceButtonBase::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
      TGraphicControl::WndProc(message);
      FHot = true;
      if (FFlat) Invalidate();
      return;
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(message);
      FHot = !FFlat;
      if (FFlat) Invalidate();
      return;
    case WM_CAPTURECHANGED:
      TGraphicControl::WndProc(message);
      if (FPressed && !FDropDownMenu) {
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
      if (a && typed && Enabled() && Visible() && std::toupper(int(message.WParam)) == a) {
        // As if clicked where the pointer is: press, release, click.
        MouseDown(mbLeft, ssLeft, 0, 0);
        if (Application) Application->ProcessMessages();
        MouseUp(mbLeft, 0, 0, 0);
        if (Application) Application->ProcessMessages();
        Click();
        message.Result = 1;
        return;
      }
      TGraphicControl::WndProc(message);
      return;
    }
    default:
      TGraphicControl::WndProc(message);
      return;
  }
}

std::optional<std::string> TFaceButtonBase::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Down")) return Bool(FDown);
  if (Is(name, "GroupIndex")) return Int(FGroupIndex);
  if (Is(name, "Flat")) return Bool(FFlat);
  if (Is(name, "BevelWidth")) return Int(FBevelWidth);
  if (Is(name, "Spacing")) return Int(FSpacing);
  if (Is(name, "GrayedInactive")) return Bool(FGrayedInactive);
  if (Is(name, "LightColor")) return PropText::Color(FLightColor);
  if (Is(name, "ShadowColor")) return PropText::Color(FShadowColor);
  if (Is(name, "Layout")) return Enum(FLayout, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  return TGraphicControl::GetPropText(name);
}
