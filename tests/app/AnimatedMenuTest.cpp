// The animated popup menu on its own: frame sizes and timing, geometry and pictures, the
// order of its events, keys, grabs, and handlers that pull the ground from under it.
#include <memory>
#include <string>
#include <vector>

#include "menu/TAnimatedMenuWindow.h"
#include "menu/TAnimatedPopupMenu.h"
#include "menu/TMenuFrames.h"
#include "menu/TMenuItemBitmaps.h"
#include "tests/toolkit/CtlFixture.h"
#include "toolkit/core/TTimer.h"

using gfx::Size;
using namespace plat;

TEST(MenuFrames, UnfoldAndSlideSteps) {
  // 200 x 308 unfolding: 308 / 12 = 25, less 25 / 4 = 6 above 180 pixels: 19; 200 / 12 = 16,
  // raised to the vertical 19. The width would reach 200 after 10 frames of 19.
  TMenuFrames unfold({200, 308}, anUnfold, false);
  EXPECT_EQ(unfold.Step(), (Size{19, 19}));
  EXPECT_EQ(unfold.Start(), (Size{0, 0}));
  auto frames = unfold.Frames();
  ASSERT_EQ(frames.size(), 10u);
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i], (Size{19 * int(i + 1), 19 * int(i + 1)}));
  // A vertical slide keeps the full width; 120 high: 120 / 12 = 10 (no quarter off below 180),
  // frames 10..110, the 12th would reach 120.
  TMenuFrames slide({300, 120}, anVSlide, false);
  EXPECT_EQ(slide.Start(), (Size{300, 0}));
  frames = slide.Frames();
  ASSERT_EQ(frames.size(), 11u);
  EXPECT_EQ(frames.front(), (Size{300, 10}));
  EXPECT_EQ(frames.back(), (Size{300, 110}));
  // Double speed, sideways: 240 / 6 = 40 beats 60 / 6 = 10; frames 40..200 of width.
  TMenuFrames fast({240, 60}, anHSlide, true);
  EXPECT_EQ(fast.Step(), (Size{40, 10}));
  frames = fast.Frames();
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames.back(), (Size{200, 60}));
  // No animation, or a menu too small to step: it simply appears.
  EXPECT_TRUE(TMenuFrames({200, 308}, anNone, false).Frames().empty());
  EXPECT_TRUE(TMenuFrames({10, 11}, anUnfold, false).Frames().empty());
}

TEST(MenuFrames, FrameTimingMakesUpAnOverrun) {
  // 20 ms frames from t = 1000: frame 1 ends at 1020, frame 4 at 1080.
  EXPECT_EQ(TMenuFrames::SleepAfter(1000, 1, 20, 1005), 15u);
  EXPECT_EQ(TMenuFrames::SleepAfter(1000, 1, 20, 1020), 0u);
  // Frame 1 overran to 1050: frames 2 (1040) sleeps nothing, frame 3 (1060) the rest.
  EXPECT_EQ(TMenuFrames::SleepAfter(1000, 2, 20, 1050), 0u);
  EXPECT_EQ(TMenuFrames::SleepAfter(1000, 3, 20, 1052), 8u);
  EXPECT_EQ(TMenuFrames::SleepAfter(1000, 4, 20, 1200), 0u);
}

namespace {

// The strip tests in this program draw with the real fonts: the control fixture's built-in
// font must not outlive it (a base constructed before it and destroyed after it).
struct KeepFontChoice {
  bool Was = gfx::BuiltinFontOnly();
  ~KeepFontChoice() { gfx::SetBuiltinFontOnly(Was); }
};

class AnimatedMenuTest : private KeepFontChoice, public CtlTest {
 protected:
  AnimatedMenuTest() {
    Form = ShowForm(Rect::FromXYWH(0, 0, 400, 300), bsNone, "frmOwner");
    Menu = TComponent::Create<TAnimatedPopupMenu>(Form);
    Menu->SetName("Menu");
    Menu->Options().OpenAnimation = anUnfold;
    Menu->OnMenuClose = [this](TObject* s) { Log.push_back("close " + NameOf(s)); };
    Menu->OnMenuCommand = [this](TObject* s) { Log.push_back("command " + NameOf(s)); };
  }
  static std::string NameOf(TObject* o) {
    auto* c = dynamic_cast<TComponent*>(o);
    return c ? c->Name() : "-";
  }
  TMenuItem* Add(const char* name, const char* caption) {
    return Menu->Items()->NewItem(name, caption, [this, name](TObject*) { Log.push_back(std::string("click ") + name); });
  }
  std::vector<std::string> Sounds() {
    std::vector<std::string> s;
    for (const std::string& line : Desk.TakeLog())
      if (line.rfind("sound", 0) == 0 || line == "beep") s.push_back(line);
    return s;
  }

  TForm* Form = nullptr;
  TAnimatedPopupMenu* Menu = nullptr;
  std::vector<std::string> Log;
};

}  // namespace

TEST_F(AnimatedMenuTest, GeometryPicturesAndTheOpeningAnimation) {
  TMenuItem* a = Add("mnuA", "Alpha");
  Add("N1", "-");
  TMenuItem* b = Add("mnuB", "Beta");
  gfx::Bitmap red(16, 16, 0xC0C0C0);
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) red.At(x, y) = 0x0000FF;
  auto* pics = TComponent::Create<TMenuItemBitmaps>(Form);
  pics->SetUncheckedBitmap(red);
  pics->SetMenuItem(b);
  b->SetChecked(true);
  a->SetChecked(false);

  const std::uint64_t before = Desk.NowMs();
  Menu->Popup(100, 50);
  TAnimatedMenuWindow* w = Menu->MenuWindow();
  ASSERT_TRUE(Menu->IsOpen());
  // Rows of 19 and a separator of 11 inside 1 + 1 margins and a 2-pixel frame: 2 + 1 + 19 +
  // 11 + 19 + 1 + 2 = 55.
  EXPECT_EQ(w->BoundsRect().top, 50);
  EXPECT_EQ(w->Height(), 55);
  EXPECT_EQ(w->ItemRect(0), (Rect{2, 3, w->Width() - 2, 22}));
  EXPECT_EQ(w->ItemRect(1), (Rect{2, 22, w->Width() - 2, 33}));
  // "Alpha" in the built-in font's 6-pixel letters, margins of 25 each side and 10: 90 wide.
  // Unfolding steps 55 / 12 = 4 down and max(90 / 12, 4) = 7 across; the width would reach
  // 90 at the 13th step (91), the height at the 14th (56), so 12 frames ran, 20 ms each on
  // the clock, and the sound played once.
  EXPECT_EQ(w->Width(), 90);
  EXPECT_EQ(Desk.NowMs() - before, 12u * 20u);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"sound MenuPopup"}));
  Settle();
  // Item B is checked: a sunken square (3 pixels into the row, 19 square), dithered inside,
  // and the check mark rather than its unchecked picture.
  const int rowB = 50 + w->ItemRect(2).top;
  EXPECT_EQ(Pixel(100 + 2 + 3, rowB), 0x808080u);           // sunken edge: shadow top-left
  EXPECT_EQ(Pixel(100 + 2 + 3 + 18, rowB + 18), 0xFFFFFFu);  // and light bottom-right
  EXPECT_NE(Pixel(100 + 2 + 4, rowB + 1), Pixel(100 + 2 + 5, rowB + 1));  // the dither
  EXPECT_NE(Pixel(100 + 2 + 5 + 8, rowB + 2 + 8), 0x0000FFu);
  // Unchecked, its own picture shows at (5, 2) in the row, transparent round it.
  b->SetChecked(false);
  Settle();
  EXPECT_EQ(Pixel(100 + 2 + 5 + 8, rowB + 2 + 8), 0x0000FFu);
  EXPECT_EQ(Pixel(100 + 2 + 5 + 1, rowB + 2 + 1), 0xC0C0C0u);
  // Hovering highlights from 3 pixels after the check square to 3 before the row's end.
  Desk.InjectMouseMove(100 + 60, rowB + 5);
  Settle();
  EXPECT_EQ(w->Selected(), 2);
  EXPECT_EQ(Pixel(100 + 2 + 3 + 19 + 3, rowB + 5), 0x800000u);
  EXPECT_EQ(Pixel(100 + 2 + 3 + 19 + 2, rowB + 5), 0xC0C0C0u);
  EXPECT_EQ(Pixel(100 + w->Width() - 2 - 4, rowB + 5), 0x800000u);
  EXPECT_EQ(Pixel(100 + w->Width() - 2 - 3, rowB + 5), 0xC0C0C0u);
}

TEST_F(AnimatedMenuTest, ACommandClosesThenReportsThenClicks) {
  Add("mnuA", "Alpha");
  Add("N1", "-");
  TMenuItem* off = Add("mnuOff", "Off");
  off->SetEnabled(false);
  Menu->Popup(100, 50);
  Settle();
  TAnimatedMenuWindow* w = Menu->MenuWindow();
  EXPECT_EQ(Desk.InputGrabWindow(), w->NativeWindow());
  // Releases over the separator and the disabled item do nothing.
  for (int index : {1, 2}) {
    ClickAt(100 + 40, 50 + w->ItemRect(index).top + 4);
    Settle();
  }
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_TRUE(Log.empty());
  Sounds();
  ClickAt(100 + 40, 50 + w->ItemRect(0).top + 4);
  Settle();
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, (std::vector<std::string>{"close mnuA", "command mnuA", "click mnuA"}));
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"sound MenuCommand"}));
  EXPECT_EQ(Desk.InputGrabWindow(), nullptr);
  EXPECT_FALSE(w->Visible());

  // With a closing animation the owner hears of the close first, then the window shrinks
  // away: 55 high sliding, 55 / 12 = 4 a frame, frames 4 to 52, 13 of 20 ms.
  Menu->Options().CloseAnimation = anVSlide;
  Menu->Popup(100, 50);
  Settle();
  Menu->OnMenuClose = [&](TObject*) {
    Log.push_back("close at " + std::to_string(w->Height()) + (w->Visible() ? " shown" : " hidden"));
  };
  Log.clear();
  const std::uint64_t before = Desk.NowMs();
  Key(VK_ESCAPE);
  Settle();
  EXPECT_EQ(Log, (std::vector<std::string>{"close at 55 shown"}));
  EXPECT_EQ(Desk.NowMs() - before, 13u * 20u);
  EXPECT_FALSE(w->Visible());
}

TEST_F(AnimatedMenuTest, KeysAndOutsidePressesAndGrabs) {
  TMenuItem* a = Add("mnuA", "&Alpha");
  Add("N1", "-");
  Add("mnuB", "Beta");
  Add("N2", "-");
  // The owner's own keys must not act while the menu has the keyboard.
  int ownerKeys = 0;
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, int&, TShiftState) { ++ownerKeys; };
  Menu->Popup(100, 50);
  Settle();
  TAnimatedMenuWindow* w = Menu->MenuWindow();
  struct Step {
    int Key;
    int Selected;
  } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_UP, 0}, {VK_UP, 2}};
  for (const Step& s : steps) {
    Key(s.Key);
    Settle();
    EXPECT_EQ(w->Selected(), s.Selected);
  }
  EXPECT_EQ(ownerKeys, 0);
  // A key no caption marks beeps; Escape closes without a command, and lets go of the input.
  Sounds();
  Key('Q');
  Settle();
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"beep"}));
  EXPECT_TRUE(Menu->IsOpen());
  Key(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, (std::vector<std::string>{"close mnuB"}));
  EXPECT_EQ(Desk.InputGrabWindow(), nullptr);

  // An accelerator runs the item itself, without OnMenuCommand.
  Log.clear();
  Menu->Popup(100, 50);
  Settle();
  Key('A');
  Settle();
  EXPECT_EQ(Log, (std::vector<std::string>{"close mnuA", "click mnuA"}));
  (void)a;

  // A press on the bare desktop reaches the grabbing menu and closes it; so does one on the
  // owner, which gets nothing of it.
  for (gfx::Point outside : {gfx::Point{700, 600}, gfx::Point{300, 250}}) {
    Log.clear();
    int ownerPresses = 0;
    Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ownerPresses; };
    Menu->Popup(100, 50);
    Settle();
    ClickAt(outside.x, outside.y);
    Settle();
    EXPECT_FALSE(Menu->IsOpen());
    EXPECT_EQ(Log, (std::vector<std::string>{"close -"}));
    EXPECT_EQ(ownerPresses, 0);
    EXPECT_EQ(Desk.InputGrabWindow(), nullptr);
  }
}

TEST_F(AnimatedMenuTest, MenusWithoutCommandsAndHandlersThatDestroyTheMenu) {
  // Only separators: Up and Down find nothing and return.
  Add("N1", "-");
  Add("N2", "-");
  Menu->Popup(100, 50);
  Settle();
  Key(VK_DOWN);
  Key(VK_UP);
  Settle();
  EXPECT_EQ(Menu->MenuWindow()->Selected(), -1);
  Key(VK_ESCAPE);
  Settle();

  // An item bitmap component without an item, or disabled, gives nobody a picture.
  auto* pics = TComponent::Create<TMenuItemBitmaps>(Form);
  pics->SetUncheckedBmpResource("MNUEXIT");
  EXPECT_EQ(pics->MenuItem(), nullptr);
  TMenuItem* x = Add("mnuX", "X");
  pics->SetEnabled(false);
  pics->SetMenuItem(x);
  EXPECT_TRUE(x->UncheckedBitmap().IsEmpty());
  pics->SetEnabled(true);
  EXPECT_EQ(x->UncheckedBitmap().Width(), 16);
  pics->SetEnabled(false);
  EXPECT_TRUE(x->UncheckedBitmap().IsEmpty());
  // A "#" name must be a number.
  Desk.TakeLog();
  pics->SetCheckedBmpResource("#1x");
  EXPECT_EQ(Desk.TakeLog(), (std::vector<std::string>{"message '#1x' is not a valid resource name"}));

  // The owner destroyed by a timer during the opening animation: the popup returns quietly.
  TForm* doomed = ShowForm(Rect::FromXYWH(0, 0, 100, 30), bsNone, "frmDoomed");
  auto* menu = TComponent::Create<TAnimatedPopupMenu>(doomed);
  menu->Options().OpenAnimation = anUnfold;
  for (int i = 0; i < 12; ++i) menu->Items()->NewItem("mnu" + std::to_string(i), "A long caption to unfold " + std::to_string(i));
  auto timer = TComponent::Make<TTimer>(nullptr);
  timer->SetInterval(50);
  timer->SetOnTimer([&](TObject*) {
    timer->SetEnabled(false);
    App->DestroyComponent(doomed);
  });
  timer->SetEnabled(true);
  menu->Popup(10, 10);
  EXPECT_EQ(App->FindComponent("frmDoomed"), nullptr);
  EXPECT_EQ(Desk.InputGrabWindow(), nullptr);

  // A second popup during the animation (here from a timer) wins; the first returns.
  int popups = 0;
  Menu->OnPopup = [&](TObject*) { ++popups; };
  auto again = TComponent::Make<TTimer>(nullptr);
  again->SetInterval(30);
  again->SetOnTimer([&](TObject*) {
    again->SetEnabled(false);
    Menu->Popup(200, 100);
  });
  again->SetEnabled(true);
  Menu->Popup(100, 50);
  Settle();
  EXPECT_EQ(popups, 2);
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_EQ(Menu->MenuWindow()->Left(), 200);
  EXPECT_EQ(Menu->MenuWindow()->Width(), Menu->MenuWindow()->FullSize().cx);
}
