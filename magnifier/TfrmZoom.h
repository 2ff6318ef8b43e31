#pragma once
// The mouse loupe: the round magnifier that travels with the pointer.
//
// It shows the pixels around the pointer enlarged two to four times with a hollow cross framing
// the pointer's pixel, and floats its readout panel (TfrmInfo) beside it. The main window shows
// and hides it, gives it the ruler's zero as its reference point and the magnification; its own
// 55 ms tick does the rest.
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/Bitmap.h"
#include "magnifier/TfrmInfo.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TShape.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TTimer.h"
#include "widgets/TShapedForm.h"

// The readout texts for a pointer P and a reference point O.
struct TLoupeReadout {
  std::string Caption, X, Y, DX, DY, DXY, Opp, HalfOpp;
};
TLoupeReadout LoupeReadout(int x, int y, int originX, int originY);
// "%d #%X" of one colour channel: 255 -> "255 #FF", 0 -> "0 #0".
std::string ChannelText(int value);
// Where the loupe (outer size W x H) goes for pointer (X, Y) on an SW x SH screen.
gfx::Point LoupePlace(int x, int y, int w, int h, int sw, int sh);
// The ring frame of the loupe's SIZE x SIZE picture: black on the pixels of DISC that lie within
// WIDTH - 1 pixels (across, along or diagonally) of a pixel outside it, white elsewhere.
gfx::Bitmap LoupeRingPicture(const gfx::Region& disc, int size, int width);
// Where the readout panel (IW x IH) goes beside the loupe at L, T of size W x H.
gfx::Point InfoPlace(int l, int t, int w, int h, int iw, int ih, int sw, int sh);

class TfrmZoom : public TForm {
 public:
  explicit TfrmZoom(TComponent* AOwner);

  // Controls, bottom to top.
  TImage* Image1;
  TShape* Shape1;
  TShape* Shape2;
  TShapedForm* ShapedForm1;
  TImage* Image2;
  TTimer* Timer1;

  // What the strip asks of the loupe: a new reference point (the ruler's zero), from which
  // the panel measures offsets, distance and areas; a moved one refreshes a still pointer.
  void SetReferencePoint(gfx::Point origin);
  // Shows the pixels under the pointer at the next tick, still or not (they now come from
  // elsewhere: the screen froze or thawed).
  void RefreshAtNextTick();

  void changezoomfactor(int factor);
  void paintcrosshairs();
  int ZoomFactor() const { return FZoomFactor; }
  int CaptureWidth() const { return FCaptureWidth; }
  int CaptureHeight() const { return FCaptureHeight; }
  // The colour the panel measures contrast against, or none; kept while the loupe is hidden.
  void SetContrastBackground(std::optional<gfx::TColor> background);
  std::optional<gfx::TColor> ContrastBackground() const { return FContrastBackground; }
  // The colour of the enlarged pointer pixel at the last refresh.
  gfx::TColor PointerColor() const { return FPointerColor; }
  // The readout panel while the loupe is shown, else null.
  TfrmInfo* Info() const { return FInfo; }

  void FormCreate(TObject* Sender);
  void FormResize(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Timer1Timer(TObject* Sender);
  void Image1DblClick(TObject* Sender);
  void Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  void ResizeCapture();
  void Refresh(gfx::Point p);
  // Tells the platform how many ticks may be slept through while the program idles.
  void PlanIdleTicks();

  // The reference point.
  int FOriginX = 0;
  int FOriginY = 0;
  int FLastPosX = 0;
  int FLastPosY = 0;
  // The reference point of the last refresh: a zero that moves refreshes a still pointer.
  int FLastOriginX = 0;
  int FLastOriginY = 0;
  int FStillTicks = 0;
  std::optional<std::uint64_t> FLastTickAt;  // the platform's clock at the last tick
  int FZoomFactor = 2;
  int FCaptureWidth = 0;
  int FCaptureHeight = 0;
  gfx::Bitmap FCapture;
  TfrmInfo* FInfo = nullptr;
  std::optional<gfx::TColor> FContrastBackground;
  gfx::TColor FPointerColor = 0;
};
