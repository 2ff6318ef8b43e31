// Showing, hiding, closing and running a form modally.
#include "toolkit/core/TForm.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

void TForm::ApplyZOrder() {
  // Only puts a stay-on-top form into its band; a normal form keeps whatever band the
  // program put it in (SetWindowPos-like calls on the native window).
  if (FWindow && FFormStyle == fsStayOnTop && !FWindow->TopMost()) FWindow->SetZOrder(plat::ZOrder::TopMost);
}

namespace {
void BroadcastFirstShow(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    c->Perform(CM_FIRSTSHOW, 0, 0);
    if (c->IsWindowed()) BroadcastFirstShow(static_cast<TWinControl*>(c));
  }
}
}  // namespace

void TForm::Show() {
  SetVisible(true);
  if (FVisible) BringToFront();
}

void TForm::BringToFront() {
  if (!FWindow || !FWindow->Visible()) return;
  FWindow->SetZOrder(plat::ZOrder::Top);
  if (FWindowKind != plat::WindowKind::Popup && !FWindow->Active()) FWindow->Activate();
}

void TForm::SendToBack() {
  if (FWindow) FWindow->SetZOrder(plat::ZOrder::Bottom);
}

void TForm::NativeShow() {
  if (!FWindow) return;
  FWindow->SetRole(WindowRole());
  TForm* main = Application ? Application->MainForm() : nullptr;
  FWindow->SetOwner(main && main != this && BelongsToMainForm() ? main->NativeWindow() : nullptr);
  ApplyZOrder();
  InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  FWindow->Show(FWindowKind != plat::WindowKind::Popup);
}

void TForm::NativeHide() {
  if (!FWindow) return;
  SetCaptureControl(nullptr);
  UpdateHover(nullptr);
  FWindow->Hide();
}

void TForm::SetVisible(bool value) {
  if (value == FVisible) {
    // Visible but hidden by minimising: showing it explicitly brings it back.
    if (value && FWindow && !FWindow->Visible() && !(Application && Application->Minimized())) NativeShow();
    return;
  }
  if (value) {
    if (!FShownOnce) {
      FShownOnce = true;
      BroadcastFirstShow(this);
    }
    if (FPosition == poScreenCenter) {
      // Centred on the monitor where the program is, not across the gap between two.
      const Rect m = TScreen::MainFormMonitor().Bounds;
      SetBounds(m.left + (m.Width() - Width()) / 2, m.top + (m.Height() - Height()) / 2, Width(), Height());
    } else if (FPosition == poDesktopCenter) {
      Size s = plat::Platform::Current().ScreenSize();
      SetBounds((s.cx - Width()) / 2, (s.cy - Height()) / 2, Width(), Height());
    } else if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
      TForm* m = Application ? Application->MainForm() : nullptr;
      if (FPosition == poOwnerFormCenter)
        if (auto* o = dynamic_cast<TForm*>(Owner())) m = o;
      if (m && m != this)
        SetBounds(m->Left() + (m->Width() - Width()) / 2, m->Top() + (m->Height() - Height()) / 2, Width(), Height());
    }
    FVisible = true;
    DoShow();
    if (!FVisible) return;  // OnShow hid it again
    Perform(WM_SHOWWINDOW, 1, 0);
    NativeShow();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    Perform(CM_VISIBLECHANGED, 1, 0);
  } else {
    FVisible = false;
    DoHide();
    Perform(WM_SHOWWINDOW, 0, 0);
    NativeHide();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    Perform(CM_VISIBLECHANGED, 0, 0);
  }
}

bool TForm::Showing() const { return Visible() && FWindow && FWindow->Visible(); }

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TForm::Release() {
  if (FReleasePending) return;
  FReleasePending = true;
  if (Application) Application->PostMessage(this, CM_RELEASE, 0, 0);
}

TModalResult TForm::ShowModal() {
  if (FVisible) throw std::logic_error("Cannot make a visible window modal");
  if (!Enabled()) throw std::logic_error("Cannot make a disabled window modal");
  if (!Application) throw std::logic_error("ShowModal needs the application object");
  ReleaseCapture();
  // Every form that can take input now is blocked until this one is done.
  std::vector<TForm*> blocked;
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TForm* f = Screen->Forms(i);
      if (f != this && f->FVisible) {
        ++f->FDisabledCount;
        blocked.push_back(f);
      }
    }
  struct Restore {
    TForm* Self;
    std::vector<TForm*>& Blocked;
    ~Restore() {
      Self->FModal = false;
      Application->ModalEnds(Self);
      for (TForm* f : Blocked)
        if (Screen && Screen->IndexOf(f) >= 0 && f->FDisabledCount > 0) --f->FDisabledCount;
    }
  } restore{this, blocked};
  // It must stay in front of every window it blocks, so it shares the topmost band with any
  // of them that is there (as an owned window of a topmost window is topmost itself).
  const bool raised = FWindow && !FWindow->TopMost() && std::any_of(blocked.begin(), blocked.end(), [](TForm* f) {
    return f->FWindow && f->FWindow->TopMost();
  });
  struct Lower {
    plat::NativeWindow* Window;
    ~Lower() {
      if (Window) Window->SetZOrder(plat::ZOrder::NoTopMost);
    }
  } lower{raised ? FWindow.get() : nullptr};
  if (raised) FWindow->SetZOrder(plat::ZOrder::TopMost);
  FModal = true;
  FModalResult = mrNone;
  Application->ModalBegins(this);
  Show();
  while (true) {
    Application->HandleMessage();
    if (Application->Terminated()) {
      if (FModalResult == mrNone) FModalResult = mrCancel;
      break;
    }
    if (FModalResult == mrNone) continue;
    // Closing a modal form still asks OnCloseQuery and OnClose; caNone keeps it open.
    if (!CloseQuery()) {
      FModalResult = mrNone;
      continue;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) {
      FModalResult = mrNone;
      continue;
    }
    break;
  }
  FModal = false;
  Hide();
  return FModalResult;
}
