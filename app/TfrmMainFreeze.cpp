// The frozen screen: one still picture of the whole desktop, shown under the program's own
// windows, that the caption, the cross ruler, the loupe and the lens then measure. The picture
// lives in memory only and is dropped when the screen thaws.
#include <climits>

#include "app/TfrmFreeze.h"
#include "app/TfrmMain.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

bool TfrmMain::ScreenFrozen() const { return !FFreezeForms.empty(); }

void TfrmMain::mnuFreezeClick(TObject*) { ToggleFreeze(); }

void TfrmMain::ToggleFreeze() {
  if (ScreenFrozen()) {
    Thaw();
    return;
  }
  if (FFreezePending) return;  // a picture is on its way
  FFreezePending = true;
  // The magnifiers would hide what lies under the pointer in the picture.
  HideMouseLoupe();
  HideLens();
  tmrFreeze->SetEnabled(true);
}

void TfrmMain::RequestFreeze() {
  std::weak_ptr<bool> alive = FAlive;
  plat::Platform::Current().RequestDesktopPicture([this, alive](plat::DesktopPicture picture) {
    if (alive.expired()) return;
    FreezeWith(picture);
  });
}

void TfrmMain::FreezeWith(const plat::DesktopPicture& picture) {
  FFreezePending = false;
  if (!picture.Error.empty() || picture.Picture.IsEmpty()) {
    Application->MessageBox(picture.Error.empty() ? "The screen could not be frozen: no picture of it came."
                                                  : picture.Error,
                            "Freeze screen", MB_OK | MB_ICONERROR);
    if (mnuZoom->Checked()) ShowMouseLoupe();
    return;
  }
  // Gone to the tray while the desktop was asked: nothing would measure the picture.
  if (!Visible() || Application->Minimized()) return;
  Screen->SetFrozenPicture(plat::MapToDesktop(picture.Picture, plat::Platform::Current().ScreenSize()));
  for (const plat::Monitor& m : TScreen::Monitors()) {
    auto* form = TComponent::Create<TfrmFreeze>(this, m.Bounds, *Screen->FrozenPicture());
    form->OnPicturePressed = [this] { StackOverFreeze(); };
    // Some managers lift a focused window the size of a monitor above every other: the
    // keyboard goes back to the strip.
    form->OnActivate = [this](TObject*) { StackOverFreeze(); };
    // Keys that reach the picture are the strip's.
    form->OnKeyDown = [this](TObject* sender, int& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
    form->OnKeyUp = [this](TObject* sender, int& key, TShiftState shift) { FormKeyUp(sender, key, shift); };
    FFreezeForms.push_back(form);
    form->Show();
  }
  mnuFreeze->SetChecked(true);
  StackOverFreeze();
  if (mnuZoom->Checked()) ShowMouseLoupe();
  RefreshReadings();
}

// The picture is an ordinary window that a window manager may raise when it maps it or when it
// is clicked: the strip stays in the topmost band while the screen is frozen, whatever "Always
// on top" says, and goes back to its own band when it thaws.
void TfrmMain::StackOverFreeze() {
  if (!Visible()) return;
  NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  if (TfrmCrossRuler* cross = CrossRuler()) cross->StackWith(*this);
  SetFocus();
}

void TfrmMain::Thaw() {
  std::vector<TfrmFreeze*> forms;
  forms.swap(FFreezeForms);
  for (TfrmFreeze* form : forms) DestroyComponent(form);
  Screen->SetFrozenPicture(std::nullopt);
  mnuFreeze->SetChecked(false);
  if (!mnuAlwaysTop->Checked()) {
    NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
    if (TfrmCrossRuler* cross = CrossRuler()) cross->StackWith(*this);
  }
  RefreshReadings();
}

void TfrmMain::RefreshReadings() {
  FLastCursor = {INT_MIN, INT_MIN};
  if (TfrmZoom* loupe = MouseLoupe()) loupe->RefreshAtNextTick();
  // The edge beams measure what the screen now reads: their picture is taken again.
  if (MeasuringEdges()) {
    StopMeasuringEdges();
    StartMeasuringEdges();
  }
}

TfrmMain::~TfrmMain() {
  FAlive.reset();
  if (Screen) Screen->SetFrozenPicture(std::nullopt);
}
