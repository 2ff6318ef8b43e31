// What a form's window tells window managers: its role by border and kind, and the main form
// as the owner it stays with.
#include "tests/toolkit/CoreFixture.h"
#include "toolkit/menus/TMenuForm.h"

using plat::WindowRole;

TEST_F(CoreTest, FormsShowAsFloatingToolsDialogsAndTipsOwnedByTheMainForm) {
  TForm* main = ShowForm(Rect::FromXYWH(10, 10, 200, 40), bsNone, "Strip");
  App->SetMainForm(main);
  TForm* dialog = ShowForm(Rect::FromXYWH(50, 50, 200, 120), bsDialog, "Dialog");
  TForm* tip = TComponent::Create<TForm>(App.get());
  tip->SetBorderStyle(bsNone);
  tip->SetWindowKind(plat::WindowKind::Popup);
  tip->Show();
  TMenuForm* menu = TComponent::Create<TMenuForm>(App.get());
  menu->Show();
  Settle();

  struct Case {
    TForm* Form;
    WindowRole Role;
    plat::VirtualWindow* Owner;
  } cases[] = {
      {main, WindowRole::Utility, nullptr},
      {dialog, WindowRole::Dialog, WindowOf(main)},
      {tip, WindowRole::Tooltip, WindowOf(main)},
      {menu, WindowRole::PopupMenu, WindowOf(main)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Form->Name());
    ASSERT_NE(WindowOf(c.Form), nullptr);
    EXPECT_EQ(WindowOf(c.Form)->Role(), c.Role);
    EXPECT_EQ(WindowOf(c.Form)->Owner(), c.Owner);
  }

  // The role follows the border style at the next showing; an owner that is gone is no owner.
  dialog->Hide();
  dialog->SetBorderStyle(bsNone);
  dialog->Show();
  Settle();
  EXPECT_EQ(WindowOf(dialog)->Role(), WindowRole::Utility);
  main->SetWindowKind(plat::WindowKind::Tool);  // a new native window; the old one is gone
  EXPECT_EQ(WindowOf(dialog)->Owner(), nullptr);
}
