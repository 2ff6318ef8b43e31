#include "menu/TAnimatedMenuWindow.h"

#include <algorithm>

#include "menu/TAnimatedPopupMenu.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/menus/TMenuKeyNavigation.h"

namespace {

// The check square starts this far into the row; a picture sits at (5, 2) in the row.
constexpr int kCheckIndent = 3;
constexpr gfx::Point kPicture{5, 2};
// The highlight leaves this much room after the check square and before the row's end.
constexpr int kHighlightGap = 3;
// Captions start this far right of the left margin, clear of the highlight's edge.
constexpr int kTextIndent = 2;
// Shortcut texts end this far from the row's end.
constexpr int kShortCutIndent = 6;

// The classic dither of a checked button: button highlight and button face in a checkerboard.
gfx::Brush DitherBrush() {
  gfx::Brush b;
  b.Style = gfx::BrushStyle::Pattern;
  b.Pattern = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  return b;
}

// A picture's bottom-left pixel is its transparent colour.
void DrawPicture(TCanvas& canvas, const gfx::Bitmap& bmp, int x, int y) {
  if (bmp.IsEmpty()) return;
  const gfx::TColor key = bmp.At(0, bmp.Height() - 1);
  for (int py = 0; py < bmp.Height(); ++py)
    for (int px = 0; px < bmp.Width(); ++px)
      if (bmp.At(px, py) != key) canvas.SetPixel(x + px, y + py, bmp.At(px, py));
}

// A disabled item's picture: its dark pixels embossed in the disabled colours.
void DrawDisabledPicture(TCanvas& canvas, const gfx::Bitmap& bmp, int x, int y, gfx::TColor text, gfx::TColor shadow) {
  if (bmp.IsEmpty()) return;
  const gfx::TColor key = bmp.At(0, bmp.Height() - 1);
  auto dark = [&](int px, int py) {
    const gfx::TColor c = bmp.At(px, py);
    return c != key && gfx::GetRValue(c) + gfx::GetGValue(c) + gfx::GetBValue(c) < 3 * 128;
  };
  for (int py = 0; py < bmp.Height(); ++py)
    for (int px = 0; px < bmp.Width(); ++px)
      if (dark(px, py)) canvas.SetPixel(x + px + 1, y + py + 1, gfx::ColorToRGB(shadow));
  for (int py = 0; py < bmp.Height(); ++py)
    for (int px = 0; px < bmp.Width(); ++px)
      if (dark(px, py)) canvas.SetPixel(x + px, y + py, gfx::ColorToRGB(text));
}

}  // namespace

TAnimatedMenuWindow::TAnimatedMenuWindow(TComponent* AOwner) : TForm(AOwner) {
  SetName("MenuWindow");
  SetBorderStyle(bsNone);
  SetWindowKind(plat::WindowKind::Popup);
  SetFormStyle(fsStayOnTop);
  SetColor(clMenu);
  FCheckMark = LoadBitmapResource("CHECKMARK");
  FRadioItem = LoadBitmapResource("RADIOITEM");
}

TAnimatedMenuWindow::~TAnimatedMenuWindow() = default;

TMenuItem* TAnimatedMenuWindow::Items() const { return FMenu ? FMenu->Items() : nullptr; }

int TAnimatedMenuWindow::RowHeight(const TMenuItem* item) const {
  const TMenuOptions& o = FMenu->Options();
  return item->IsLine() ? o.SeparatorHeight : o.ItemHeight;
}

gfx::Size TAnimatedMenuWindow::Layout(const gfx::Font& font) {
  FFont = font;
  FCaptionWidth = 0;
  FShortCutWidth = 0;
  const TMenuOptions& o = FMenu->Options();
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  int rows = 0, count = 0;
  for (int i = 0; i < Items()->Count(); ++i) {
    const TMenuItem* item = Items()->Items(i);
    if (!item->Visible()) continue;
    rows += RowHeight(item);
    ++count;
    if (item->IsLine()) continue;
    gfx::Font f = font;
    if (item->Default()) f.Style |= gfx::fsBold;
    canvas.SelectFont(f);
    FCaptionWidth = std::max(FCaptionWidth, canvas.TextWidth(StripHotkey(item->Caption())));
    canvas.SelectFont(font);
    const std::string sc = ShortCutToText(item->ShortCut());
    if (!sc.empty()) FShortCutWidth = std::max(FShortCutWidth, canvas.TextWidth(sc));
  }
  const int title = o.Title.Visible ? o.Title.Width : 0;
  int w = FCaptionWidth + FShortCutWidth + title + o.Margins.Left + o.Margins.Right + 10;
  int h = o.Margins.Top + rows + std::max(0, count - 1) * o.Margins.ItemSpace + o.Margins.Bottom + 2 * kFrame;
  if (o.FitToBackground && !o.Background.IsEmpty()) {
    w = std::max(w, o.Background.Width());
    h = std::max(h, o.Background.Height());
  }
  FFullSize = {w, h};
  return FFullSize;
}

void TAnimatedMenuWindow::SetAnchors(bool right, bool bottom) {
  FAnchorRight = right;
  FAnchorBottom = bottom;
}

gfx::Point TAnimatedMenuWindow::Offset() const {
  return {FAnchorRight ? Width() - FFullSize.cx : 0, FAnchorBottom ? Height() - FFullSize.cy : 0};
}

gfx::Rect TAnimatedMenuWindow::ItemRect(int index) const {
  if (!FMenu) return {};
  const TMenuOptions& o = FMenu->Options();
  const gfx::Point off = Offset();
  int y = kFrame + o.Margins.Top;
  for (int i = 0; i < Items()->Count(); ++i) {
    const TMenuItem* item = Items()->Items(i);
    if (!item->Visible()) continue;
    const int h = RowHeight(item);
    if (i == index) return gfx::Rect{kFrame, y, FFullSize.cx - kFrame, y + h}.Offset(off.x, off.y);
    y += h + o.Margins.ItemSpace;
  }
  return {};
}

int TAnimatedMenuWindow::ItemAt(gfx::Point p) const {
  if (!FMenu) return -1;
  for (int i = 0; i < Items()->Count(); ++i)
    if (Items()->Items(i)->Visible() && ItemRect(i).Contains(p)) return i;
  return -1;
}

TMenuItem* TAnimatedMenuWindow::SelectedItem() const { return FSelected >= 0 && FMenu ? Items()->Items(FSelected) : nullptr; }

void TAnimatedMenuWindow::SetSelected(int index) {
  if (index == FSelected) return;
  FSelected = index;
  Invalidate();
}

void TAnimatedMenuWindow::MoveSelection(int step) {
  if (Items()) SetSelected(NextMenuEntry(*Items(), FSelected, step));
}

void TAnimatedMenuWindow::MouseMove(TShiftState shift, int x, int y) {
  TForm::MouseMove(shift, x, y);
  if (!FMenu || !FMenu->IsOpen()) return;
  const int index = ItemAt({x, y});
  SetSelected(index >= 0 && !Items()->Items(index)->IsLine() ? index : -1);
}

void TAnimatedMenuWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TForm::MouseUp(button, shift, x, y);
  if (!FMenu || button != mbLeft) return;
  const int index = ItemAt({x, y});
  if (index >= 0) FMenu->ChooseItem(Items()->Items(index));
}

void TAnimatedMenuWindow::Paint() {
  TCanvas& canvas = Canvas();
  const gfx::Rect client = ClientRect();
  if (!FMenu) return;
  const TMenuColors& colors = FMenu->Options().Colors;
  canvas.Brush = gfx::Brush{colors.Menu, gfx::BrushStyle::Solid, {}};
  canvas.FillRect(client);
  for (int i = 0; i < Items()->Count(); ++i)
    if (Items()->Items(i)->Visible()) PaintItem(canvas, i, ItemRect(i));
  gfx::Rect edge = client;
  canvas.DrawEdge(edge, gfx::EDGE_RAISED, gfx::BF_RECT);
  if (colors.Border != gfx::clNone) {
    canvas.Brush = gfx::Brush{colors.Border, gfx::BrushStyle::Solid, {}};
    canvas.FrameRect(client);
  }
}

void TAnimatedMenuWindow::PaintCheckArea(TCanvas& canvas, const TMenuItem* item, const gfx::Rect& row,
                                         bool highlighted) {
  const TMenuColors& colors = FMenu->Options().Colors;
  const bool enabled = item->EffectivelyEnabled();
  const int side = row.Height();
  gfx::Rect square = gfx::Rect::FromXYWH(row.left + kCheckIndent, row.top, side, side);
  const int px = row.left + kPicture.x, py = row.top + kPicture.y;
  auto picture = [&](const gfx::Bitmap& bmp) {
    if (enabled) DrawPicture(canvas, bmp, px, py);
    else DrawDisabledPicture(canvas, bmp, px, py, colors.DisabledText, colors.DisabledShadow);
  };
  if (item->Checked()) {
    gfx::Rect edge = square;
    canvas.DrawEdge(edge, gfx::BDR_SUNKENOUTER, gfx::BF_RECT);
    const gfx::Rect inside{square.left + 1, square.top + 1, square.right - 1, square.bottom - 1};
    if (highlighted && enabled) {
      canvas.Brush = gfx::Brush{colors.Highlight, gfx::BrushStyle::Solid, {}};
    } else {
      canvas.Brush = DitherBrush();
      canvas.TextColor = clBtnHighlight;
      canvas.BkColor = clBtnFace;
    }
    canvas.FillRect(inside);
    const gfx::Bitmap& own = item->CheckedBitmap();
    if (!own.IsEmpty() || !enabled || !highlighted) {
      picture(!own.IsEmpty() ? own : item->RadioItem() ? FRadioItem : FCheckMark);
      return;
    }
    // Our own black mark would vanish in the highlight: it takes the highlight text colour.
    gfx::Bitmap mark = item->RadioItem() ? FRadioItem : FCheckMark;
    const gfx::TColor key = mark.At(0, mark.Height() - 1);
    for (int y = 0; y < mark.Height(); ++y)
      for (int x = 0; x < mark.Width(); ++x)
        if (mark.At(x, y) != key) mark.At(x, y) = gfx::ColorToRGB(colors.HighlightText);
    DrawPicture(canvas, mark, px, py);
    return;
  }
  if (!item->UncheckedBitmap().IsEmpty()) {
    picture(item->UncheckedBitmap());
    if (highlighted && enabled) {
      gfx::Rect edge = square;
      canvas.DrawEdge(edge, gfx::BDR_RAISEDINNER, gfx::BF_RECT);
    }
    return;
  }
  // An item with only the toolkit's own picture shows that one.
  if (!item->Bitmap().IsEmpty()) picture(item->Bitmap());
}

void TAnimatedMenuWindow::PaintItem(TCanvas& canvas, int index, const gfx::Rect& row) {
  const TMenuOptions& o = FMenu->Options();
  const TMenuColors& colors = o.Colors;
  const TMenuItem* item = Items()->Items(index);
  if (item->IsLine()) {
    const int y = row.top + row.Height() / 2 - 1;
    canvas.Pen = gfx::Pen{colors.Line, 1, gfx::PenStyle::Solid};
    canvas.MoveTo(row.left + 1, y);
    canvas.LineTo(row.right - 1, y);
    canvas.Pen.Color = colors.LineShadow;
    canvas.MoveTo(row.left + 1, y + 1);
    canvas.LineTo(row.right - 1, y + 1);
    return;
  }
  const bool highlighted = index == FSelected;
  const bool enabled = item->EffectivelyEnabled();
  const int squareRight = row.left + kCheckIndent + row.Height();
  if (highlighted) {
    canvas.Brush = gfx::Brush{colors.Highlight, gfx::BrushStyle::Solid, {}};
    canvas.FillRect({squareRight + kHighlightGap, row.top, row.right - kHighlightGap, row.bottom});
  }
  PaintCheckArea(canvas, item, row, highlighted);

  gfx::Font font = FFont;
  if (item->Default()) font.Style |= gfx::fsBold;
  canvas.SelectFont(font);
  canvas.BkMode = gfx::BkMode::Transparent;
  const int textLeft = row.left + o.Margins.Left + kTextIndent;
  gfx::Rect text{textLeft, row.top, textLeft + FCaptionWidth, row.bottom};
  unsigned flags = gfx::DT_VCENTER | gfx::DT_SINGLELINE;
  if (o.Alignment == TMenuAlignment::taRightJustify || o.Alignment == TMenuAlignment::taHebrew) flags |= gfx::DT_RIGHT;
  else if (o.Alignment == TMenuAlignment::taCenter) flags |= gfx::DT_CENTER;
  const std::string sc = ShortCutToText(item->ShortCut());
  gfx::Rect scRect{row.right - kShortCutIndent - FShortCutWidth, row.top, row.right - kShortCutIndent, row.bottom};
  if (!enabled && !highlighted) {
    // Disabled captions are embossed.
    gfx::Rect t1 = text.Offset(1, 1), s1 = scRect.Offset(1, 1);
    canvas.TextColor = colors.DisabledShadow;
    canvas.DrawText(item->Caption(), t1, flags);
    if (!sc.empty()) canvas.DrawText(sc, s1, gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
  }
  canvas.TextColor = !enabled ? colors.DisabledText : highlighted ? colors.HighlightText : colors.MenuText;
  canvas.DrawText(item->Caption(), text, flags);
  if (!sc.empty()) canvas.DrawText(sc, scRect, gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);

  if (item->Count() > 0) {
    // Sub-items: a small solid arrow at the right.
    canvas.Pen = gfx::Pen{canvas.TextColor, 1, gfx::PenStyle::Solid};
    const int ax = row.right - 10, cy = row.top + row.Height() / 2;
    for (int k = 0; k < 4; ++k) {
      canvas.MoveTo(ax + k, cy - 3 + k);
      canvas.LineTo(ax + k, cy + 4 - k);
    }
  }
}

std::optional<std::string> TAnimatedMenuWindow::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Selected")) return PropText::Int(FSelected);
  return TForm::GetPropText(name);
}
