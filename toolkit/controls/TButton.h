#pragma once
// A push button. Clicking it gives its form the button's ModalResult (which ends a modal
// form's loop) and raises OnClick. Enter clicks the focused button, or the Default button
// when the focus is on a control that is not a button; Escape clicks the Cancel button.
#include "toolkit/core/TCustomControl.h"

class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }

  // Whether the button currently shows the default frame and reacts to Enter: it has the
  // focus, or it is the Default button and no other button has the focus.
  bool Active() const;

  void Click() override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(int& key, TShiftState shift) override;
  void KeyUp(int& key, TShiftState shift) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  void SetPressed(bool value);
  void InvalidateButtons();

  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FPressed = false;       // drawn pushed in
  bool FMouseDown = false;     // left button held since a press on the button
  bool FSpaceDown = false;
};
