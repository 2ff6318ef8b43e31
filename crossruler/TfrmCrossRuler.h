#pragma once
// The cross ruler: a second borderless strip standing at right angles on the main ruler's
// zero, its scale running away from the main ruler's tick edge. Its caption strip reads how
// far the mouse lies across the main ruler, and its ruler's caption shows the angle between
// the cross ruler and the line from the zero to the mouse.
//
// The main window owns it: it turns, sizes and styles it like its own ruler, puts it on the
// zero whenever the zero moves, and passes it every movement of the mouse. The user changes
// only its length, with the grip. It never takes the keyboard focus from the strip.
//
// Split by concern: TfrmCrossRuler.cpp (controls, orientation, size, flip, placement) and
// TfrmCrossRulerTracking.cpp (the reading and angle, the grips, the stacking).
#include <optional>
#include <string>
#include <string_view>

#include "ruler/TRuler.h"
#include "toolkit/core/TForm.h"
#include "widgets/EdgeSnap.h"
#include "widgets/TCaptionStrip.h"

class TfrmCrossRuler : public TForm {
 public:
  explicit TfrmCrossRuler(TComponent* AOwner);

  // A second strip, not a tip, to whoever arranges windows by their type.
  plat::WindowRole WindowRole() const override { return plat::WindowRole::Utility; }

  // Controls, in declaration order.
  TCaptionStrip* CaptionStrip;
  TRuler* Ruler;

  void FormCreate(TObject* Sender);

  // What the main window calls.
  // Turns the cross ruler vertical (VERTICAL true) or horizontal, when it is not so already.
  void SetPerpendicular(bool vertical);
  void SetLarge(bool large);
  // The main ruler is flipped: the cross ruler counts from its far end, which then lies on
  // the main ruler's tick edge.
  void SetFlipped(bool flipped);
  // Places the window so that its zero lies on the main ruler's zero point (screen X, Y).
  void AlignZeroTo(int x, int y);
  // The mouse at screen X, Y, where the main ruler reads D: shows the cross reading and,
  // while it is positive, the angle to the mouse.
  void TrackCursor(int x, int y, int D);
  // Keeps the window just above STRIP, in the same band (topmost when the strip is). Cheap
  // when nothing changed, so it may run on every tick.
  void StackWith(const TForm& strip);

  // The grips (btnResize horizontal, btnResize2 vertical) share these.
  void btnResizeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void btnResizeMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void btnResizeMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Screen pixels per ruler unit: 40 in large mode, else 20.
  int UnitPixels() const { return FLarge ? 40 : 20; }
  bool Flipped() const { return FFlipped; }
  bool Large() const { return FLarge; }
  // A grip drag never makes the window shorter than this: the grip, "Mouse at pixel:" and a
  // reading of five characters keep clear of each other in every layout (the flipped layouts
  // put the labels 160 pixels before the far end).
  static constexpr int kMinLength = 180;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  bool Vertical() const { return Ruler->Orientation() == orVert; }
  // The window's length along its scale.
  int Length() const { return Vertical() ? Height() : Width(); }
  void SwapOrientation();
  void LayoutRuler();
  void ApplyFlip();
  void LayoutForLength();

  bool FResizing = false;
  TEdgeSnap FSnap;  // the screen as the grip's drag found it
  bool FFlipped = false;
  bool FLarge = false;
  // Where the pointer lies from the window's start edge during a drag of the flipped grip,
  // so that the edge follows the pointer without a jump.
  int FGripOffset = 0;
  // What StackWith saw last: the strip active, and in the topmost band.
  bool FStripWasActive = false;
};
