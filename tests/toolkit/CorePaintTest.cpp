// The paint cycle: invalidation collects, painting order, clipping, inheritance of font and
// colour, alignment.
#include "CoreFixture.h"
#include "toolkit/core/TCustomControl.h"
#include "toolkit/core/TGraphicControl.h"

namespace {

// Fills far beyond its own bounds, so clipping shows.
class TBlot : public TGraphicControl {
 public:
  explicit TBlot(TComponent* owner) : TGraphicControl(owner) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas().Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
    Canvas().FillRect(Rect{-100, -100, 500, 500});
  }
};

class TBox : public TCustomControl {
 public:
  explicit TBox(TComponent* owner) : TCustomControl(owner) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    // A one-pixel black frame just inside the client area, over the erased background.
    Canvas().Brush = gfx::Brush{clBlack, gfx::BrushStyle::Solid, {}};
    Canvas().FrameRect(ClientRect());
  }
};

}  // namespace

TEST_F(CoreTest, SeveralChangesGiveOnePaintAndRepaintPaintsAtOnce) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 200));
  TBlot* b = TComponent::Create<TBlot>(f);
  b->SetParent(f);
  b->SetBounds(10, 10, 20, 20);
  Settle();
  const int base = b->Paints;
  EXPECT_GE(base, 1);
  const int presents = WindowOf(f)->PresentCount();

  b->SetColor(clRed);
  b->SetBounds(12, 10, 20, 20);
  b->SetCaption("x");
  b->Invalidate();
  EXPECT_EQ(b->Paints, base);  // nothing painted yet: invalidation only marks
  Settle();
  EXPECT_EQ(b->Paints, base + 1);
  EXPECT_EQ(WindowOf(f)->PresentCount(), presents + 1);
  EXPECT_EQ(Pixel(12, 10), gfx::clRed);
  EXPECT_EQ(Pixel(11, 10), gfx::ColorToRGB(clBtnFace));  // the old place was repainted

  // Setting a value to what it already is does not repaint.
  b->SetColor(clRed);
  b->SetBounds(12, 10, 20, 20);
  Settle();
  EXPECT_EQ(b->Paints, base + 1);

  b->SetColor(clLime);
  b->Repaint();
  EXPECT_EQ(b->Paints, base + 2);
  EXPECT_EQ(Pixel(12, 10), gfx::clLime);  // presented without running the loop
  Settle();
  EXPECT_EQ(b->Paints, base + 2);
}

TEST_F(CoreTest, ControlsPaintInsideThemselvesAndWindowedOnesOnTop) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 200));
  f->SetColor(clWhite);
  TBlot* g1 = TComponent::Create<TBlot>(f);
  g1->SetParent(f);
  g1->SetColor(clRed);
  g1->SetBounds(10, 10, 30, 30);
  TBox* w = TComponent::Create<TBox>(f);
  w->SetParent(f);
  w->SetColor(clBlue);
  w->SetBounds(30, 30, 40, 40);
  // Created after the windowed box, but a graphic control stays beneath windowed siblings.
  TBlot* g2 = TComponent::Create<TBlot>(f);
  g2->SetParent(f);
  g2->SetColor(clYellow);
  g2->SetBounds(35, 35, 50, 10);
  // A child of the box, larger than the box: cut to the box.
  TBlot* inner = TComponent::Create<TBlot>(f);
  inner->SetParent(w);
  inner->SetColor(clLime);
  inner->SetBounds(20, -5, 100, 10);
  Settle();

  EXPECT_EQ(Pixel(9, 9), gfx::clWhite);    // outside g1
  EXPECT_EQ(Pixel(10, 10), gfx::clRed);
  EXPECT_EQ(Pixel(39, 29), gfx::clRed);
  EXPECT_EQ(Pixel(40, 10), gfx::clWhite);  // g1 painted nothing beyond its right edge
  EXPECT_EQ(Pixel(30, 30), gfx::clBlack);  // the box's frame over g1's corner
  EXPECT_EQ(Pixel(31, 31), gfx::clBlue);   // the box's erased background
  EXPECT_EQ(Pixel(36, 36), gfx::clBlue);   // g2 is under the box
  EXPECT_EQ(Pixel(75, 36), gfx::clYellow); // g2's part outside the box shows
  EXPECT_EQ(Pixel(86, 36), gfx::clWhite);
  EXPECT_EQ(Pixel(55, 30), gfx::clLime);   // the inner control, clipped to the box
  EXPECT_EQ(Pixel(69, 34), gfx::clLime);
  EXPECT_EQ(Pixel(70, 36), gfx::clYellow); // right of the box: g2, not the inner control
  EXPECT_EQ(Pixel(70, 34), gfx::clWhite);
  EXPECT_EQ(Pixel(55, 29), gfx::clWhite);  // above the box

  // Hiding the box uncovers g2 and hides the inner control with it.
  w->Hide();
  Settle();
  EXPECT_EQ(Pixel(36, 36), gfx::clYellow);
  EXPECT_EQ(Pixel(55, 30), gfx::clWhite);
  EXPECT_FALSE(inner->Showing());
  w->Show();
  // Among graphic siblings the later one is on top, until the order is changed.
  g2->SetBounds(0, 15, 25, 5);
  Settle();
  EXPECT_EQ(Pixel(15, 16), gfx::clYellow);
  g2->SendToBack();
  Settle();
  EXPECT_EQ(Pixel(15, 16), gfx::clRed);
  EXPECT_EQ(Pixel(5, 16), gfx::clYellow);
  g2->BringToFront();
  Settle();
  EXPECT_EQ(Pixel(15, 16), gfx::clYellow);
  EXPECT_EQ(Pixel(36, 36), gfx::clBlue);
}

TEST_F(CoreTest, FormPaintsBackgroundAndOnPaint) {
  TForm* f = ShowForm(Rect::FromXYWH(10, 10, 100, 80), bsDialog);
  f->SetColor(clAqua);
  int paints = 0;
  f->OnPaint = [&](TObject*) {
    ++paints;
    f->Canvas().Pen.Color = clRed;
    f->Canvas().MoveTo(0, 0);
    f->Canvas().LineTo(10, 0);
  };
  f->Invalidate();
  Settle();
  EXPECT_GE(paints, 1);
  // Client area starts at window (3, 22): the line is drawn there, in client coordinates.
  EXPECT_EQ(Pixel(13, 32), gfx::clRed);
  EXPECT_EQ(Pixel(22, 32), gfx::clRed);
  EXPECT_EQ(Pixel(23, 32), gfx::clAqua);
  EXPECT_EQ(Pixel(13, 33), gfx::clAqua);
}

TEST_F(CoreTest, FontAndColourFollowTheParentAndAlignmentLaysOut) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  TBox* panel = TComponent::Create<TBox>(f);
  TBlot* label = TComponent::Create<TBlot>(f);
  label->SetParent(panel);
  panel->SetParent(f);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_EQ(label->Font().Name(), "MS Sans Serif");
  f->Font().SetName("Arial");
  f->Font().SetHeight(-9);
  EXPECT_EQ(panel->Font().Name(), "Arial");
  EXPECT_EQ(label->Font().Height(), -9);
  label->Font().SetStyle(gfx::fsBold);
  EXPECT_FALSE(label->ParentFont());
  f->Font().SetName("Courier New");
  EXPECT_EQ(label->Font().Name(), "Arial");
  EXPECT_EQ(label->GetPropText("Font.Style"), "[fsBold]");

  label->SetParentColor(true);
  EXPECT_EQ(label->Color(), panel->Color());
  panel->SetColor(clGreen);
  EXPECT_EQ(label->Color(), clGreen);
  label->SetColor(clRed);
  EXPECT_FALSE(label->ParentColor());

  // Alignment: top strip, bottom strip, left column, the rest to the client.
  TBlot* top = TComponent::Create<TBlot>(f);
  top->SetParent(f);
  top->SetHeight(10);
  top->SetAlign(alTop);
  TBlot* bottom = TComponent::Create<TBlot>(f);
  bottom->SetParent(f);
  bottom->SetHeight(15);
  bottom->SetAlign(alBottom);
  TBlot* left = TComponent::Create<TBlot>(f);
  left->SetParent(f);
  left->SetWidth(20);
  left->SetAlign(alLeft);
  panel->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect::FromXYWH(0, 0, 200, 10));
  EXPECT_EQ(bottom->BoundsRect(), Rect::FromXYWH(0, 85, 200, 15));
  EXPECT_EQ(left->BoundsRect(), Rect::FromXYWH(0, 10, 20, 75));
  EXPECT_EQ(panel->BoundsRect(), Rect::FromXYWH(20, 10, 180, 75));
  f->SetBounds(0, 0, 300, 120);
  EXPECT_EQ(panel->BoundsRect(), Rect::FromXYWH(20, 10, 280, 95));
  EXPECT_EQ(bottom->Top(), 105);
  left->Hide();
  EXPECT_EQ(panel->BoundsRect(), Rect::FromXYWH(0, 10, 300, 95));
  EXPECT_EQ(panel->GetPropText("Align"), "alClient");
}
