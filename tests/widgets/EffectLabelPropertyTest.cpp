// The effect label's properties: values after creation, styles and colour schemes with their
// side effects, the angle, bad values, and repainting only on change.
#include <functional>
#include <tuple>

#include "EffectLabelFixture.h"

TEST_F(EffectLabelTest, CreationValuesAndPropertyText) {
  auto l = TComponent::Make<TEffectLabel>(nullptr);
  EXPECT_EQ(l->Width(), 142);
  EXPECT_EQ(l->Height(), 33);
  EXPECT_FALSE(l->AutoSize());
  EXPECT_TRUE(l->Transparent());
  EXPECT_EQ(l->Font().Name(), "Times New Roman");
  EXPECT_EQ(l->Font().Size(), 20);
  EXPECT_EQ(l->Font().Color(), clGray);  // the face of csWindows
  EXPECT_EQ(l->GraduateFrom(), clWindowText);

  const std::pair<const char*, std::string> expected[] = {
      {"DepthHighlight", "1"},         {"DepthShadow", "1"},
      {"DirectionHighlight", "edUpLeft"}, {"DirectionShadow", "edDownRight"},
      {"ColourHighlight", "16777215"}, {"ColourShadow", "0"},
      {"GraduateFace", "goNone"},      {"GraduateFrom", std::to_string(clWindowText)},
      {"StyleHighlight", "eoNormal"},  {"StyleShadow", "eoNormal"},
      {"EffectStyle", "esRaised"},     {"ColourScheme", "csWindows"},
      {"AsButton", "false"},           {"Angle", "0"},
      {"KeepLettersVertical", "false"}, {"Transparent", "true"},
      {"AutoSize", "false"},           {"Alignment", "taLeftJustify"},
  };
  for (auto [name, value] : expected) EXPECT_EQ(l->GetPropText(name), value) << name;
  EXPECT_EQ(l->GetPropText("angle"), "0");  // names compare without case
  EXPECT_EQ(l->GetPropText("NoSuchProperty"), std::nullopt);

  l->SetGraduateFace(goHorizontal);
  l->SetStyleShadow(eoGraduated);
  l->SetStyleHighlight(eoReal);
  l->SetColourScheme(csSteel);
  l->SetDirectionShadow(edDownLeft);
  l->SetKeepLettersVertical(true);
  l->SetAngle(45);
  EXPECT_EQ(l->GetPropText("GraduateFace"), "goHorizontal");
  EXPECT_EQ(l->GetPropText("StyleShadow"), "eoGraduated");
  EXPECT_EQ(l->GetPropText("StyleHighlight"), "eoReal");
  EXPECT_EQ(l->GetPropText("ColourScheme"), "csSteel");
  EXPECT_EQ(l->GetPropText("EffectStyle"), "esCustom");
  EXPECT_EQ(l->GetPropText("DirectionShadow"), "edDownLeft");
  EXPECT_EQ(l->GetPropText("KeepLettersVertical"), "true");
  EXPECT_EQ(l->GetPropText("Angle"), "45");
  EXPECT_EQ(l->GetPropText("ColourShadow"), std::to_string(clNavy));
}

TEST_F(EffectLabelTest, StylesSetDepthsDirectionsColoursAndButtonMode) {
  struct Row {
    TEffectStyle Style;
    TEffectDirection HDir;
    int HDepth;
    TEffectDirection SDir;
    int SDepth;
  };
  const Row rows[] = {
      {esNone, edNone, 0, edNone, 0},           {esRaised, edUpLeft, 1, edDownRight, 1},
      {esSunken, edDownRight, 1, edUpLeft, 1},  {esShadow, edNone, 0, edDownRight, 2},
      {esFlying, edDownRight, 1, edDownRight, 5},
  };
  for (const Row& r : rows) {
    auto l = TComponent::Make<TEffectLabel>(nullptr);
    l->SetEffectStyle(esCustom);  // so that every row is a change
    l->SetDirectionHighlight(edUp);
    l->SetDepthHighlight(7);
    l->SetDirectionShadow(edLeft);
    l->SetDepthShadow(9);
    l->SetEffectStyle(r.Style);
    SCOPED_TRACE(*l->GetPropText("EffectStyle"));
    EXPECT_EQ(l->EffectStyle(), r.Style);
    EXPECT_EQ(l->DirectionHighlight(), r.HDir);
    EXPECT_EQ(l->DepthHighlight(), r.HDepth);
    EXPECT_EQ(l->DirectionShadow(), r.SDir);
    EXPECT_EQ(l->DepthShadow(), r.SDepth);
    EXPECT_EQ(l->ColourScheme(), csWindows);  // a style keeps the scheme
  }

  // esCustom keeps the layers; a depth or direction write makes the style custom.
  auto l = TComponent::Make<TEffectLabel>(nullptr);
  l->SetDepthShadow(4);
  EXPECT_EQ(l->EffectStyle(), esCustom);
  EXPECT_EQ(l->DepthHighlight(), 1);
  l->SetEffectStyle(esSunken);
  l->SetDirectionHighlight(edRight);
  EXPECT_EQ(l->EffectStyle(), esCustom);
  EXPECT_EQ(l->DepthShadow(), 1);

  // Flying takes the scheme's shadow colour for its highlight: navy for steel.
  l->SetColourScheme(csSteel);
  l->SetEffectStyle(esFlying);
  EXPECT_EQ(l->ColourHighlight(), clNavy);
  EXPECT_EQ(l->DepthShadow(), 5);
  EXPECT_EQ(l->ColourScheme(), csSteel);
  l->SetEffectStyle(esRaised);
  EXPECT_EQ(l->ColourHighlight(), clAqua);

  // AsButton raises the label; the flat styles end button mode, raised and sunken keep it.
  l->SetEffectStyle(esShadow);
  l->SetAsButton(true);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->SetEffectStyle(esSunken);
  EXPECT_TRUE(l->AsButton());
  for (TEffectStyle s : {esNone, esCustom, esShadow, esFlying}) {
    l->SetAsButton(true);
    l->SetEffectStyle(s);
    EXPECT_FALSE(l->AsButton()) << int(s);
  }
}

TEST_F(EffectLabelTest, SchemesSetColoursAndCustomFollowsTheLastChoice) {
  auto l = TComponent::Make<TEffectLabel>(nullptr);
  const std::tuple<TColourScheme, TColor, TColor, TColor> schemes[] = {
      {csText, clWhite, clGray, clBlack},     {csWindows, clWhite, clBlack, clGray},
      {csEmbossed, clWhite, clBlack, clSilver}, {csGold, clYellow, clBlack, clOlive},
      {csSteel, clAqua, clNavy, clTeal},
  };
  for (auto [scheme, hi, sh, face] : schemes) {
    l->SetColourScheme(csCustom);
    l->SetColourScheme(scheme);
    EXPECT_EQ(l->ColourScheme(), scheme);
    EXPECT_EQ(l->ColourHighlight(), hi);
    EXPECT_EQ(l->ColourShadow(), sh);
    EXPECT_EQ(l->Font().Color(), face);
    EXPECT_EQ(l->EffectStyle(), esRaised);  // a scheme keeps the style
    // The custom row now holds this scheme's colours.
    EXPECT_EQ(l->SchemeColours(csCustom), (TEffectLabel::TSchemeColours{hi, sh, face}));
  }

  // A direct colour write switches to csCustom and is remembered there.
  l->SetColourScheme(csEmbossed);
  l->SetColourHighlight(clRed);
  EXPECT_EQ(l->ColourScheme(), csCustom);
  EXPECT_EQ(l->SchemeColours(csCustom), (TEffectLabel::TSchemeColours{clRed, clBlack, clSilver}));
  l->SetColourScheme(csGold);
  EXPECT_EQ(l->ColourHighlight(), clYellow);
  EXPECT_EQ(l->SchemeColours(csCustom), TEffectLabel::DefaultSchemeColours(csGold));
  l->SetColourShadow(clBlue);
  EXPECT_EQ(l->ColourScheme(), csCustom);
  l->SetColourScheme(csText);
  l->SetColourScheme(csCustom);  // back to the text scheme's colours: the row was overwritten
  EXPECT_EQ(l->ColourShadow(), clGray);
  EXPECT_EQ(l->Font().Color(), clBlack);
  // The fixed rows never change.
  EXPECT_EQ(l->SchemeColours(csGold), TEffectLabel::DefaultSchemeColours(csGold));

  // A style write of the highlight colour does not make the scheme custom.
  l->SetColourScheme(csSteel);
  l->SetEffectStyle(esFlying);
  EXPECT_EQ(l->ColourScheme(), csSteel);
}

TEST_F(EffectLabelTest, AngleAlignmentAndBadValues) {
  auto l = TComponent::Make<TEffectLabel>(nullptr);
  l->SetAlignment(taCenter);
  l->SetAngle(90);
  EXPECT_EQ(l->Alignment(), taLeftJustify);
  l->SetAngle(0);
  EXPECT_EQ(l->Alignment(), taLeftJustify);
  l->SetAlignment(taRightJustify);
  l->SetAngle(0);  // no change: alignment stays
  EXPECT_EQ(l->Alignment(), taRightJustify);

  // Out of range: whole turns for the angle, clamping for depths, enumerations ignored.
  l->SetAngle(-90);
  EXPECT_EQ(l->Angle(), 270);
  l->SetAngle(720 + 45);
  EXPECT_EQ(l->Angle(), 45);
  l->SetAngle(360);
  EXPECT_EQ(l->Angle(), 360);
  l->SetDepthShadow(99);
  EXPECT_EQ(l->DepthShadow(), 10);
  l->SetDepthHighlight(-3);
  EXPECT_EQ(l->DepthHighlight(), 0);
  l->SetDirectionShadow(TEffectDirection(42));
  l->SetEffectStyle(TEffectStyle(-1));
  l->SetColourScheme(TColourScheme(17));
  l->SetStyleShadow(TEffectOption(9));
  l->SetGraduateFace(TGraduateOption(5));
  EXPECT_EQ(l->DirectionShadow(), edDownRight);
  EXPECT_EQ(l->EffectStyle(), esCustom);
  EXPECT_EQ(l->ColourScheme(), csWindows);
  EXPECT_EQ(l->StyleShadow(), eoNormal);
  EXPECT_EQ(l->GraduateFace(), goNone);
  EXPECT_EQ(TEffectLabel::DirectionOffset(TEffectDirection(99)), (Point{0, 0}));
  EXPECT_EQ(TEffectLabel::DirectionOffset(edUpRight), (Point{1, -1}));
  EXPECT_EQ(TEffectLabel::DirectionOffset(edDownLeft), (Point{-1, 1}));

  // Odd captions and sizes paint without trouble in every mode.
  for (int angle : {0, 33, 270}) {
    for (bool upright : {false, true}) {
      for (const std::string& caption : {std::string(), std::string(1000, 'W'), std::string("\t&\n\xC3\xA9\xFF")}) {
        auto p = MakeLabel(caption, 40, 30);
        p->SetAngle(angle);
        p->SetKeepLettersVertical(upright);
        p->SetTransparent(false);
        p->SetGraduateFace(goVertical);
        p->SetStyleShadow(eoReal);
        p->SetStyleHighlight(eoGraduated);
        p->SetDepthHighlight(10);
        gfx::Bitmap b = Render(*p, clWhite);
        EXPECT_EQ(b.Width(), 40);
        p->SetBounds(0, 0, 0, 0);
        gfx::Bitmap empty(1, 1, clWhite);
        p->PaintInto(empty);
        EXPECT_EQ(empty.At(0, 0), clWhite);
      }
    }
  }
}

TEST_F(EffectLabelTest, OnlyTheVisiblePartIsWorkedOn) {
  // Painted half outside its surface, a label gives the same pixels as painted whole; a label
  // of absurd size paints its visible part without building a picture of its own size.
  auto l = MakeLabel("Hg Hg", 60, 30);
  l->SetEffectStyle(esFlying);
  l->SetGraduateFace(goHorizontal);
  l->SetGraduateFrom(clRed);
  l->SetStyleShadow(eoReal);
  const gfx::Bitmap whole = Render(*l, 0x336699);
  gfx::Bitmap part(40, 20, 0x336699);
  l->PaintInto(part, -20, -10);
  EXPECT_EQ(Differences(part, whole.Copy(Rect{20, 10, 60, 30})), 0);

  l->SetBounds(0, 0, 1 << 30, 1 << 30);
  l->SetTransparent(false);
  l->SetColor(clWhite);
  gfx::Bitmap small(30, 30, clBlack);
  l->PaintInto(small, -5, -5);
  EXPECT_EQ(small.At(29, 29), clWhite);
  l->SetAngle(33);
  l->PaintInto(small, -5, -5);
}

TEST_F(EffectLabelTest, SettersRepaintOnlyOnChange) {
  TForm* f = ShowForm(Rect::FromXYWH(10, 10, 200, 100), clWhite);
  auto* l = TComponent::Create<TTestEffectLabel>(f);
  l->SetParent(f);
  l->SetBounds(5, 5, 150, 40);
  l->SetCaption("Ab");
  Settle();
  ASSERT_GT(l->Paints, 0);

  auto paintsAfter = [&](const std::function<void()>& change) {
    Settle();
    l->Paints = 0;
    change();
    Settle();
    return l->Paints;
  };
  // Each setter once with its current value (nothing), then with a new one (one repaint).
  EXPECT_EQ(paintsAfter([&] {
              l->SetDepthHighlight(1);
              l->SetDepthShadow(1);
              l->SetDirectionHighlight(edUpLeft);
              l->SetDirectionShadow(edDownRight);
              l->SetColourHighlight(clWhite);
              l->SetColourShadow(clBlack);
              l->SetGraduateFace(goNone);
              l->SetGraduateFrom(clWindowText);
              l->SetStyleHighlight(eoNormal);
              l->SetStyleShadow(eoNormal);
              l->SetEffectStyle(esRaised);
              l->SetColourScheme(csWindows);
              l->SetAsButton(false);
              l->SetAngle(0);
              l->SetKeepLettersVertical(false);
            }),
            0);
  const std::vector<std::function<void()>> changes = {
      [&] { l->SetDepthHighlight(3); },        [&] { l->SetDepthShadow(2); },
      [&] { l->SetDirectionHighlight(edUp); }, [&] { l->SetDirectionShadow(edDown); },
      [&] { l->SetColourHighlight(clRed); },   [&] { l->SetColourShadow(clBlue); },
      [&] { l->SetGraduateFace(goVertical); }, [&] { l->SetGraduateFrom(clLime); },
      [&] { l->SetStyleHighlight(eoReal); },   [&] { l->SetStyleShadow(eoExtrude); },
      [&] { l->SetEffectStyle(esSunken); },    [&] { l->SetColourScheme(csGold); },
      [&] { l->SetAsButton(true); },           [&] { l->SetAngle(270); },
      [&] { l->SetKeepLettersVertical(true); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) EXPECT_EQ(paintsAfter(changes[i]), 1) << "change " << i;

  // The gradient's start colour and the upright letters only show in some modes.
  l->SetGraduateFace(goNone);
  l->SetAngle(0);
  EXPECT_EQ(paintsAfter([&] { l->SetGraduateFrom(clFuchsia); }), 0);
  EXPECT_EQ(paintsAfter([&] { l->SetKeepLettersVertical(false); }), 0);
  EXPECT_EQ(l->GraduateFrom(), clFuchsia);
  EXPECT_FALSE(l->KeepLettersVertical());
}
