#pragma once
// The About box: the product picture and version, the credit line, a link to the project's
// web address and an OK button, under a title bar shaded from olive to yellow. Everything it
// does comes from its controls; it only keeps itself where its owner cannot hide it.
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"
#include "toolkit/core/TForm.h"
#include "widgets/TGradientCaption.h"
#include "widgets/TLinkLabel.h"

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TComponent* AOwner);

  plat::WindowRole WindowRole() const override { return plat::WindowRole::Dialog; }

  TPanel* Panel2;
  TImage* Image1;
  TImage* Image2;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TPanel* Panel1;
  TLinkLabel* LinkLabel1;
  TButton* Button1;
  TGradientCaption* GradientCaption1;

 protected:
  void DoShow() override;
};
