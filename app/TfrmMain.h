#pragma once
// The main ruler window: a borderless strip with a caption strip (buttons, the pixel reading,
// a resize grip) along one long side and the ruler along the other. It owns the layout state
// (orientation, ruler flip, large mode), reads the settings file at start and writes it back
// on close, and its 55 ms tick follows the mouse wherever it is.
//
// The class is split over several sources by concern: TfrmMain.cpp (controls, start-up,
// settings, close), TfrmMainFrame.cpp (moving and resizing), TfrmMainLayout.cpp (flips and
// layouts), TfrmMainTracking.cpp (the tick and the readouts), TfrmMainKeys.cpp (keyboard),
// TfrmMainMenu.cpp (the popup menu and its commands), TfrmMainUnits.cpp (units and calibration),
// TfrmMainMeasure.cpp (measuring between edges), TfrmMainFreeze.cpp (the frozen screen),
// TfrmMainCompanions.cpp (the other windows: the magnifiers' showing, hiding and stacking).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TSettings.h"
#include "menu/TAnimatedPopupMenu.h"
#include "menu/TMenuItemBitmaps.h"
#include "ruler/RulerCursors.h"
#include "ruler/TRuler.h"
#include "toolkit/core/TForm.h"
#include "toolkit/menus/TMenuItem.h"
#include "toolkit/controls/TSpeedButton.h"
#include "toolkit/core/TTimer.h"
#include "widgets/EdgeSnap.h"
#include "widgets/TCaptionStrip.h"
#include "widgets/TTrayIcon.h"

class TfrmAbout;
class TfrmCrossRuler;
class TfrmEdges;
class TfrmFreeze;
namespace plat {
struct DesktopPicture;
}
class TfrmPosition;
class TfrmRulerProperties;
class TfrmZoom;
class TForm1;

// The windows the strip works with. The program's entry creates them after the strip and
// hands them over; a strip without one of them (a bench, a test) does without it.
struct TStripCompanions {
  TForm1* Lens = nullptr;
  TfrmAbout* About = nullptr;
  TfrmZoom* MouseLoupe = nullptr;
  TfrmPosition* PositionReadout = nullptr;
  TfrmRulerProperties* RulerProperties = nullptr;
  TfrmCrossRuler* CrossRuler = nullptr;
};

class TfrmMain : public TForm {
 public:
  explicit TfrmMain(TComponent* AOwner);
  ~TfrmMain() override;

  // Controls, in declaration order.
  TRuler* Ruler;
  TCaptionStrip* CaptionStrip;
  // The strip's own buttons, on the caption strip's panel.
  TSpeedButton* btnClose;
  TSpeedButton* btnMinimize;
  TSpeedButton* btnMenu;
  TSpeedButton* btnFlip;
  TTimer* Timer1;
  TAnimatedPopupMenu* Menu;
  TMenuItem* mnuAbout;
  TMenuItem* mnuHelp;
  TMenuItem* mnuRulerProperties;
  TMenuItem* N1;
  TMenuItem* mnuSetBegin0;
  TMenuItem* mnuSetEnd0;
  TMenuItem* N5;
  TMenuItem* mnuRulerFlip;
  TMenuItem* mnuFlip;
  TMenuItem* mnuCrossRuler;
  TMenuItem* mnuMeasureAnywhere;  // null where the pointer is seen everywhere anyway
  TMenuItem* N3;
  TMenuItem* mnuLoupe;
  TMenuItem* mnuZoom;
  TMenuItem* mnuMeasureEdges;
  TMenuItem* mnuFreeze;
  TMenuItem* N2;
  TMenuItem* mnuAlwaysTop;
  TMenuItem* mnuMinimize;
  TMenuItem* N4;
  TMenuItem* mnuExit;
  TMenuItemBitmaps* mnubmpAbout;
  TMenuItemBitmaps* mnubmpRulerProp;
  TMenuItemBitmaps* mnubmpBegin0;
  TMenuItemBitmaps* mnubmpSetEnd0;
  TMenuItemBitmaps* mnubmpRulerFlip;
  TMenuItemBitmaps* mnubmpFlip;
  TMenuItemBitmaps* mnubmpLoupe;
  TMenuItemBitmaps* mnubmpZoom;
  TMenuItemBitmaps* mnubmpOntop;
  TMenuItemBitmaps* mnubmpMinimize;
  TMenuItemBitmaps* mnubmpExit;
  TTrayIcon* tryIcon;

  // The other windows, once they exist; each is forgotten when it is destroyed.
  void SetCompanions(const TStripCompanions& companions);

  // Start-up and shut-down.
  void FormCreate(TObject* Sender);
  void InitProgram();
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void InitProgramRest();
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Writes every setting to the settings file; throws plat::ProfileWriteError when it cannot.
  void WriteSettings();
  // The 22 settings as the window, its ruler and its menu hold them now.
  TSettings CurrentSettings() const;
  void ApplyMagnification();

  // The caption strip: moving and resizing.
  void shpResizeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void shpResizeMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void shpResizeMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void btnResizeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void btnResizeMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void btnResizeMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void btnCloseClick(TObject* Sender);
  void LayoutForLength();

  // Flips and layouts.
  void btnFlipClick(TObject* Sender);
  void mnuFlipClick(TObject* Sender);
  void mnuRulerFlipClick(TObject* Sender);
  void TurnStrip();
  void SetRulerFlip(bool flipped);
  void ApplyRulerLayout();

  // Tracking and readouts.
  void Timer1Timer(TObject* Sender);
  void ShowPositionReadout();
  std::string ZeroPositionText();
  void RulerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RulerMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void RulerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Keyboard.
  void FormKeyDown(TObject* Sender, int& Key, TShiftState Shift);
  void FormKeyUp(TObject* Sender, int& Key, TShiftState Shift);
  bool CopyKey(int Key, TShiftState Shift);
  bool ContrastKey(int Key, TShiftState Shift);

  // Units: U cycles them, Ctrl+U calibrates. True when the key was one of these.
  bool UnitKey(int Key, TShiftState Shift);
  TMeasureUnit MeasureUnit() const { return FUnits.Unit; }
  // Keeps the ruler's zero on its pixel and shows the reading in U at once.
  void SetMeasureUnit(TMeasureUnit u);
  // Asks for the strip's real length in millimetres and takes the strip's monitor to have
  // (strip length / that) pixels a millimetre from now on.
  void CalibrateUnits();
  // Pixels a millimetre along the strip, on the monitor that holds it.
  double StripPixelsPerMm() const;

  // Menu commands.
  void btnMenuClick(TObject* Sender);
  void mnuAboutClick(TObject* Sender);
  void RunWithMagnifiersSuspended(const std::function<void()>& modal);
  void mnuHelpClick(TObject* Sender);
  void mnuRulerPropertiesClick(TObject* Sender);
  void MenuMenuCommand(TObject* Sender);
  void MenuMenuClose(TObject* Sender);
  void mnuSetBegin0Click(TObject* Sender);
  void mnuSetEnd0Click(TObject* Sender);
  void mnuCrossRulerClick(TObject* Sender);
  void mnuMeasureAnywhereClick(TObject* Sender);
  void ToggleMeasureAnywhere();  // the command and key M
  void mnuLoupeClick(TObject* Sender);
  void mnuZoomClick(TObject* Sender);
  // Measuring between edges: the beams follow the pointer until E, Escape or the command again.
  void mnuMeasureEdgesClick(TObject* Sender);
  void ToggleMeasuringEdges();
  void StartMeasuringEdges();
  void StopMeasuringEdges();
  bool MeasuringEdges() const;
  // The width and height the beams measure, or nullopt while they do not.
  std::optional<TCopiedReading> EdgeMeasurement() const;
  std::string SpanText(int pixels, bool down) const;
  // E toggles the beams, Escape ends them. True when the key was one of these.
  bool MeasureKey(int Key, TShiftState Shift);
  void TrackEdges(Point p);
  void TakeEdgePicture();
  void RestoreLoupeAfterEdgePicture();
  void mnuAlwaysTopClick(TObject* Sender);
  // Freezes the screen (one still picture of the desktop under the program's windows, which
  // every reading then measures), or thaws it. Checked while frozen.
  void mnuFreezeClick(TObject* Sender);
  void ToggleFreeze();
  bool ScreenFrozen() const;
  void mnuMinimizeClick(TObject* Sender);
  void Exit1Click(TObject* Sender);
  void tryIconClick(TObject* Sender);

  // Screen pixels per ruler unit: 40 in large mode, else 20.
  int UnitPixels() const { return FLarge ? 40 : 20; }
  // The reading in pixels of the window's first pixel: pixels per ruler unit x StartValue,
  // halves to even.
  std::int64_t ZeroOffset() const;
  bool Large() const { return FLarge; }
  int Magnification() const { return FMagnification; }
  // Where the settings file is read from and written to.
  const std::string& SettingsPath() const { return FSettingsPath; }

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void BoundsChanged(const Rect& oldBounds) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TfrmPosition* PositionReadout() const { return FCompanions.PositionReadout; }
  TfrmCrossRuler* CrossRuler() const { return FCompanions.CrossRuler; }
  TfrmRulerProperties* RulerProperties() const { return FCompanions.RulerProperties; }
  TfrmAbout* About() const { return FCompanions.About; }
  TStripCompanions FCompanions;
  // Gives the strip the keyboard focus, but only while the program has it.
  void KeepKeyboardFocus();
  TfrmZoom* MouseLoupe() const { return FCompanions.MouseLoupe; }
  // Shows the mouse loupe where it is and holds it above the other windows.
  void ShowMouseLoupe();
  void HideMouseLoupe();
  void MouseLoupeStacking(Point cursor);
  TForm1* Lens() const { return FCompanions.Lens; }
  // The edge beams, made when first used.
  TfrmEdges* FEdges = nullptr;
  TTimer* FEdgePicture = nullptr;      // runs once, when the beams' picture is due
  bool FLoupeHiddenForEdges = false;   // the mouse loupe hid for that picture
  // Shows the lens beside the pointer while it is over the ruler body, else hides it.
  void LensTracking(Point cursor);
  void HideLens();
  // The strip without its caption strip and the line beside it: where the lens shows.
  Rect RulerBody() const;
  // Gives the mouse loupe the ruler's zero as its reference point.
  void SetLoupeOrigin();
  // Screen pixels per ruler unit: UnitPixels in pixels, else the unit scale's UnitSize.
  double PixelsPerRulerUnit() const;
  // Sets the ruler's scale for a real unit on the strip's monitor, keeping the zero's pixel.
  void ApplyUnitScale();
  // The caption's reading of the pixel ALONG pixels after the strip's start.
  std::string ReadingAt(std::int64_t along) const;
  // Writes the reading under the pointer now, not at the next tick.
  void ShowReadingNow();
  // Lays out the caption strip of a horizontal or VERTICAL strip: the buttons at its start,
  // then the labels, and the grip at its end.
  void ArrangeCaption(bool vertical);
  // The strip's smallest usable length: the buttons, the labels' start and the grip.
  int MinimumLength() const;
  // The length the user gave the strip, whatever a window manager made of it.
  int UserLength() const;
  std::optional<int> ZeroSnap(Point place) const;

  // The frozen screen.
  void RequestFreeze();
  void FreezeWith(const plat::DesktopPicture& picture);
  void Thaw();
  // Puts the strip and its companions back above the frozen picture.
  void StackOverFreeze();
  // The tick and the magnifiers show the pixels under the pointer again, from where they now come.
  void RefreshReadings();
  std::vector<TfrmFreeze*> FFreezeForms;
  bool FFreezePending = false;
  TTimer* tmrFreeze = nullptr;
  // Answers that come after the window is gone find it dead.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);

  bool FResizing = false;
  bool FMoving = false;
  Point FDragPoint;
  Point FDragPlace;            // where the caption drag puts the strip before any snapping
  bool FZeroSnapped = false;   // the drag laid the zero on an edge
  TEdgeSnap FSnap;             // the screen as the caption drag found it
  Point FLastCursor;
  std::int64_t FLastReading = 0;  // the reading FLastCursor gave
  bool FRulerDown = false;
  bool FLarge = false;
  int FMagnification = 0;
  std::string FSettingsPath;
  // The settings as start-up read them: the first activation applies the rest of them, and the
  // close writes them with what the window holds then (the page gaps go through unchanged).
  TSettings FSettings;
  bool FFirstActivation = true;
  // The user's "Loupe" check while a modal box (the About box, the calibration's question)
  // holds it cleared: what the settings keep.
  std::optional<bool> FLoupeSuspended;
  // Where and how large the program's own commands, drags and keys made the window; a window
  // manager's placement or tiling never changes it, so it is what the settings keep.
  Rect FUserBounds;
  // The unit the strip measures in and the calibrations, as the settings keep them.
  TUnitSettings FUnits;
  // How Ctrl+C and Ctrl+Shift+C copy, as the settings keep it.
  TCopyFormats FCopyFormats;
};
