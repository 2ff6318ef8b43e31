// Link label: its colours and underline at rest, hovered and pressed, the hand cursor, and
// what one click opens.
#include "../toolkit/CtlFixture.h"
#include "widgets/TLinkLabel.h"

TEST_F(CtlTest, LinkLabelColoursFollowHoverAndPressAndAClickOpensTheAddressOnce) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 100));
  f->SetColor(clWhite);
  auto* link = Add<TLinkLabel>(f, Rect::FromXYWH(20, 20, 120, 15), "LinkLabel1");
  link->SetCaption("vantrel.org");
  // The hand cursor is the program's own image, registered under 25; blue and underlined.
  EXPECT_EQ(link->Cursor(), 25);
  EXPECT_TRUE(Screen->Cursors(25).IsCustom);
  EXPECT_EQ(link->Font().Color(), clBlue);
  int clicks = 0;
  link->OnClick = [&](TObject*) { clicks += Desk.Log().empty() ? 1 : 100; };  // before the opening
  link->SetLinkColStd(clBlack);
  link->SetLinkColPre(clNavy);
  const int under = gfx::fsUnderline;
  // The state after a step: font colour and style, and whether the label shows in that colour.
  auto state = [&](TColor color, int style) {
    Settle();
    int ink = 0;
    for (int y = 20; y < 35; ++y)
      for (int x = 20; x < 140; ++x) ink += Pixel(x, y) == color;
    return link->Font().Color() == color && link->Font().Style() == style && ink > 0;
  };
  EXPECT_TRUE(state(clBlack, under));
  // Without the hover effect, passing over changes nothing; a press shows the pressed colour
  // until the release, which clicks.
  Desk.InjectMouseMove(30, 25);
  EXPECT_TRUE(state(clBlack, under));
  Desk.InjectButtonDown();
  EXPECT_TRUE(state(clNavy, under));
  Desk.InjectButtonUp();
  EXPECT_TRUE(state(clBlack, under));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Desk.TakeLog(), std::vector<std::string>{"open http://vantrel.org"});
  // With it: plain at rest, pressed colour and underlined while the mouse is over it.
  link->SetHoverEffect(true);
  Desk.InjectMouseMove(200, 80);
  EXPECT_TRUE(state(clBlack, 0));
  Desk.InjectMouseMove(30, 25);
  EXPECT_TRUE(state(clNavy, under));
  // Released away from it: the colour returns, nothing opens.
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(200, 80);
  Desk.InjectButtonUp();
  EXPECT_TRUE(state(clBlack, 0));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Desk.TakeLog().empty());
  link->OnClick = nullptr;
}

TEST(LinkLabel, AddressesAreTheSchemesPrefixAndTheCaption) {
  struct Case {
    TLabelType type;
    const char* caption;
    const char* address;
  };
  const Case cases[] = {
      {hmHTTP, "vantrel.org", "http://vantrel.org"},
      {hmFTP, "ftp.example.org/pub", "ftp://ftp.example.org/pub"},
      {hmMAIL, "ruler@example.org", "mailto:ruler@example.org"},  // no separator
      // A caption that names its scheme is opened as it is, not behind a second one.
      {hmHTTP, "https://vantrel.org", "https://vantrel.org"},
      {hmMAIL, "mailto:a@b.c", "mailto:a@b.c"},
      // The old Windows spelling of the separator becomes the one desktops understand.
      {hmHTTP, "http:\\\\vantrel.org", "http://vantrel.org"},
      {hmHTTP, "  vantrel.org \r\n", "http://vantrel.org"},
      // Nothing to open: nothing is asked of the desktop.
      {hmHTTP, "", ""},
      {hmHTTP, "   ", ""},
      // Never taken for an option of the opener.
      {hmHTTP, "-x", "http://-x"},
  };
  for (const Case& c : cases) EXPECT_EQ(TLinkLabel::Address(c.type, c.caption), c.address) << c.caption;
}
