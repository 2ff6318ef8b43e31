#include "properties/CopyFormats.h"

#include <gtest/gtest.h>

TEST(CopyFormats, ReadingsAndColoursInEveryFormat) {
  using R = TReadingFormat;
  using C = TColourFormat;
  const TCopiedReading along{"137", std::nullopt, "px", false};
  const TCopiedReading down{"36.2", std::nullopt, "mm", true};
  const TCopiedReading size{"137", "41", "px", false};
  struct Case { R Format; const char* Template; TCopiedReading Reading; const char* Expected; };
  const Case readings[] = {
      {R::Number, "", along, "137"},
      {R::Number, "", size, "137 x 41"},
      {R::WithUnit, "", down, "36.2 mm"},
      {R::WithUnit, "", size, "137 x 41 px"},
      {R::Css, "", size, "width: 137px; height: 41px;"},
      {R::Css, "", along, "width: 137px;"},
      {R::Css, "", down, "height: 36.2mm;"},
      {R::Template, "{width}/{height} {unit}", size, "137/41 px"},
      {R::Template, "w={width} h={height}", down, "w= h=36.2"},
      {R::Template, "{value} {{x}} {unit", along, "137 {{x}} {unit"},  // unknown braces stay
  };
  for (const Case& c : readings) {
    TCopyFormats f;
    f.Reading = c.Format;
    f.ReadingTemplate = c.Template;
    EXPECT_EQ(FormatReading(f, c.Reading), c.Expected) << c.Template;
  }
  // #336699: channels 0.2, 0.4, 0.6; lightness (0.6 + 0.2) / 2 = 40 %, saturation
  // 0.4 / (1 - |0.8 - 1|) = 50 %, blue largest: hue 60 x ((0.2 - 0.4) / 0.4 + 4) = 210.
  // #FF8000: hue 60 x (0.5 / 1) = 30 (30.1 rounds to 30), 100 %, 50 %. Grey has no hue.
  struct Colour { C Format; const char* Template; gfx::TColor Value; const char* Expected; };
  const Colour colours[] = {
      {C::Hex, "", 0x996633, "#336699"},
      {C::Rgb, "", 0x996633, "rgb(51, 102, 153)"},
      {C::Hsl, "", 0x996633, "hsl(210, 50%, 40%)"},
      {C::Hsl, "", 0x0080FF, "hsl(30, 100%, 50%)"},
      {C::Hsl, "", 0x767676, "hsl(0, 0%, 46%)"},
      {C::Template, "0x{hex} {r},{g},{b} {h}/{s}/{l}", 0x996633, "0x336699 51,102,153 210/50/40"},
  };
  for (const Colour& c : colours) {
    TCopyFormats f;
    f.Colour = c.Format;
    f.ColourTemplate = c.Template;
    EXPECT_EQ(FormatColour(f, c.Value), c.Expected) << c.Template;
  }
}

TEST(CopyFormats, TheCopySectionIsWrittenOnlyWhenChosenAndDamageGivesTheDefaults) {
  // A file without the section stays without it; a chosen format comes back as written.
  plat::ProfileFile plain = plat::ProfileFile::FromText("x.ini", "[Units]\r\nUnit=mm\r\n");
  TCopyFormats{}.Write(plain);
  EXPECT_EQ(plain.Text(), "[Units]\r\nUnit=mm\r\n");
  TCopyFormats chosen;
  chosen.Reading = TReadingFormat::Template;
  chosen.ReadingTemplate = "{value}{unit}";
  chosen.Colour = TColourFormat::Hsl;
  chosen.Write(plain);
  EXPECT_EQ(plain.Text(),
            "[Units]\r\nUnit=mm\r\n[Copy]\r\nReading=template\r\nReadingTemplate={value}{unit}\r\n"
            "Colour=hsl\r\nColourTemplate=#{hex}\r\n");
  EXPECT_EQ(TCopyFormats::Read(plain), chosen);
  // Back to the defaults, the section stays, so the choice of defaults is kept too.
  TCopyFormats{}.Write(plain);
  EXPECT_EQ(plain.ReadString("Copy", "Reading"), std::optional<std::string>("number"));

  const plat::ProfileFile damaged = plat::ProfileFile::FromText(
      "x.ini", "[Copy]\r\nReading=CSS\r\nColour=\r\nReadingTemplate=" + std::string(300, 'x') + "\r\nColourTemplate=\r\n");
  EXPECT_EQ(TCopyFormats::Read(damaged), TCopyFormats{});
}
