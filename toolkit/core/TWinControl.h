#pragma once
// A windowed control: it holds child controls, can take the keyboard focus, receives keys and
// has a handle (HWND) that messages can be posted to. Only forms are native windows; the other
// windowed controls are drawn into their form's window, on top of their parent's graphic
// controls (as child windows clip their parent).
#include <vector>

#include "toolkit/core/TControl.h"

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // Children in z order (bottom first).
  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int index) const;  // nullptr when out of range
  void InsertControl(TControl* control);  // usually through control->SetParent(this)
  void RemoveControl(TControl* control);
  // The deepest visible, enabled control at P (client coordinates) whose parent chain ends
  // here; windowed children win over graphic ones and later ones over earlier ones. Returns
  // this when no child is there; nullptr when P is outside the client area.
  TControl* ControlAtPos(Point p, bool allowDisabled = false);
  bool ContainsControl(const TControl* control) const;  // a child at any depth

  // Handle: a stable identity (this object) for PostMessage / SendMessage.
  HWND Handle() { return this; }
  bool IsWindowed() const override { return true; }

  // Focus.
  virtual bool CanFocus() const;  // showing and enabled up to the form
  bool Focused() const;
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  int TabOrder() const;  // position among the parent's windowed children
  void SetTabOrder(int value);
  // The next (or previous) TabStop control after CURRENT among the children, in tab order,
  // wrapping round; nullptr when none can take the focus.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // Lays out the aligned children now (done automatically on size and alignment changes).
  void Realign();
  // Client rectangle left for aligned children (the client area less any frame).
  virtual Rect AlignRect() const { return ClientRect(); }

  // Calls CALLBACK for every child at any depth, parents first.
  void ForEachChild(const std::function<void(TControl*)>& callback) const;
  // Sends MSG to every child at any depth until one answers Result != 0; returns that result.
  std::intptr_t Broadcast(TMessage& message);

  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseWheelEvent OnMouseWheel;

 protected:
  void WndProc(TMessage& message) override;
  // Key notifications; each raises its event first. KEY set to 0 swallows the key.
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyUp(int& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  // The classic DoKeyDown / DoKeyUp / DoKeyPress: key preview on the form first (when it is
  // on and this is not the form), then KeyDown etc.; true when the key was swallowed.
  bool DoKeyDown(int& key, TShiftState shift);
  bool DoKeyUp(int& key, TShiftState shift);
  bool DoKeyPress(char& key);
  // Whether the control takes KEY itself instead of it acting as a dialog key (Tab, arrows,
  // Enter, Escape); the base wants none.
  virtual bool WantsKey(int key) const { (void)key; return false; }
  // Paints the background (WM_ERASEBKGND): fills the client area with Color.
  virtual void EraseBackground(TCanvas& canvas);
  // Arranges the aligned children inside RECT.
  virtual void AlignControls(Rect& rect);
  void BoundsChanged(const Rect& oldBounds) override;

 private:
  friend class TControl;
  friend class TForm;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;  // windowed children in tab order
  bool FTabStop = false;
  bool FAligning = false;
};
