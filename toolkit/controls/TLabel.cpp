#include "toolkit/controls/TLabel.h"

#include "toolkit/core/Accelerator.h"
#include "toolkit/core/PropText.h"

#include <cctype>

#include "graphics/Bitmap.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TWinControl.h"

namespace {

const char* LayoutName(TTextLayout layout) {
  switch (layout) {
    case tlTop: return "tlTop";
    case tlCenter: return "tlCenter";
    case tlBottom: return "tlBottom";
  }
  return "tlTop";
}

constexpr unsigned kAlignFlags[] = {gfx::DT_LEFT, gfx::DT_RIGHT, gfx::DT_CENTER};

}  // namespace

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 65, 17);
  // A label takes its parent's colour until it is given its own, as the classic one does.
  SetColor(clBtnFace);
  SetParentColor(true);
}

void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FlushAdjust();
  FAutoSize = value;
  AutoAdjust();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FlushAdjust();
  FAlignment = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FlushAdjust();
  FWordWrap = value;
  AutoAdjust();
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AutoAdjust();
  Invalidate();
}

char TLabel::AccelChar() const {
  if (!FShowAccelChar) return 0;
  const std::string& text = Caption();
  return char(std::tolower(static_cast<unsigned char>(AcceleratorChar(text))));
}

void TLabel::DoDrawText(TCanvas& canvas, Rect& r, unsigned flags) {
  std::string text = Caption();
  // An empty caption (or a lone '&') still measures one line high.
  if ((flags & gfx::DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
  if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
  gfx::Font font = Font().Data();
  canvas.SelectFont(font);
  if (flags & gfx::DT_CALCRECT) {
    canvas.DrawText(text, r, flags);
    return;
  }
  if (!Enabled()) {
    Rect shifted = r.Offset(1, 1);
    canvas.TextColor = clBtnHighlight;
    canvas.DrawText(text, shifted, flags);
    canvas.TextColor = clBtnShadow;
    canvas.DrawText(text, r, flags);
  } else {
    canvas.DrawText(text, r, flags);
  }
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  if (!FTransparent) {
    canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
    canvas.FillRect(ClientRect());
  }
  canvas.BkMode = gfx::BkMode::Transparent;
  Rect r = ClientRect();
  unsigned flags = gfx::DT_EXPANDTABS | kAlignFlags[FAlignment] | (FWordWrap ? gfx::DT_WORDBREAK : 0u);
  if (FLayout != tlTop) {
    Rect calc = r;
    DoDrawText(canvas, calc, flags | gfx::DT_CALCRECT);
    const int dy = FLayout == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
    r = r.Offset(0, dy);
  }
  DoDrawText(canvas, r, flags);
}

// A label on a form never shown yet (or on none yet) is measured once, as the form first
// shows (or as it is put on a form already shown). That one measurement gives what measuring
// at every change would have: the left edge and the text decide the bounds. Where the history
// counts, labels are measured at every change as before: word wrap wraps within the width the
// last measurement left, and a right-justified label moves its left edge; a change of
// alignment or autosize measures what is pending first. Until then the label's size is not
// current: code that reads it calls AdjustBounds.
void TLabel::AutoAdjust() {
  const TForm* form = ParentForm();
  const bool history = FWordWrap || FAlignment == taRightJustify;
  if (FAutoSize && !history && (!Parent() || (form && !form->ShownOnce()))) {
    FAdjustPending = true;
    return;
  }
  AdjustBounds();
}

void TLabel::FlushAdjust() {
  if (FAdjustPending) AdjustBounds();
}

void TLabel::SetParent(TWinControl* value) {
  TGraphicControl::SetParent(value);
  const TForm* form = ParentForm();
  if (Parent() && (!form || form->ShownOnce())) FlushAdjust();
}

// While a measurement is pending a move keeps it pending (measuring keeps the left edge, so
// it comes to the same), and a new size overrides what measuring would have given (a size
// equal to the present one counts as a move).
void TLabel::SetBounds(int left, int top, int width, int height) {
  if (FAdjustPending && (width != Width() || height != Height())) FAdjustPending = false;
  TGraphicControl::SetBounds(left, top, width, height);
}

void TLabel::AdjustBounds() {
  FAdjustPending = false;
  if (!FAutoSize) return;
  // Measuring needs a device context only; a scratch bitmap stands in for the screen's.
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  Rect r = ClientRect();
  DoDrawText(canvas, r, gfx::DT_EXPANDTABS | gfx::DT_CALCRECT | (FWordWrap ? gfx::DT_WORDBREAK : 0u));
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - r.right;
  SetBounds(x, Top(), r.right, r.bottom);
}

void TLabel::WndProc(TMessage& message) {
  if (message.Msg == CM_DIALOGKEY && FFocusControl) {
    // Alt with the label's underlined letter focuses its control.
    const auto shift = TShiftState(message.LParam);
    const char accel = AccelChar();
    if ((shift & ssAlt) && !(shift & ssCtrl) && accel != 0 &&
        int(message.WParam) == std::toupper(static_cast<unsigned char>(accel)) && FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      message.Result = 1;
      return;
    }
  }
  TGraphicControl::WndProc(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AutoAdjust();
      Invalidate();
      break;
    case CM_FIRSTSHOW:
      if (FAdjustPending) AdjustBounds();
      break;
    default:
      break;
  }
}

std::optional<std::string> TLabel::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "AutoSize")) return PropText::Bool(FAutoSize);
  if (PropText::Is(name, "Alignment")) return PropText::Alignment(FAlignment);
  if (PropText::Is(name, "WordWrap")) return PropText::Bool(FWordWrap);
  if (PropText::Is(name, "Transparent")) return PropText::Bool(FTransparent);
  if (PropText::Is(name, "Layout")) return LayoutName(FLayout);
  if (PropText::Is(name, "ShowAccelChar")) return PropText::Bool(FShowAccelChar);
  if (PropText::Is(name, "FocusControl")) {
    if (!FFocusControl) return std::string();
    return FFocusControl->Name();
  }
  return TGraphicControl::GetPropText(name);
}
