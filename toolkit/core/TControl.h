#pragma once
// A visual control: bounds relative to its parent's client area, alignment, visibility,
// enabled state, font, colour, cursor, hint, caption, the mouse events and invalidation.
//
// Messages reach a control through WindowProc (replaceable; by default the virtual WndProc),
// which turns mouse messages into the virtual MouseDown / MouseMove / MouseUp / Click / DblClick
// (each raising its published event first) and WM_PAINT into painting. Painting is done by the
// form's paint cycle: Invalidate() marks the control's visible rectangle dirty; the form paints
// all dirty parts when no message is pending (Repaint() / Update() paint at once).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/Canvas.h"
#include "toolkit/core/TComponent.h"
#include "toolkit/core/TFont.h"
#include "toolkit/core/Types.h"

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Parent (the windowed control whose client area holds this one); not owning.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* value);

  // Bounds in the parent's client coordinates (a form: outer bounds on the screen).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect BoundsRect() const { return Rect::FromXYWH(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const Rect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }

  // The client area in the control's own coordinates (forms leave out their frame).
  virtual Rect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int value);
  virtual void SetClientHeight(int value);
  // Screen position of the client area's top-left pixel.
  virtual Point ClientOrigin() const;
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;
  // Top-left of the client area in the pixels of the form's window (its back buffer).
  virtual Point WindowOrigin() const;
  // The part of the client area that is inside all parents, in window pixels; empty when the
  // control or a parent is hidden or it has no form.
  virtual Rect VisibleWindowRect() const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  virtual void Show() { SetVisible(true); }  // a form also comes to the front
  void Hide() { SetVisible(false); }
  // Visible, with every parent visible, up to a shown form.
  virtual bool Showing() const;

  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);

  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);

  TFont& Font() { return *FFont; }
  const TFont& Font() const { return *FFont; }
  void SetFont(const TFont& value) { FFont->Assign(value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  // Whether the control follows its parent's ShowHint (the toolkit shows no tool tips yet).
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value) { FParentShowHint = value; }

  // Caption and Text are the same string (the classic window text).
  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& value) { SetText(value); }
  const std::string& Text() const { return FText; }
  virtual void SetText(const std::string& value);

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle value) { FControlStyle = value; }
  TControlState ControlState() const { return FControlState; }

  // Messages. Perform sends MSG straight to WindowProc and returns its Result.
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWndMethod value);
  std::intptr_t Perform(unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

  // Mouse capture: while set, every mouse message of the form (and moves outside the window)
  // goes to this control. A press with csCaptureMouse sets it; releasing all buttons clears it.
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // Painting.
  void Invalidate();
  void Repaint();  // invalidate and paint now
  void Refresh() { Repaint(); }
  void Update();   // paint whatever is dirty in the form now

  // Z order among the parent's controls of the same kind (graphic or windowed); a form
  // moves its window to the top (and activates it) or the bottom of its band.
  virtual void BringToFront();
  virtual void SendToBack();

  // The form this control lives on (itself for a form), or nullptr.
  TForm* ParentForm() const;
  // Whether this is a windowed control (a TWinControl).
  virtual bool IsWindowed() const { return false; }

  std::optional<std::string> GetPropText(std::string_view name) const override;

  // Published events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

 protected:
  // The default window procedure.
  virtual void WndProc(TMessage& message);
  // Handles messages WndProc does not; the base does nothing.
  virtual void DefaultHandler(TMessage& message) { (void)message; }

  // Mouse notifications; each raises its event first.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, Point mousePos);
  // The size changed (raises OnResize).
  virtual void Resize();
  // The control's own painting, with CANVAS clipped and its origin at the client area. The base
  // does nothing; TGraphicControl and TCustomControl route it to Paint().
  virtual void PaintControl(TCanvas& canvas) { (void)canvas; }
  // Called by SetBounds after the position or size changed.
  virtual void BoundsChanged(const Rect& oldBounds);

  void SetControlStateBits(TControlState bits, bool on);

 private:
  friend class TWinControl;
  friend class TForm;
  void ParentFontChanged();
  void ParentColorChanged();
  void FontChanged();
  void InvalidateRectFromParent(TWinControl* parent);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FFontUpdating = false;
  TCursor FCursor = crDefault;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  std::string FText;
  TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState FControlState = 0;
  TWndMethod FWindowProc;
};

// The form that holds CONTROL (the control itself when it is a form), or nullptr.
TForm* GetParentForm(const TControl* control);
// Releases the mouse capture, whichever control holds it.
void ReleaseCapture();
