#include "widgets/TSpinEdit.h"

#include <algorithm>

#include "graphics/Canvas.h"
#include "toolkit/core/PropText.h"

namespace {
// The field's border: children sit inside it, as a child window sits in the client area.
constexpr int kBorder = 3;
}  // namespace

TSpinEdit::TSpinEdit(TComponent* AOwner) : TNumEdit(AOwner) {
  FButtons = TComponent::Create<TSpinButtons>(this);
  FButtons->SetParent(this);
  FButtons->SetRepeating(true);
  FButtons->SetFocusControl(this);
  FButtons->SetKind(skVertical);
  FButtons->OnUpClick = [this](TObject*) { StepUp(); };
  FButtons->OnDownClick = [this](TObject*) { StepDown(); };
  FButtons->OnHoverChange = [this](TObject*) { RedrawBorder(); };
  FSeparator = TComponent::Create<TWinControl>(this);
  FSeparator->SetParent(this);
  FSeparator->SetColor(clWhite);
  Arrange();
}

void TSpinEdit::StepUp() {
  if (ReadOnly()) {
    Beep();
    return;
  }
  SetValue(Value() + Increment());
}

void TSpinEdit::StepDown() {
  if (ReadOnly()) {
    Beep();
    return;
  }
  SetValue(Value() - Increment());
}

void TSpinEdit::SetSpinWidth(int value) {
  value = std::max(value, 0);
  if (value == FSpinWidth) return;
  FSpinWidth = value;
  Arrange();
}

void TSpinEdit::Arrange() {
  if (Width() < FSpinWidth + 4) {
    SetWidth(FSpinWidth + 4);  // comes back here through Resize
    return;
  }
  const int h = Height(), clientH = std::max(0, h - 2 * kBorder);
  const int x = Width() - FSpinWidth - 5;
  FButtons->SetBounds(kBorder + x, kBorder, FSpinWidth, std::max(0, h - 5));
  FSeparator->SetBounds(kBorder + x - 2, kBorder, 2, std::min(std::max(0, h - 5), clientH));
  Invalidate();
}

void TSpinEdit::Resize() {
  Arrange();
  TNumEdit::Resize();
}

Rect TSpinEdit::TextRect() const {
  // Up to one pixel before the separator.
  Rect r = TNumEdit::TextRect();
  r.right = std::min(r.right, FSeparator->Left() - 1);
  return r;
}

bool TSpinEdit::Hot() const { return TNumEdit::Hot() || FButtons->MouseOverButtons(); }

Rect TSpinEdit::SpinBorderRect() const {
  const Rect b = FButtons->BoundsRect();  // window pixels = client + 3
  return Rect{b.left - 2, b.top - 1, b.right, b.bottom};
}

void TSpinEdit::Paint() {
  TNumEdit::Paint();
  TCanvas& c = Canvas();
  Rect r = SpinBorderRect();
  if (Hot() || (ComponentState() & csDesigning)) {
    c.Brush = gfx::Brush{clBtnFace, gfx::BrushStyle::Solid, {}};
    c.FrameRect(r);
    r.left += 1;
    c.DrawEdge(r, gfx::BDR_RAISEDINNER, gfx::BF_RECT);
  } else {
    c.DrawEdge(r, gfx::BDR_RAISEDINNER, gfx::BF_LEFT);
    r.left += 1;
    c.Brush = gfx::Brush{clBtnHighlight, gfx::BrushStyle::Solid, {}};
    c.FrameRect(r);
  }
}

void TSpinEdit::KeyDown(int& key, TShiftState shift) {
  if (key == plat::VK_UP) StepUp();
  else if (key == plat::VK_DOWN) StepDown();
  TNumEdit::KeyDown(key, shift);
}

std::optional<std::string> TSpinEdit::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Increment")) return Double(Increment());
  if (Is(name, "SpinWidth")) return Int(FSpinWidth);
  if (Is(name, "SpinKind")) return Enum(SpinKind(), {"skVertical", "skHorizontal"});
  return TNumEdit::GetPropText(name);
}
