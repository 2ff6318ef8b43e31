#include "toolkit/controls/TListBox.h"

#include <algorithm>

#include "graphics/Bitmap.h"
#include "graphics/CanvasStateSaver.h"
#include "toolkit/core/PropText.h"

namespace {
constexpr int kBorder = 2;  // the sunken edge
}

TListBox::TListBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
  SetControlStyle(ControlStyle() & ~csSetCaption);
}

void TListBox::SetItems(std::vector<std::string> items) {
  FItems = std::move(items);
  FItemIndex = -1;
  FTopIndex = 0;
  Invalidate();
}

void TListBox::AddItem(const std::string& item) {
  FItems.push_back(item);
  Invalidate();
}

int TListBox::ItemHeight() const {
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(Font().Data());
  return std::max(1, canvas.GetTextMetrics().Height);
}

int TListBox::VisibleCount() const {
  return std::max(1, (Height() - 2 * kBorder) / ItemHeight());
}

Rect TListBox::ItemRect(int index) const {
  const int h = ItemHeight();
  const int y = kBorder + (index - FTopIndex) * h;
  return Rect{kBorder, y, Width() - kBorder, y + h};
}

int TListBox::ItemAtPos(Point p) const {
  if (p.x < kBorder || p.x >= Width() - kBorder || p.y < kBorder || p.y >= Height() - kBorder) return -1;
  const int index = FTopIndex + (p.y - kBorder) / ItemHeight();
  return index < Count() ? index : -1;
}

void TListBox::SetItemIndex(int value) {
  if (value < -1 || value >= Count()) value = -1;
  if (value == FItemIndex) return;
  FItemIndex = value;
  ScrollIntoView();
  Invalidate();
}

void TListBox::SetTopIndex(int value) {
  value = std::clamp(value, 0, std::max(0, Count() - VisibleCount()));
  if (value == FTopIndex) return;
  FTopIndex = value;
  Invalidate();
}

void TListBox::ScrollIntoView() {
  if (FItemIndex < 0) return;
  if (FItemIndex < FTopIndex) SetTopIndex(FItemIndex);
  else if (FItemIndex >= FTopIndex + VisibleCount()) SetTopIndex(FItemIndex - VisibleCount() + 1);
}

void TListBox::SelectByUser(int index) {
  if (Count() == 0) return;
  index = std::clamp(index, 0, Count() - 1);
  if (index == FItemIndex) return;
  SetItemIndex(index);
  if (OnChange) OnChange(this);
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const int index = ItemAtPos({x, y});
    if (index >= 0) SelectByUser(index);
    FTracking = true;
  }
}

void TListBox::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FTracking || !(shift & ssLeft)) {
    FTracking = false;
    return;
  }
  // Dragging past the ends scrolls one line at a time.
  if (y < kBorder) SelectByUser(FTopIndex - 1);
  else if (y >= Height() - kBorder) SelectByUser(FTopIndex + VisibleCount());
  else if (const int index = ItemAtPos({std::clamp(x, kBorder, Width() - kBorder - 1), y}); index >= 0)
    SelectByUser(index);
}

bool TListBox::WantsKey(int key) const {
  return key == plat::VK_UP || key == plat::VK_DOWN || key == plat::VK_HOME || key == plat::VK_END ||
         key == plat::VK_PRIOR || key == plat::VK_NEXT;
}

void TListBox::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int page = std::max(1, VisibleCount() - 1);
  switch (key) {
    case plat::VK_UP: SelectByUser(FItemIndex < 0 ? 0 : FItemIndex - 1); break;
    case plat::VK_DOWN: SelectByUser(FItemIndex + 1); break;
    case plat::VK_HOME: SelectByUser(0); break;
    case plat::VK_END: SelectByUser(Count() - 1); break;
    case plat::VK_PRIOR: SelectByUser(FItemIndex - page); break;
    case plat::VK_NEXT: SelectByUser(FItemIndex + page); break;
    default: break;
  }
}

bool TListBox::DoMouseWheel(TShiftState shift, int wheelDelta, Point mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  SetTopIndex(FTopIndex - wheelDelta / 120 * 3);
  return true;
}

void TListBox::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  if (message.Msg == CM_FONTCHANGED || message.Msg == CM_ENABLEDCHANGED || message.Msg == WM_SETFOCUS ||
      message.Msg == WM_KILLFOCUS)
    Invalidate();
}

void TListBox::DoEnter() {
  TCustomControl::DoEnter();
  Invalidate();
}

void TListBox::DoExit() {
  TCustomControl::DoExit();
  Invalidate();
}

void TListBox::Paint() {
  TCanvas& canvas = Canvas();
  Rect r = ClientRect();
  canvas.DrawEdge(r, gfx::EDGE_SUNKEN, gfx::BF_RECT | gfx::BF_ADJUST);
  canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
  canvas.FillRect(r);
  const gfx::CanvasStateSaver saved(canvas);
  canvas.IntersectClipRect(r);
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  const TColor textColor = Enabled() ? canvas.TextColor : clGrayText;
  const int last = std::min(Count(), FTopIndex + VisibleCount() + 1);
  for (int i = FTopIndex; i < last; ++i) {
    const Rect line = ItemRect(i);
    const bool selected = i == FItemIndex;
    if (selected) {
      canvas.Brush.Color = clHighlight;
      canvas.FillRect(line);
    }
    canvas.TextColor = selected ? clHighlightText : textColor;
    canvas.TextOut(line.left + 2, line.top, FItems[i]);
    if (selected && Focused()) canvas.DrawFocusRect(line);
  }
}

std::optional<std::string> TListBox::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "ItemIndex")) return PropText::Int(FItemIndex);
  if (PropText::Is(name, "Count")) return PropText::Int(Count());
  if (PropText::Is(name, "TopIndex")) return PropText::Int(FTopIndex);
  if (PropText::Is(name, "Selected")) return FItemIndex >= 0 ? FItems[FItemIndex] : std::string();
  return TCustomControl::GetPropText(name);
}
