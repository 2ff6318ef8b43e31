#include "app/TfrmAbout.h"

#include "app/Product.h"
#include "toolkit/core/NewChild.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"

namespace {

void ArialBold(TLabel* label, int points) {
  label->Font().SetName("Arial");
  label->Font().SetSize(points);
  label->Font().SetStyle(gfx::fsBold);
  label->Font().SetColor(clBlack);
  label->SetTransparent(true);
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {
  SetName("frmAbout");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetClientWidth(345);
  SetClientHeight(250);
  SetPosition(poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  Panel2 = NewChild<TPanel>(this, this, "Panel2", Rect::FromXYWH(16, 16, 313, 161));
  Panel2->SetBevelOuter(bvLowered);
  Panel2->SetColor(clWhite);
  Panel2->SetCaption("");
  // The picture is read when the box is first shown (DoShow): most sessions never show it.
  Image1 = NewChild<TImage>(this, Panel2, "Image1", Rect::FromXYWH(8, 8, 297, 97));
  Image2 = NewChild<TImage>(this, Panel2, "Image2", Rect::FromXYWH(50, 84, 199, 57));
  Image2->SetVisible(false);
  Label1 = NewChild<TLabel>(this, Panel2, "Label1", Rect::FromXYWH(16, 72, 0, 0));
  ArialBold(Label1, 8);
  Label1->SetCaption("version 1.2R3");
  Label2 = NewChild<TLabel>(this, Panel2, "Label2", Rect::FromXYWH(144, 82, 0, 0));
  ArialBold(Label2, 8);
  Label2->SetCaption("by");
  Label3 = NewChild<TLabel>(this, Panel2, "Label3", Rect::FromXYWH(84, 110, 0, 0));
  ArialBold(Label3, 10);
  Label3->SetCaption("the Vantrel developers");

  Panel1 = NewChild<TPanel>(this, this, "Panel1", Rect::FromXYWH(16, 184, 313, 17));
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetColor(0x80FFFF);
  Panel1->SetCaption("");
  LinkLabel1 = NewChild<TLinkLabel>(this, Panel1, "LinkLabel1", Rect::FromXYWH(1, 1, 311, 15));
  LinkLabel1->SetAutoSize(false);
  LinkLabel1->SetWordWrap(true);
  LinkLabel1->SetAlignment(taCenter);
  LinkLabel1->SetTransparent(true);
  LinkLabel1->Font().SetName("MS Sans Serif");
  LinkLabel1->Font().SetHeight(-11);
  LinkLabel1->SetLinkColStd(clBlack);
  LinkLabel1->SetLinkColPre(clNavy);
  LinkLabel1->SetHoverEffect(true);
  LinkLabel1->SetLabelType(hmHTTP);
  LinkLabel1->SetCaption(product::kWebAddress);

  Button1 = NewChild<TButton>(this, this, "Button1", Rect::FromXYWH(136, 216, 75, 25));
  Button1->SetCaption("&OK");
  Button1->SetModalResult(mrOk);
  Button1->SetDefault(true);
  Button1->SetCancel(true);  // Escape closes the box too, as dialogs here do
  SetActiveControl(Button1);

  GradientCaption1 = TComponent::Create<TGradientCaption>(this);
  GradientCaption1->SetName("GradientCaption1");
  GradientCaption1->CompanyText().SetCaption("Vantrel team");
  GradientCaption1->CompanyText().SetFontKind(fkSystemBI);
  GradientCaption1->AppNameText().SetCaption("Vantrel");
  GradientCaption1->AppNameText().SetFontKind(fkSystemB);
  GradientCaption1->CaptionText().SetCaption("version 1.2");
  GradientCaption1->CaptionText().SetFontKind(fkSystem);
  GradientCaption1->SetColorLeftActive(clOlive);
  GradientCaption1->SetColorRightActive(clYellow);
}

void TfrmAbout::DoShow() {
  if (Image1->Picture().IsEmpty()) Image1->SetPicture(LoadBitmapResource("ABOUTPICTURE"));
  // A modal box behind a strip that stays on top would leave the program looking frozen:
  // the box shares its owner's band.
  TForm* owner = Application ? Application->MainForm() : nullptr;
  const bool ownerOnTop = owner && owner != this && owner->NativeWindow() && owner->NativeWindow()->TopMost();
  SetFormStyle(ownerOnTop ? fsStayOnTop : fsNormal);
  SetActiveControl(Button1);
  TForm::DoShow();
}
