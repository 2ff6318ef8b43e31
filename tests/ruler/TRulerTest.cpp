// The ruler control on the virtual desktop: values at construction, the setter rule and its
// paints, painting through the toolkit, and rolling by mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ruler/RulerFixture.h"
#include "toolkit/core/PropText.h"

namespace {

std::string Num(double v) { return PropText::Double(v); }

}  // namespace

TEST_F(RulerTest, ValuesAtConstruction) {
  auto r = TComponent::Make<TRuler>(nullptr);
  // Every value at construction, as the scenario runner reads it.
  const std::vector<std::pair<const char*, const char*>> props{
      {"Caption", ""},           {"CaptionAlign", "caTopLeft"}, {"CaptionIndent1", "0"},
      {"CaptionIndent2", "0"},   {"Color", "65535"},            {"EnableRepaint", "true"},
      {"Font.Name", "Tahoma"},   {"Font.Height", "-9"},         {"FontRotation", "fr0"},
      {"NumberAlign", "naCenter"}, {"NumberIndent", "0"},       {"Orientation", "orHoriz"},
      {"RollEnabled", "false"},  {"RollLimits.MinValid", "false"}, {"RollLimits.Min", "0"},
      {"RollLimits.MaxValid", "false"}, {"RollLimits.Max", "100"}, {"StartValue", "0"},
      {"TickAlign", "taBottomRight"}, {"TickColor", "0"},       {"TickSizeBig", "45"},
      {"TickSizeMiddle", "35"},  {"TickSizeSmall", "15"},       {"UnitSize", "50"},
      {"UnitPrice", "1"},        {"UnitPrecision", "0"},        {"DrawFrame", "false"},
      {"FrameColor", "0"},       {"FrameWidth", "1"},           {"Rolling", "false"},
      {"LastRollPos", "0"},      {"Width", "200"},              {"Height", "16"},
      {"Align", "alNone"},       {"Enabled", "true"},           {"Hint", ""},
      {"ParentFont", "false"},
  };
  for (auto [name, want] : props) EXPECT_EQ(r->GetPropText(name), std::optional<std::string>(want)) << name;
  EXPECT_EQ(r->GetPropText("NoSuchProperty"), std::nullopt);
  EXPECT_EQ(r->GetPropText("RollLimits.Nothing"), std::nullopt);

  r->SetOrientation(orVert);
  r->SetCaptionAlign(caBottomRight);
  r->SetNumberAlign(naTopLeft);
  r->SetTickAlign(taTopLeft);
  r->SetFontRotation(fr270);
  r->SetStartValue(-1.25);
  EXPECT_EQ(r->GetPropText("Orientation"), "orVert");
  EXPECT_EQ(r->GetPropText("CaptionAlign"), "caBottomRight");
  EXPECT_EQ(r->GetPropText("NumberAlign"), "naTopLeft");
  EXPECT_EQ(r->GetPropText("TickAlign"), "taTopLeft");
  EXPECT_EQ(r->GetPropText("FontRotation"), "fr270");
  EXPECT_EQ(r->GetPropText("StartValue"), "-1.25");
  r->SetFontRotation(TFontRotation(9));  // an ordinal from nowhere prints as its number
  EXPECT_EQ(r->GetPropText("FontRotation"), "9");
}

TEST_F(RulerTest, SettersRepaintOnceAndOnlyForNewValues) {
  struct Setter {
    const char* Name;
    std::function<void()> Same, Different;
  };
  TRuler* r = Ruler;
  const std::vector<Setter> setters{
      {"Caption", [r] { r->SetCaption(r->Caption()); }, [r] { r->SetCaption(r->Caption() + "x"); }},
      {"CaptionAlign", [r] { r->SetCaptionAlign(r->CaptionAlign()); }, [r] { r->SetCaptionAlign(TCaptionAlign(1 - r->CaptionAlign())); }},
      {"CaptionIndent1", [r] { r->SetCaptionIndent1(r->CaptionIndent1()); }, [r] { r->SetCaptionIndent1(r->CaptionIndent1() + 1); }},
      {"CaptionIndent2", [r] { r->SetCaptionIndent2(r->CaptionIndent2()); }, [r] { r->SetCaptionIndent2(r->CaptionIndent2() + 1); }},
      {"Color", [r] { r->SetColor(r->Color()); }, [r] { r->SetColor(r->Color() ^ 0x10); }},
      {"FontRotation", [r] { r->SetFontRotation(r->FontRotation()); }, [r] { r->SetFontRotation(TFontRotation((r->FontRotation() + 1) % 4)); }},
      {"NumberAlign", [r] { r->SetNumberAlign(r->NumberAlign()); }, [r] { r->SetNumberAlign(TNumberAlign((r->NumberAlign() + 1) % 3)); }},
      {"NumberIndent", [r] { r->SetNumberIndent(r->NumberIndent()); }, [r] { r->SetNumberIndent(r->NumberIndent() + 1); }},
      {"Orientation", [r] { r->SetOrientation(r->Orientation()); }, [r] { r->SetOrientation(TOrientation(1 - r->Orientation())); }},
      {"StartValue", [r] { r->SetStartValue(r->StartValue()); }, [r] { r->SetStartValue(r->StartValue() + 0.05); }},
      {"TickAlign", [r] { r->SetTickAlign(r->TickAlign()); }, [r] { r->SetTickAlign(TTickAlign(1 - r->TickAlign())); }},
      {"TickSizeBig", [r] { r->SetTickSizeBig(r->TickSizeBig()); }, [r] { r->SetTickSizeBig(r->TickSizeBig() + 1); }},
      {"TickSizeMiddle", [r] { r->SetTickSizeMiddle(r->TickSizeMiddle()); }, [r] { r->SetTickSizeMiddle(r->TickSizeMiddle() + 1); }},
      {"TickSizeSmall", [r] { r->SetTickSizeSmall(r->TickSizeSmall()); }, [r] { r->SetTickSizeSmall(r->TickSizeSmall() + 1); }},
      {"UnitSize", [r] { r->SetUnitSize(r->UnitSize()); }, [r] { r->SetUnitSize(r->UnitSize() + 0.5); }},
      {"UnitPrice", [r] { r->SetUnitPrice(r->UnitPrice()); }, [r] { r->SetUnitPrice(r->UnitPrice() * 2); }},
      {"UnitPrecision", [r] { r->SetUnitPrecision(r->UnitPrecision()); }, [r] { r->SetUnitPrecision(r->UnitPrecision() + 1); }},
  };
  for (const Setter& s : setters) {
    SCOPED_TRACE(s.Name);
    const std::string before = *Ruler->GetPropText(s.Name);
    s.Same();
    EXPECT_EQ(PaintsAfterSettle(), 0);
    s.Different();
    EXPECT_NE(*Ruler->GetPropText(s.Name), before);
    EXPECT_EQ(PaintsAfterSettle(), 1);
  }
  // All of them in a row, as a dialog copying its settings does: one paint.
  for (const Setter& s : setters) s.Different();
  EXPECT_EQ(PaintsAfterSettle(), 1);
  // Floating values compare exactly.
  Ruler->SetStartValue(0.1 + 0.2);
  Settle();
  Ruler->SetStartValue(0.3);
  EXPECT_EQ(PaintsAfterSettle(), 1);

  // The font is copied and repaints without comparing.
  TFont font;
  font.SetData(Ruler->Font().Data());
  Ruler->SetFont(font);
  EXPECT_EQ(PaintsAfterSettle(), 1);
  font.SetName("Arial");
  font.SetHeight(-12);
  Ruler->SetFont(font);
  EXPECT_EQ(Ruler->Font().Name(), "Arial");
  EXPECT_EQ(Ruler->Font().Height(), -12);
  EXPECT_EQ(PaintsAfterSettle(), 1);
  font.SetName("Tahoma");
  EXPECT_EQ(Ruler->Font().Name(), "Arial");  // a copy, not a link

  // UnitPrecision -3 stores 0; -3 again differs from the stored 0, so it repaints again.
  Ruler->SetUnitPrecision(2);
  Settle();
  Ruler->SetUnitPrecision(-3);
  EXPECT_EQ(Ruler->UnitPrecision(), 0);
  EXPECT_EQ(PaintsAfterSettle(), 1);
  Ruler->SetUnitPrecision(-3);
  EXPECT_EQ(Ruler->UnitPrecision(), 0);
  EXPECT_EQ(PaintsAfterSettle(), 1);
  Ruler->SetUnitPrecision(0);
  EXPECT_EQ(PaintsAfterSettle(), 0);

  // Plain values repaint nothing.
  Ruler->SetTickColor(clRed);
  Ruler->SetRollEnabled(true);
  Ruler->SetEnableRepaint(true);
  Ruler->RollLimits().SetMin(-5);
  Ruler->DrawFrame = true;
  EXPECT_EQ(PaintsAfterSettle(), 0);
}

TEST_F(RulerTest, PaintsItsLookInsideItsBounds) {
  Ruler->SetColor(0x80FFFF);
  Ruler->SetUnitSize(20);
  Ruler->SetUnitPrice(20);
  Ruler->SetTickSizeBig(50);
  Ruler->SetTickSizeMiddle(40);
  Ruler->SetTickSizeSmall(25);
  Ruler->SetNumberIndent(4);
  Ruler->SetStartValue(-1.25);
  Ruler->SetCaption("Mouse at pixel: 12345678901234567890 and more than fits");
  Ruler->SetCaptionIndent1(100);
  Ruler->DrawFrame = true;
  Settle();
  EXPECT_EQ(OnScreen(), Expected());
  // Spot checks of the worked example: big tick at 25 (the zero), 20 pixels long from the
  // bottom; nothing beyond the ruler's bounds.
  EXPECT_EQ(Pixel(kLeft + 25, kTop + 40), 0u);
  EXPECT_EQ(Pixel(kLeft + 25, kTop + 21), 0u);
  EXPECT_EQ(Pixel(kLeft + 25, kTop + 20), 0x80FFFFu);
  for (int y = 0; y < 200; ++y) {
    EXPECT_EQ(Pixel(kLeft - 1, y), clWhite) << y;
    EXPECT_EQ(Pixel(kLeft + 300, y), clWhite) << y;
  }
  for (int x = 0; x < 400; ++x) EXPECT_EQ(Pixel(x, kTop + 41), clWhite) << x;

  // Vertical, rotated, ticks from the left: still exactly its look.
  Ruler->SetOrientation(orVert);
  Ruler->SetBounds(kLeft, kTop, 41, 180);
  Ruler->SetFontRotation(fr90);
  Ruler->SetTickAlign(taTopLeft);
  Ruler->SetNumberIndent(33);
  Settle();
  EXPECT_EQ(OnScreen(), Expected());

  // A UnitSize of zero or below paints only the background.
  for (double unit : {0.0, -20.0}) {
    Ruler->SetUnitSize(unit);
    Settle();
    gfx::Bitmap shown = OnScreen();
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x) ASSERT_EQ(shown.At(x, y), 0x80FFFFu) << x << "," << y;
  }
}

TEST_F(RulerTest, PlainValuesAndEnableRepaintKeepTheOldPicture) {
  Ruler->SetUnitSize(20);
  Settle();
  const gfx::Bitmap old = OnScreen();
  ASSERT_EQ(Pixel(kLeft + 20, kTop + 40), 0u);  // a black big tick

  // TickColor alone changes nothing on the screen until something repaints.
  Ruler->SetTickColor(clRed);
  Settle();
  EXPECT_EQ(OnScreen(), old);
  Ruler->Repaint();
  EXPECT_EQ(Pixel(kLeft + 20, kTop + 40), clRed);
  const gfx::Bitmap red = OnScreen();

  // With EnableRepaint false every setter stores but the old picture stays.
  Ruler->SetEnableRepaint(false);
  Ruler->SetStartValue(-0.5);
  Ruler->SetColor(clAqua);
  Ruler->SetCaption("x");
  Ruler->SetFont(TFont(gfx::Font{"Arial", -12}));
  Ruler->SetUnitPrecision(-1);
  Ruler->SetNumberIndent(3);
  EXPECT_EQ(PaintsAfterSettle(), 0);
  EXPECT_EQ(OnScreen(), red);
  EXPECT_EQ(Ruler->StartValue(), -0.5);
  EXPECT_EQ(Ruler->Color(), clAqua);
  EXPECT_EQ(Ruler->Font().Height(), -12);
  Ruler->Invalidate();
  Settle();
  EXPECT_EQ(OnScreen(), Expected());
  EXPECT_EQ(Pixel(kLeft + 10, kTop + 40), clRed);  // unit 0 now at pixel 10
}

namespace {

// Records the ruler's events as text, with the scale at the time of the event.
struct EventLog {
  std::vector<std::string> Lines;
  void Attach(TRuler* r) {
    r->OnMouseDown = [this, r](TObject* s, TMouseButton b, TShiftState, int x, int y) {
      EXPECT_EQ(s, r);
      Add("down", b, x, y, r);
    };
    r->OnMouseMove = [this, r](TObject* s, TShiftState, int x, int y) {
      EXPECT_EQ(s, r);
      Add("move", -1, x, y, r);
    };
    r->OnMouseUp = [this, r](TObject* s, TMouseButton b, TShiftState, int x, int y) {
      EXPECT_EQ(s, r);
      Add("up", b, x, y, r);
    };
    r->OnClick = [this, r](TObject* s) {
      EXPECT_EQ(s, r);
      Lines.push_back("click S=" + Num(r->StartValue()));
    };
  }
  void Add(const char* what, int button, int x, int y, TRuler* r) {
    std::ostringstream o;
    o << what;
    if (button >= 0) o << " b" << button;
    o << " " << x << "," << y << " S=" << Num(r->StartValue());
    Lines.push_back(o.str());
  }
  std::vector<std::string> Take() { return std::exchange(Lines, {}); }
};

}  // namespace

TEST_F(RulerTest, RollingFollowsThePointer) {
  Ruler->SetUnitSize(20);
  Ruler->SetUnitPrice(20);
  Ruler->SetRollEnabled(true);
  EventLog log;
  log.Attach(Ruler);
  MoveTo(100, 20);
  Settle();
  // The default tick sizes on 41 pixels: big 18, small 6.
  ASSERT_EQ(Pixel(kLeft + 0, kTop + 30), 0u);  // the zero's big tick at pixel 0
  log.Take();
  const gfx::Bitmap rolledFrom = OnScreen();

  // Press at 100, move to 140: StartValue -2, the number 0 moves to pixel 40. Every rolling
  // move is seen twice, first with the old scale.
  Press();
  EXPECT_TRUE(Ruler->Rolling);
  EXPECT_EQ(Ruler->LastRollPos, 100);
  MoveTo(140, 20);
  EXPECT_EQ(Ruler->StartValue(), -2.0);
  EXPECT_EQ(Ruler->LastRollPos, 140);
  EXPECT_EQ(Pixel(kLeft + 40, kTop + 23), 0u);
  EXPECT_EQ(Pixel(kLeft + 40, kTop + 22), Ruler->Color());
  EXPECT_EQ(OnScreen(), Expected());  // repainted with the new scale
  EXPECT_NE(OnScreen(), rolledFrom);
  // A move only across the ruler: two events, nothing changes, nothing repaints.
  const int paints = Ruler->Paints;
  MoveTo(140, 30);
  EXPECT_EQ(Ruler->Paints, paints);
  Release();
  EXPECT_FALSE(Ruler->Rolling);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{
                            "down b0 100,20 S=0",
                            "move 140,20 S=0",
                            "move 140,20 S=-2",
                            "move 140,30 S=-2",
                            "move 140,30 S=-2",
                            "up b0 140,30 S=-2",
                            "click S=-2",
                        }));

  // A drag of 7 pixels changes the scale by 0.35; several moves before a paint cost one.
  Ruler->SetStartValue(0);
  MoveTo(50, 5);
  Press();
  const int before = Ruler->Paints;
  Ruler->Perform(WM_MOUSEMOVE, ssLeft, PointToLParam({53, 5}));
  Ruler->Perform(WM_MOUSEMOVE, ssLeft, PointToLParam({57, 5}));
  Settle();
  EXPECT_EQ(Ruler->StartValue(), double(double(0.0L - 3.0L / 20) - 4.0L / 20));
  EXPECT_NEAR(Ruler->StartValue(), -0.35, 1e-15);
  EXPECT_EQ(Ruler->Paints - before, 1);
  // The pointer leaving the control keeps the roll going (the press captured the mouse).
  MoveTo(-5, 90);
  EXPECT_EQ(Ruler->LastRollPos, -5);
  EXPECT_NEAR(Ruler->StartValue(), 2.75, 1e-12);
  Release();
  log.Take();

  // Any button starts a roll.
  Ruler->SetStartValue(0);
  MoveTo(100, 5);
  Press(plat::MouseButton::Right);
  EXPECT_TRUE(Ruler->Rolling);
  MoveTo(80, 5);
  Release(plat::MouseButton::Right);
  EXPECT_EQ(Ruler->StartValue(), 1.0);
  EXPECT_EQ(log.Take().back(), "click S=1");
}

TEST_F(RulerTest, RollLimitsAndVerticalRulers) {
  Ruler->SetUnitSize(20);
  Ruler->SetRollEnabled(true);
  Ruler->RollLimits().SetMinValid(true);
  Ruler->RollLimits().SetMin(-1.0);

  // The scale stops at Min; LastRollPos keeps following, so moving back leaves the limit at once.
  MoveTo(100, 5);
  Press();
  MoveTo(140, 5);
  EXPECT_EQ(Ruler->StartValue(), -1.0);
  MoveTo(130, 5);
  EXPECT_EQ(Ruler->StartValue(), -0.5);
  Release();

  // Min above Max: Max wins.
  Ruler->RollLimits().SetMin(5.0);
  Ruler->RollLimits().SetMaxValid(true);
  Ruler->RollLimits().SetMax(2.0);
  Ruler->SetStartValue(0);
  MoveTo(100, 5);
  Press();
  MoveTo(120, 5);
  EXPECT_EQ(Ruler->StartValue(), 2.0);
  // At the limit nothing changes and nothing repaints.
  const int paints = Ruler->Paints;
  MoveTo(110, 5);
  EXPECT_EQ(Ruler->StartValue(), 2.0);
  EXPECT_EQ(Ruler->Paints, paints);
  Release();

  // A vertical ruler rolls with Y and ignores X.
  Ruler->RollLimits().SetMinValid(false);
  Ruler->RollLimits().SetMaxValid(false);
  Ruler->SetOrientation(orVert);
  Ruler->SetBounds(kLeft, kTop, 41, 180);
  Ruler->SetStartValue(0);
  MoveTo(20, 100);
  Press();
  EXPECT_EQ(Ruler->LastRollPos, 100);
  MoveTo(5, 100);
  EXPECT_EQ(Ruler->StartValue(), 0.0);
  MoveTo(5, 140);
  EXPECT_EQ(Ruler->StartValue(), -2.0);
  Release();
  Settle();
  EXPECT_EQ(Pixel(kLeft + 40, kTop + 40), 0u);  // the zero's big tick now on row 40
}

TEST_F(RulerTest, NoRollWithoutRollEnabledOrUsableUnit) {
  Ruler->SetUnitSize(20);
  EventLog log;
  log.Attach(Ruler);
  MoveTo(100, 5);
  log.Take();
  Press();
  EXPECT_FALSE(Ruler->Rolling);
  EXPECT_EQ(Ruler->LastRollPos, 100);  // updated on every press
  MoveTo(140, 5);
  Release();
  EXPECT_EQ(Ruler->StartValue(), 0.0);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"down b0 100,5 S=0", "move 140,5 S=0", "up b0 140,5 S=0"}));

  // RollEnabled changed during a drag does not affect that drag.
  Ruler->SetRollEnabled(true);
  Press();
  Ruler->SetRollEnabled(false);
  MoveTo(160, 5);
  EXPECT_EQ(Ruler->StartValue(), -1.0);
  Release();
  EXPECT_FALSE(Ruler->Rolling);
  log.Take();

  // A UnitSize of zero or below: the roll runs (events twice, LastRollPos follows) but the
  // scale stays and nothing repaints.
  Ruler->SetRollEnabled(true);
  for (double unit : {0.0, -20.0}) {
    Ruler->SetUnitSize(unit);
    Ruler->SetStartValue(0.5);
    Settle();
    const int paints = Ruler->Paints;
    Press();
    MoveTo(120, 5);
    EXPECT_EQ(Ruler->LastRollPos, 120);
    EXPECT_EQ(Ruler->StartValue(), 0.5);
    EXPECT_EQ(Ruler->Paints, paints);
    Release();
    auto lines = log.Take();
    auto down = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.rfind("down", 0) == 0; });
    EXPECT_EQ(std::count_if(down, lines.end(), [](auto& l) { return l.rfind("move", 0) == 0; }), 2)
        << testing::PrintToString(lines);
    MoveTo(160, 5);
  }

  // Rolling repaints even when EnableRepaint is false.
  Ruler->SetUnitSize(20);
  Ruler->SetStartValue(0);
  Ruler->SetEnableRepaint(false);
  MoveTo(100, 5);
  const int paints = Ruler->Paints;
  Press();
  MoveTo(140, 5);
  Release();
  EXPECT_EQ(Ruler->StartValue(), -2.0);
  EXPECT_EQ(Ruler->Paints, paints + 1);
}
