#include "toolkit/controls/TButton.h"

#include <cctype>

#include "toolkit/core/Accelerator.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TForm.h"

namespace {

// The key of the caption's '&' character (upper case, as virtual keys are), or 0.
int AccelKey(const std::string& caption) {
  return char(std::toupper(static_cast<unsigned char>(AcceleratorChar(caption))));
}

}  // namespace

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 75, 25);
  SetColor(clBtnFace);
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  Invalidate();
}

bool TButton::Active() const {
  const TForm* form = GetParentForm(this);
  const TWinControl* focused = form ? form->ActiveControl() : nullptr;
  if (dynamic_cast<const TButton*>(focused)) return focused == this;
  return FDefault;
}

// The default frame moves with the focus, so every button of the form may need repainting.
void TButton::InvalidateButtons() {
  TForm* form = GetParentForm(this);
  if (!form) return;
  form->ForEachChild([](TControl* c) {
    if (dynamic_cast<TButton*>(c)) c->Invalidate();
  });
}

void TButton::Click() {
  if (TForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TCustomControl::Click();
}

void TButton::SetPressed(bool value) {
  if (value == FPressed) return;
  FPressed = value;
  Invalidate();
}

// The published events come first, then the button's own work.
void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && Enabled()) {
    if (CanFocus() && !Focused()) SetFocus();
    FMouseDown = true;
    SetPressed(true);
  }
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FMouseDown) SetPressed(ClientRect().Contains({x, y}));
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) {
    FMouseDown = false;
    SetPressed(FSpaceDown);
  }
}

void TButton::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == plat::VK_SPACE && shift == 0) {
    FSpaceDown = true;
    SetPressed(true);
  }
}

void TButton::KeyUp(int& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == plat::VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    SetPressed(FMouseDown);
    Click();
  }
}

void TButton::DoEnter() {
  TCustomControl::DoEnter();
  InvalidateButtons();
}

void TButton::DoExit() {
  TCustomControl::DoExit();
  if (FSpaceDown) {
    FSpaceDown = false;
    SetPressed(FMouseDown);
  }
  InvalidateButtons();
}

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: {
      // Enter goes to the active (focused or default) button, Escape to the Cancel button.
      const int key = int(message.WParam);
      const auto shift = TShiftState(message.LParam);
      if ((shift & (ssShift | ssCtrl | ssAlt)) == 0 &&
          ((key == plat::VK_RETURN && Active()) || (key == plat::VK_ESCAPE && FCancel)) && Showing() && Enabled()) {
        Click();
        message.Result = 1;
        return;
      }
      // Alt with the caption's underlined letter clicks the button too.
      if ((shift & ssAlt) && !(shift & ssCtrl) && key != 0 && key == AccelKey(Caption()) && Showing() && Enabled()) {
        if (CanFocus()) SetFocus();
        Click();
        message.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TCustomControl::WndProc(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
}

void TButton::Paint() {
  TCanvas& canvas = Canvas();
  Rect r = ClientRect();
  canvas.Brush = gfx::Brush{clWindowFrame, gfx::BrushStyle::Solid, {}};
  if (Active()) {
    // The default frame: one black pixel round the button.
    canvas.FrameRect(r);
    r = r.Inflate(-1, -1);
  }
  int shift = 0;
  if (FPressed) {
    canvas.Brush.Color = clBtnShadow;
    canvas.FrameRect(r);
    r = r.Inflate(-1, -1);
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    shift = 1;
  } else {
    canvas.Brush.Color = clBtnFace;
    canvas.DrawEdge(r, gfx::EDGE_RAISED, gfx::BF_RECT | gfx::BF_SOFT | gfx::BF_MIDDLE | gfx::BF_ADJUST);
  }
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  Rect text = ClientRect().Offset(shift, shift);
  const unsigned flags = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
  if (!Enabled()) {
    Rect shifted = text.Offset(1, 1);
    canvas.TextColor = clBtnHighlight;
    canvas.DrawText(Caption(), shifted, flags);
    canvas.TextColor = clBtnShadow;
  } else {
    canvas.TextColor = Font().Color() == clWindowText ? clBtnText : Font().Color();
  }
  canvas.DrawText(Caption(), text, flags);
  if (Focused()) {
    Rect focus = ClientRect().Inflate(-4, -4);
    canvas.DrawFocusRect(focus);
  }
}

std::optional<std::string> TButton::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Default")) return PropText::Bool(FDefault);
  if (PropText::Is(name, "Cancel")) return PropText::Bool(FCancel);
  if (PropText::Is(name, "ModalResult")) return PropText::Int(FModalResult);
  return TCustomControl::GetPropText(name);
}
