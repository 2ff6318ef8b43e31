#include "toolkit/menus/TMenuBar.h"

#include "graphics/Bitmap.h"
#include "toolkit/core/TForm.h"
#include "toolkit/menus/TMainMenu.h"
#include "toolkit/menus/TMenuForm.h"

namespace {
constexpr int kItemPadding = 6;  // on each side of an entry's caption
}

TMenuBar::TMenuBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clMenu);
  SetControlStyle(ControlStyle() & ~csSetCaption);
}

TMenuBar::~TMenuBar() = default;

void TMenuBar::SetMenu(TMainMenu* menu) {
  FMenu = menu;
  MenuChanged();
}

int TMenuBar::TextWidthOf(const std::string& s) {
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(Font().Data());
  return canvas.TextWidth(StripHotkey(s));
}

void TMenuBar::MenuChanged() {
  bool any = false;
  if (FMenu)
    for (int i = 0; i < FMenu->Items()->Count(); ++i) any = any || FMenu->Items()->Items(i)->Visible();
  // On a form not shown yet the height waits for its first showing.
  const TForm* form = ParentForm();
  FMeasurePending = form && !form->ShownOnce();
  if (!FMeasurePending) {
    gfx::Bitmap scratch(1, 1);
    TCanvas canvas(scratch);
    canvas.SelectFont(Font().Data());
    const int h = canvas.TextHeight("Wg") + 6;
    if (Height() != h) SetHeight(h);
  }
  if (Visible() != any) SetVisible(any);
  Invalidate();
}

Rect TMenuBar::ItemRect(int index) {
  if (!FMenu) return {};
  int x = 0;
  for (int i = 0; i < FMenu->Items()->Count(); ++i) {
    const TMenuItem* item = FMenu->Items()->Items(i);
    if (!item->Visible()) continue;
    const int w = TextWidthOf(item->Caption()) + 2 * kItemPadding;
    if (i == index) return Rect{x, 0, x + w, Height()};
    x += w;
  }
  return {};
}

int TMenuBar::ItemAt(Point p) {
  if (!FMenu) return -1;
  for (int i = 0; i < FMenu->Items()->Count(); ++i)
    if (FMenu->Items()->Items(i)->Visible() && ItemRect(i).Contains(p)) return i;
  return -1;
}

// The next visible, enabled top-level entry with a submenu in DIRECTION, wrapping round.
int TMenuBar::NeighbourOf(int index, int direction) {
  if (!FMenu) return -1;
  const int n = FMenu->Items()->Count();
  for (int step = 1; step <= n; ++step) {
    const int i = ((index + direction * step) % n + n) % n;
    const TMenuItem* item = FMenu->Items()->Items(i);
    if (item->Visible() && item->EffectivelyEnabled() && item->Count() > 0) return i;
  }
  return -1;
}

bool TMenuBar::DroppedDown() const { return FDropDown && FDropDown->IsOpen(); }

void TMenuBar::OpenItem(int index) {
  if (!FMenu) return;
  TMenuItem* item = FMenu->Items()->Items(index);
  if (!item || !item->Visible() || !item->EffectivelyEnabled()) return;
  if (item->Count() == 0) {
    item->Click();
    return;
  }
  if (!FDropDown) {
    FDropDown = TComponent::Make<TMenuForm>(nullptr);
    // Left and Right move to the neighbouring menus of the bar; the switch happens after the
    // key is handled, as the drop-down closes on the way.
    FDropDown->OnNavigate = [this](int direction) {
      const int next = NeighbourOf(FOpenIndex, direction);
      if (next < 0 || next == FOpenIndex) return;
      FDropDown->CloseMenu(nullptr);
      OpenItem(next);
    };
  }
  FOpenIndex = index;
  Invalidate();
  const Rect r = ItemRect(index);
  const Point at = ClientToScreen({r.left, r.bottom});
  FDropDown->Popup(item, at.x, at.y, [this](TMenuItem* chosen) {
    FOpenIndex = -1;
    Invalidate();
    if (chosen) chosen->Click();
  });
}

void TMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const int index = ItemAt({x, y});
  if (index >= 0) OpenItem(index);
}

void TMenuBar::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  if (message.Msg == CM_MOUSELEAVE && FHotIndex >= 0) {
    FHotIndex = -1;
    Invalidate();
  } else if (message.Msg == WM_MOUSEMOVE) {
    const int hot = ItemAt(LParamToPoint(message.LParam));
    if (hot != FHotIndex) {
      FHotIndex = hot;
      Invalidate();
    }
    // With a menu dropped down, pointing at another entry drops that one down instead.
    if (hot >= 0 && DroppedDown() && hot != FOpenIndex && FMenu && FMenu->Items()->Items(hot)->Count() > 0) {
      FDropDown->CloseMenu(nullptr);
      OpenItem(hot);
    }
  } else if (message.Msg == CM_FONTCHANGED || (message.Msg == CM_FIRSTSHOW && FMeasurePending)) {
    MenuChanged();
  }
}

void TMenuBar::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush = gfx::Brush{clMenu, gfx::BrushStyle::Solid, {}};
  canvas.FillRect(ClientRect());
  if (!FMenu) return;
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  for (int i = 0; i < FMenu->Items()->Count(); ++i) {
    const TMenuItem* item = FMenu->Items()->Items(i);
    if (!item->Visible()) continue;
    Rect r = ItemRect(i);
    // The open entry looks pressed, the one under the pointer raised.
    if (i == FOpenIndex) {
      Rect e = r;
      canvas.DrawEdge(e, gfx::BDR_SUNKENOUTER, gfx::BF_RECT);
    } else if (i == FHotIndex) {
      Rect e = r;
      canvas.DrawEdge(e, gfx::BDR_RAISEDINNER, gfx::BF_RECT);
    }
    Rect text = i == FOpenIndex ? r.Offset(1, 1) : r;
    const unsigned flags = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (!item->EffectivelyEnabled()) {
      Rect shifted = text.Offset(1, 1);
      canvas.TextColor = clBtnHighlight;
      canvas.DrawText(item->Caption(), shifted, flags);
      canvas.TextColor = clBtnShadow;
    } else {
      canvas.TextColor = clMenuText;
    }
    canvas.DrawText(item->Caption(), text, flags);
  }
}
