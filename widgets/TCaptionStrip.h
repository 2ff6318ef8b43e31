#pragma once
// The caption strip along a ruler window's long side: a raised panel inside a clear frame
// (shpResize) that the window is held by, "Mouse at pixel:" and the reading after it, and the
// grip that changes the window's length (btnResize on a horizontal strip, btnResize2 on a
// vertical one). The strip window and the cross ruler hold one each; the window lays its ruler
// beside it, and may put buttons of its own on the panel.
//
// The parts belong to the window, under the names its scripts know them by; this component
// makes them and places them as the window turns, flips and changes length.
#include "toolkit/controls/TPanel.h"
#include "toolkit/controls/TShape.h"
#include "toolkit/controls/TSpeedButton.h"
#include "widgets/TEffectLabel.h"

class TCaptionStrip : public TComponent {
 public:
  // Makes the parts on WINDOW, which owns them, along its top; the reading is READINGWIDTH
  // long there.
  TCaptionStrip(TComponent* AOwner, TWinControl* window, int readingWidth);

  TShape* shpResize;
  TPanel* pnlCaption;
  TEffectLabel* lblMsatPx;
  TEffectLabel* lblMsPos;
  TSpeedButton* btnResize;
  TSpeedButton* btnResize2;

  static constexpr int kGrip = 13;         // the grips are 13 x 13
  static constexpr int kLabelLength = 80;  // "Mouse at pixel:" down a vertical strip

  // The ruler beside the strip, by orientation, ruler flip and size: its font size in points,
  // screen pixels per ruler unit, thickness, and the numbers' indent from the tick edge.
  struct TRulerFit {
    int FontSize;
    int UnitPixels;
    int Thickness;
    int NumberIndent;
  };
  static TRulerFit RulerFit(bool vertical, bool flipped, bool large);

  // Lays the strip along the window's EDGE (alTop, alBottom, alLeft or alRight), the whole
  // length of it: 19 pixels high across a horizontal window, 20 wide down a vertical one.
  void Dock(TAlign edge);
  bool Vertical() const { return FEdge == alLeft || FEdge == alRight; }
  // Stretches the strip to the window's new length; the grip keeps to its end.
  void FitLength();
  // Shows the grip of the strip's orientation at the strip's start (ATSTART) or at its end.
  void PlaceGrip(bool atStart);
  // Lays the labels out from AT: across a horizontal strip from its left, down a vertical one
  // from its top, turned, where the reading gets READINGLENGTH pixels.
  void PlaceLabels(int at, int readingLength = kLabelLength);

  // The handlers of a press, move and release on the frame, the panel and the labels (what
  // the window is held by), and on the grips.
  void SetHoldEvents(const TMouseEvent& down, const TMouseMoveEvent& move, const TMouseEvent& up);
  void SetGripEvents(const TMouseEvent& down, const TMouseMoveEvent& move, const TMouseEvent& up);

 private:
  TWinControl* FWindow;
  TAlign FEdge = alTop;
  bool FGripAtStart = false;
};
