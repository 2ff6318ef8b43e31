// Gradient caption bar on a dialog-framed form: band edges and colours read off the screen,
// the parts that fit, and the form's text.
#include <array>

#include "../toolkit/CtlFixture.h"
#include "graphics/Canvas.h"
#include "widgets/TGradientCaption.h"

namespace {

// A dialog frame is 3 pixels and the bar 18 high from (3, 3); the close button's cell (18 + 2)
// comes off the right, so the title area of a form W wide runs from x = 3 to W - 23.
constexpr int kTitleLeft = 3, kBarRow = 3, kChrome = 26;

}  // namespace

class GradientTest : public CtlTest {
 protected:
  // A dialog form whose title area is TITLEWIDTH wide, with empty parts unless given.
  TGradientCaption* Make(int titleWidth) {
    FForm = ShowForm(Rect::FromXYWH(0, 0, titleWidth + kChrome, 80), bsDialog, "frmBar");
    auto* g = TComponent::Create<TGradientCaption>(FForm);
    FForm->SetFocus();
    Settle();
    return g;
  }
  TColor Title(int x) {
    Settle();
    return Pixel(kTitleLeft + x, kBarRow);
  }
  TForm* FForm = nullptr;
};

TEST_F(GradientTest, BandsLieWhereMulDivPutsThemInTheirColours) {
  struct Case {
    int width, n;
    TColor left, right;
    int band, x0, x1;  // band I covers title x0 .. x1 - 1
    TColor color;
  };
  // MulDiv rounds to nearest, halves away from zero (the About box's 325-pixel bar is checked
  // through the runner). Black to red over 100 pixels, 8 bands: edges 12.5 -> 13, 25, 37.5 ->
  // 38, ... 87.5 -> 88; red 255 * i / 7: band 1 36.43 -> 0x24, band 3 109.29 -> 0x6D. Red 0xFF
  // down to 0x80 in 3 bands: edges 33.3 -> 33 and 66.7 -> 67; band 1 0xFF - 63.5 -> 0xBF.
  const Case cases[] = {
      {100, 8, clBlack, clRed, 0, 0, 13, 0x000000},   {100, 8, clBlack, clRed, 1, 13, 25, 0x000024},
      {100, 8, clBlack, clRed, 3, 38, 50, 0x00006D},  {100, 8, clBlack, clRed, 7, 88, 100, 0x0000FF},
      {100, 3, 0x0000FF, 0x000080, 1, 33, 67, 0x0000BF}, {100, 3, 0x0000FF, 0x000080, 2, 67, 100, 0x000080},
      {200, 1, clOlive, clYellow, 0, 0, 200, clOlive},  // one band: the left colour alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " px, " << c.n << " bands, band " << c.band);
    TGradientCaption* g = Make(c.width);
    g->SetNumColors(c.n);
    g->SetColorLeftActive(c.left);
    g->SetColorRightActive(c.right);
    FForm->InvalidateFrame();
    EXPECT_EQ(Title(c.x0), c.color);
    EXPECT_EQ(Title(c.x1 - 1), c.color);
    if (c.x0 > 0) {
      EXPECT_NE(Title(c.x0 - 1), c.color);
    }
    if (c.x1 < c.width) {
      EXPECT_NE(Title(c.x1), c.color);
    }
    // Right of the title area, up to the close button, the bar keeps the right colour.
    EXPECT_EQ(Title(c.width), gfx::ColorToRGB(c.right));
    FForm->Release();
    Settle();
  }
}

TEST_F(GradientTest, TheBandCountStaysWithinOneTo256) {
  TGradientCaption* g = Make(100);
  EXPECT_EQ(g->NumColors(), 64);
  for (auto [value, stored] : {std::pair{300, 256}, {0, 256}, {-5, 256}, {1, 1}, {256, 256}}) {
    g->SetNumColors(value);
    EXPECT_EQ(g->NumColors(), stored) << value;
  }
}

TEST_F(GradientTest, NarrowBarsDropPartsFromTheLeft) {
  // Each part in its own colour on a plain bar, so its pixels tell whether it was drawn. A part
  // takes its text width + 3, measured here in the part's font.
  const TColor inks[3] = {clRed, clLime, clBlue};
  const char* texts[3] = {"Maker", "Vantrel", "version 1.2"};
  gfx::Bitmap scratch(10, 10);
  gfx::Canvas measure(scratch);
  gfx::Font font = TGradientCaption::SystemCaptionFont();
  font.Style |= gfx::fsItalic;
  measure.SelectFont(font);
  int w[3];
  for (int i = 0; i < 3; ++i) w[i] = measure.TextWidth(texts[i]) + 3;
  const std::pair<int, std::array<bool, 3>> cases[] = {{w[0] + w[1] + w[2], {true, true, true}},
                                                       {w[0] + w[1] + w[2] - 1, {false, true, true}},
                                                       {w[1] + w[2] - 1, {false, false, true}},
                                                       {w[2] / 2, {false, false, true}}};
  for (const auto& [width, shown] : cases) {
    SCOPED_TRACE(width);
    TGradientCaption* g = Make(width);
    g->SetEnabled(geNever);
    TCompanyText* parts[3] = {&g->CompanyText(), &g->AppNameText(), &g->CaptionText()};
    for (int i = 0; i < 3; ++i) {
      parts[i]->SetFontKind(fkSystemBI);
      parts[i]->SetColorActive(inks[i]);
      parts[i]->SetCaption(texts[i]);
    }
    FForm->InvalidateFrame();
    Settle();
    for (int i = 0; i < 3; ++i) {
      int found = 0;
      for (int y = 3; y < 21; ++y)
        for (int x = 0; x < FForm->Width(); ++x) found += Pixel(x, y) == inks[i];
      EXPECT_EQ(found > 0, shown[i]) << texts[i];
    }
    FForm->Release();
    Settle();
  }
}

TEST_F(GradientTest, TheFormsTextJoinsThePartsAndTheCaptionPartIsWhatFollowsThem) {
  TGradientCaption* g = Make(300);
  g->CompanyText().SetCaption("Maker");
  g->AppNameText().SetCaption("Vantrel");
  g->CaptionText().SetCaption("version 1.2");
  EXPECT_EQ(FForm->Caption(), "Maker Vantrel version 1.2");
  EXPECT_EQ(g->CaptionText().Caption(), "version 1.2");
  g->CompanyText().SetVisible(false);
  EXPECT_EQ(FForm->Caption(), "Vantrel version 1.2");
  g->CaptionText().SetVisible(false);
  EXPECT_EQ(FForm->Caption(), "Vantrel");
  g->CaptionText().SetVisible(true);
  FForm->SetCaption("Vantrel about");  // renamed by the program: the caption part follows
  EXPECT_EQ(g->CaptionText().Caption(), "about");
  FForm->DestroyComponent(g);  // gone, it leaves the bare caption part as the form's text
  EXPECT_EQ(FForm->Caption(), "about");
}
