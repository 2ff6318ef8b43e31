#include "widgets/TSpinButtons.h"

#include "toolbarkit/TFlatEdit.h"
#include "toolkit/core/PropText.h"

TSpinButtons::TSpinButtons(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  FUp = TComponent::Create<TFlatButton>(this);
  FUp->SetParent(this);
  FDown = TComponent::Create<TFlatButton>(this);
  FDown->SetParent(this);
  FUp->SetGlyph(DefaultGlyph(true));
  FDown->SetGlyph(DefaultGlyph(false));
  Wire(FUp, true);
  Wire(FDown, false);
  SetBounds(Left(), Top(), 20, 25);
  Arrange();
}

gfx::Bitmap TSpinButtons::DefaultGlyph(bool up) {
  // A 5 x 3 triangle on olive; the bottom row stays olive, so the bottom-left pixel (the
  // transparent colour) is background for both arrows.
  gfx::Bitmap g(7, 4, clOlive);
  for (int row = 0; row < 3; ++row) {
    const int y = up ? 2 - row : row;  // the wide row at the base
    for (int x = 1 + row; x < 6 - row; ++x) g.Set(x, y, clBlack);
  }
  return g;
}

void TSpinButtons::Wire(TFlatButton* button, bool up) {
  button->OnMouseDown = [this, button](TObject*, TMouseButton b, TShiftState, int, int) {
    if (b != mbLeft) return;
    if (FFocusControl && FFocusControl->CanFocus()) FFocusControl->SetFocus();
    if (FRepeating) {
      // The button's own click at the press is not a step: the first one comes after the
      // delay, the last one with the release.
      button->SetRepeatDelay(FRepeatDelay);
      button->SetRepeatInterval(FRepeatInterval);
      button->SetRepeating(true);
      FSwallowClick = true;
    }
  };
  button->OnMouseUp = [button](TObject*, TMouseButton b, TShiftState, int, int) {
    if (b == mbLeft) button->SetRepeating(false);
  };
  button->OnClick = [this, up](TObject*) {
    if (FSwallowClick) {
      FSwallowClick = false;
      return;
    }
    const TNotifyEvent& e = up ? OnUpClick : OnDownClick;
    if (e) e(this);
  };
  auto hover = [this](TObject*) {
    FUp->Invalidate();
    FDown->Invalidate();
    if (OnHoverChange) OnHoverChange(this);
  };
  button->OnMouseEnter = hover;
  button->OnMouseExit = hover;
}

void TSpinButtons::Arrange() {
  const int w = Width(), h = Height();
  if (FKind == skVertical) {
    FUp->SetBounds(0, 0, w, h / 2);
    FDown->SetBounds(0, h / 2, w, h - h / 2);
  } else {
    FDown->SetBounds(0, 0, w / 2, h);
    FUp->SetBounds(w / 2, 0, w - w / 2, h);
  }
}

void TSpinButtons::Resize() {
  Arrange();
  TWinControl::Resize();
}

void TSpinButtons::SetKind(TSpinKind value) {
  if (value == FKind) return;
  FKind = value;
  Arrange();
}

void TSpinButtons::SetFlat(bool value) {
  FUp->SetFlat(value);
  FDown->SetFlat(value);
}

void TSpinButtons::SetNoBorder(bool value) {
  FUp->SetNoBorder(value);
  FDown->SetNoBorder(value);
}

void TSpinButtons::SetFocusControl(TWinControl* value) {
  if (value == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = value;
  if (value) FreeNotification(value);
}

void TSpinButtons::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

Rect TSpinButtons::VisibleWindowRect() const {
  Rect r = TWinControl::VisibleWindowRect();
  // Inside a flat edit the buttons keep off its 3-pixel border, as a child window keeps to
  // its parent's client area.
  if (const TControl* p = Parent(); p && TFlatEdit::IsFlatEdit(p)) {
    const Point o = p->WindowOrigin();
    r = r.Intersect(Rect::FromXYWH(o.x + 3, o.y + 3, p->Width() - 6, p->Height() - 6));
  }
  return r;
}

std::optional<std::string> TSpinButtons::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Kind")) return Enum(FKind, {"skVertical", "skHorizontal"});
  if (Is(name, "Increment")) return Double(FIncrement);
  if (Is(name, "Repeating")) return Bool(FRepeating);
  if (Is(name, "RepeatDelay")) return Int(FRepeatDelay);
  if (Is(name, "RepeatInterval")) return Int(FRepeatInterval);
  return TWinControl::GetPropText(name);
}
