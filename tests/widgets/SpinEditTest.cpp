// Spin edit: reading and writing numbers, clamping with beeps, stepping by keys and by the
// buttons on the virtual clock, the layout in the field and the border round the buttons.
#include <algorithm>
#include <climits>

#include "../toolkit/CtlFixture.h"
#include "toolkit/controls/TEdit.h"
#include "widgets/TSpinEdit.h"

namespace {

int Beeps(plat::VirtualDesktop& desk) {
  const auto log = desk.TakeLog();
  return int(std::count(log.begin(), log.end(), std::string("beep")));
}

}  // namespace

TEST(NumEditText, PlainDecimalNumbersOnlyAndTheFormats) {
  struct Case {
    std::string Text;
    std::optional<double> Want;
  };
  const Case cases[] = {{"25", 25},       {" 13.5 ", 13.5}, {"-1.5e2", -150}, {"+.5", 0.5}, {"7.", 7},
                        {".", {}},        {"nan", {}},      {"inf", {}},      {"-INF", {}}, {"0x10", {}},
                        {"1e999", {}},    {"12abc", {}},    {"", {}},         {"1e", {}},   {"--1", {}},
                        {std::string(70, '1'), {}}};
  for (const Case& c : cases) EXPECT_EQ(TNumEdit::ParseNumber(c.Text), c.Want) << c.Text;

  struct Shown {
    double Value;
    TFloatFormat Format;
    int Digits;
    const char* Want;
  };
  const Shown shown[] = {{25.0, ffGeneral, 0, "25"},
                         {13.5, ffGeneral, 0, "13.5"},
                         {0.1 + 0.2, ffGeneral, 0, "0.3"},  // 15 significant digits
                         {1e20, ffGeneral, 0, "1E20"},
                         {-0.00001, ffGeneral, 0, "-1E-5"},
                         {1234.5, ffFixed, 2, "1234.50"},
                         {-0.001, ffFixed, 0, "0"},
                         {1234567.891, ffNumber, 2, "1,234,567.89"},
                         {-1.5, ffCurrency, 2, "-$1.50"},
                         {1500, ffExponent, 3, "1.50000000000000E+003"}};
  for (const Shown& s : shown) EXPECT_EQ(TNumEdit::FormatFloat(s.Value, s.Format, s.Digits), s.Want) << s.Want;
}

TEST_F(CtlTest, SpinEditClampsWithABeepAndRewritesWhatItCannotRead) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* txtTickSmall = Add<TSpinEdit>(f, Rect::FromXYWH(10, 10, 49, 21));
  auto* other = Add<TEdit>(f, Rect::FromXYWH(100, 10, 60, 21));
  EXPECT_EQ(txtTickSmall->Text(), "0");
  txtTickSmall->SetMinValue(10);
  txtTickSmall->SetMaxValue(30);
  int changes = 0;
  txtTickSmall->OnChange = [&](TObject*) { ++changes; };
  txtTickSmall->SetValue(25);
  txtTickSmall->SetFocus();
  Key(plat::VK_UP);
  Settle();
  EXPECT_EQ(txtTickSmall->Text(), "26");
  EXPECT_EQ(changes, 2);
  Key(plat::VK_DOWN);
  Key(plat::VK_DOWN);
  Settle();
  EXPECT_EQ(txtTickSmall->Text(), "24");
  EXPECT_EQ(Beeps(Desk), 0);
  txtTickSmall->SetValue(40);
  EXPECT_EQ(txtTickSmall->Text(), "30");
  EXPECT_EQ(Beeps(Desk), 1);
  Key(plat::VK_UP);  // at the top already: clamped back, with a beep
  Settle();
  EXPECT_EQ(txtTickSmall->Text(), "30");
  EXPECT_EQ(Beeps(Desk), 1);

  // Typed out of range: read as it is, and clamped when the field is left (two beeps).
  txtTickSmall->SetText("99");
  EXPECT_EQ(txtTickSmall->Value(), 99);
  other->SetFocus();
  EXPECT_EQ(txtTickSmall->Text(), "30");
  EXPECT_EQ(Beeps(Desk), 2);
  // Letters read as the minimum; leaving writes it back (with a beep).
  txtTickSmall->SetText("abc");
  EXPECT_EQ(txtTickSmall->Value(), 10);
  txtTickSmall->SetFocus();
  other->SetFocus();
  EXPECT_EQ(txtTickSmall->Text(), "10");
  EXPECT_EQ(Beeps(Desk), 1);
  // A readable number in range only gets its usual form.
  txtTickSmall->SetText(" 12.0");
  txtTickSmall->SetFocus();
  other->SetFocus();
  EXPECT_EQ(txtTickSmall->Text(), "12");
  EXPECT_EQ(Beeps(Desk), 0);

  // Without a range nothing is clamped; rounding is to even and saturates.
  txtTickSmall->SetMaxValue(0);
  txtTickSmall->SetMinValue(0);
  txtTickSmall->SetValue(-5000.5);
  EXPECT_EQ(txtTickSmall->Text(), "-5000.5");
  EXPECT_EQ(txtTickSmall->RoundedValue(), -5000);
  txtTickSmall->SetText("1e300");
  EXPECT_EQ(txtTickSmall->RoundedValue(), INT_MAX);
  txtTickSmall->SetText("-1e300");
  EXPECT_EQ(txtTickSmall->RoundedValue(), INT_MIN);
  EXPECT_EQ(Beeps(Desk), 0);
  // Read-only: stepping beeps and changes nothing.
  txtTickSmall->SetValue(3);
  txtTickSmall->SetReadOnly(true);
  txtTickSmall->StepUp();
  EXPECT_EQ(txtTickSmall->Text(), "3");
  EXPECT_EQ(Beeps(Desk), 1);
}

TEST_F(CtlTest, SpinButtonsStepOnReleaseAndRepeatWhileHeld) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* spin = Add<TSpinEdit>(f, Rect::FromXYWH(10, 10, 49, 21));
  // The layout in a 49 x 21 field with 15-pixel buttons: buttons at x = 29 inside the
  // 3-pixel border (32 in the field), 15 x 16, the up one on top taking 8 rows; the
  // separator 2 pixels left of them; text up to one pixel before the separator.
  ASSERT_EQ(spin->Buttons()->BoundsRect(), Rect::FromXYWH(32, 3, 15, 16));
  EXPECT_EQ(spin->UpButton()->BoundsRect(), Rect::FromXYWH(0, 0, 15, 8));
  EXPECT_EQ(spin->DownButton()->BoundsRect(), Rect::FromXYWH(0, 8, 15, 8));
  EXPECT_EQ(spin->TextRect().right, 29);
  // The arrows point away from each other: the up one is widest at its base.
  const gfx::Bitmap upArrow = TSpinButtons::DefaultGlyph(true), downArrow = TSpinButtons::DefaultGlyph(false);
  EXPECT_EQ(upArrow.At(1, 2), clBlack);
  EXPECT_NE(upArrow.At(1, 0), clBlack);
  EXPECT_EQ(downArrow.At(1, 0), clBlack);
  EXPECT_NE(downArrow.At(1, 2), clBlack);
  spin->SetValue(50);
  const Point down{10 + 32 + 7, 10 + 3 + 11};
  const Point up{10 + 32 + 7, 10 + 3 + 3};

  // A quick click steps once, on the release, and focuses the field.
  Desk.InjectMouseMove(down);
  Desk.InjectButtonDown();
  Settle();
  EXPECT_EQ(spin->Text(), "50");
  EXPECT_TRUE(spin->Focused());
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(spin->Text(), "49");

  // Held for half a second: a step every 100 ms after the first 100 ms, one more on release.
  Desk.InjectMouseMove(up);
  Desk.InjectButtonDown();
  Settle();
  Desk.AdvanceClock(99);
  EXPECT_EQ(spin->Text(), "49");
  Desk.AdvanceClock(401);
  EXPECT_EQ(spin->Text(), "54");
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(spin->Text(), "55");

  // Released away from the button: the repeats stop and there is no final step.
  Desk.InjectButtonDown();
  Settle();
  Desk.AdvanceClock(250);
  EXPECT_EQ(spin->Text(), "57");
  Desk.InjectMouseMove(150, 80);
  Desk.AdvanceClock(300);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(spin->Text(), "57");
}

TEST_F(CtlTest, SpinBorderRoundTheButtonsTurnsHotWithTheField) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* spin = Add<TSpinEdit>(f, Rect::FromXYWH(10, 10, 49, 21));
  Add<TEdit>(f, Rect::FromXYWH(100, 10, 60, 21))->SetFocus();
  Settle();
  // The border's rectangle is (30, 2)-(47, 19) in the field. Cold: a highlight frame and
  // left edge, so the column right of the buttons and the row below them are white.
  EXPECT_EQ(spin->SpinBorderRect(), (Rect{30, 2, 47, 19}));
  auto at = [&](int x, int y) { return Pixel(10 + x, 10 + y); };
  EXPECT_EQ(at(46, 10), kHighlight);
  EXPECT_EQ(at(40, 18), kHighlight);
  EXPECT_EQ(at(38, 2), kHighlight);
  // Hot (focused): a face frame, then a raised inner edge: white top, grey right and bottom.
  spin->SetFocus();
  Settle();
  EXPECT_EQ(at(30, 2), kFace);
  EXPECT_EQ(at(38, 2), kHighlight);
  EXPECT_EQ(at(46, 10), kShadow);
  EXPECT_EQ(at(40, 18), kShadow);
  // The buttons stay inside the field's 3-pixel border; the separator is white.
  EXPECT_EQ(at(45, 10), kFace);
  EXPECT_EQ(at(30, 10), kHighlight);
  EXPECT_EQ(at(31, 10), kHighlight);
}
