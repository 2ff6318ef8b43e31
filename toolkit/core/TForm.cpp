#include "toolkit/core/TForm.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

// Forwards what the native window reports to the form.
class TForm::Events : public plat::WindowListener {
 public:
  explicit Events(TForm* form) : FForm(form) {}
  void OnMouseMove(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseMove(e); }); }
  void OnMouseDown(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseDown(e); }); }
  void OnMouseUp(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseUp(e); }); }
  void OnMouseWheel(const plat::MouseEvent& e, int delta) override { Guard([&] { FForm->NativeMouseWheel(e, delta); }); }
  void OnMouseLeave() override { Guard([&] { FForm->NativeMouseLeave(); }); }
  void OnKeyDown(const plat::KeyEvent& e) override { Guard([&] { FForm->NativeKeyDown(e); }); }
  void OnKeyUp(const plat::KeyEvent& e) override { Guard([&] { FForm->NativeKeyUp(e); }); }
  void OnChar(std::string_view utf8) override { Guard([&] { FForm->NativeChar(utf8); }); }
  void OnActivate(bool active) override { Guard([&] { FForm->NativeActivate(active); }); }
  void OnCloseRequest() override { Guard([&] { FForm->NativeCloseRequest(); }); }
  void OnMoved(const Rect& bounds) override { Guard([&] { FForm->NativeMoved(bounds); }); }
  void OnCaptureLost() override { Guard([&] { FForm->NativeCaptureLost(); }); }

 private:
  // Every handler the program runs from here may throw; the application shows the error
  // and carries on, as after any message.
  template <class F>
  void Guard(F&& f) {
    if (Application) Application->Guard(FForm, f);
    else f();
  }
  TForm* FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() | csSetCaption);
  FVisible = false;
  FParentFont = false;
  FParentColor = false;
  FColor = clBtnFace;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  if (Screen) Screen->AddForm(this);
  CreateNativeWindow();
}

TForm::~TForm() {
  if (!Destroying()) {
    // Held outside the application (tests): no OnDestroy, but the components still go first.
    DestroyComponents();
  }
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->FormGone(this);
  FCaptureControl = nullptr;
  FHoverControl = nullptr;
  FActiveControl = nullptr;
  FWindow.reset();
  FEvents.reset();
}

void TForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
  FCreated = true;
  DoCreate();
}

void TForm::BeforeDestruction() {
  if (Destroying()) return;
  if (FVisible) {
    // A form being destroyed disappears without its close events.
    NativeHide();
    FVisible = false;
  }
  if (FCreated) DoDestroy();
  TWinControl::BeforeDestruction();  // marks destroying, destroys the components
  Perform(WM_DESTROY, 0, 0);
}

void TForm::CreateNativeWindow() {
  if (!plat::Platform::HasCurrent()) throw std::logic_error("a form needs a platform (plat::Platform::SetCurrent)");
  if (!FEvents) FEvents = std::make_unique<Events>(this);
  plat::WindowParams params;
  params.Title = Caption();
  params.Bounds = BoundsRect();
  params.Kind = FWindowKind;
  params.TopMost = FFormStyle == fsStayOnTop;
  params.TaskbarEntry = false;
  FWindow = plat::Platform::Current().CreateWindow(params, FEvents.get());
  FShownCursor.reset();
  FDirty = gfx::Region(Rect{0, 0, Width(), Height()});
}

void TForm::DestroyNativeWindow() {
  if (!FWindow) return;
  Perform(WM_DESTROY, 0, 0);
  FWindow.reset();
  FActive = false;
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  Realign();
}

void TForm::SetBorderIcons(TBorderIcons value) {
  if (value == FBorderIcons) return;
  FBorderIcons = value;
  InvalidateFrame();
}

void TForm::SetFormStyle(TFormStyle value) {
  if (value == FFormStyle) return;
  FFormStyle = value;
  if (FWindow) FWindow->SetZOrder(value == fsStayOnTop ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
}

void TForm::SetWindowKind(plat::WindowKind value) {
  if (value == FWindowKind) return;
  FWindowKind = value;
  if (!FWindow) return;
  const bool shown = FWindow->Visible();
  SetCaptureControl(nullptr);
  DestroyNativeWindow();
  CreateNativeWindow();
  if (shown) NativeShow();
}

plat::WindowRole TForm::WindowRole() const {
  if (FWindowKind == plat::WindowKind::Popup) return plat::WindowRole::Tooltip;
  return FBorderStyle == bsNone ? plat::WindowRole::Utility : plat::WindowRole::Dialog;
}

void TForm::SetWindowState(TWindowState value) {
  if (value == FWindowState) return;
  FWindowState = value;
  if (value == wsMinimized) {
    if (Application && Application->MainForm() == this) Application->Minimize();
    else if (FWindow) FWindow->Hide();
  } else if (FVisible && FWindow && !FWindow->Visible()) {
    NativeShow();
  }
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}
void TForm::KeyDown(int& key, TShiftState shift) { TWinControl::KeyDown(key, shift); }

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

std::optional<std::string> TForm::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "BorderStyle")) return PropText::BorderStyle(FBorderStyle);
  if (Is(name, "FormStyle")) return PropText::FormStyle(FFormStyle);
  if (Is(name, "KeyPreview")) return Bool(FKeyPreview);
  if (Is(name, "Position")) return PropText::Position(FPosition);
  if (Is(name, "WindowState")) return PropText::WindowState(FWindowState);
  if (Is(name, "ModalResult")) return Int(FModalResult);
  if (Is(name, "Active")) return Bool(FActive);
  if (Is(name, "ActiveControl")) return FActiveControl ? FActiveControl->Name() : std::string();
  return TWinControl::GetPropText(name);
}
