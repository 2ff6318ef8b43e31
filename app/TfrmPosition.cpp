#include "app/TfrmPosition.h"

TfrmPosition::TfrmPosition(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmPosition");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  // It shows beside the strip and must never take the keyboard focus from it.
  SetWindowKind(plat::WindowKind::Popup);
  gfx::Font f;
  f.Name = "MS Sans Serif";
  f.SetSize(8);
  Font().SetData(f);
  SetBounds(0, 0, 189, 22);

  Panel1 = TComponent::Create<TPanel>(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(alClient);
  Panel1->SetCaption("");

  lblTxt = TComponent::Create<TLabel>(this);
  lblTxt->SetName("lblTxt");
  lblTxt->SetParent(Panel1);
  lblTxt->SetAutoSize(true);
  lblTxt->SetLeft(6);
  lblTxt->SetTop(4);
}
