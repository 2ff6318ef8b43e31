// Shape control: its boxes and star corners worked out by hand, the write rules of its
// properties, and its shapes, stipples, shadow, gradient and tiles pixel by pixel on a white form.
#include <functional>
#include <vector>

#include "../toolkit/CtlFixture.h"
#include "toolkit/controls/TImage.h"
#include "widgets/TShapeControl.h"

namespace {

// What lies under the shapes.
constexpr TColor kPaper = clWhite;

class ShapeTest : public CtlTest {
 protected:
  TShapeControl* Make(Rect bounds) {
    if (!FForm) {
      FForm = ShowForm(Rect::FromXYWH(0, 0, 600, 300));
      FForm->SetColor(kPaper);
    }
    return Add<TShapeControl>(FForm, bounds);
  }
  // Screen pixels of row Y from X0 (inclusive) to X1 (exclusive) that are COLOUR.
  int CountRow(int y, int x0, int x1, TColor colour) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += Pixel(x, y) == colour;
    return n;
  }

 private:
  TForm* FForm = nullptr;
};

}  // namespace

TEST(ShapeControlGeometry, ShapeAndShadowBoxesFollowOutlineWidthAndShadowDepth) {
  // a = outline div 2, c = width - outline + 1, b = height - outline + 1, d = depth.
  struct Case {
    TGPShapeType shape;
    TShadowOrient orient;
    int w, h, outline, depth;
    Rect shape_, shadow;
  } cases[] = {
      {gstRectangle, soNone, 151, 152, 3, 5, {1, 1, 149, 150}, {}},          // c = 149, b = 150
      {gstRectangle, soLowerRight, 25, 25, 1, 5, {0, 0, 20, 20}, {5, 5, 25, 25}},
      {gstEllipse, soUpperRight, 40, 30, 1, 4, {0, 4, 36, 30}, {4, 0, 40, 26}},
      {gstStar, soUpperLeft, 40, 30, 2, 3, {4, 4, 39, 29}, {1, 1, 36, 26}},  // a = 1, c = 39, b = 29
      {gstCircle, soLowerLeft, 30, 30, 1, 2, {2, 0, 30, 28}, {0, 2, 28, 30}},
      // A diamond's shadow moves sideways only.
      {gstDiamond, soLowerRight, 30, 20, 1, 4, {0, 0, 26, 20}, {4, 0, 30, 20}},
      {gstDiamond, soUpperLeft, 30, 20, 1, 4, {4, 0, 30, 20}, {0, 0, 26, 20}},
      // Absurd values saturate instead of overflowing.
      {gstRectangle, soNone, 10, 10, INT_MIN, 0, {INT_MIN / 2, INT_MIN / 2, INT_MAX, INT_MAX}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.shape * 100 + k.orient);
    const TShapeRects r = TShapeControl::ShapeRectsFor(k.shape, k.orient, k.w, k.h, k.outline, k.depth);
    EXPECT_EQ(r.Shape, k.shape_);
    EXPECT_EQ(r.Shadow, k.shadow);
  }
}

TEST(ShapeControlGeometry, StarPointsAlternateRadiiClockwiseFromTheStartingAngle) {
  // 25 x 25 box: centre (12, 12), outer radius 12 - 4 = 8, inner 4 at 50 %. Corner m lies at
  // 36m - 90 degrees: m = 1 at -54 degrees, (4 cos, 4 sin) = (2.35, -3.24) -> (14, 9); m = 2 at
  // -18 degrees, (8 cos, 8 sin) = (7.61, -2.47) -> (20, 10); and so on round the circle.
  const std::vector<Point> star = {{12, 4}, {14, 9},  {20, 10}, {16, 13}, {17, 18},
                                   {12, 16}, {7, 18}, {8, 13},  {4, 10},  {10, 9}};
  EXPECT_EQ(TShapeControl::StarPoints({0, 0, 25, 25}, 10, 50, 90), star);
  // A 4-gon without indent in 30 x 20 at (5, 5): centre (20, 15), radius 10 - 4 = 6, first at 0.
  const std::vector<Point> square = {{26, 15}, {20, 21}, {14, 15}, {20, 9}};
  EXPECT_EQ(TShapeControl::StarPoints({5, 5, 35, 25}, 4, 0, 0), square);
}

TEST_F(ShapeTest, StarsGetUsableCornersAndSquaresLoseTheirAlignment) {
  TShapeControl* s = Make(Rect::FromXYWH(0, 0, 25, 25));
  s->SetVectors(5);
  s->SetInVectorPercent(0);
  s->SetStartingAngle(30);
  s->SetShape(gstStar);
  EXPECT_EQ(s->Vectors(), 10);
  EXPECT_EQ(s->InVectorPercent(), 50);
  EXPECT_EQ(s->StartingAngle(), 90);

  s->SetAlign(alTop);
  s->SetShape(gstCircle);
  EXPECT_EQ(s->Align(), alNone);
  // Aligned after the fact, a square kind paints as the plain kind, for good.
  s->SetAlign(alLeft);
  Settle();
  EXPECT_EQ(s->Shape(), gstEllipse);
}

TEST_F(ShapeTest, CirclesTakeTheShorterSideWhenWiderOnly) {
  TShapeControl* wide = Make(Rect::FromXYWH(0, 0, 40, 20));
  TShapeControl* tall = Make(Rect::FromXYWH(100, 0, 20, 40));
  wide->SetShape(gstCircle);
  tall->SetShape(gstCircle);
  tall->SetBackColor(clBlue);
  Settle();
  EXPECT_EQ(wide->Width(), 20);
  EXPECT_EQ(wide->Height(), 20);
  EXPECT_EQ(Pixel(30, 10), kPaper);  // where the wide one used to reach
  EXPECT_EQ(tall->Width(), 20);
  EXPECT_EQ(tall->Height(), 40);
  // The tall one is an ellipse through its whole height: black at its top and bottom middle.
  EXPECT_EQ(Pixel(110, 0), clBlack);
  EXPECT_EQ(Pixel(110, 39), clBlack);
  EXPECT_EQ(Pixel(110, 20), clBlue);
}

TEST_F(ShapeTest, RimIsThreePixelsWideAndLetsThePaperShowThrough) {
  // 21 x 21 with a 3-pixel outline: shape box 1, 1, 19, 19, whose outer pixels are 1 and 18;
  // the pen is centred on them, so across the middle row it covers columns 0..2 and 17..19,
  // and nothing is painted in between (nor in column 20).
  TShapeControl* rim = Make(Rect::FromXYWH(10, 10, 21, 21));
  rim->SetShape(gstCircle);
  rim->SetSurfaceType(stBrushTransparent);
  rim->SetBackColor(clRed);  // not used without a pattern
  rim->SetOutlineWidth(3);
  Settle();
  for (int x = 0; x < 21; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Pixel(10 + x, 20), x < 3 || (x > 16 && x < 20) ? clBlack : kPaper);
    EXPECT_EQ(Pixel(20, 10 + x), x < 3 || (x > 16 && x < 20) ? clBlack : kPaper);
  }
  EXPECT_EQ(Pixel(10, 10), kPaper);  // outside the circle
  // A solid pattern fills inside the rim with the fore colour.
  rim->SetForeColor(clGreen);
  rim->SetPattern(gfx::BrushStyle::Solid);
  Settle();
  EXPECT_EQ(Pixel(20, 20), clGreen);
  EXPECT_EQ(Pixel(13, 20), clGreen);
  EXPECT_EQ(Pixel(12, 20), clBlack);
}

TEST_F(ShapeTest, ArrowheadStippleDarkensOnePixelInFourInsideTheTriangle) {
  // A downward triangle 9 x 5 at (17, 9), no outline: corners (0, 0), (4, 4), (8, 0). Pixel
  // centres inside: row 0 x 0..6, row 1 x 1..5, row 2 x 2..4, row 3 x 3. The 25 % stipple marks
  // the even columns of the even rows of the window: here odd x and odd y.
  TShapeControl* arrow = Make(Rect::FromXYWH(17, 9, 9, 5));
  arrow->SetShape(gstTriangleDown);
  arrow->SetSurfaceType(stBrush25PercentOpaque);
  arrow->SetBackColor(clBlack);
  arrow->SetOutlineStyle(gfx::PenStyle::Clear);
  Settle();
  const std::vector<Point> black = {{1, 1}, {3, 1}, {5, 1}, {3, 3}};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool want = std::find(black.begin(), black.end(), Point{x, y}) != black.end();
      EXPECT_EQ(Pixel(17 + x, 9 + y), want ? clBlack : kPaper) << x << "," << y;
    }
}

TEST_F(ShapeTest, ShadowFallsBehindTheShapeAndRectangleOutlines) {
  // 25 x 25, outline 1, lower right by 5: shape 0, 0, 20, 20 over shadow 5, 5, 25, 25; the
  // shadow has a black frame and the shadow colour inside.
  TShapeControl* s = Make(Rect::FromXYWH(0, 0, 25, 25));
  s->SetBackColor(clBlue);
  s->SetShadowColor(clRed);
  s->SetShadowOrient(soLowerRight);
  Settle();
  const struct {
    int x, y;
    TColor c;
  } want[] = {{0, 0, clBlack},  {10, 10, clBlue},  {19, 19, clBlack}, {20, 20, clRed}, {22, 10, clRed},
              {24, 24, clBlack}, {24, 12, clBlack}, {3, 22, kPaper},   {21, 3, kPaper}};
  for (const auto& w : want) EXPECT_EQ(Pixel(w.x, w.y), w.c) << w.x << "," << w.y;
  // A 50 % shadow in black ANDs every other pixel of the shadow box that the shape leaves.
  s->SetShadowFill(sf50Percent);
  s->SetShadowColor(clBlack);
  Settle();
  EXPECT_EQ(CountRow(22, 5, 25, clBlack), 10);
  EXPECT_EQ(Pixel(22, 22), clBlack);  // even + even: a 1 bit of the checkerboard
  EXPECT_EQ(Pixel(23, 22), kPaper);
  // The shadow is at most half the shorter side deep: 25 x 10 takes 5, and keeps its depth
  // when asked for 6.
  s->SetHeight(10);
  s->SetShadowDepth(5);
  s->SetShadowDepth(6);
  EXPECT_EQ(s->ShadowDepth(), 5);
}

TEST_F(ShapeTest, GradientRunsInRoundedStepsAndTilesRepeatFromTheCorner) {
  // 256 rows: band i is row i. Black to white upwards: grey i at row i; downwards reversed.
  TShapeControl* g = Make(Rect::FromXYWH(0, 0, 4, 256));
  g->SetOutlineStyle(gfx::PenStyle::Clear);
  g->SetSurfaceType(stGradientFill);
  g->SetBackColor(clBlack);
  g->SetGradientToColor(clWhite);
  Settle();
  for (int i : {0, 1, 127, 128, 255}) EXPECT_EQ(Pixel(2, i), gfx::RGB(i, i, i)) << i;
  g->SetFillDirection(gdDown);
  Settle();
  for (int i : {0, 100, 255}) EXPECT_EQ(Pixel(2, i), gfx::RGB(255 - i, 255 - i, 255 - i)) << i;
  // Red 1 down to 0: MulDiv(i, -1, 255) is 0 up to i = 127 (-0.498) and -1 from 128 (-0.502).
  g->SetFillDirection(gdUp);
  g->SetBackColor(gfx::RGB(1, 0, 0));
  g->SetGradientToColor(clBlack);
  Settle();
  EXPECT_EQ(Pixel(0, 127), gfx::RGB(1, 0, 0));
  EXPECT_EQ(Pixel(0, 128), clBlack);

  // A 3 x 2 picture tiled from the control's corner, clipped to an ellipse.
  gfx::Bitmap pic(3, 2, clYellow);
  pic.Set(0, 0, clNavy);
  TShapeControl* t = Make(Rect::FromXYWH(100, 100, 30, 20));
  t->SetShape(gstEllipse);
  t->SetOutlineStyle(gfx::PenStyle::Clear);
  t->SetSurfaceType(stBrushImage);
  t->SetImage(&pic);
  Settle();
  EXPECT_EQ(Pixel(115, 10 + 100), clNavy);    // (15, 10): 15 mod 3 = 0, 10 mod 2 = 0
  EXPECT_EQ(Pixel(116, 10 + 100), clYellow);
  EXPECT_EQ(Pixel(115, 11 + 100), clYellow);
  EXPECT_EQ(Pixel(100, 100), kPaper);         // the corner is outside the ellipse
  t->EditImage([](gfx::Bitmap& b) { b.Set(1, 0, clRed); });
  Settle();
  EXPECT_EQ(Pixel(116, 110), clRed);
  t->SetImage(nullptr);
  Settle();
  EXPECT_EQ(t->Image().Width(), 0);
  EXPECT_EQ(Pixel(115, 110), kPaper);
}

TEST_F(ShapeTest, DisabledOverlayLetsThePressReachThePictureBeneath) {
  TShapeControl* s = Make(Rect::FromXYWH(0, 0, 50, 50));
  auto* picture = Add<TImage>(static_cast<TForm*>(s->Parent()), Rect::FromXYWH(0, 0, 100, 100));
  s->BringToFront();
  int onPicture = 0, onShape = 0;
  picture->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++onPicture; };
  s->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++onShape; };
  Settle();
  ClickAt(20, 20);
  Settle();
  EXPECT_EQ(onShape, 1);
  EXPECT_EQ(onPicture, 0);
  s->SetEnabled(false);
  ClickAt(20, 20);
  Settle();
  EXPECT_EQ(onShape, 1);
  EXPECT_EQ(onPicture, 1);
}

TEST_F(ShapeTest, AbsurdSizesPaintNothingOutsideTheControl) {
  // Huge or negative outlines and shadows, a huge corner, a star in a box too small for it:
  // painting raises no error, and whatever is drawn stays inside the 20 x 20 control at (40, 40).
  std::string errors;
  App->OnException = [&](TObject*, const std::exception& e) { errors += e.what(); };
  const std::function<void(TShapeControl*)> cases[] = {
      [](TShapeControl* s) { s->SetOutlineWidth(INT_MIN); },
      [](TShapeControl* s) { s->SetOutlineWidth(INT_MAX); },
      [](TShapeControl* s) {
        s->SetShape(gstEllipse);
        s->SetShadowDepth(-1000000000);
        s->SetShadowOrient(soUpperLeft);
      },
      [](TShapeControl* s) { s->SetShape(gstRoundRect); s->SetRoundPerc(INT_MAX); s->SetOutlineWidth(-3); },
      [](TShapeControl* s) {
        s->SetShape(gstStar);
        s->SetVectors(100);
        s->SetSurfaceType(stGradientFill);
        s->SetWidth(3);
      },
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    TShapeControl* s = Make(Rect::FromXYWH(40, 40, 20, 20));
    s->SetShadowColor(clRed);
    cases[i](s);
    Settle();
    EXPECT_EQ(errors, "");
    for (int k = 30; k < 70; ++k) {
      EXPECT_EQ(Pixel(k, 39), kPaper);
      EXPECT_EQ(Pixel(k, 60), kPaper);
      EXPECT_EQ(Pixel(39, k), kPaper);
      EXPECT_EQ(Pixel(60, k), kPaper);
    }
    s->Owner()->DestroyComponent(s);
  }
}
