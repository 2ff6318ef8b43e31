// Push buttons: default and cancel buttons, modal results, keys and the classic look.
#include "CtlFixture.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/controls/TLabel.h"

using namespace plat;

namespace {

// A small dialog as the program builds them: an edit, OK (default) and Cancel.
class TfrmAsk : public TForm {
 public:
  explicit TfrmAsk(TComponent* owner) : TForm(owner) {
    SetName("frmAsk");
    SetBorderStyle(bsDialog);
    SetBounds(200, 150, 260, 120);
    txtName = Create<TEdit>(this);
    txtName->SetName("txtName");
    txtName->SetParent(this);
    txtName->SetBounds(10, 10, 120, 21);
    btnOK = Create<TButton>(this);
    btnOK->SetName("btnOK");
    btnOK->SetParent(this);
    btnOK->SetBounds(10, 50, 75, 25);
    btnOK->SetCaption("&OK");
    btnOK->SetDefault(true);
    btnOK->SetModalResult(mrOk);
    btnOK->OnClick = [this](TObject*) { ++OkClicks; };
    btnCancel = Create<TButton>(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetParent(this);
    btnCancel->SetBounds(100, 50, 75, 25);
    btnCancel->SetCaption("&Cancel");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    SetActiveControl(txtName);
  }
  // Screen point in the middle of CONTROL.
  Point Middle(TControl* c) const {
    const Point o = c->ClientOrigin();
    return {o.x + c->Width() / 2, o.y + c->Height() / 2};
  }
  TEdit* txtName;
  TButton* btnOK;
  TButton* btnCancel;
  int OkClicks = 0;
};

}  // namespace

TEST_F(CtlTest, DefaultAndCancelButtonsEndModalForms) {
  ShowForm(Rect::FromXYWH(0, 0, 50, 50), bsNone, "frmMain");
  auto* dlg = App->CreateForm<TfrmAsk>();
  // Enter in the edit clicks the default button.
  Then([&] {
    Desk.InjectText("abc");
    Desk.InjectKey(VK_RETURN);
  });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(dlg->OkClicks, 1);
  EXPECT_EQ(dlg->txtName->Text(), "abc");
  EXPECT_FALSE(dlg->Visible());

  // Escape clicks the cancel button.
  Then([&] { Desk.InjectKey(VK_ESCAPE); });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  EXPECT_EQ(dlg->OkClicks, 1);

  // With the focus on Cancel, Enter clicks Cancel (the focused button is the active one).
  Then([&] {
    Desk.InjectKey(VK_TAB);
    Desk.InjectKey(VK_TAB);
  });
  Then([&] {
    EXPECT_TRUE(dlg->btnCancel->Focused());
    EXPECT_TRUE(dlg->btnCancel->Active());
    EXPECT_FALSE(dlg->btnOK->Active());
    Desk.InjectKey(VK_RETURN);
  });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);

  // Space clicks the focused button on release.
  dlg->SetActiveControl(dlg->btnOK);
  Then([&] { Desk.InjectKey(VK_SPACE); });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(dlg->OkClicks, 2);

  // The mouse: a click on a button; a press that leaves the button is no click.
  dlg->SetActiveControl(dlg->txtName);
  Then([&] {
    const Point p = dlg->Middle(dlg->btnOK);
    Desk.InjectMouseMove(p);
    Desk.InjectButtonDown();
    Desk.InjectMouseMove(p.x, p.y + 60);
    Desk.InjectButtonUp();
  });
  Then([&] {
    EXPECT_EQ(dlg->OkClicks, 2);
    const Point p = dlg->Middle(dlg->btnCancel);
    Desk.InjectMouseMove(p);
    Desk.InjectClick();
  });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  EXPECT_EQ(StepsExhausted, 0);
  EXPECT_EQ(dlg->btnOK->GetPropText("Default"), "true");
  EXPECT_EQ(dlg->btnCancel->GetPropText("ModalResult"), "2");
}

TEST_F(CtlTest, ButtonWithoutModalResultKeepsTheFormOpen) {
  ShowForm(Rect::FromXYWH(0, 0, 50, 50), bsNone, "frmMain");
  auto* dlg = App->CreateForm<TfrmAsk>();
  dlg->btnOK->SetModalResult(mrNone);
  Then([&] { Desk.InjectKey(VK_RETURN); });
  Then([&] {
    EXPECT_EQ(dlg->OkClicks, 1);
    EXPECT_TRUE(dlg->Visible());
    Desk.InjectKey(VK_ESCAPE);
  });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  // Disabled buttons ignore Enter and Escape.
  dlg->btnCancel->SetEnabled(false);
  dlg->btnOK->SetModalResult(mrOk);
  dlg->btnOK->SetEnabled(false);
  Then([&] {
    Desk.InjectKey(VK_ESCAPE);
    Desk.InjectKey(VK_RETURN);
  });
  Then([&] {
    EXPECT_TRUE(dlg->Visible());
    dlg->SetModalResult(mrAbort);
  });
  EXPECT_EQ(dlg->ShowModal(), mrAbort);
  EXPECT_EQ(dlg->OkClicks, 1);
}

TEST_F(CtlTest, ButtonLook) {
  auto* dlg = App->CreateForm<TfrmAsk>();
  dlg->SetBorderStyle(bsNone);
  dlg->SetBounds(0, 0, 260, 120);
  dlg->Show();
  Settle();
  // The default button (focus on the edit) has a black frame; Cancel is plainly raised.
  EXPECT_EQ(Pixel(10, 50), 0x000000u);
  EXPECT_EQ(Pixel(84, 74), 0x000000u);
  EXPECT_EQ(Pixel(11, 51), kHighlight);
  EXPECT_EQ(Pixel(100, 50), kHighlight);
  EXPECT_EQ(Pixel(174, 74), 0x000000u);  // the outer dark shadow
  EXPECT_EQ(Pixel(173, 73), kShadow);
  // Focused Cancel: the frame moves to it, with a dotted focus rectangle inside.
  dlg->btnCancel->SetFocus();
  Settle();
  EXPECT_EQ(Pixel(10, 50), kHighlight);
  EXPECT_EQ(Pixel(100, 50), 0x000000u);
  int dots = 0;
  // The focus rectangle inverts every other pixel of the face.
  for (int x = 104; x < 171; ++x) dots += Pixel(x, 54) == 0x3F3F3F ? 1 : 0;
  EXPECT_GT(dots, 20);
  EXPECT_LT(dots, 50);
  // Held down: a shadow frame inside the black one.
  Desk.InjectMouseMove(137, 62);
  Desk.InjectButtonDown();
  Settle();
  EXPECT_EQ(Pixel(101, 51), kShadow);
  EXPECT_EQ(Pixel(173, 73), kShadow);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(Pixel(101, 51), kHighlight);
}

TEST_F(CtlTest, AltWithTheUnderlinedLetter) {
  ShowForm(Rect::FromXYWH(0, 0, 50, 50), bsNone, "frmMain");
  auto* dlg = App->CreateForm<TfrmAsk>();
  auto* lbl = TComponent::Create<TLabel>(dlg);
  lbl->SetParent(dlg);
  lbl->SetCaption("&Name:");
  lbl->SetFocusControl(dlg->txtName);
  auto* other = TComponent::Create<TEdit>(dlg);
  other->SetParent(dlg);
  other->SetBounds(140, 10, 60, 21);
  dlg->SetActiveControl(other);
  Then([&] {
    Key('N', ssAlt);  // the label hands the focus to its control
  });
  Then([&] {
    EXPECT_TRUE(dlg->txtName->Focused());
    Key('Q', ssAlt);  // no such letter: nothing
    Key('O');         // no Alt: typed into the edit
  });
  Then([&] {
    EXPECT_EQ(dlg->txtName->Text(), "o");
    EXPECT_EQ(dlg->OkClicks, 0);
    Key('O', ssAlt);  // "&OK"
  });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(dlg->OkClicks, 1);
  EXPECT_EQ(StepsExhausted, 0);
}
