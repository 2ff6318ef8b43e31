#include "widgets/TGradientCaption.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "graphics/CanvasStateSaver.h"
#include "platform/Platform.h"
#include "toolkit/core/TForm.h"

namespace {

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t p = std::int64_t(a) * b;
  const std::int64_t q = (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c);
  return int((p < 0) != (c < 0) ? -q : q);
}

constexpr int kPartGap = 3;  // each part starts this far right of the one before

}  // namespace

// ---- the title parts

TCompanyText::TCompanyText(TGradientCaption* owner) : FOwner(owner), FFont(TGradientCaption::SystemCaptionFont()) {}

void TCompanyText::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  if (FOwner) FOwner->UpdateFormText();
}

void TCompanyText::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  if (FOwner) FOwner->UpdateFormText();
}

void TCompanyText::SetFont(const gfx::Font& value) {
  FFont = value;
  if (FFontKind == fkAutoHeight) ApplyFontKind();
  else FFontKind = fkCustom;
}

void TCompanyText::SetFontKind(TFontKind value) {
  if (value < fkCustom || value > fkAutoHeight) return;
  FFontKind = value;
  ApplyFontKind();
}

void TCompanyText::ApplyFontKind() {
  const gfx::Font system = TGradientCaption::SystemCaptionFont();
  const TColor color = FFont.Color;
  switch (FFontKind) {
    case fkCustom: return;
    case fkSystem: FFont = system; break;
    case fkSystemI: FFont = system; FFont.Style |= gfx::fsItalic; break;
    case fkSystemB: FFont = system; FFont.Style |= gfx::fsBold; break;
    case fkSystemBI: FFont = system; FFont.Style |= gfx::fsBold | gfx::fsItalic; break;
    case fkAutoHeight:
      // Keep face and style; a negative height is the character height, which is what has
      // to match the caption font's.
      FFont.Height = system.Height < 0 ? system.Height : -system.Height;
      break;
  }
  FFont.Color = color;
}

std::string TCaptionText::Caption() const {
  TForm* form = FOwner ? FOwner->Form() : nullptr;
  if (!form) return FCaption;
  std::string text = form->Caption();
  auto strip = [&text](const TCompanyText& part) {
    if (!part.Visible()) return;
    const std::string before = part.Caption();
    const auto at = text.find(before);
    if (at == std::string::npos) return;
    text.erase(0, at + before.size());
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  };
  strip(FOwner->CompanyText());
  strip(FOwner->AppNameText());
  return text;
}

// ---- the component

TGradientCaption::TGradientCaption(TComponent* AOwner) : TComponent(AOwner) {
  FForm = dynamic_cast<TForm*>(AOwner);
  if (!FForm) throw std::invalid_argument("A gradient caption bar must be owned by a form");
  FCompanyText = std::make_unique<TCompanyText>(this);
  FAppNameText = std::make_unique<TAppNameText>(this);
  FCaptionText = std::make_unique<TCaptionText>(this);
  FSavedProc = FForm->WindowProc();
  FForm->SetWindowProc([this](TMessage& m) { FormWndProc(m); });
  FHooked = true;
}

TGradientCaption::~TGradientCaption() {
  if (!FHooked || !FForm) return;
  FForm->SetWindowProc(std::move(FSavedProc));
  FHooked = false;
  // Left alone, the form shows its bare caption in its own title bar again.
  if (!FForm->Destroying()) {
    FForm->SetCaption(FCaptionText->Caption());
    FForm->RedrawFrame();
  }
}

gfx::Font TGradientCaption::SystemCaptionFont() {
  gfx::Font f;
  f.Name = "MS Sans Serif";
  f.Height = -11;
  f.Style = gfx::fsBold;
  f.Color = clCaptionText;
  return f;
}

void TGradientCaption::SetNumColors(int value) {
  if (value <= 0) return;
  FNumColors = value > 256 ? 256 : value;
}

TColor TGradientCaption::BandColor(TColor left, TColor right, int i, int n) {
  left = gfx::ColorToRGB(left);
  right = gfx::ColorToRGB(right);
  if (n <= 1) return left;
  TColor out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int l = int((left >> shift) & 0xFF), r = int((right >> shift) & 0xFF);
    const int v = (l + MulDiv(i, r - l, n - 1)) & 0xFF;
    out |= TColor(v) << shift;
  }
  return out;
}

Rect TGradientCaption::TitleRect() const {
  Rect bar = FForm->CaptionRect();
  if (bar.IsEmpty()) return {};
  // The close button's cell is as wide as the bar is high, plus a 2-pixel margin.
  if (FForm->BorderIcons() & biSystemMenu) bar.right -= bar.Height() + 2;
  if (bar.right < bar.left + 2) bar.right = bar.left + 2;
  return bar;
}

void TGradientCaption::UpdateFormText() {
  if (!FForm) return;
  const TCompanyText& c = *FCompanyText;
  const TCompanyText& a = *FAppNameText;
  const TCompanyText& t = *FCaptionText;
  std::string text;
  if (c.Visible()) text += c.Caption();
  if (c.Visible() && !c.Caption().empty() && (a.Visible() || t.Visible())) text += ' ';
  if (a.Visible()) text += a.Caption();
  if (a.Visible() && !a.Caption().empty() && t.Visible()) text += ' ';
  // The stored caption: the getter reads the very text being rebuilt.
  if (t.Visible()) text += t.TCompanyText::Caption();
  FForm->SetCaption(text);
}

bool TGradientCaption::IsActive() const { return FActiveKnown ? FActive : FForm->Active(); }

void TGradientCaption::FormWndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT: {
      const Rect bar = FForm->CaptionRect();
      if (bar.IsEmpty() || !FForm->NativeWindow()) break;
      gfx::Region region = message.WParam
                               ? *reinterpret_cast<const gfx::Region*>(message.WParam)
                               : gfx::Region(Rect{0, 0, FForm->Width(), FForm->Height()})
                                     .Subtract(gfx::Region(FForm->ClientRectInWindow()));
      TCanvas own(FForm->NativeWindow()->BackBuffer());
      TCanvas& canvas = message.LParam ? *reinterpret_cast<TCanvas*>(message.LParam) : own;
      {
        const gfx::CanvasStateSaver saved(canvas);
        canvas.Origin = Point{};
        canvas.SetClipRegion(region.Intersect(gfx::Region(bar)));
        PaintTitleBar(canvas);
      }
      // The rest of the frame and the close button are the form's; our bar stays.
      gfx::Region rest = region.Subtract(gfx::Region(bar).Subtract(gfx::Region(FForm->CloseButtonRect())));
      if (rest.IsEmpty()) return;
      TMessage forward = message;
      forward.WParam = reinterpret_cast<std::intptr_t>(&rest);
      forward.LParam = reinterpret_cast<std::intptr_t>(&canvas);
      FSavedProc(forward);
      message.Result = forward.Result;
      return;
    }
    case WM_NCACTIVATE:
      FActive = message.WParam != 0;
      FActiveKnown = true;
      FSavedProc(message);
      message.Result = 1;
      return;
    case WM_SETCURSOR: {
      plat::StdCursor shape;
      switch (int(message.LParam)) {
        case HTLEFT: case HTRIGHT: shape = plat::StdCursor::SizeWE; break;
        case HTTOPLEFT: case HTBOTTOMRIGHT: shape = plat::StdCursor::SizeNWSE; break;
        case HTTOPRIGHT: case HTBOTTOMLEFT: shape = plat::StdCursor::SizeNESW; break;
        case HTTOP: case HTBOTTOM: shape = plat::StdCursor::SizeNS; break;
        default: FSavedProc(message); return;
      }
      if (plat::NativeWindow* w = FForm->NativeWindow()) {
        plat::CursorLook cursor;
        cursor.Standard = shape;
        w->SetCursor(cursor);
      }
      message.Result = 1;
      return;
    }
    default:
      break;
  }
  FSavedProc(message);
}

void TGradientCaption::PaintTitleBar(TCanvas& canvas) {
  const Rect bar = FForm->CaptionRect();
  const Rect title = TitleRect();
  const bool active = IsActive();
  bool gradient = false;
  switch (FEnabled) {
    case geAlways: gradient = true; break;
    case geNever: gradient = false; break;
    case geWhenActive: gradient = active; break;
    case geSmart: {
      const int depth = plat::Platform::Current().ScreenDepth();
      gradient = active ? depth > 7 : depth > 8;
      break;
    }
  }
  const TColor left = active ? FColorLeftActive : FColorLeftInActive;
  const TColor right = active ? FColorRightActive : FColorRightInActive;
  const TColor plain = active ? clActiveCaption : clInactiveCaption;
  canvas.Brush = gfx::Brush{gradient ? right : plain, gfx::BrushStyle::Solid, {}};
  canvas.FillRect(bar);
  if (gradient) {
    const int width = title.Width(), n = FNumColors;
    for (int i = 0; i < n; ++i) {
      const int x0 = title.left + MulDiv(i, width, n), x1 = title.left + MulDiv(i + 1, width, n);
      if (x1 <= x0) continue;
      canvas.Brush = gfx::Brush{BandColor(left, right, i, n), gfx::BrushStyle::Solid, {}};
      canvas.FillRect(Rect{x0, title.top, x1, title.bottom});
    }
  }
  if (OnDrawCaption) {
    const gfx::CanvasStateSaver saved(canvas);
    canvas.SelectFont(SystemCaptionFont());
    OnDrawCaption(this, canvas, title);
  }

  // The caption part follows the form's text; then as many parts as fit, dropped from the left.
  FCaptionText->FCaption = FCaptionText->Caption();
  TCompanyText* parts[3] = {FCompanyText.get(), FAppNameText.get(), FCaptionText.get()};
  int widths[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i)
    if (parts[i]->Visible()) {
      canvas.SelectFont(parts[i]->Font());
      widths[i] = canvas.TextWidth(parts[i]->Caption()) + kPartGap;
    }
  int first = 2;
  if (widths[0] + widths[1] + widths[2] <= title.Width()) first = 0;
  else if (widths[1] + widths[2] <= title.Width()) first = 1;
  int total = 0;
  for (int i = first; i < 3; ++i) total += widths[i];
  int x = title.left;
  if (total < title.Width()) {
    if (FJustification == jCenter) x += (title.Width() - total) / 2;
    else if (FJustification == jRight) x = title.right - total;
  }
  const gfx::CanvasStateSaver saved(canvas);
  canvas.BkMode = gfx::BkMode::Transparent;
  for (int i = first; i < 3; ++i) {
    if (!parts[i]->Visible()) continue;
    x += kPartGap;
    if (x >= title.right) break;
    gfx::Font font = parts[i]->Font();
    font.Color = active ? parts[i]->ColorActive() : parts[i]->ColorInactive();
    canvas.SelectFont(font);
    const std::string text = parts[i]->Caption();
    Rect r{x, title.top, title.right, title.bottom};
    canvas.DrawText(text, r, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_LEFT | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    x += canvas.TextWidth(text);
  }
}
