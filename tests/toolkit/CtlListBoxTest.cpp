// The list box: selection by mouse and keys, scrolling, and its look.
#include "CtlFixture.h"
#include "toolkit/controls/TListBox.h"

using namespace plat;

TEST_F(CtlTest, ListBoxSelectsScrollsAndPaints) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 200));
  // Built-in face: 10-pixel lines; 2-pixel sunken edge; 54 pixels high shows 5 lines.
  auto* list = Add<TListBox>(f, Rect::FromXYWH(10, 10, 100, 54), "lstFiles");
  std::vector<std::string> items;
  for (int i = 0; i < 20; ++i) items.push_back("item" + std::to_string(i));
  list->SetItems(items);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list->ItemHeight(), 10);
  EXPECT_EQ(list->VisibleCount(), 5);
  EXPECT_EQ(list->ItemIndex(), -1);

  ClickAt(20, 10 + 2 + 25);  // the third line
  Settle();
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(list->Focused());
  ClickAt(20, 10 + 2 + 25);  // the same line again: no change
  ClickAt(20, 10 + 52);      // below the border: nothing
  Settle();
  EXPECT_EQ(changes, 1);

  // Keys move the selection and scroll it into view.
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Settle();
  EXPECT_EQ(list->ItemIndex(), 5);
  EXPECT_EQ(list->TopIndex(), 1);
  Key(VK_END);
  Settle();
  EXPECT_EQ(list->ItemIndex(), 19);
  EXPECT_EQ(list->TopIndex(), 15);
  Key(VK_PRIOR);
  Settle();
  EXPECT_EQ(list->ItemIndex(), 15);
  Key(VK_HOME);
  Key(VK_UP);  // stays at the first line
  Settle();
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(list->GetPropText("Selected"), "item0");

  // The wheel scrolls three lines a notch without moving the selection.
  Desk.InjectMouseMove(30, 30);
  Desk.InjectWheel(-120);
  Settle();
  EXPECT_EQ(list->TopIndex(), 3);
  EXPECT_EQ(list->ItemIndex(), 0);
  list->SetTopIndex(100);
  EXPECT_EQ(list->TopIndex(), 15);

  // Look: sunken edge, window colour, the selected line in the highlight colour.
  list->SetTopIndex(0);
  list->SetItemIndex(1);
  Settle();
  EXPECT_EQ(Pixel(10, 10), kShadow);
  EXPECT_EQ(Pixel(11, 11), 0x000000u);
  EXPECT_EQ(Pixel(109, 63), kHighlight);
  EXPECT_EQ(Pixel(100, 14), 0xFFFFFFu);
  EXPECT_EQ(Pixel(100, 24), 0x800000u);
  // Bad indexes clear the selection; an empty list is harmless.
  list->SetItemIndex(99);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Clear();
  Key(VK_DOWN);
  ClickAt(20, 20);
  Settle();
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->GetPropText("Count"), "0");
}
