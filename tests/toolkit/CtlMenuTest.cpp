// Menus: check marks, radio groups, shortcuts, nesting and ownership, and the popup window.
#include "CtlFixture.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/menus/TMainMenu.h"
#include "toolkit/menus/TMenuBar.h"
#include "toolkit/menus/TMenuForm.h"
#include "toolkit/menus/TPopupMenu.h"

using namespace plat;

TEST(CtlMenuItems, ShortCutTextAndHotkeys) {
  EXPECT_EQ(ShortCutToText(ShortCut('C', ssCtrl)), "Ctrl+C");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, ssShift | ssCtrl)), "Shift+Ctrl+F1");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, 0)), "F12");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssAlt)), "Alt+Del");
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCut(0x1234, ssCtrl), scNone);
  int key = 0;
  TShiftState shift = 0;
  ShortCutToKey(ShortCut('S', ssCtrl | ssAlt), key, shift);
  EXPECT_EQ(key, 'S');
  EXPECT_EQ(shift, ssCtrl | ssAlt);
  EXPECT_EQ(StripHotkey("&Save && exit"), "Save & exit");
  EXPECT_EQ(GetHotkey("E&xit"), 'x');
  EXPECT_EQ(GetHotkey("A && B"), 0);
  EXPECT_EQ(GetHotkey("trailing&"), 0);
}

TEST_F(CtlTest, CheckMarksRadioGroupsAndOwnership) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100), bsNone, "Form1");
  auto* menu = TComponent::Create<TPopupMenu>(f);
  TMenuItem* root = menu->Items();
  TMenuItem* view = root->NewItem("View1", "&View");
  TMenuItem* slow = view->NewItem("Slow1", "Slow");
  TMenuItem* medium = view->NewItem("Medium1", "Medium");
  TMenuItem* fast = view->NewItem("Fast1", "Fast");
  TMenuItem* zoom = view->NewItem("N21", "2");
  for (TMenuItem* i : {slow, medium, fast}) {
    i->SetRadioItem(true);
    i->SetGroupIndex(1);
  }
  zoom->SetRadioItem(true);
  zoom->SetGroupIndex(2);
  zoom->SetChecked(true);
  fast->SetChecked(true);
  medium->SetChecked(true);  // unchecks Fast, not the other group
  EXPECT_FALSE(fast->Checked());
  EXPECT_TRUE(medium->Checked());
  EXPECT_TRUE(zoom->Checked());
  EXPECT_FALSE(slow->Checked());
  // Checking a plain item leaves the others alone; joining a group applies its rule.
  TMenuItem* cross = view->NewItem("Crosshairs1", "Crosshairs");
  cross->SetChecked(true);
  EXPECT_TRUE(medium->Checked());
  slow->SetChecked(true);
  EXPECT_FALSE(medium->Checked());
  fast->SetGroupIndex(3);
  fast->SetChecked(true);
  EXPECT_TRUE(slow->Checked());

  // AutoCheck toggles with each click; OnClick sees the new state.
  int clicks = 0;
  bool seen = false;
  cross->SetAutoCheck(true);
  cross->OnClick = [&](TObject*) {
    ++clicks;
    seen = cross->Checked();
  };
  cross->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(seen);

  // Items are the form's components (found by name for the scenario runner).
  EXPECT_EQ(f->FindComponent("Medium1"), medium);
  EXPECT_EQ(slow->GetPropText("Checked"), "true");
  EXPECT_EQ(slow->GetPropText("Caption"), "Slow");
  EXPECT_EQ(view->GetPropText("Count"), "5");
  EXPECT_EQ(slow->Menu(), menu);
  EXPECT_EQ(view->Find("view"), nullptr);
  EXPECT_EQ(root->Find("VIEW"), view);

  // Moving and destroying items keeps the lists right.
  TMenuItem* other = root->NewItem("Other1", "Other");
  other->Add(slow);
  EXPECT_EQ(slow->Parent(), other);
  EXPECT_EQ(view->IndexOf(slow), -1);
  EXPECT_THROW(slow->Add(other), std::invalid_argument);
  EXPECT_THROW(slow->Add(slow), std::invalid_argument);
  f->DestroyComponent(view);
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(medium->Parent(), nullptr);
  f->DestroyComponent(slow);
  EXPECT_EQ(other->Count(), 0);
}

TEST_F(CtlTest, MainMenuShortcutsWorkWhileItsEntriesAreHidden) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 150), bsNone, "Form1");
  auto* edit = Add<TEdit>(f, Rect::FromXYWH(10, 100, 100, 21), "txtName");
  auto* menu = TComponent::Create<TMainMenu>(f);
  TMenuItem* file = menu->Items()->NewItem("File1", "&File");
  int copies = 0, hides = 0;
  TMenuItem* copy = file->NewItem("Copy1", "&Copy to clipboard", [&](TObject*) { ++copies; }, ShortCut('C', ssCtrl));
  TMenuItem* view = menu->Items()->NewItem("View1", "&View");
  TMenuItem* hide = view->NewItem("HideMenu1", "Hide Menu", {}, ShortCut(VK_F12, 0));
  hide->OnClick = [&](TObject*) {
    ++hides;
    file->SetVisible(!file->Visible());
    view->SetVisible(!view->Visible());
  };
  file->SetVisible(false);
  view->SetVisible(false);
  Settle();
  EXPECT_FALSE(menu->Bar()->Visible());

  edit->SetFocus();
  Key('C', ssCtrl);
  Settle();
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(edit->Text(), "");  // the menu took the key before the edit
  Key(VK_F12);
  Settle();
  EXPECT_EQ(hides, 1);
  EXPECT_TRUE(menu->Bar()->Visible());
  EXPECT_EQ(menu->Bar()->Top(), 0);
  EXPECT_GT(menu->Bar()->Height(), 10);
  // A disabled item's shortcut does nothing; so does a key without its modifiers.
  copy->SetEnabled(false);
  Key('C', ssCtrl);
  Key('C');
  Settle();
  EXPECT_EQ(copies, 1);
  copy->SetEnabled(true);

  // The bar drops a menu down; choosing an entry runs it.
  const Rect fileRect = menu->Bar()->ItemRect(0);
  ClickAt(fileRect.left + 5, fileRect.top + 5);
  Settle();
  ASSERT_TRUE(menu->Bar()->DroppedDown());
  TMenuForm* drop = menu->Bar()->DropDown();
  EXPECT_EQ(drop->Top(), fileRect.bottom);
  const Rect r = drop->ItemRect(0);
  ClickAt(drop->Left() + r.left + 10, drop->Top() + r.top + 3);
  Settle();
  EXPECT_EQ(copies, 2);
  EXPECT_FALSE(menu->Bar()->DroppedDown());

  // With one menu dropped down, pointing at the next entry drops that one; Left and Right
  // walk along the bar.
  ClickAt(fileRect.left + 5, fileRect.top + 5);
  Settle();
  const Rect viewRect = menu->Bar()->ItemRect(1);
  EXPECT_EQ(viewRect.left, fileRect.right);
  Desk.InjectMouseMove(viewRect.left + 5, viewRect.top + 5);
  Settle();
  ASSERT_TRUE(menu->Bar()->DroppedDown());
  EXPECT_EQ(drop->Source(), view);
  EXPECT_EQ(drop->Left(), viewRect.left);
  Key(VK_RIGHT);  // wraps round to File
  Settle();
  EXPECT_EQ(drop->Source(), file);
  Key(VK_LEFT);
  Settle();
  EXPECT_EQ(drop->Source(), view);
  Key(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(menu->Bar()->DroppedDown());
  EXPECT_EQ(hides, 1);
}

TEST_F(CtlTest, PopupMenuChoosesClosesAndNavigates) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 300), bsNone, "Form1");
  f->SetColor(clWhite);
  auto* menu = TComponent::Create<TPopupMenu>(f);
  std::vector<std::string> log;
  auto note = [&](const char* what) { return [&log, what](TObject*) { log.push_back(what); }; };
  menu->OnClose = note("close");
  TMenuItem* about = menu->Items()->NewItem("mnuAbout", "About Vantrel..", note("about"));
  menu->Items()->NewItem("N1", "-");
  TMenuItem* loupe = menu->Items()->NewItem("mnuLoupe", "&Loupe", note("loupe"));
  loupe->SetAutoCheck(true);
  TMenuItem* sub = menu->Items()->NewItem("mnuMore", "More");
  sub->NewItem("mnuInner", "Inner", note("inner"));
  TMenuItem* off = menu->Items()->NewItem("mnuOff", "Off", note("off"));
  off->SetEnabled(false);
  (void)about;

  menu->Popup(40, 50);
  Settle();
  TMenuForm* w = menu->Window();
  ASSERT_TRUE(menu->IsOpen());
  EXPECT_EQ(w->Left(), 40);
  EXPECT_EQ(w->Top(), 50);
  EXPECT_EQ(w->WindowKind(), WindowKind::Popup);
  // The raised frame and the menu colour; the separator line.
  EXPECT_EQ(Pixel(40, 50), kFace);  // outer edge top-left: 3D light
  EXPECT_EQ(Pixel(41, 51), kHighlight);
  EXPECT_EQ(Pixel(45, 60), kFace);
  const Rect line = w->ItemRect(1);
  EXPECT_EQ(line.Height(), TMenuForm::kLineHeight);
  EXPECT_EQ(Pixel(40 + 10, 50 + line.top + line.Height() / 2 - 1), kShadow);

  // Clicking a disabled entry or a separator does nothing.
  ClickAt(40 + 10, 50 + w->ItemRect(4).top + 3);
  ClickAt(40 + 10, 50 + line.top + 2);
  Settle();
  EXPECT_TRUE(menu->IsOpen());
  EXPECT_TRUE(log.empty());
  // Hovering highlights; a click chooses: the menu closes, then the command runs.
  Desk.InjectMouseMove(40 + 10, 50 + w->ItemRect(2).top + 3);
  Settle();
  EXPECT_EQ(w->Selected(), 2);
  EXPECT_EQ(Pixel(40 + 5, 50 + w->ItemRect(2).top + 1), 0x800000u);
  Desk.InjectClick();
  Settle();
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(log, (std::vector<std::string>{"loupe", "close"}));
  EXPECT_TRUE(loupe->Checked());

  // The check mark shows at the next opening.
  menu->Popup(40, 50);
  Settle();
  const Rect lr = w->ItemRect(2);
  int ink = 0;
  for (int x = 40 + 3; x < 40 + 3 + TMenuForm::kCheckWidth; ++x)
    for (int y = 50 + lr.top; y < 50 + lr.bottom; ++y) ink += Pixel(x, y) == 0 ? 1 : 0;
  EXPECT_GE(ink, 15);
  // A click outside closes it without a command and is used up.
  int formClicks = 0;
  f->OnClick = [&](TObject*) { ++formClicks; };
  ClickAt(250, 250);
  Settle();
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(formClicks, 0);
  EXPECT_EQ(log.back(), "close");

  // Keys: Down skips separators and reaches the submenu, Right opens it, Enter chooses.
  log.clear();
  menu->Popup(40, 50);
  Settle();
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Settle();
  EXPECT_EQ(w->Selected(), 3);
  Key(VK_RIGHT);
  Settle();
  ASSERT_NE(w->SubMenu(), nullptr);
  EXPECT_EQ(w->SubMenu()->Selected(), 0);
  EXPECT_EQ(w->SubMenu()->Left(), w->Left() + w->Width() - TMenuForm::kFrame);
  Key(VK_ESCAPE);  // closes the submenu only
  Settle();
  EXPECT_EQ(w->SubMenu(), nullptr);
  EXPECT_TRUE(menu->IsOpen());
  Key(VK_RETURN);  // on "More": opens it again
  Key(VK_RETURN);
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"inner", "close"}));
  // Escape at the top closes everything; an access key chooses its entry.
  menu->Popup(40, 50);
  Key(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(menu->IsOpen());
  menu->Popup(40, 50);
  Desk.InjectText("l");
  Settle();
  EXPECT_FALSE(loupe->Checked());
  // Near the screen's corner the menu moves to stay visible.
  menu->Popup(1020, 760);
  Settle();
  EXPECT_LE(w->Left() + w->Width(), 1024);
  EXPECT_LE(w->Top() + w->Height(), 768);
  menu->CloseMenu();
  EXPECT_FALSE(menu->IsOpen());
}
