#pragma once
// The copy formats dialog, opened from the properties dialog: how Ctrl+C copies readings and
// Ctrl+Shift+C colours, each a fixed format or a template of the user's.
#include "properties/CopyFormats.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/controls/TGroupBox.h"
#include "toolkit/core/TForm.h"
#include "widgets/TStyledRadioButton.h"

class TfrmCopyFormats : public TForm {
 public:
  explicit TfrmCopyFormats(TComponent* AOwner);

  TGroupBox* grpReadings;
  TStyledRadioButton* rReadingNumber;
  TStyledRadioButton* rReadingUnit;
  TStyledRadioButton* rReadingCss;
  TStyledRadioButton* rReadingTemplate;
  TEdit* txtReadingTemplate;
  TGroupBox* grpColours;
  TStyledRadioButton* rColourHex;
  TStyledRadioButton* rColourRgb;
  TStyledRadioButton* rColourHsl;
  TStyledRadioButton* rColourTemplate;
  TEdit* txtColourTemplate;
  TButton* btnOK;
  TButton* btnCancel;

  void SetFormats(const TCopyFormats& f);
  // The formats as the controls choose them; an emptied template keeps the one it replaced.
  TCopyFormats Formats() const;

 private:
  TCopyFormats FFormats;
};
