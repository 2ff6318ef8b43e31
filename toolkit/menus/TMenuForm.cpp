#include "toolkit/menus/TMenuForm.h"

#include <algorithm>

#include "graphics/Bitmap.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

// The classic 7 x 7 check mark and 6 x 6 radio bullet.
constexpr const char* kCheckGlyph[] = {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."};
constexpr const char* kBulletGlyph[] = {".XXXX.", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", ".XXXX."};

template <std::size_t N>
void DrawGlyph(TCanvas& canvas, const char* const (&rows)[N], int x, int y, TColor color) {
  for (std::size_t r = 0; r < N; ++r)
    for (int c = 0; rows[r][c]; ++c)
      if (rows[r][c] == 'X') canvas.SetPixel(x + c, y + int(r), color);
}

}  // namespace

TMenuForm::TMenuForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("MenuWindow");
  SetBorderStyle(bsNone);
  SetWindowKind(plat::WindowKind::Popup);
  SetFormStyle(fsStayOnTop);
  SetColor(clMenu);
}

TMenuForm::~TMenuForm() { RemoveHook(); }

int TMenuForm::ItemHeight(const TMenuItem* item) const {
  return item->IsLine() ? kLineHeight : FTextHeight + 4;
}

void TMenuForm::Layout() {
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(Font().Data());
  FTextHeight = canvas.TextHeight("Wg");
  FCaptionWidth = 0;
  FShortCutWidth = 0;
  int height = 0;
  for (int i = 0; i < FItems->Count(); ++i) {
    const TMenuItem* item = FItems->Items(i);
    if (!item->Visible()) continue;
    height += ItemHeight(item);
    if (item->IsLine()) continue;
    gfx::Font font = Font().Data();
    if (item->Default()) font.Style |= gfx::fsBold;
    canvas.SelectFont(font);
    FCaptionWidth = std::max(FCaptionWidth, canvas.TextWidth(StripHotkey(item->Caption())));
    canvas.SelectFont(Font().Data());
    const std::string sc = ShortCutToText(item->ShortCut());
    if (!sc.empty()) FShortCutWidth = std::max(FShortCutWidth, canvas.TextWidth(sc));
  }
  const int width = kFrame * 2 + kCheckWidth + FCaptionWidth + (FShortCutWidth ? kShortCutGap + FShortCutWidth : 0) +
                    kArrowWidth;
  SetBounds(Left(), Top(), std::max(width, 60), std::max(height, FTextHeight) + kFrame * 2);
}

Rect TMenuForm::ItemRect(int index) const {
  int y = kFrame;
  for (int i = 0; i < FItems->Count(); ++i) {
    const TMenuItem* item = FItems->Items(i);
    if (!item->Visible()) continue;
    const int h = ItemHeight(item);
    if (i == index) return Rect{kFrame, y, Width() - kFrame, y + h};
    y += h;
  }
  return {};
}

int TMenuForm::ItemAt(Point p) const {
  if (!FItems) return -1;
  for (int i = 0; i < FItems->Count(); ++i) {
    const TMenuItem* item = FItems->Items(i);
    if (item->Visible() && !item->IsLine() && ItemRect(i).Contains(p)) return i;
  }
  return -1;
}

void TMenuForm::Popup(TMenuItem* items, int x, int y, TDoneEvent onDone) {
  if (!items) return;
  CloseSubMenu();
  FItems = items;
  FOnDone = std::move(onDone);
  FSelected = -1;
  Layout();
  // Keep the whole menu on one monitor (a sub-menu on its parent's): flip left of / above the
  // point when it does not fit.
  const Rect m = !Screen      ? Rect{0, 0, 1024, 768}
                 : FParentMenu ? TScreen::MonitorFromRect(FParentMenu->BoundsRect()).Bounds
                               : TScreen::MonitorFromPoint({x, y}).Bounds;
  if (x + Width() > m.right) x = FParentMenu ? FParentMenu->Left() - Width() + kFrame : x - Width();
  if (y + Height() > m.bottom) y = std::max(m.top, m.bottom - Height());
  x = std::max(m.left, x);
  y = std::max(m.top, y);
  SetBounds(x, y, Width(), Height());
  FOpen = true;
  if (!FParentMenu) InstallHook();
  Show();
  Invalidate();
}

void TMenuForm::SetSelected(int index) {
  if (index == FSelected) return;
  FSelected = index;
  Invalidate();
}

void TMenuForm::OpenSubMenu(int index, bool selectFirst) {
  TMenuItem* item = FItems->Items(index);
  if (!item || item->Count() == 0 || !item->EffectivelyEnabled()) return;
  if (FSubMenuIndex == index && SubMenu()) return;
  CloseSubMenu();
  // A fresh window for a different submenu; the old one is hidden, so it is not in use.
  if (!FSubMenu) {
    FSubMenu = TComponent::Make<TMenuForm>(nullptr);
    FSubMenu->FParentMenu = this;
    FSubMenu->SetFont(Font());
  }
  FSubMenuIndex = index;
  const Rect r = ItemRect(index);
  FSubMenu->Popup(item, Left() + Width() - kFrame, Top() + r.top - kFrame, {});
  if (selectFirst) FSubMenu->MoveHighlight(1);
}

void TMenuForm::CloseSubMenu() {
  if (FSubMenu && FSubMenu->FOpen) {
    FSubMenu->CloseSubMenu();
    FSubMenu->FOpen = false;
    FSubMenu->Hide();
  }
  FSubMenuIndex = -1;
}

void TMenuForm::CloseMenu(TMenuItem* chosen) {
  TMenuForm* root = Root();
  if (!root->FOpen) return;
  root->CloseSubMenu();
  root->FOpen = false;
  root->Hide();
  // The hook stays installed but idle; it goes with the next popup or the form.
  TDoneEvent done = std::move(root->FOnDone);
  root->FOnDone = {};
  if (done) done(chosen);
}

TMenuForm* TMenuForm::Root() {
  TMenuForm* m = this;
  while (m->FParentMenu) m = m->FParentMenu;
  return m;
}

TMenuForm* TMenuForm::Innermost() {
  TMenuForm* m = this;
  while (m->SubMenu()) m = m->SubMenu();
  return m;
}

bool TMenuForm::OwnsWindow(const TControl* control) const {
  for (const TMenuForm* m = this; m; m = m->SubMenu())
    if (control == m) return true;
  return false;
}

void TMenuForm::Choose(int index) {
  TMenuItem* item = FItems ? FItems->Items(index) : nullptr;
  if (!item || item->IsLine() || !item->Visible() || !item->EffectivelyEnabled()) return;
  if (item->Count() > 0) {
    OpenSubMenu(index, true);
    return;
  }
  CloseMenu(item);
}

void TMenuForm::MoveHighlight(int step) { SetSelected(NextMenuEntry(*FItems, FSelected, step)); }

void TMenuForm::ChooseHighlighted() {
  if (FSelected >= 0) Choose(FSelected);
}

void TMenuForm::CloseLevel() {
  if (FParentMenu) FParentMenu->CloseSubMenu();
  else CloseMenu(nullptr);
}

void TMenuForm::HandleKey(int key) {
  TMenuForm* m = Innermost();
  if (m->NavigationKey(key)) return;
  switch (key) {
    case plat::VK_RIGHT: {
      const TMenuItem* item = m->FSelected >= 0 ? m->FItems->Items(m->FSelected) : nullptr;
      if (item && item->Count() > 0) m->OpenSubMenu(m->FSelected, true);
      else if (OnNavigate) OnNavigate(1);
      break;
    }
    case plat::VK_LEFT:
      if (m->FParentMenu) m->FParentMenu->CloseSubMenu();
      else if (OnNavigate) OnNavigate(-1);
      break;
    default:
      break;
  }
}

void TMenuForm::HandleChar(char c) {
  TMenuForm* m = Innermost();
  const char wanted = char(std::tolower(static_cast<unsigned char>(c)));
  for (int i = 0; i < m->FItems->Count(); ++i) {
    const TMenuItem* item = m->FItems->Items(i);
    if (item->Visible() && !item->IsLine() && GetHotkey(item->Caption()) == wanted) {
      m->SetSelected(i);
      m->Choose(i);
      return;
    }
  }
}

void TMenuForm::InstallHook() {
  if (FHookId || !Application) return;
  FHookId = Application->AddMessageHook([this](TMsg& msg, bool& handled) {
    if (!FOpen) return;
    if (IsMenuKeyMessage(msg.message)) {
      handled = true;
      if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) HandleKey(int(msg.wParam));
      else if (msg.message == WM_CHAR && msg.wParam > 0x20 && msg.wParam < 0x80) HandleChar(char(msg.wParam));
      return;
    }
    if (IsMenuMouseDown(msg.message) && !OwnsWindow(GetParentForm(msg.hwnd))) {
      // A press anywhere else closes the menu and is used up by it.
      handled = true;
      CloseMenu(nullptr);
    }
  });
}

void TMenuForm::RemoveHook() {
  if (FHookId && Application) Application->RemoveMessageHook(FHookId);
  FHookId = 0;
}

void TMenuForm::MouseMove(TShiftState shift, int x, int y) {
  TForm::MouseMove(shift, x, y);
  if (!FOpen) return;
  const int index = ItemAt({x, y});
  if (index < 0) return;
  SetSelected(index);
  // Hovering an entry opens its submenu, and closes another one.
  if (index != FSubMenuIndex) CloseSubMenu();
  if (FItems->Items(index)->Count() > 0) OpenSubMenu(index, false);
}

void TMenuForm::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TForm::MouseUp(button, shift, x, y);
  if (!FOpen || button == mbMiddle) return;
  const int index = ItemAt({x, y});
  if (index >= 0) Choose(index);
}

void TMenuForm::Paint() {
  TCanvas& canvas = Canvas();
  Rect client = ClientRect();
  canvas.Brush = gfx::Brush{clMenu, gfx::BrushStyle::Solid, {}};
  canvas.FillRect(client);
  Rect edge = client;
  canvas.DrawEdge(edge, gfx::EDGE_RAISED, gfx::BF_RECT);
  if (!FItems) return;
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  const int shortCutX = kFrame + kCheckWidth + FCaptionWidth + kShortCutGap;
  for (int i = 0; i < FItems->Count(); ++i) {
    const TMenuItem* item = FItems->Items(i);
    if (!item->Visible()) continue;
    const Rect r = ItemRect(i);
    if (item->IsLine()) {
      const int y = r.top + r.Height() / 2 - 1;
      canvas.Pen = gfx::Pen{clBtnShadow, 1, gfx::PenStyle::Solid};
      canvas.MoveTo(r.left + 1, y);
      canvas.LineTo(r.right - 1, y);
      canvas.Pen.Color = clBtnHighlight;
      canvas.MoveTo(r.left + 1, y + 1);
      canvas.LineTo(r.right - 1, y + 1);
      continue;
    }
    const bool selected = i == FSelected;
    const bool enabled = item->EffectivelyEnabled();
    canvas.Brush.Color = selected ? clHighlight : clMenu;
    canvas.FillRect(r);
    const TColor textColor = !enabled ? clGrayText : selected ? clHighlightText : clMenuText;

    // Check column: the item's picture, else its check mark or radio bullet.
    const int cy = r.top + r.Height() / 2;
    if (!item->Bitmap().IsEmpty()) {
      const gfx::Bitmap& bmp = item->Bitmap();
      const TColor key = bmp.At(0, bmp.Height() - 1);
      const int bx = r.left + (kCheckWidth - bmp.Width()) / 2;
      const int by = cy - bmp.Height() / 2;
      for (int py = 0; py < bmp.Height(); ++py)
        for (int px = 0; px < bmp.Width(); ++px)
          if (bmp.At(px, py) != key) canvas.SetPixel(bx + px, by + py, bmp.At(px, py));
      if (item->Checked()) {
        Rect frame{bx - 1, by - 1, bx + bmp.Width() + 1, by + bmp.Height() + 1};
        canvas.DrawEdge(frame, gfx::BDR_SUNKENOUTER, gfx::BF_RECT);
      }
    } else if (item->Checked()) {
      const TColor c = gfx::ColorToRGB(textColor);
      if (item->RadioItem()) DrawGlyph(canvas, kBulletGlyph, r.left + (kCheckWidth - 6) / 2, cy - 3, c);
      else DrawGlyph(canvas, kCheckGlyph, r.left + (kCheckWidth - 7) / 2, cy - 3, c);
    }

    gfx::Font font = Font().Data();
    if (item->Default()) font.Style |= gfx::fsBold;
    const TColor keep = canvas.TextColor;
    canvas.SelectFont(font);
    canvas.TextColor = keep;
    Rect text{r.left + kCheckWidth, r.top, r.right, r.bottom};
    const std::string sc = ShortCutToText(item->ShortCut());
    Rect scRect{shortCutX, r.top, r.right, r.bottom};
    const unsigned flags = gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (!enabled && !selected) {
      // Disabled entries are embossed.
      Rect t1 = text.Offset(1, 1), s1 = scRect.Offset(1, 1);
      canvas.TextColor = clBtnHighlight;
      canvas.DrawText(item->Caption(), t1, flags);
      if (!sc.empty()) canvas.DrawText(sc, s1, flags | gfx::DT_NOPREFIX);
      canvas.TextColor = clBtnShadow;
    } else {
      canvas.TextColor = textColor;
    }
    canvas.DrawText(item->Caption(), text, flags);
    if (!sc.empty()) canvas.DrawText(sc, scRect, flags | gfx::DT_NOPREFIX);
    canvas.Font = Font().Data();

    if (item->Count() > 0) {
      // The submenu arrow: a small solid triangle pointing right.
      canvas.Pen = gfx::Pen{canvas.TextColor, 1, gfx::PenStyle::Solid};
      const int ax = r.right - kArrowWidth / 2 - 2;
      for (int k = 0; k < 4; ++k) {
        canvas.MoveTo(ax + k, cy - 3 + k);
        canvas.LineTo(ax + k, cy + 4 - k);
      }
    }
  }
}
