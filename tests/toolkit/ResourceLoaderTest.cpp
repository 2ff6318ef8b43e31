#include "toolkit/core/ResourceLoader.h"

#include <gtest/gtest.h>

namespace {

int Pixel(const plat::CursorLook& c, int x, int y) { return c.Image.Pixels[std::size_t(y) * c.Image.Width + x]; }

}  // namespace

TEST(ResourceLoader, RulerCursorsAreLinesWithArrowTipsAtTheirHotSpots) {
  struct Case {
    const char* Name;
    gfx::Point Hot;
    bool Vertical;
    int Dir;  // +1: the arrow head grows away from the tip along +x/+y
  } cases[] = {{"ARROWV", {15, 0}, true, 1}, {"ARROWW", {15, 31}, true, -1},
               {"ARROWH", {0, 15}, false, 1}, {"ARROWI", {31, 15}, false, -1}};
  for (const Case& c : cases) {
    plat::CursorLook s = LoadCursorResource(c.Name);
    ASSERT_TRUE(s.IsCustom);
    ASSERT_EQ(s.Image.Width, 32);
    ASSERT_EQ(s.Image.Height, 32);
    EXPECT_EQ(s.Image.HotSpot, c.Hot) << c.Name;
    int black = 0;
    for (int v : s.Image.Pixels) black += v == 1;
    EXPECT_EQ(black, 32 + 2 + 4) << c.Name;  // the line plus the head's extra pixels (0, 2, 4)
    for (int i = 0; i < 32; ++i)
      EXPECT_EQ(c.Vertical ? Pixel(s, 15, i) : Pixel(s, i, 15), 1) << c.Name << " " << i;
    // Head rows 1, 3 and 5 pixels wide from the tip.
    for (int k = 0; k < 3; ++k) {
      int along = (c.Vertical ? c.Hot.y : c.Hot.x) + c.Dir * k;
      int width = 0;
      for (int across = 0; across < 32; ++across)
        width += (c.Vertical ? Pixel(s, across, along) : Pixel(s, along, across)) == 1;
      EXPECT_EQ(width, 2 * k + 1) << c.Name << " row " << k;
    }
  }
}

TEST(ResourceLoader, GlyphsAreNineByNineWithATransparentCorner) {
  for (const char* name : {"GLYPHCLOSE", "GLYPHMINIMIZE", "GLYPHMENU", "GLYPHFLIP", "GLYPHRESIZE", "GLYPHRESIZE2"}) {
    gfx::Bitmap b = LoadBitmapResource(name);
    EXPECT_EQ(b.Width(), 9) << name;
    EXPECT_EQ(b.Height(), 9) << name;
    EXPECT_EQ(b.At(0, 8), gfx::clWhite) << name;  // the bottom-left colour is the transparent one
  }
}

TEST(ResourceLoader, DamagedResourcesAreReportedByName) {
  EXPECT_THROW(LoadCursorResource("NOSUCHCURSOR"), EResourceError);
  const char* bad[] = {
      "",
      "cursor 2 2 0 0\nX.\n",               // a row missing
      "cursor 2 2 0 0\nX.\nX\n",            // a short row
      "cursor 2 2 5 0\nX.\n.X\n",           // hot spot outside
      "cursor 2 2 0 0\nX?\n.X\n",           // unknown pixel
      "cursor 0 2 0 0\n",                   // no width
      "bitmap 2 1\npalette .=0xFFFFFF\n.X\n",  // colour not in the palette
      "bitmap 2 1\npalette .=white\n..\n",     // bad palette entry
      "cursor 2 2\nX.\n.X\n",               // header too short
  };
  for (const char* text : bad) {
    try {
      if (std::string_view(text).rfind("bitmap", 0) == 0) ParseBitmapResource(text, "TEST");
      else ParseCursorResource(text, "TEST");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EResourceError& e) {
      EXPECT_NE(std::string(e.what()).find("resource TEST"), std::string::npos) << e.what();
    }
  }
  gfx::Bitmap ok = ParseBitmapResource("# c\nbitmap 2 1\npalette .=0xFFFFFF X=0x0000FF\n.X\n", "T");
  EXPECT_EQ(ok.At(1, 0), 0x0000FFu);
}
