#include "toolkit/core/TControl.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"
#include "toolkit/core/TWinControl.h"

namespace {

std::string FontStyleText(TFontStyles s) {
  std::string out = "[";
  const char* names[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  for (int i = 0; i < 4; ++i) {
    if (!(s & (1 << i))) continue;
    if (out.size() > 1) out += ',';
    out += names[i];
  }
  return out + "]";
}

}  // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FWindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  if (FParent) {
    TWinControl* p = FParent;
    FParent = nullptr;
    if (!p->Destroying()) InvalidateRectFromParent(p);
    p->RemoveControl(this);
  }
}

void TControl::InvalidateRectFromParent(TWinControl* parent) {
  // Our own place in the parent, computed from the parent since we are leaving it.
  TForm* form = parent->ParentForm();
  if (!form || form->Destroying()) return;
  Rect parentVisible = parent->VisibleWindowRect();
  if (parentVisible.IsEmpty() || !FVisible) return;
  Point o = parent->WindowOrigin();
  form->InvalidateWindowRect(BoundsRect().Offset(o.x, o.y).Intersect(parentVisible));
}

void TControl::SetParent(TWinControl* value) {
  if (value == FParent) return;
  if (value == this) throw std::invalid_argument("A control cannot be its own parent");
  for (TWinControl* p = value; p; p = p->Parent())
    if (p == this) throw std::invalid_argument("A control cannot be the parent of its own parent");
  if (FParent) {
    TWinControl* old = FParent;
    InvalidateRectFromParent(old);
    FParent = nullptr;
    old->RemoveControl(this);
    if (FAlign != alNone) old->Realign();
  }
  FParent = value;
  if (value) {
    value->InsertControl(this);
    if (FParentFont) ParentFontChanged();
    if (FParentColor) ParentColorChanged();
    Invalidate();
    if (FAlign != alNone) value->Realign();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const Rect old = BoundsRect();
  if (FParent) InvalidateRectFromParent(FParent);
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  BoundsChanged(old);
  // A form moving on the screen keeps its pixels; forms repaint on size changes themselves.
  if (FParent) Invalidate();
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
  if (old.Width() != width || old.Height() != height) {
    Rect c = ClientRect();
    Perform(WM_SIZE, SIZE_RESTORED, PointToLParam(Point{c.Width(), c.Height()}));
  }
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::BoundsChanged(const Rect& oldBounds) { (void)oldBounds; }

void TControl::SetClientWidth(int value) { SetWidth(value + (FWidth - ClientWidth())); }
void TControl::SetClientHeight(int value) { SetHeight(value + (FHeight - ClientHeight())); }

Point TControl::ClientOrigin() const {
  Point o{FLeft, FTop};
  if (FParent) {
    Point po = FParent->ClientOrigin();
    o.x += po.x;
    o.y += po.y;
  }
  return o;
}

Point TControl::ClientToScreen(Point p) const {
  Point o = ClientOrigin();
  return {p.x + o.x, p.y + o.y};
}

Point TControl::ScreenToClient(Point p) const {
  Point o = ClientOrigin();
  return {p.x - o.x, p.y - o.y};
}

Point TControl::WindowOrigin() const {
  if (!FParent) return {0, 0};
  Point po = FParent->WindowOrigin();
  return {po.x + FLeft, po.y + FTop};
}

Rect TControl::VisibleWindowRect() const {
  if (!FVisible || !FParent) return {};
  Rect parentVisible = FParent->VisibleWindowRect();
  if (parentVisible.IsEmpty()) return {};
  Point o = WindowOrigin();
  return Rect::FromXYWH(o.x, o.y, FWidth, FHeight).Intersect(parentVisible);
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  FAlign = value;
  if (FParent) FParent->Realign();
}

bool TControl::Showing() const {
  if (!FVisible) return false;
  if (FParent) return FParent->Showing();
  return false;
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  if (!value) {
    Invalidate();
    if (TForm* f = ParentForm(); f && f != this) f->ControlHidden(this);
  }
  FVisible = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
  if (value) Invalidate();
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  if (!value)
    if (TForm* f = ParentForm(); f && f != this) f->ControlHidden(this);
  Perform(CM_ENABLEDCHANGED, value ? 1 : 0, 0);
}

void TControl::SetColor(TColor value) {
  FParentColor = false;
  if (value == FColor) return;
  FColor = value;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (value == FParentColor) return;
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  if (FParent->Color() != FColor) {
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
  }
}

void TControl::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FFontUpdating = true;
  FFont->Assign(FParent->Font());
  FFontUpdating = false;
}

void TControl::FontChanged() {
  if (!FFontUpdating) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value) {
  if (value == FText) return;
  FText = value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetWindowProc(TWndMethod value) {
  // An empty procedure would swallow everything silently; fall back to the default.
  if (!value) value = [this](TMessage& m) { WndProc(m); };
  FWindowProc = std::move(value);
}

std::intptr_t TControl::Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // Copy: the procedure may replace itself (a component unhooking) while it runs.
  TWndMethod proc = FWindowProc;
  proc(m);
  return m.Result;
}

bool TControl::MouseCapture() const {
  TForm* f = ParentForm();
  return f && f->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  TForm* f = ParentForm();
  if (!f) return;
  if (value) f->SetCaptureControl(this);
  else if (f->CaptureControl() == this) f->SetCaptureControl(nullptr);
}

void TControl::Invalidate() {
  TForm* f = ParentForm();
  if (!f || f->Destroying()) return;
  if (f == this) {
    f->InvalidateWindowRect(Rect{0, 0, FWidth, FHeight});
    return;
  }
  Rect r = VisibleWindowRect();
  if (!r.IsEmpty()) f->InvalidateWindowRect(r);
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Update() {
  if (TForm* f = ParentForm()) f->PaintNow();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  Invalidate();
}

TForm* TControl::ParentForm() const { return GetParentForm(this); }

TForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  const TControl* c = control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void ReleaseCapture() {
  if (!Screen) return;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (TForm* f = Screen->Forms(i); f && f->CaptureControl()) f->SetCaptureControl(nullptr);
}

void TControl::SetControlStateBits(TControlState bits, bool on) {
  if (on) FControlState |= bits;
  else FControlState &= ~bits;
}

void TControl::WndProc(TMessage& message) {
  const unsigned msg = message.Msg;
  switch (msg) {
    case WM_MOUSEMOVE: {
      Point p = LParamToPoint(message.LParam);
      MouseMove(TShiftState(message.WParam), p.x, p.y);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      Point p = LParamToPoint(message.LParam);
      TShiftState shift = TShiftState(message.WParam);
      const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      const TMouseButton button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) ? mbLeft
                                  : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                                         : mbMiddle;
      // The second press of a double click is a double click, not the start of a click
      // (one click and one double click, never two clicks), unless the control takes no
      // double clicks.
      const bool asDouble = dbl && (FControlStyle & csDoubleClicks);
      if (button == mbLeft) {
        if (FControlStyle & csCaptureMouse) SetMouseCapture(true);
        if ((FControlStyle & csClickEvents) && !asDouble) FControlState |= csClicked;
        FControlState |= csLButtonDown;
      }
      if (asDouble) {
        if (button == mbLeft && (FControlStyle & csClickEvents)) DblClick();
        shift |= ssDouble;
      }
      MouseDown(button, shift, p.x, p.y);
      return;
    }
    case WM_LBUTTONUP: {
      Point p = LParamToPoint(message.LParam);
      FControlState &= ~csLButtonDown;
      if (FControlState & csClicked) {
        FControlState &= ~csClicked;
        if (ClientRect().Contains(p)) Click();
      }
      MouseUp(mbLeft, TShiftState(message.WParam), p.x, p.y);
      return;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      Point p = LParamToPoint(message.LParam);
      MouseUp(msg == WM_RBUTTONUP ? mbRight : mbMiddle, TShiftState(message.WParam), p.x, p.y);
      return;
    }
    case WM_MOUSEWHEEL: {
      Point p = LParamToPoint(message.LParam);
      Point packed = LParamToPoint(message.WParam);  // x: shift state, y: delta
      message.Result = DoMouseWheel(TShiftState(packed.x), packed.y, p) ? 1 : 0;
      return;
    }
    case WM_CAPTURECHANGED:
      FControlState &= ~(csClicked | csLButtonDown);
      return;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case WM_PAINT:
      if (message.WParam) PaintControl(*reinterpret_cast<TCanvas*>(message.WParam));
      return;
    case WM_SIZE:
      if (message.WParam != SIZE_MINIMIZED) Resize();
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      Invalidate();
      return;
    case CM_CURSORCHANGED:
      if (TForm* f = ParentForm()) f->UpdateCursor();
      return;
    default:
      DefaultHandler(message);
      return;
  }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, Point mousePos) {
  (void)shift;
  (void)wheelDelta;
  (void)mousePos;
  return false;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

std::optional<std::string> TControl::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Left")) return Int(FLeft);
  if (Is(name, "Top")) return Int(FTop);
  if (Is(name, "Width")) return Int(FWidth);
  if (Is(name, "Height")) return Int(FHeight);
  if (Is(name, "ClientWidth")) return Int(ClientWidth());
  if (Is(name, "ClientHeight")) return Int(ClientHeight());
  if (Is(name, "Visible")) return Bool(FVisible);
  if (Is(name, "Enabled")) return Bool(FEnabled);
  if (Is(name, "Caption") || Is(name, "Text")) return FText;
  if (Is(name, "Color")) return PropText::Color(FColor);
  if (Is(name, "ParentColor")) return Bool(FParentColor);
  if (Is(name, "ParentFont")) return Bool(FParentFont);
  if (Is(name, "Cursor")) return Int(FCursor);
  if (Is(name, "Hint")) return FHint;
  if (Is(name, "ShowHint")) return Bool(FShowHint);
  if (Is(name, "ParentShowHint")) return Bool(FParentShowHint);
  if (Is(name, "Align")) return PropText::Align(FAlign);
  if (Is(name, "Font.Name")) return FFont->Name();
  if (Is(name, "Font.Height")) return Int(FFont->Height());
  if (Is(name, "Font.Size")) return Int(FFont->Size());
  if (Is(name, "Font.Color")) return PropText::Color(FFont->Color());
  if (Is(name, "Font.Style")) return FontStyleText(FFont->Style());
  if (Is(name, "Parent")) return FParent ? FParent->Name() : std::string();
  return TComponent::GetPropText(name);
}
