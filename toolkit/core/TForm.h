#pragma once
// A form: a top-level native window. Its Left/Top/Width/Height are the outer bounds on the
// screen; the toolkit draws the frame and title bar itself (raised 3D frame, caption bar in
// the active or inactive caption colour with bold text, close button) and dragging the title
// bar moves the form. The form owns the paint cycle of its window: dirty region -> WM_NCPAINT
// for the frame, WM_ERASEBKGND + OnPaint for the client area, then every visible control.
//
// Life: construct (build controls in the derived constructor, which may assign OnCreate);
// AfterConstruction calls Loaded() on the owned components and then fires OnCreate. The form
// starts hidden. OnDestroy fires in BeforeDestruction, while the whole object still lives.
#include <memory>
#include <optional>
#include <string>

#include "graphics/Region.h"
#include "platform/Platform.h"
#include "toolkit/core/TWinControl.h"

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Border and style.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle value);  // fsStayOnTop puts the window in the topmost band
  plat::WindowKind WindowKind() const { return FWindowKind; }
  void SetWindowKind(plat::WindowKind value);  // re-creates the native window when it changes
  // What the window is to window managers, given to the native window each time it is shown,
  // with the main form as its owner: borderless forms are floating tools, framed ones
  // dialogs, popup kinds tool tips.
  virtual plat::WindowRole WindowRole() const;
  // Whether the window belongs to the main form (window managers keep it above the main form
  // and with it); true for every form but the main one unless a form says otherwise.
  virtual bool BelongsToMainForm() const { return true; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState value);

  // Frame geometry (window pixels): the frame width on each side and the caption bar.
  Rect ClientRect() const override;
  Rect ClientRectInWindow() const;  // the client area's place in the window
  Point ClientOrigin() const override;
  Point WindowOrigin() const override;
  Rect VisibleWindowRect() const override;  // the client area while Visible
  int FrameWidth() const;           // 0, 3 (fixed and dialog frames) or 4 (sizing frames)
  int CaptionHeight() const;        // 0, 19 or 16 (tool windows) including its bottom line
  Rect CaptionRect() const;         // the title bar in window pixels (empty without)
  Rect CloseButtonRect() const;     // in window pixels (empty without)
  // Hit-test code of a point in window pixels (HTCLIENT, HTCAPTION, HTCLOSE, HTLEFT...).
  int HitTest(Point windowPoint) const;
  void SetClientWidth(int value) override;
  void SetClientHeight(int value) override;
  void SetBounds(int left, int top, int width, int height) override;

  // Showing and closing.
  void SetVisible(bool value) override;
  bool Showing() const override;  // Visible and on the screen (not hidden by minimising)
  // Whether the form has been shown at least once; until then its controls leave their text
  // unmeasured (see CM_FIRSTSHOW).
  bool ShownOnce() const { return FShownOnce; }
  void Show() override;           // Visible := true, then to the front
  void BringToFront() override;   // top of its band, activated unless a popup kind
  void SendToBack() override;
  void Close();  // OnCloseQuery, OnClose; closing the main form ends the application
  // Shows the form modally: a nested message loop until ModalResult is set (or the
  // application terminates); other forms get no input meanwhile; timers keep running.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  bool Modal() const { return FModal; }
  // Destroys the form once the current message is done (the owner must be the application).
  void Release();

  // Activation and focus.
  bool Active() const { return FActive; }
  void SetFocus() override;  // activates the window (not for popup-kind forms)
  bool CanFocus() const override;
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // Raised by control->SetFocus: moves the focus, firing OnExit / OnEnter.
  void FocusControl(TWinControl* control);

  // Whether the form currently takes mouse and key input (false while another form is modal).
  bool AcceptsInput() const { return FDisabledCount == 0 && Enabled(); }

  // Painting.
  TCanvas& Canvas();  // valid inside OnPaint / Paint
  // Marks R (window pixels) for repainting; the frame too where R covers it.
  void InvalidateWindowRect(const Rect& r);
  void InvalidateFrame();
  bool NeedsPaint() const { return !FDirty.IsEmpty() || !FPresentPending.IsEmpty(); }
  // Paints the dirty region now and presents it.
  void PaintNow();
  // The part of the window (in window coordinates) that lies on the screen: only it is painted;
  // the rest waits until a move brings it into view.
  Rect OnScreenWindowRect() const;
  // Repaints the frame at once (the classic RedrawWindow with the frame flag).
  void RedrawFrame();

  // The native window (always exists while the form lives).
  plat::NativeWindow* NativeWindow() const { return FWindow.get(); }

  // Called by controls drawing outside the paint cycle: R (window pixels) is shown later.
  void AddDirectDraw(const Rect& r);
  // The mouse capture of this form's window (see TControl::MouseCapture).
  TControl* CaptureControl() const { return FCaptureControl; }
  void SetCaptureControl(TControl* control);

  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;

 protected:
  void WndProc(TMessage& message) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoClose(TCloseAction& action);
  virtual bool CloseQuery();
  virtual void Paint();
  // Draws the frame and title bar with CANVAS (window pixels; clipped by the caller).
  virtual void PaintFrame(TCanvas& canvas);
  void PaintControl(TCanvas& canvas) override;
  void KeyDown(int& key, TShiftState shift) override;
  void BoundsChanged(const Rect& oldBounds) override;
  // True while the form takes bounds from the window system (a manager's placement or
  // tiling, a window-system move) rather than from the program.
  bool TakingWindowSystemBounds() const { return FTakingWindowSystemBounds; }

 private:
  friend class TApplication;
  friend class TScreen;
  friend class TControl;
  friend class TWinControl;
  // What the native window reports (through a listener object that forwards here).
  class Events;
  void NativeMouseMove(const plat::MouseEvent& e);
  void NativeMouseDown(const plat::MouseEvent& e);
  void NativeMouseUp(const plat::MouseEvent& e);
  void NativeMouseWheel(const plat::MouseEvent& e, int delta);
  void NativeMouseLeave();
  void NativeKeyDown(const plat::KeyEvent& e);
  void NativeKeyUp(const plat::KeyEvent& e);
  void NativeChar(std::string_view utf8);
  void NativeActivate(bool active);
  void NativeCloseRequest();
  void NativeMoved(const Rect& bounds);
  void NativeCaptureLost();
  // Brings the innermost modal form to the front and gives it the keyboard, when one is
  // shown and this form is not it; false otherwise.
  bool ReturnToModalForm();

  void CreateNativeWindow();
  void DestroyNativeWindow();
  void ApplyZOrder();
  void DoModalShowHide(bool show);
  void PaintRegion(const gfx::Region& region);
  void PaintChildren(TWinControl* parent, const gfx::Region& region);
  void PaintOne(TControl* control, const gfx::Region& region);
  void UpdateHover(TControl* control);
  void UpdateCursor();
  void CursorImageChanged();  // a cursor's image was replaced: show it afresh
  TControl* MouseTarget(Point windowPoint);
  void DispatchMouse(unsigned msg, const plat::MouseEvent& e);
  void DispatchKey(unsigned msg, const plat::KeyEvent& e);
  void NonClientMouseDown(int hit, const plat::MouseEvent& e);
  void NonClientMouseUp(const plat::MouseEvent& e);
  void NonClientMouseMove(const plat::MouseEvent& e);
  bool DialogKey(int key, TShiftState shift);
  void NativeShow();
  void NativeHide();
  // A control is leaving the form, or being hidden or disabled: drop every reference to it
  // (and to its children) from the capture, hover, pressed and focus state.
  void ControlRemoved(TControl* control);
  void ControlHidden(TControl* control);

  std::unique_ptr<Events> FEvents;
  std::unique_ptr<plat::NativeWindow> FWindow;
  TBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TFormStyle FFormStyle = fsNormal;
  plat::WindowKind FWindowKind = plat::WindowKind::Normal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FModal = false;
  bool FCreated = false;  // OnCreate has run
  bool FShownOnce = false;
  bool FTakingWindowSystemBounds = false;
  bool FReleasePending = false;
  TModalResult FModalResult = mrNone;
  int FDisabledCount = 0;  // > 0 while a modal form blocks this one
  TWinControl* FActiveControl = nullptr;
  TControl* FCaptureControl = nullptr;
  TControl* FHoverControl = nullptr;
  int FNonClientHit = HTNOWHERE;   // the frame part a press landed on
  bool FCloseButtonDown = false;
  bool FEatChar = false;  // the character of a key press that acted as a dialog key
  Point FSizeDragStart;            // screen point and bounds at the start of a border drag
  Rect FSizeDragBounds;
  gfx::Region FDirty;           // window pixels to repaint
  gfx::Region FPresentPending;  // drawn directly, to be presented
  gfx::Region FOffscreenDirty;  // dirty pixels beyond the screen's edge, painted once they show
  std::unique_ptr<TCanvas> FCanvas;
  bool FInPaint = false;
  std::optional<TCursor> FShownCursor;  // what the native window shows now
  bool FShownCursorNonClient = false;
};
