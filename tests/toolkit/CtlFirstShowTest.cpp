// A form built hidden measures its labels and menu bar only when first shown: it must then
// look exactly as the same form built while on the screen, where everything was measured at
// once, change by change.
#include "CtlFixture.h"

#include "toolkit/controls/TLabel.h"
#include "toolkit/menus/TMainMenu.h"
#include "toolkit/menus/TMenuBar.h"
#include "toolkit/menus/TMenuItem.h"

namespace {

// Labels set up through several changes each (font, caption, alignment, word wrap, a move; the
// last one put on the form only then), and a main menu whose bar is shown, hidden and shown
// again. Returns the menu.
TMainMenu* Build(TForm* f) {
  auto* menu = TComponent::Create<TMainMenu>(f);
  TMenuItem* file = menu->Items()->NewItem("File1", "&File");
  file->NewItem("Open1", "&Open");
  menu->Items()->NewItem("View1", "&View");
  file->SetVisible(false);
  file->SetVisible(true);
  const struct {
    const char* caption;
    int height;
    TAlignment align;
    bool wrap;
    Rect bounds;
  } labels[] = {
      {"Mouse at pixel:", -11, taLeftJustify, false, Rect::FromXYWH(4, 30, 20, 10)},
      {"right edge stays", -16, taRightJustify, false, Rect::FromXYWH(20, 50, 150, 10)},
      {"one two three four", -11, taLeftJustify, true, Rect::FromXYWH(4, 80, 50, 10)},
      {"&Accel", -9, taCenter, false, Rect::FromXYWH(120, 90, 5, 5)},
      {"put on the form last", -12, taLeftJustify, false, Rect::FromXYWH(10, 120, 180, 5)},
  };
  for (const auto& l : labels) {
    auto* label = TComponent::Create<TLabel>(f);
    if (&l == &labels[0]) label->SetName("lblFirst");
    const bool parentLast = &l == &labels[4];
    if (!parentLast) label->SetParent(f);
    label->SetBoundsRect(l.bounds);
    label->SetCaption("x");
    label->SetAlignment(l.align);
    label->Font().SetHeight(l.height);
    label->Font().SetStyle(gfx::fsBold);
    label->SetWordWrap(l.wrap);
    label->SetCaption(l.caption);
    label->SetLeft(label->Left() + 3);  // a move after the text is set
    if (parentLast) label->SetParent(f);
  }
  return menu;
}

}  // namespace

TEST_F(CtlTest, AFormBuiltHiddenShowsAsOneBuiltOnTheScreen) {
  const Rect shownBounds = Rect::FromXYWH(0, 0, 200, 150), hiddenBounds = Rect::FromXYWH(300, 0, 200, 150);
  TForm* shown = ShowForm(shownBounds, bsNone, "frmShown");
  TMainMenu* shownMenu = Build(shown);
  TForm* hidden = TComponent::Create<TForm>(App.get());
  hidden->SetName("frmHidden");
  hidden->SetBorderStyle(bsNone);
  hidden->SetBoundsRect(hiddenBounds);
  Build(hidden);
  EXPECT_FALSE(hidden->ShownOnce());
  hidden->Show();
  Settle();
  ASSERT_EQ(hidden->ComponentCount(), shown->ComponentCount());
  for (int i = 0; i < shown->ComponentCount(); ++i) {
    auto* a = dynamic_cast<TControl*>(shown->Components(i));
    auto* b = dynamic_cast<TControl*>(hidden->Components(i));
    ASSERT_EQ(a == nullptr, b == nullptr) << i;
    if (a) {
      EXPECT_EQ(a->BoundsRect(), b->BoundsRect()) << "control " << i;
    }
  }
  int differing = 0;
  for (int y = 0; y < shownBounds.Height(); ++y)
    for (int x = 0; x < shownBounds.Width(); ++x)
      if (Pixel(x, y) != Pixel(x + hiddenBounds.left, y) && ++differing <= 3) ADD_FAILURE() << "pixel " << x << ", " << y;
  EXPECT_EQ(differing, 0);
  // The bar was measured, and the first label grew from 20 pixels to its text.
  ASSERT_NE(shownMenu->Bar(), nullptr);
  EXPECT_TRUE(shownMenu->Bar()->Visible());
  EXPECT_GT(shownMenu->Bar()->Height(), 10);
  auto* first = dynamic_cast<TLabel*>(shown->FindComponent("lblFirst"));
  ASSERT_NE(first, nullptr);
  EXPECT_GT(first->Width(), 40);
}
