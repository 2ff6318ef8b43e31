// Which control of the form has the keyboard, and forgetting controls that leave or hide.
#include "toolkit/core/TForm.h"

bool TForm::CanFocus() const { return FVisible && Enabled() && FWindowKind != plat::WindowKind::Popup; }

void TForm::SetFocus() {
  // A form that a modal form blocks cannot take the keyboard from it.
  if (FWindow && FVisible && FWindowKind != plat::WindowKind::Popup && AcceptsInput()) FWindow->Activate();
}

void TForm::SetActiveControl(TWinControl* control) { FocusControl(control); }

void TForm::FocusControl(TWinControl* control) {
  if (control == this) control = nullptr;
  if (control && control->ParentForm() != this) return;
  if (control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  FActiveControl = control;
  if (old) {
    old->Perform(CM_EXIT, 0, 0);
    old->Perform(WM_KILLFOCUS, 0, 0);
  }
  if (control && FActiveControl == control) {
    control->Perform(CM_ENTER, 0, 0);
    control->Perform(WM_SETFOCUS, 0, 0);
  }
}

void TForm::ControlRemoved(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (inside(FCaptureControl)) SetCaptureControl(nullptr);
  if (inside(FCaptureControl)) FCaptureControl = nullptr;
  if (inside(FHoverControl)) FHoverControl = nullptr;
  if (inside(FActiveControl)) FActiveControl = nullptr;
}

void TForm::ControlHidden(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (inside(FCaptureControl)) SetCaptureControl(nullptr);
  if (inside(FHoverControl)) FHoverControl = nullptr;
  if (inside(FActiveControl)) FocusControl(nullptr);
}
