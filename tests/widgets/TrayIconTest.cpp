// The tray icon component on the virtual desktop: the icon's mouse messages as events, the
// popup menu and its default item, the tip, the image list and cycling, and minimising the
// application into the icon (or, with no notification area, not at all).
#include <string>
#include <vector>

#include "../toolkit/CtlFixture.h"
#include "toolkit/controls/TImageList.h"
#include "toolkit/menus/TMenuItem.h"
#include "toolkit/menus/TPopupMenu.h"
#include "widgets/TTrayIcon.h"

namespace {

using plat::MouseButton;
using plat::TrayMouseKind;

class TrayIconTest : public CtlTest {
 protected:
  TrayIconTest() {
    FForm = ShowForm(Rect::FromXYWH(50, 60, 200, 40));
    Tray = TComponent::Create<TTrayIcon>(FForm);
    Tray->Loaded();  // as after its owner's stored layout: the stored IconVisible True adds the icon
  }
  // Records every event as text, in order.
  void Record() {
    auto name = [](TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; };
    Tray->OnClick = [this](TObject*) { Events.push_back("click"); };
    Tray->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
    Tray->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Events.push_back(std::string("down ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    Tray->OnMouseUp = [this, name](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Events.push_back(std::string("up ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    Tray->OnMouseMove = [this](TObject*, TShiftState s, int x, int y) {
      Events.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    };
  }
  void Mouse(MouseButton b, std::initializer_list<TrayMouseKind> kinds) {
    for (TrayMouseKind k : kinds) Desk.InjectTrayMouse(b, k);
    Settle();
  }
  std::vector<std::string> TakeEvents() { return std::exchange(Events, {}); }

  TForm* FForm;
  TTrayIcon* Tray;
  std::vector<std::string> Events;
};

constexpr auto Down = TrayMouseKind::Down, Up = TrayMouseKind::Up, Dbl = TrayMouseKind::DoubleClick;

}  // namespace

TEST_F(TrayIconTest, MouseMessagesBecomeEventsWithTheCursorAndKeys) {
  ASSERT_EQ(Desk.TrayIcons().size(), 1u);  // IconVisible starts True
  Record();
  Desk.InjectMouseMove(300, 400);
  Desk.InjectKeyDown(plat::VK_SHIFT);
  // The desktop's double click: down, up, double-click message, up. Left = ssLeft (8),
  // Shift = ssShift (1): one click and one double click, never two clicks.
  Mouse(MouseButton::Left, {Down, Up, Dbl, Up});
  const int left = ssShift | ssLeft;
  EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"down L " + std::to_string(left) + " 300,400", "click",
                                                     "up L " + std::to_string(left) + " 300,400", "dblclick",
                                                     "up L " + std::to_string(left) + " 300,400"}));
  Desk.InjectKeyUp(plat::VK_SHIFT);
  Desk.InjectMouseMove(10, 20);
  // Right and middle double clicks give nothing; no click for them either.
  Mouse(MouseButton::Right, {Down, Up, Dbl});
  Mouse(MouseButton::Middle, {Down, Up, Dbl});
  Mouse(MouseButton::Left, {TrayMouseKind::Move});
  EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"down R " + std::to_string(ssRight) + " 10,20",
                                                     "up R " + std::to_string(ssRight) + " 10,20",
                                                     "down M " + std::to_string(ssMiddle) + " 10,20",
                                                     "up M " + std::to_string(ssMiddle) + " 10,20", "move 0 10,20"}));
  Tray->SetEnabled(false);
  Mouse(MouseButton::Left, {Down, Up, Dbl, Up});
  Mouse(MouseButton::Right, {Down, Up});
  EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(TrayIconTest, PopupMenuOpensAtTheIconAndDoubleClickRunsTheFirstDefaultItem) {
  auto* menu = TComponent::Create<TPopupMenu>(FForm);
  std::vector<int> ran;
  for (int i = 0; i < 6; ++i) {
    auto* item = TComponent::Create<TMenuItem>(FForm);
    item->SetCaption("Item " + std::to_string(i));
    item->SetDefault(i == 2 || i == 5);
    item->OnClick = [&ran, i](TObject*) { ran.push_back(i); };
    menu->Items()->Add(item);
  }
  Tray->SetPopupMenu(menu);
  Desk.InjectMouseMove(500, 300);
  Mouse(MouseButton::Right, {Down});
  EXPECT_TRUE(menu->IsOpen());
  EXPECT_EQ(menu->PopupComponent(), Tray);
  menu->CloseMenu();
  Mouse(MouseButton::Right, {Up});
  Mouse(MouseButton::Left, {Down, Up, Dbl, Up});
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(ran, std::vector<int>{2});

  // LeftPopup: the left press opens the menu after OnMouseDown; no default item on a double click.
  ran.clear();
  Tray->SetLeftPopup(true);
  bool openAtDown = true;
  Tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { openAtDown = menu->IsOpen(); };
  Mouse(MouseButton::Left, {Down});
  EXPECT_FALSE(openAtDown);
  EXPECT_TRUE(menu->IsOpen());
  menu->CloseMenu();
  Mouse(MouseButton::Left, {Up, Dbl, Up});
  menu->CloseMenu();
  EXPECT_TRUE(ran.empty());

  // Disabled: no menu. A destroyed menu is forgotten.
  Tray->SetEnabled(false);
  Mouse(MouseButton::Right, {Down, Up});
  EXPECT_FALSE(menu->IsOpen());
  FForm->DestroyComponent(menu);
  EXPECT_EQ(Tray->PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, TipIsTheHintCutTo63CharactersOnlyWithShowHint) {
  ASSERT_EQ(Desk.TrayIcons().size(), 1u);
  const plat::VirtualTrayIcon* shell = Desk.TrayIcons()[0];
  Tray->SetHint("Vantrel");
  EXPECT_EQ(shell->Tip(), "");
  Tray->SetShowHint(true);
  EXPECT_EQ(shell->Tip(), "Vantrel");
  const std::string longHint(70, 'x');
  Tray->SetHint(longHint);
  EXPECT_EQ(shell->Tip(), std::string(63, 'x'));
  EXPECT_EQ(Tray->Hint(), longHint);
  // Adding twice keeps one icon; removing takes it away, again harmlessly.
  Tray->SetIconVisible(true);
  EXPECT_EQ(Desk.TrayIcons().size(), 1u);
  Tray->SetIconVisible(false);
  Tray->SetIconVisible(false);
  EXPECT_EQ(Desk.TrayIcons().size(), 0u);
}

TEST_F(TrayIconTest, IconIndexPicksFromTheListAndCyclingWraps) {
  auto* list = TComponent::Create<TImageList>(FForm);
  const TColor colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  for (TColor c : colours) list->Add(gfx::Bitmap(16, 16, c));
  Tray->SetIconList(list);
  ASSERT_EQ(Desk.TrayIcons().size(), 1u);
  const plat::VirtualTrayIcon* shell = Desk.TrayIcons()[0];
  Tray->SetIconIndex(10);  // clamped to the last image
  EXPECT_EQ(Tray->IconIndex(), 2);
  ASSERT_FALSE(shell->Icon().IsEmpty());
  EXPECT_EQ(shell->Icon().At(8, 8), colours[2]);

  std::vector<int> next, shown;
  Tray->OnCycle = [&](TObject*, int n) { next.push_back(n); };
  Tray->SetCycleInterval(100);
  Tray->SetCycleIcons(true);
  EXPECT_EQ(Tray->IconIndex(), 0);
  for (int i = 0; i < 4; ++i) {
    Desk.AdvanceClock(100);
    Settle();
    shown.push_back(Tray->IconIndex());
    EXPECT_EQ(shell->Icon().At(8, 8), colours[Tray->IconIndex()]);
  }
  EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 0, 1}));

  FForm->DestroyComponent(list);
  EXPECT_EQ(Tray->IconList(), nullptr);
  EXPECT_EQ(Tray->IconIndex(), 0);
  Desk.AdvanceClock(300);  // ticks without a list change nothing
  EXPECT_TRUE(next.size() == 4u);
}

TEST_F(TrayIconTest, MinimizingHidesTheApplicationToTheIconThroughTheChainedProcedures) {
  // A procedure chained in front of the form before the icon: it must go on seeing every
  // message while the icon is in front of it, and after the icon is gone.
  App->SetMainForm(FForm);
  FForm->DestroyComponent(Tray);  // unhooks: the form has its own procedure again
  int shows = 0;
  TWndMethod formProc = FForm->WindowProc();
  FForm->SetWindowProc([&, formProc](TMessage& m) {
    if (m.Msg == WM_SHOWWINDOW && m.WParam == 1) ++shows;
    formProc(m);
  });
  Tray = TComponent::Create<TTrayIcon>(FForm);
  Tray->SetIconVisible(false);
  Tray->SetMinimizeToTray(true);
  Tray->SetEnabled(false);  // does not gate minimising
  Tray->OnClick = [&](TObject*) {};
  App->Minimize();
  Settle();
  EXPECT_FALSE(FForm->Visible());
  EXPECT_FALSE(FForm->NativeWindow()->Visible());
  EXPECT_EQ(Desk.TrayIcons().size(), 1u);

  App->Restore();
  FForm->Show();
  Settle();
  EXPECT_EQ(shows, 1);
  EXPECT_TRUE(FForm->NativeWindow()->Visible());

  // Gone: minimising is the toolkit's own again (forms off the screen, no icon), and the
  // form's earlier procedure still sees its messages.
  FForm->DestroyComponent(Tray);
  EXPECT_EQ(Desk.TrayIcons().size(), 0u);
  App->Minimize();
  Settle();
  EXPECT_TRUE(FForm->Visible());
  EXPECT_EQ(Desk.TrayIcons().size(), 0u);
  App->Restore();
  FForm->Hide();
  FForm->Show();
  EXPECT_EQ(shows, 2);
}

TEST_F(TrayIconTest, WithoutANotificationAreaMinimizingKeepsTheApplicationOnScreenAndBeeps) {
  Desk.SetTrayAvailable(false);
  Tray->SetIconVisible(false);
  Tray->SetMinimizeToTray(true);
  Desk.TakeLog();
  App->Minimize();
  Settle();
  EXPECT_FALSE(App->Minimized());
  EXPECT_TRUE(FForm->Visible());
  EXPECT_TRUE(FForm->NativeWindow()->Visible());
  EXPECT_TRUE(Desk.TrayIcons().empty());
  EXPECT_EQ(Desk.TakeLog(), std::vector<std::string>{"beep"});
}
