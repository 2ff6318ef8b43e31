#pragma once
// The mouse loupe's readout panel: the numbers beside the loupe.
//
// It shows the pointer's x and y, its offsets from the ruler's zero, the distance to it, the
// rectangle and triangle areas they span, and the red, green and blue of the pixel under the
// pointer; with a contrast background chosen, two more rows give the contrast of the pixel under
// the pointer against it. The loupe creates it when it is shown and destroys it when it is hidden.
#include <optional>

#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"
#include "toolkit/controls/TShape.h"
#include "toolkit/core/TForm.h"

class TfrmInfo : public TForm {
 public:
  explicit TfrmInfo(TComponent* AOwner);

  TPanel* Panel1;
  TImage* Image1;
  TLabel* lblX;
  TShape* Shape1;
  TLabel* lblRed;
  TImage* Image2;
  TLabel* lblY;
  TShape* Shape2;
  TLabel* lblGreen;
  TImage* Image3;
  TLabel* lblDX;
  TShape* Shape3;
  TLabel* lblBlue;
  TImage* Image4;
  TLabel* lblDY;
  TImage* Image6;
  TLabel* lblOpp;
  TImage* Image5;
  TLabel* lblDXY;
  TImage* Image7;
  TLabel* lblHalfOpp;
  // The contrast rows, shown only while a background is chosen.
  TShape* shpBackground;
  TLabel* lblContrast;
  TLabel* lblLarge;

  // Shows the contrast rows for BACKGROUND (growing the panel), or hides them for nullopt.
  void ShowContrastRows(std::optional<gfx::TColor> background);
  // Fills the contrast rows for the colour FORE against the background shown.
  void ShowContrast(gfx::TColor fore);

  void FormClose(TObject* Sender, TCloseAction& Action);
};
