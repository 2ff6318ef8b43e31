// Face button as a colour swatch: the face and the bevels up and pressed pixel by pixel, the
// click on a release over it; glyph frames and latching.
#include "../toolkit/CtlFixture.h"
#include "widgets/TFaceButton.h"

namespace {

constexpr TColor kSwatch = 0x80FFFF;
constexpr int kW = 41, kH = 20;

// Up: black on the right column and bottom row; white on the top row (x < 39) and left
// column (y < 18); grey inside those on the right (x = 39, y 1..18) and bottom (y = 18,
// x 1..39); the rest the face colour, (39, 0) and (0, 18) included.
gfx::Bitmap RaisedSwatch() {
  gfx::Bitmap b(kW, kH, kSwatch);
  for (int x = 0; x < 39; ++x) b.Set(x, 0, kHighlight);
  for (int y = 0; y < 18; ++y) b.Set(0, y, kHighlight);
  for (int x = 1; x < 40; ++x) b.Set(x, 18, kShadow);
  for (int y = 1; y < 19; ++y) b.Set(39, y, kShadow);
  for (int x = 0; x < kW; ++x) b.Set(x, 19, clBlack);
  for (int y = 0; y < kH; ++y) b.Set(40, y, clBlack);
  return b;
}

// Pressed: black on the top row (x < 40) and left column (y < 19); white on the right
// column and bottom row; grey inside the black (top row y = 1, x 1..38; left column x = 1,
// y 1..17).
gfx::Bitmap SunkenSwatch() {
  gfx::Bitmap b(kW, kH, kSwatch);
  for (int x = 0; x < 40; ++x) b.Set(x, 0, clBlack);
  for (int y = 0; y < 19; ++y) b.Set(0, y, clBlack);
  for (int x = 0; x < kW; ++x) b.Set(x, 19, kHighlight);
  for (int y = 0; y < kH; ++y) b.Set(40, y, kHighlight);
  for (int x = 1; x < 39; ++x) b.Set(x, 1, kShadow);
  for (int y = 1; y < 18; ++y) b.Set(1, y, kShadow);
  return b;
}

int Differences(const gfx::Bitmap& a, const gfx::Bitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

}  // namespace

TEST_F(CtlTest, ColourSwatchIsRaisedSinksWhilePressedAndClicksOnReleaseOverIt) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* btnColor = Add<TFaceButton>(f, Rect::FromXYWH(72, 20, kW, kH), "btnColor");
  btnColor->SetColor(kSwatch);
  int clicks = 0;
  btnColor->OnClick = [&](TObject*) { ++clicks; };
  auto shot = [&] {
    Settle();
    return Desk.Screen().Copy(Rect::FromXYWH(72, 20, kW, kH));
  };
  EXPECT_EQ(Differences(shot(), RaisedSwatch()), 0);

  Desk.InjectMouseMove(90, 30);
  Desk.InjectButtonDown();
  EXPECT_EQ(Differences(shot(), SunkenSwatch()), 0);
  Desk.InjectMouseMove(150, 80);  // leaving while pressed keeps the look
  EXPECT_EQ(Differences(shot(), SunkenSwatch()), 0);
  Desk.InjectButtonUp();
  EXPECT_EQ(Differences(shot(), RaisedSwatch()), 0);
  EXPECT_EQ(clicks, 0);
  ClickAt(90, 30);
  EXPECT_EQ(Differences(shot(), RaisedSwatch()), 0);
  EXPECT_EQ(clicks, 1);

  // The right button does not press it; a disabled one neither.
  Desk.InjectMouseMove(90, 30);
  Desk.InjectButtonDown(plat::MouseButton::Right);
  EXPECT_FALSE(btnColor->Pressed());
  Desk.InjectButtonUp(plat::MouseButton::Right);
  btnColor->SetEnabled(false);
  ClickAt(90, 30);
  EXPECT_FALSE(btnColor->Pressed());
  EXPECT_EQ(clicks, 1);
}

TEST_F(CtlTest, FaceButtonGlyphFramesAndLatching) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* a = Add<TFaceButton>(f, Rect::FromXYWH(10, 10, 25, 25));
  auto* b = Add<TFaceButton>(f, Rect::FromXYWH(40, 10, 25, 25));
  EXPECT_EQ(TComponent::Make<TFaceButton>(nullptr)->Width(), 25);
  a->SetGlyph(gfx::Bitmap(40, 16, clRed));
  EXPECT_EQ(a->FrameCount(), 0);
  EXPECT_EQ(a->FrameWidth(), 40);
  a->SetGlyph(gfx::Bitmap(48, 16, clRed));
  EXPECT_EQ(a->FrameCount(), 3);
  EXPECT_EQ(a->FrameWidth(), 16);
  a->SetGlyph(gfx::Bitmap(40, 16, clRed));  // not a multiple: the count stays
  EXPECT_EQ(a->FrameCount(), 3);

  // Three 3 x 3 frames, red (up), blue (disabled) and green (pressed), their bottom rows
  // white: the glyph's bottom-left pixel is the transparent colour.
  gfx::Bitmap g(9, 3, clWhite);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      g.Set(x, y, clRed);
      g.Set(3 + x, y, clBlue);
      g.Set(6 + x, y, clGreen);
    }
  a->SetGlyph(g);
  a->SetCaption("");
  // No caption: text x = 25 div 2 + 3 div 2 + 1 = 14, glyph x = 14 - 1 - 3 = 10,
  // glyph y = 25 div 2 - 3 div 2 = 11.
  Settle();
  EXPECT_EQ(Pixel(10 + 10, 10 + 11), clRed);
  EXPECT_EQ(Pixel(10 + 10, 10 + 13), kFace);  // the transparent row shows the face
  Desk.InjectMouseMove(20, 20);
  Desk.InjectButtonDown();
  Settle();
  EXPECT_EQ(Pixel(10 + 10, 10 + 11), clGreen);
  Desk.InjectButtonUp();
  a->SetEnabled(false);
  Settle();
  EXPECT_EQ(Pixel(10 + 10, 10 + 11), clBlue);

  // Down only with a group; one down at a time in a group; index 0 lets it up.
  b->SetDown(true);
  EXPECT_FALSE(b->Down());
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  b->SetGroupIndex(0);
  EXPECT_FALSE(b->Down());
}
