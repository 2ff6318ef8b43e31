#pragma once
// The lens: the round magnifier beside the strip that marks the pointer's pixel across the ruler.
//
// The main window shows it (captioned "Quillon") beside the strip while the pointer is over the
// ruler. It enlarges the screen around the pointer two to four times, with the capture shifted so
// that the pointer's pixel lies under a marker line across the ruler and an arrowhead at its end.
// Its own menu (hidden at start; F12 or a double click shows it) copies or saves the picture,
// locks it, refreshes it on its own timer and toggles its border, menu and place on top. The main
// window's tick drives it; its own timer runs only after a refresh-rate command.
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TShape.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TTimer.h"
#include "toolkit/dialogs/TSaveDialog.h"
#include "toolkit/menus/TMainMenu.h"
#include "toolkit/menus/TMenuItem.h"
#include "widgets/TShapeControl.h"
#include "widgets/TShapedForm.h"

// How the capture point moves for one zoom factor and layout, and how much wider (DW) and
// taller (DH) than the picture the enlargement is stretched, so that the pointer's pixel lands
// under the marker line.
struct TLensShift {
  int DX = 0, DY = 0, DW = 0, DH = 0;
};
TLensShift LensCaptureShift(int factor, bool horizontal, bool flipped);
// Where the lens of size LENS goes beside pointer P over the ruler body of the strip at STRIP,
// on a screen of size SCREEN: beside and above or below the pointer, turned to the other side
// near the screen's far edges.
gfx::Point LensPlace(gfx::Point p, gfx::Size lens, gfx::Size screen, const gfx::Rect& strip, bool horizontal,
                     bool flipped);

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;

  // Controls, bottom to top.
  TShapedForm* ShapedForm1;
  TImage* Image1;
  TShapeControl* TrUp;
  TShapeControl* ShapeControl1;
  TShape* Shape1;
  TShape* Shape2;
  TShapeControl* TrDn;
  TTimer* Timer1;
  TSaveDialog* SaveDialog1;

  TMainMenu* MainMenu1;
  TMenuItem *File1, *Copy1, *Savetofile1, *N3, *About1, *N1, *Exit1;
  TMenuItem *View1, *ZoomFactor1, *N11, *N21, *N41, *N81, *RefreshRate1, *Slow1, *Medium1, *Fast1, *N2,
      *Crosshairs1, *LockView1, *AlwaysonTop1, *N4, *ToggleBorder1, *HideMenu1;

  // What the strip asks of the lens. A new picture around the pointer, taken for a strip that
  // lies HORIZONTAL or not and FLIPPED or not: the capture shifts and the markers follow.
  void RefreshPicture(bool horizontal, bool flipped);
  // Stands beside the pointer P while P lies on BODY (the ruler of STRIP without its caption
  // strip), laid out as the last refresh said; else hides. STRIPONTOP: the strip keeps the
  // topmost band, and the lens is held above it.
  void FollowPointer(gfx::Point p, const gfx::Rect& body, TForm& strip, bool stripOnTop);

  void changezoomfactor(int factor);
  void paintcrosshairs();
  int ZoomFactor() const { return FZoomFactor; }

  void FormCreate(TObject* Sender);
  void FormResize(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Image1DblClick(TObject* Sender);
  void Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void Copy1Click(TObject* Sender);
  void Savetofile1Click(TObject* Sender);
  void About1Click(TObject* Sender);
  void Exit1Click(TObject* Sender);
  void Slow1Click(TObject* Sender);
  void Medium1Click(TObject* Sender);
  void Fast1Click(TObject* Sender);
  void Crosshairs1Click(TObject* Sender);
  void LockView1Click(TObject* Sender);
  void AlwaysonTop1Click(TObject* Sender);
  void ToggleBorder1Click(TObject* Sender);
  void HideMenu1Click(TObject* Sender);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  void NewCapture();
  void TakePicture();
  // The marker line and arrowhead across the ruler, for the way the strip lies.
  void ShowMarkers();
  void SetRefreshRate(TMenuItem* item, unsigned interval);
  void SavePicture(const std::string& path) const;
  void ApplyOutline();

  // How the strip lay at the last refresh.
  bool FHorizontal = true;
  bool FFlipped = false;
  int FZoomFactor = 2;
  int FCaptureWidth = 0;
  int FCaptureHeight = 0;
  gfx::Bitmap FCapture;
  // Refreshes run so far (the "Refreshes" property), whoever ran them.
  int FRefreshes = 0;
};
