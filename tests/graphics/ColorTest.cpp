#include "graphics/Color.h"

#include <gtest/gtest.h>

using namespace gfx;

TEST(Color, ClassicSchemeAndResolution) {
  // The values the controls' 3D look depends on, in 0x00BBGGRR.
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0x808080u);
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), 0x000000u);
  EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0u);
  EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), 0x808080u);
  EXPECT_EQ(GetSysColor(COLOR_INACTIVECAPTIONTEXT), 0xC0C0C0u);
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(kSystemColorCount), 0u);
  EXPECT_EQ(GetSysColor(1000), 0u);

  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
  EXPECT_EQ(ColorToRGB(clHighlightText), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clGradientActiveCaption), GetSysColor(COLOR_GRADIENTACTIVECAPTION));
  EXPECT_EQ(ColorToRGB(0x80FFFF), 0x80FFFFu);      // direct colours pass through
  EXPECT_EQ(ColorToRGB(0x0280FFFF), 0x80FFFFu);    // with the top byte cleared
  EXPECT_EQ(ColorToRGB(clNone), 0u);
  EXPECT_EQ(ColorToRGB(clDefault), 0u);
  EXPECT_EQ(ColorToRGB(SysColor(200)), 0u);       // unknown system colour
}
