#pragma once
// The ruler properties dialog: colours, tick sizes, number alignment and rotation, rolling,
// the large ruler and the loupes' magnification, with two live preview rulers that show
// every change at once. It is created once at start-up and reused: the main window gives it the
// strip's look, large ruler and magnification at each opening and takes them back on OK.
#include "properties/CopyFormats.h"
#include "ruler/TRuler.h"
#include "ruler/TRulerLook.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TGroupBox.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"
#include "toolkit/core/TForm.h"
#include "toolkit/dialogs/TColorDialog.h"
#include "widgets/TFaceButton.h"
#include "widgets/THoverPanel.h"
#include "widgets/TSpinEdit.h"
#include "widgets/TStyledCheckBox.h"
#include "widgets/TStyledRadioButton.h"

class TfrmRulerProperties : public TForm {
 public:
  explicit TfrmRulerProperties(TComponent* AOwner);

  // The client area with the normal previews; the large ones add kLargeGrowth to its height.
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 353;
  static constexpr int kLargeGrowth = 70 - 41;

  // What the dialog edits: given before it opens, read back after OK. Giving them sets the
  // controls and the previews without running any control's handler.
  void SetLook(const TRulerLook& look);
  TRulerLook Look() const;  // the previews' look
  // Also sizes the previews (and the dialog with them) for the large or the normal ruler.
  void SetLarge(bool large);
  bool Large() const;
  // 2, 3 or 4; any other value checks no button, and then the value given comes back.
  void SetMagnification(int magnification);
  int Magnification() const;
  // How Ctrl+C and Ctrl+Shift+C copy: changed by the copy formats dialog.
  void SetCopyFormats(const TCopyFormats& f) { FCopyFormats = f; }
  const TCopyFormats& CopyFormats() const { return FCopyFormats; }

  // Shows the dialog modally with OK focused; true when the user confirmed.
  bool Execute();

  void btnCopyFormatsClick(TObject* Sender);
  void btnColorClick(TObject* Sender);
  void btnTextcolorClick(TObject* Sender);
  void btnTickcolorClick(TObject* Sender);
  void txtTickBigChange(TObject* Sender);
  void txtTickMediumChange(TObject* Sender);
  void txtTickSmallChange(TObject* Sender);
  void chkRollClick(TObject* Sender);
  void chkRotateClick(TObject* Sender);
  void rTopClick(TObject* Sender);
  void btnResetMouseEnter(TObject* Sender);
  void btnResetMouseExit(TObject* Sender);
  void btnResetClick(TObject* Sender);
  void chkLargeRulerClick(TObject* Sender);
  void btnOKClick(TObject* Sender);

 private:
  TRuler* Ruler1;  // horizontal preview, across the top
  TRuler* Ruler2;  // vertical preview, along the right side
  TPanel* pnlDialog;  // everything else, below and beside the previews
  TGroupBox* grpColors;
  TLabel* lblColor;
  TLabel* lblTextcolor;
  TLabel* lblTickcolor;
  TFaceButton* btnColor;
  TFaceButton* btnTextcolor;
  TFaceButton* btnTickcolor;
  TGroupBox* grpTickSizes;
  TLabel* lblTickBig;
  TLabel* lblTickMedium;
  TLabel* lblTickSmall;
  TSpinEdit* txtTickBig;
  TSpinEdit* txtTickMedium;
  TSpinEdit* txtTickSmall;
  TGroupBox* grpNumberAlign;
  TStyledRadioButton* rTop;
  TStyledRadioButton* rCenter;
  TStyledRadioButton* rBottom;
  TStyledCheckBox* chkRoll;
  TStyledCheckBox* chkRotate;
  THoverPanel* btnReset;
  TStyledCheckBox* chkLargeRuler;
  TLabel* lblMagnification;
  TStyledRadioButton* r2Times;
  TStyledRadioButton* r3Times;
  TStyledRadioButton* r4Times;
  TButton* btnOK;
  TButton* btnCancel;
  TColorDialog* dlgColor;
  TButton* btnCopyFormats;

  TCopyFormats FCopyFormats;
  int FMagnification = 0;  // as given, for when no button is checked
  // Sizes the previews (and the dialog with them) for the large or the normal ruler.
  void SizePreviews(bool large);
  // Opens the colour chooser at SWATCH's colour; true when the user took one (now in SWATCH).
  bool ChooseColor(TFaceButton* swatch);
};
