#pragma once
// A windowless push button with a flat look: no frame until the pointer is over it (a thin
// raised frame) or it is pressed (sunken). It can repeat its click while held, latch down in
// a group (GroupIndex, Down, AllowAllUp), and shows a glyph and a caption side by side or one
// above the other, or an arrow for a drop-down menu.
//
// Hot tracking is shared by all flat buttons: at most one is hot at a time, and one timer
// (125 ms) checks whether the pointer has left it.
#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/controls/TSpeedButton.h"  // TButtonLayout
#include "toolkit/core/TGraphicControl.h"

class TTimer;
class TPopupMenu;

enum TFlatButtonState { bstUp, bstDisabled, bstDown, bstExclusive, bstHot };
enum TDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };

class TFlatButton : public TGraphicControl {
 public:
  static constexpr unsigned kHotTrackInterval = 125;

  explicit TFlatButton(TComponent* AOwner);
  ~TFlatButton() override;

  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool Opaque() const { return FOpaque; }
  void SetOpaque(bool value);
  bool HighlightWhenDown() const { return FHighlightWhenDown; }
  void SetHighlightWhenDown(bool value);
  bool NoBorder() const { return FNoBorder; }
  void SetNoBorder(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }  // -1: glyph and caption centred together
  void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // Glyph holds NumGlyphs images side by side: up, disabled, down, exclusive. Without a mask
  // the colour of its bottom-left pixel is transparent; a mask (white: transparent) wins.
  const gfx::Bitmap& Glyph() const { return FGlyph; }
  void SetGlyph(const gfx::Bitmap& value);
  const gfx::Bitmap& GlyphMask() const { return FGlyphMask; }
  void SetGlyphMask(const gfx::Bitmap& value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);  // 1..4
  bool Repeating() const { return FRepeating; }
  void SetRepeating(bool value) { FRepeating = value; }
  unsigned RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(unsigned value) { FRepeatDelay = value; }
  unsigned RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(unsigned value) { FRepeatInterval = value; }
  bool Down() const { return FDown; }
  void SetDown(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  TDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TDisplayMode value);
  bool DropdownArrow() const { return FDropdownArrow; }
  void SetDropdownArrow(bool value);
  int DropdownArrowWidth() const { return FDropdownArrowWidth; }
  void SetDropdownArrowWidth(int value);
  bool DropdownCombo() const { return FDropdownCombo; }
  void SetDropdownCombo(bool value);
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* value);
  bool ShowBorderWhenInactive() const { return FShowBorderWhenInactive; }
  void SetShowBorderWhenInactive(bool value) { FShowBorderWhenInactive = value; }
  bool OldDisabledStyle() const { return FOldDisabledStyle; }
  void SetOldDisabledStyle(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }

  // Runtime state.
  TFlatButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  bool MouseIsDown() const { return FMouseIsDown; }
  bool RepeatTimerRunning() const;
  // The button the pointer is over now, among all flat buttons (nullptr: none).
  static TFlatButton* HotButton();
  static bool HotTrackTimerRunning();

  void Click() override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnMouseExit;  // OnMouseEnter comes from TControl

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void MouseEnter();
  virtual void MouseLeave();

 private:
  void RepeatTimerTick();
  void CancelMode();
  // Leaves when the pointer is no longer over this button.
  void CheckPointer();
  bool TopmostAtPointer() const;
  int ArrowPartWidth() const;
  void DrawGlyphAndCaption(TCanvas& canvas, const Rect& content, Point shift);
  void DrawGlyph(TCanvas& canvas, int x, int y);
  void ReleaseGroup();

  bool FFlat = true;
  bool FOpaque = true;
  bool FHighlightWhenDown = true;
  bool FNoBorder = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TAlignment FAlignment = taCenter;
  gfx::Bitmap FGlyph;
  gfx::Bitmap FGlyphMask;
  int FNumGlyphs = 1;
  bool FRepeating = false;
  unsigned FRepeatDelay = 400;
  unsigned FRepeatInterval = 100;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  TDisplayMode FDisplayMode = dmBoth;
  bool FDropdownArrow = true;
  int FDropdownArrowWidth = 9;
  bool FDropdownCombo = false;
  TPopupMenu* FDropdownMenu = nullptr;
  bool FShowBorderWhenInactive = false;
  bool FOldDisabledStyle = false;
  bool FWordWrap = false;
  TModalResult FModalResult = mrNone;

  TFlatButtonState FState = bstUp;
  bool FMouseInControl = false;
  bool FMouseIsDown = false;
  bool FMenuIsDown = false;
  bool FInClick = false;
  std::unique_ptr<TTimer> FRepeatTimer;
};
