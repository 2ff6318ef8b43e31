// The effect label's layers at angle 0: where each style puts its highlight and shadow copies,
// extruded and graduated stacks, the "real" darkening and lightening, the face gradient and the
// background.
#include <cmath>
#include <functional>
#include <set>

#include "EffectLabelFixture.h"

namespace {

constexpr TColor kBack = 0x336699;  // under the label: none of the scheme colours
constexpr TColor kGrey = 0x808080, kWhite = 0xFFFFFF, kBlack = 0x000000;

}  // namespace

TEST_F(EffectLabelTest, EachStyleShiftsItsLayersAsItsDirectionsAndDepthsSay) {
  struct Case {
    const char* Name;
    std::function<void(TEffectLabel&)> Setup;
    std::vector<Layer> Layers;  // shadow(s), highlight(s), face, in drawing order
    unsigned Align = gfx::DT_LEFT;
  };
  const Case cases[] = {
      {"none: plain text", [](TEffectLabel& l) { l.SetEffectStyle(esNone); }, {{0, 0, kGrey}}},
      {"raised", [](TEffectLabel&) {}, {{2, 2, kBlack}, {0, 0, kWhite}, {1, 1, kGrey}}},
      {"sunken", [](TEffectLabel& l) { l.SetEffectStyle(esSunken); }, {{0, 0, kBlack}, {2, 2, kWhite}, {1, 1, kGrey}}},
      {"shadow", [](TEffectLabel& l) { l.SetEffectStyle(esShadow); }, {{2, 2, kBlack}, {0, 0, kWhite}, {0, 0, kGrey}}},
      {"flying: highlight in the shadow colour",
       [](TEffectLabel& l) { l.SetEffectStyle(esFlying); },
       {{5, 5, kBlack}, {1, 1, kBlack}, {0, 0, kGrey}}},
      {"custom: up 3 and left 2",
       [](TEffectLabel& l) {
         l.SetDirectionShadow(edUp);
         l.SetDepthShadow(3);
         l.SetDirectionHighlight(edLeft);
         l.SetDepthHighlight(2);
       },
       {{3, 0, kBlack}, {1, 3, kWhite}, {3, 3, kGrey}}},
      {"custom: up-right and down-left",
       [](TEffectLabel& l) {
         l.SetDirectionShadow(edUpRight);
         l.SetDepthShadow(2);
         l.SetDirectionHighlight(edDownLeft);
         l.SetDepthHighlight(1);
       },
       {{4, 0, kBlack}, {1, 3, kWhite}, {2, 2, kGrey}}},
      {"extruded shadow: every depth, one colour",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esShadow);
         l.SetDepthShadow(3);
         l.SetStyleShadow(eoExtrude);
       },
       {{3, 3, kBlack}, {2, 2, kBlack}, {1, 1, kBlack}, {0, 0, kWhite}, {0, 0, kGrey}}},
      {"graduated shadow: shadow colour deepest, face colour nearest",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esShadow);
         l.SetDepthShadow(3);
         l.SetStyleShadow(eoGraduated);
       },
       {{3, 3, kBlack}, {2, 2, 0x404040}, {1, 1, kGrey}, {0, 0, kWhite}, {0, 0, kGrey}}},
      {"graduated shadow of depth 1 is one plain layer",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esShadow);
         l.SetDepthShadow(1);
         l.SetStyleShadow(eoGraduated);
       },
       {{1, 1, kBlack}, {0, 0, kWhite}, {0, 0, kGrey}}},
      {"graduated highlight upwards",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esNone);
         l.SetDirectionHighlight(edUp);
         l.SetDepthHighlight(4);
         l.SetStyleHighlight(eoGraduated);
       },
       // Every layer moves right as well as down by the deepest offset.
       {{4, 4, kBlack}, {4, 0, kWhite}, {4, 1, 0xD5D5D5}, {4, 2, 0xABABAB}, {4, 3, kGrey}, {4, 4, kGrey}}},
      {"raised, right-aligned",
       [](TEffectLabel& l) { l.SetAlignment(taRightJustify); },
       {{0, 2, kBlack}, {-2, 0, kWhite}, {-1, 1, kGrey}},
       gfx::DT_RIGHT},
      {"shadow, centred",
       [](TEffectLabel& l) {
         l.SetAlignment(taCenter);
         l.SetEffectStyle(esShadow);
       },
       {{1, 2, kBlack}, {-1, 0, kWhite}, {-1, 0, kGrey}},
       gfx::DT_CENTER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto l = MakeLabel("Hg&j", 70, 30);
    c.Setup(*l);
    const gfx::Bitmap got = Render(*l, kBack);
    const gfx::Bitmap want = Model(*l, kBack, c.Layers, c.Align);
    EXPECT_EQ(Differences(got, want), 0);
  }

  // Plain text with effects off is exactly what a plain label would draw.
  auto l = MakeLabel("Mouse at pixel:", 100, 12);
  l->SetEffectStyle(esNone);
  l->Font().SetColor(clBlack);
  gfx::Bitmap plain(100, 12, clWhite);
  gfx::Canvas c(plain);
  c.SelectFont(l->Font().Data());
  c.BkMode = gfx::BkMode::Transparent;
  Rect r{0, 0, 100, 12};
  c.DrawText("Mouse at pixel:", r, gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS);
  EXPECT_EQ(Differences(Render(*l, clWhite), plain), 0);
  EXPECT_EQ(InkBox(plain, clWhite).left, 0);
}

TEST_F(EffectLabelTest, RealLayersDarkenAndLightenWhatIsUnderThem) {
  // The shadow shape halves every channel; the highlight shape moves each half way to white.
  constexpr TColor kLabel = 0x204080;
  constexpr TColor kHalved = 0x102040, kLightened = 0x8F9FBF;
  auto l = MakeLabel("Hg", 40, 20);
  l->SetTransparent(false);
  l->SetColor(kLabel);
  l->SetEffectStyle(esShadow);
  l->SetStyleShadow(eoReal);
  EXPECT_EQ(Differences(Render(*l, kBack), Model(*l, kLabel, {{2, 2, kHalved}, {0, 0, kGrey}})), 0);

  l->SetEffectStyle(esNone);
  l->SetDirectionHighlight(edUpLeft);
  l->SetDepthHighlight(1);
  l->SetStyleHighlight(eoReal);
  EXPECT_EQ(Differences(Render(*l, kBack), Model(*l, kLabel, {{0, 0, kLightened}, {1, 1, kGrey}})), 0);

  // Both: where the two shapes overlap the darkened colour is lightened in turn.
  l->SetEffectStyle(esRaised);
  l->SetStyleShadow(eoReal);
  l->SetStyleHighlight(eoReal);
  gfx::Bitmap got = Render(*l, kBack);
  gfx::Bitmap shadowOnly = Model(*l, kLabel, {{2, 2, kHalved}});
  gfx::Bitmap highlightOnly = Model(*l, kLabel, {{0, 0, kLightened}});
  gfx::Bitmap face = Model(*l, kLabel, {{1, 1, kGrey}});
  int overlaps = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      if (face.At(x, y) != kLabel) {
        EXPECT_EQ(got.At(x, y), kGrey);
        continue;
      }
      const bool dark = shadowOnly.At(x, y) != kLabel, light = highlightOnly.At(x, y) != kLabel;
      const TColor want = dark && light ? 0x878F9F : dark ? kHalved : light ? kLightened : kLabel;
      overlaps += dark && light;
      EXPECT_EQ(got.At(x, y), want) << x << "," << y;
    }
  EXPECT_GT(overlaps, 0);

  // A transparent label darkens the picture under it.
  l->SetTransparent(true);
  l->SetEffectStyle(esShadow);
  EXPECT_EQ(Differences(Render(*l, 0xFEFEFE), Model(*l, 0xFEFEFE, {{2, 2, 0x7F7F7F}, {0, 0, kGrey}})), 0);
}

TEST_F(EffectLabelTest, FaceGradientRunsOverTheTextCell) {
  // From black to the face colour 0x909090: rows of the 10-pixel cell step by 0x90 / 9 = 16,
  // columns of the 12-pixel wide "HH" by 0x90 / 11.
  auto l = MakeLabel("HH", 40, 20);
  l->SetEffectStyle(esNone);
  l->Font().SetColor(0x909090);
  l->SetGraduateFrom(clBlack);
  l->SetGraduateFace(goVertical);
  const gfx::Bitmap plain = Model(*l, kBack, {{0, 0, kWhite}});
  gfx::Bitmap got = Render(*l, kBack);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      const int v = 16 * y;
      const TColor want = plain.At(x, y) == kBack ? kBack : TColor(v | v << 8 | v << 16);
      EXPECT_EQ(got.At(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(got.At(0, 1), 0x101010);  // the top of the first H
  EXPECT_EQ(got.At(0, 7), 0x707070);  // its foot

  l->SetGraduateFace(goHorizontal);
  got = Render(*l, kBack);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) {
      const int v = int(std::nearbyint(x * 144.0 / 11));
      const TColor want = plain.At(x, y) == kBack ? kBack : TColor(v | v << 8 | v << 16);
      EXPECT_EQ(got.At(x, y), want) << x << "," << y;
    }

  // The gradient follows the face when layers push it down and right; with raised layers the
  // face starts at (1, 1), the strip colour counting from there.
  l->SetEffectStyle(esRaised);
  l->SetGraduateFace(goVertical);
  got = Render(*l, kBack);
  const gfx::Bitmap face = Model(*l, kBack, {{1, 1, kWhite}});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if (face.At(x, y) != kBack) {
        EXPECT_EQ(got.At(x, y) & 0xFF, TColor(16 * (y - 1))) << x << "," << y;
      }

  // A turned caption gets its gradient too: colours change along the band, all within range.
  l->SetEffectStyle(esNone);
  l->SetBounds(0, 0, 40, 40);
  l->SetAngle(270);
  got = Render(*l, kBack);
  std::set<TColor> colours;
  for (Point p : Ink(got, kBack)) colours.insert(got.At(p.x, p.y));
  EXPECT_GT(colours.size(), 3u);
  for (TColor c : colours) EXPECT_LE(c & 0xFF, 0x90u);
}

TEST_F(EffectLabelTest, OpaqueLabelsFillTheirBackgroundTransparentOnesShowWhatIsUnder) {
  constexpr TColor kLabel = 0x00FFFF;
  auto l = MakeLabel("Mouse at pixel:", 120, 110);
  l->SetEffectStyle(esNone);
  EXPECT_EQ(Render(*l, kBack).At(110, 100), kBack);
  l->SetColor(kLabel);
  l->SetTransparent(false);
  gfx::Bitmap got = Render(*l, kBack);
  EXPECT_EQ(got.At(0, 0), kLabel);
  EXPECT_EQ(got.At(119, 109), kLabel);

  // Turned glyphs: the rectangle around the caption (2 pixels of margin) turned with it.
  // The 90 x 10 caption at 270 degrees has its centre at (54, 54).
  l->SetAngle(270);
  got = Render(*l, kBack);
  EXPECT_EQ(got.At(48, 9), kLabel);
  EXPECT_EQ(got.At(59, 99), kLabel);
  EXPECT_EQ(got.At(54, 54), kLabel);
  EXPECT_EQ(got.At(44, 54), kBack);
  EXPECT_EQ(got.At(64, 54), kBack);
  EXPECT_EQ(got.At(54, 4), kBack);
  EXPECT_EQ(got.At(54, 104), kBack);
  EXPECT_EQ(got.At(0, 0), kBack);

  // Upright letters: the letter boxes joined; here a column 10 wide from (8, 8).
  l->SetCaption("123");
  l->SetKeepLettersVertical(true);
  got = Render(*l, kBack);
  EXPECT_EQ(got.At(9, 9), kLabel);
  EXPECT_EQ(got.At(16, 40), kLabel);
  EXPECT_EQ(got.At(6, 20), kBack);
  EXPECT_EQ(got.At(20, 20), kBack);
  EXPECT_EQ(got.At(9, 44), kBack);

  // Upright letters at 45 degrees: a slanted band from bottom-left to top-right.
  l->SetAngle(45);
  got = Render(*l, kBack);
  const Rect box = InkBox(got, kBack);
  EXPECT_EQ(got.At(box.left, box.top), kBack);
  EXPECT_EQ(got.At(box.right - 1, box.bottom - 1), kBack);
  EXPECT_NE(got.At(box.left + 3, box.bottom - 3), kBack);
  EXPECT_NE(got.At(box.right - 3, box.top + 3), kBack);
}
