// Pixels of the standard controls: panel bevels, flat speed buttons and their glyphs, label
// sizing and shapes.
#include "CtlFixture.h"
#include "toolkit/controls/TGroupBox.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"
#include "toolkit/controls/TShape.h"
#include "toolkit/controls/TSpeedButton.h"

namespace {

// A 5 x 5 glyph: a black plus sign on magenta, which (being the bottom-left colour) is
// transparent; one red pixel in a corner shows the orientation.
gfx::Bitmap PlusGlyph() {
  gfx::Bitmap g(5, 5, 0xFF00FF);
  for (int i = 0; i < 5; ++i) {
    g.Set(2, i, clBlack);
    g.Set(i, 2, clBlack);
  }
  g.Set(4, 0, clRed);
  return g;
}

}  // namespace

TEST_F(CtlTest, PanelBevelsAreClassicFrames) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 100));
  f->SetColor(clWhite);
  auto* raised = Add<TPanel>(f, Rect::FromXYWH(0, 0, 50, 30), "pnlRaised");
  auto* both = Add<TPanel>(f, Rect::FromXYWH(60, 0, 50, 30), "pnlBoth");
  both->SetBevelInner(bvLowered);
  both->SetBorderWidth(2);
  auto* lowered = Add<TPanel>(f, Rect::FromXYWH(120, 0, 50, 30), "pnlLowered");
  lowered->SetBevelOuter(bvLowered);
  lowered->SetBevelWidth(2);
  Settle();

  // Raised: light top and left, dark right and bottom; the dark edges own both far corners.
  EXPECT_EQ(Pixel(100, 100), kHighlight);
  EXPECT_EQ(Pixel(148, 100), kHighlight);
  EXPECT_EQ(Pixel(149, 100), kShadow);
  EXPECT_EQ(Pixel(100, 128), kHighlight);
  EXPECT_EQ(Pixel(100, 129), kShadow);
  EXPECT_EQ(Pixel(149, 129), kShadow);
  EXPECT_EQ(Pixel(101, 101), kFace);
  EXPECT_EQ(Pixel(125, 115), kFace);

  // Raised outer, 2-pixel border in the face colour, lowered inner.
  EXPECT_EQ(Pixel(160, 100), kHighlight);
  EXPECT_EQ(Pixel(161, 101), kFace);
  EXPECT_EQ(Pixel(162, 102), kFace);
  EXPECT_EQ(Pixel(163, 103), kShadow);   // inner bevel, top-left
  EXPECT_EQ(Pixel(206, 103), kHighlight);  // its top-right corner is the lower colour
  EXPECT_EQ(Pixel(206, 126), kHighlight);
  EXPECT_EQ(Pixel(205, 125), kFace);
  EXPECT_EQ(both->AlignRect(), (Rect{4, 4, 46, 26}));

  // Lowered, two pixels wide.
  EXPECT_EQ(Pixel(220, 100), kShadow);
  EXPECT_EQ(Pixel(221, 101), kShadow);
  EXPECT_EQ(Pixel(222, 102), kFace);
  EXPECT_EQ(Pixel(269, 129), kHighlight);
  EXPECT_EQ(Pixel(268, 128), kHighlight);
  EXPECT_EQ(Pixel(267, 127), kFace);
  EXPECT_EQ(raised->GetPropText("BevelOuter"), "bvRaised");
  EXPECT_EQ(lowered->GetPropText("BevelWidth"), "2");

  // A caption is drawn centred in the font colour.
  raised->SetCaption("X");
  Settle();
  int dark = 0;
  for (int y = 100; y < 130; ++y)
    for (int x = 100; x < 150; ++x) dark += Pixel(x, y) == 0 ? 1 : 0;
  EXPECT_GT(dark, 3);
  EXPECT_EQ(Pixel(104, 115), kFace);
  // Disabled, the caption is embossed: no black left, shadow and light pixels instead.
  raised->SetEnabled(false);
  Settle();
  int black = 0, shadow = 0, light = 0;
  for (int y = 102; y < 128; ++y)
    for (int x = 102; x < 148; ++x) {
      black += Pixel(x, y) == 0 ? 1 : 0;
      shadow += Pixel(x, y) == kShadow ? 1 : 0;
      light += Pixel(x, y) == kHighlight ? 1 : 0;
    }
  EXPECT_EQ(black, 0);
  EXPECT_EQ(shadow, dark);
  EXPECT_GT(light, 0);
}

TEST_F(CtlTest, FlatSpeedButtonGlyphTransparencyAndStates) {
  TForm* f = ShowForm(Rect::FromXYWH(50, 50, 100, 60));
  auto* b = Add<TSpeedButton>(f, Rect::FromXYWH(10, 10, 13, 13), "btnPlus");
  b->SetFlat(true);
  b->SetGlyph(PlusGlyph());
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Settle();
  // At rest a flat button has no frame; the glyph sits centred in the 11 x 11 inside
  // ((11 - 5 + 1) div 2 = 3 from it), and its bottom-left colour lets the face through.
  const int gx = 60 + 1 + 3, gy = 60 + 1 + 3;
  EXPECT_EQ(Pixel(60, 60), kFace);
  EXPECT_EQ(Pixel(72, 72), kFace);
  EXPECT_EQ(Pixel(gx + 2, gy), 0x000000u);
  EXPECT_EQ(Pixel(gx, gy + 2), 0x000000u);
  EXPECT_EQ(Pixel(gx + 4, gy), static_cast<gfx::TColor>(clRed));
  EXPECT_EQ(Pixel(gx, gy), kFace);  // magenta never shows
  EXPECT_EQ(Pixel(gx + 4, gy + 4), kFace);

  // Hovered: a thin raised frame.
  Desk.InjectMouseMove(65, 65);
  Settle();
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_EQ(Pixel(60, 60), kHighlight);
  EXPECT_EQ(Pixel(72, 60), kShadow);
  EXPECT_EQ(Pixel(72, 72), kShadow);
  EXPECT_EQ(Pixel(61, 61), kFace);

  // Pressed: sunken, glyph moved one pixel right and down.
  Desk.InjectButtonDown();
  Settle();
  EXPECT_EQ(b->State(), bsDown);
  EXPECT_EQ(Pixel(60, 60), kShadow);
  EXPECT_EQ(Pixel(72, 72), kHighlight);
  EXPECT_EQ(Pixel(gx + 3, gy + 1), 0x000000u);
  EXPECT_EQ(Pixel(gx + 5, gy + 1), static_cast<gfx::TColor>(clRed));
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Pixel(60, 60), kHighlight);

  // Leaving takes the frame away again; a release outside is no click.
  Desk.InjectMouseMove(90, 90);
  Settle();
  EXPECT_EQ(Pixel(60, 60), kFace);
  Desk.InjectMouseMove(65, 65);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(95, 95);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(clicks, 1);

  // Disabled: the glyph's dark parts embossed (highlight one pixel down-right, then shadow).
  b->SetEnabled(false);
  Settle();
  EXPECT_EQ(Pixel(gx + 2, gy), kShadow);
  EXPECT_EQ(Pixel(gx + 3, gy + 3), kHighlight);
  EXPECT_EQ(Pixel(gx + 4, gy), kShadow);  // red is ink too
}

TEST_F(CtlTest, SpeedButtonGroupsLatch) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 60));
  TSpeedButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = Add<TSpeedButton>(f, Rect::FromXYWH(10 + 30 * i, 10, 23, 22));
    b[i]->SetGroupIndex(1);
  }
  auto* loose = Add<TSpeedButton>(f, Rect::FromXYWH(150, 10, 23, 22));
  b[0]->SetDown(true);
  EXPECT_TRUE(b[0]->Down());
  ClickAt(50, 20);  // b[1]
  Settle();
  EXPECT_FALSE(b[0]->Down());
  EXPECT_TRUE(b[1]->Down());
  EXPECT_EQ(b[1]->GetPropText("Down"), "true");
  // Without AllowAllUp the last latched button stays down.
  ClickAt(50, 20);
  Settle();
  EXPECT_TRUE(b[1]->Down());
  b[2]->SetAllowAllUp(true);  // shared with the whole group
  EXPECT_TRUE(b[0]->AllowAllUp());
  ClickAt(50, 20);
  Settle();
  EXPECT_FALSE(b[1]->Down());
  // A button without a group never stays down.
  loose->SetDown(true);
  EXPECT_FALSE(loose->Down());
  // A latched, not hovered button shows the dither of face and highlight.
  b[2]->SetDown(true);
  Desk.InjectMouseMove(190, 55);
  Settle();
  EXPECT_EQ(b[2]->State(), bsExclusive);
  const gfx::TColor p1 = Pixel(75, 15), p2 = Pixel(76, 15);
  EXPECT_NE(p1, p2);
  EXPECT_TRUE((p1 == kFace && p2 == kHighlight) || (p1 == kHighlight && p2 == kFace));
}

TEST_F(CtlTest, LabelSizesItselfToItsCaption) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 100));
  auto* l = Add<TLabel>(f, Rect::FromXYWH(10, 10, 100, 50), "lblTxt");
  // The built-in face: 6 pixels a character, 10-pixel cells.
  l->SetCaption("Hello");
  EXPECT_EQ(l->Width(), 30);
  EXPECT_EQ(l->Height(), 10);
  l->SetCaption("&Save");  // the '&' is not drawn
  EXPECT_EQ(l->Width(), 24);
  EXPECT_EQ(l->AccelChar(), 's');
  l->SetShowAccelChar(false);
  EXPECT_EQ(l->Width(), 30);
  l->SetCaption("");
  EXPECT_EQ(l->Height(), 10);  // an empty label keeps one line

  // Right-justified labels keep their right edge.
  l->SetShowAccelChar(true);
  l->SetAlignment(taRightJustify);
  l->SetCaption("abcd");
  const int right = l->Left() + l->Width();
  l->SetCaption("abcdefgh");
  EXPECT_EQ(l->Left() + l->Width(), right);
  EXPECT_EQ(l->Width(), 48);

  // Word wrap keeps the width and grows downwards.
  l->SetAlignment(taLeftJustify);
  l->SetAutoSize(false);
  l->SetCaption("one two three");
  l->SetBounds(10, 10, 40, 10);
  l->SetWordWrap(true);
  l->SetAutoSize(true);
  EXPECT_EQ(l->Height(), 30);  // "one", "two", "three"
  EXPECT_LE(l->Width(), 40);

  // Painting: an opaque label fills with its colour, a transparent one leaves the parent.
  f->SetColor(clWhite);
  l->SetAutoSize(false);
  l->SetWordWrap(false);
  l->SetBounds(10, 50, 60, 12);
  l->SetColor(clYellow);
  l->SetCaption("Hi");
  Settle();
  EXPECT_EQ(Pixel(65, 55), static_cast<gfx::TColor>(clYellow));
  l->SetTransparent(true);
  Settle();
  EXPECT_EQ(Pixel(65, 55), static_cast<gfx::TColor>(clWhite));
  int ink = 0;
  for (int x = 10; x < 22; ++x)
    for (int y = 50; y < 60; ++y) ink += Pixel(x, y) == 0 ? 1 : 0;
  EXPECT_GT(ink, 5);
  EXPECT_EQ(l->GetPropText("Transparent"), "true");
  EXPECT_EQ(l->GetPropText("Caption"), "Hi");
}

TEST_F(CtlTest, ShapesImagesAndGroupBoxes) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 200));
  f->SetColor(clWhite);
  // The caption strip's outline: clear brush, default pen.
  auto* outline = Add<TShape>(f, Rect::FromXYWH(0, 0, 64, 19), "shpResize");
  gfx::Brush clear;
  clear.Style = gfx::BrushStyle::Clear;
  outline->SetBrush(clear);
  auto* square = Add<TShape>(f, Rect::FromXYWH(100, 0, 40, 20), "shpSquare");
  square->SetShape(stSquare);
  square->SetBrushColor(clRed);
  Settle();
  EXPECT_EQ(Pixel(0, 0), 0u);
  EXPECT_EQ(Pixel(63, 18), 0u);
  EXPECT_EQ(Pixel(62, 17), static_cast<gfx::TColor>(clWhite));
  EXPECT_EQ(Pixel(30, 9), static_cast<gfx::TColor>(clWhite));
  // A square is centred in its bounds: 20 x 20 from x = 110.
  EXPECT_EQ(Pixel(109, 10), static_cast<gfx::TColor>(clWhite));
  EXPECT_EQ(Pixel(110, 10), 0u);
  EXPECT_EQ(Pixel(115, 10), static_cast<gfx::TColor>(clRed));
  EXPECT_EQ(Pixel(129, 10), 0u);
  EXPECT_EQ(square->GetPropText("Shape"), "stSquare");
  EXPECT_EQ(square->GetPropText("Brush.Color"), "255");

  // An image owns its picture; transparent ones skip the bottom-left colour.
  auto* img = Add<TImage>(f, Rect::FromXYWH(0, 40, 20, 20), "Image1");
  gfx::Bitmap pic(4, 4, clBlue);
  pic.Set(0, 3, clLime);
  pic.Set(1, 3, clLime);
  img->SetPicture(pic);
  img->SetStretch(true);
  Settle();
  EXPECT_EQ(Pixel(0, 40), static_cast<gfx::TColor>(clBlue));
  EXPECT_EQ(Pixel(19, 59), static_cast<gfx::TColor>(clBlue));
  EXPECT_EQ(Pixel(9, 59), static_cast<gfx::TColor>(clLime));
  img->SetTransparent(true);
  Settle();
  EXPECT_EQ(Pixel(9, 59), static_cast<gfx::TColor>(clWhite));
  img->SetStretch(false);
  img->SetCenter(true);
  Settle();
  EXPECT_EQ(img->DestRect(), Rect::FromXYWH(8, 8, 4, 4));
  EXPECT_EQ(Pixel(8, 48), static_cast<gfx::TColor>(clBlue));
  EXPECT_EQ(Pixel(7, 48), static_cast<gfx::TColor>(clWhite));
  EXPECT_THROW(img->LoadFromFile("/nonexistent/picture.bmp"), std::exception);

  // The group box: an etched frame starting half a text line down.
  auto* g = Add<TGroupBox>(f, Rect::FromXYWH(150, 50, 100, 60), "grpColors");
  g->SetCaption(" Colors ");
  Settle();
  // Text height 10: the frame's top line is at y = 4 (shadow), 5 (highlight).
  EXPECT_EQ(Pixel(150, 54), kShadow);
  EXPECT_EQ(Pixel(151, 55), kHighlight);
  EXPECT_EQ(Pixel(248, 108), kShadow);
  EXPECT_EQ(Pixel(249, 109), kHighlight);
  EXPECT_EQ(Pixel(240, 54), kShadow);
  EXPECT_EQ(Pixel(160, 54), kFace);  // the caption cuts the frame
}
