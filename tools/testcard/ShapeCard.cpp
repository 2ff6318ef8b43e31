// The shape card: the shape control's shapes, surfaces, shadows, outlines and stars, and the
// lens's rim and arrowheads, on the virtual desktop. Surfaces that let the background through
// stand on a striped picture, so that what they leave unpainted can be seen.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ImageFile.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "tools/testcard/CardDesk.h"
#include "tools/testcard/Cards.h"
#include "widgets/TShapeControl.h"

namespace {

constexpr int kCardWidth = 960;
constexpr int kCardHeight = 560;
constexpr int kCell = 64;   // a shape's size
constexpr int kStep = 72;   // from one cell to the next
constexpr TColor kFill = 0x80FFFF;  // the rulers' pale yellow

// Diagonal stripes of four strong colours, 5 pixels wide (so that cells 72 apart differ).
gfx::Bitmap Stripes(int w, int h) {
  const TColor colours[] = {0x3060C0, 0x40B040, 0xC07030, 0x30C0F0};
  gfx::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = colours[((x + y) / 5) % 4];
  return b;
}

// A 16 x 16 tile: a red disc with a white dot on navy, for the picture surface.
gfx::Bitmap Tile() {
  gfx::Bitmap b(16, 16, clNavy);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15;
      if (dx * dx + dy * dy < 144) b.At(x, y) = clRed;
      if (dx * dx + dy * dy < 12) b.At(x, y) = clWhite;
    }
  return b;
}

class Card : public CardDesk {
 public:
  Card() : CardDesk(kCardWidth, kCardHeight, clWhite, -11) {}

  void Heading(int y, const std::string& text) {
    auto* l = Label(10, y, 900, text);
    l->Font().SetColor(clNavy);
    l->Font().SetHeight(-12);
  }
  TLabel* Label(int x, int y, int w, const std::string& text) {
    auto* l = TComponent::Create<TLabel>(FForm);
    l->SetParent(FForm);
    l->SetBounds(x, y, w, 14);
    l->SetCaption(text);
    return l;
  }
  void Picture(int x, int y, int w, int h) {
    auto* i = TComponent::Create<TImage>(FForm);
    i->SetParent(FForm);
    i->SetBounds(x, y, w, h);
    i->SetPicture(Stripes(w, h));
  }
  // After the picture is taken, FROM is shown again ZOOM times larger at TO.
  void Magnify(const Rect& from, Point to, int zoom) { FZooms.push_back({from, to, zoom}); }
  // A shape in cell COLUMN of the row at Y, captioned below, set up by SETUP.
  TShapeControl* Shape(int column, int y, const std::string& caption,
                       const std::function<void(TShapeControl*)>& setup, int w = kCell, int h = kCell) {
    const int x = 10 + column * kStep;
    auto* s = TComponent::Create<TShapeControl>(FForm);
    s->SetParent(FForm);
    // Smaller shapes sit in the middle of their cell.
    s->SetBounds(x + (kCell - w) / 2, y + (kCell - h) / 2, w, h);
    s->SetBackColor(kFill);
    setup(s);
    Label(x - 2, y + kCell + 2, kStep - 2, caption);
    return s;
  }

  gfx::Bitmap Take() {
    FDesk.Flush();
    FApp->ProcessMessages();
    // A circle wider than high narrows itself at its first paint: paint once more.
    FDesk.Flush();
    FApp->ProcessMessages();
    gfx::Bitmap picture = FDesk.Screen().Copy(Rect{0, 0, kCardWidth, kCardHeight});
    gfx::Canvas c(picture);
    for (const Zoom& z : FZooms) {
      const gfx::Bitmap part = picture.Copy(z.From);
      c.StretchBlt(z.To.x, z.To.y, z.From.Width() * z.Factor, z.From.Height() * z.Factor, part, 0, 0,
                   z.From.Width(), z.From.Height());
    }
    return picture;
  }

 private:
  struct Zoom {
    Rect From;
    Point To;
    int Factor;
  };
  std::vector<Zoom> FZooms;
};

}  // namespace

gfx::Bitmap ShapeCard() {
  Card card;
  int y = 6;
  card.Heading(y, "Shapes: opaque surface, 1-pixel outline (square kinds in a 64 x 48 box become 48 wide)");
  y += 18;
  const char* names[] = {"Rectangle", "Square", "RoundRect", "RoundSq", "Ellipse", "Circle", "Diamond",
                         "Star", "PolyGon", "TriLeft", "TriRight", "TriUp", "TriDown"};
  for (int i = 0; i <= gstTriangleDown; ++i) {
    const bool square = i == gstSquare || i == gstRoundSquare || i == gstCircle;
    card.Shape(i, y, names[i], [i](TShapeControl* s) { s->SetShape(TGPShapeType(i)); }, kCell,
               square ? 48 : kCell);
  }

  y += kCell + 22;
  card.Heading(y, "Surfaces over a striped picture: clear, hatch, hatch on colour, picture, gradient up, down, "
                  "left, right, 50 %, 25 %");
  y += 18;
  card.Picture(6, y - 4, 10 * kStep + 4, kCell + 8);
  card.Shape(0, y, "clear", [](TShapeControl* s) { s->SetSurfaceType(stBrushTransparent); });
  card.Shape(1, y, "DiagCross", [](TShapeControl* s) {
    s->SetShape(gstEllipse);
    s->SetSurfaceType(stBrushTransparent);
    s->SetPattern(gfx::BrushStyle::DiagCross);
  });
  card.Shape(2, y, "Cross on", [](TShapeControl* s) {
    s->SetShape(gstRoundRect);
    s->SetPattern(gfx::BrushStyle::Cross);
    s->SetForeColor(clMaroon);
  });
  const gfx::Bitmap tile = Tile();
  card.Shape(3, y, "picture", [&tile](TShapeControl* s) {
    s->SetShape(gstStar);
    s->SetSurfaceType(stBrushImage);
    s->SetImage(&tile);
  });
  const TFillDirection directions[] = {gdUp, gdDown, gdLeft, gdRight};
  const char* directionNames[] = {"gdUp", "gdDown", "gdLeft", "gdRight"};
  for (int i = 0; i < 4; ++i)
    card.Shape(4 + i, y, directionNames[i], [&, i](TShapeControl* s) {
      s->SetShape(i % 2 ? gstCircle : gstRectangle);
      s->SetSurfaceType(stGradientFill);
      s->SetBackColor(clNavy);
      s->SetGradientToColor(clAqua);
      s->SetFillDirection(directions[i]);
    });
  card.Shape(8, y, "50 % black", [](TShapeControl* s) {
    s->SetShape(gstDiamond);
    s->SetSurfaceType(stBrush50PercentOpaque);
    s->SetBackColor(clBlack);
  });
  card.Shape(9, y, "25 % red", [](TShapeControl* s) {
    s->SetShape(gstEllipse);
    s->SetSurfaceType(stBrush25PercentOpaque);
    s->SetBackColor(clRed);
  });

  y += kCell + 22;
  card.Heading(y, "Shadows, depth 5: lower right, upper right, upper left, lower left (solid grey); 25 %, 50 % "
                  "black; a diamond's and a star's");
  y += 18;
  const TShadowOrient orients[] = {soLowerRight, soUpperRight, soUpperLeft, soLowerLeft};
  const char* orientNames[] = {"LowerRight", "UpperRight", "UpperLeft", "LowerLeft"};
  for (int i = 0; i < 4; ++i)
    card.Shape(i, y, orientNames[i], [&, i](TShapeControl* s) {
      s->SetShadowOrient(orients[i]);
      s->SetShadowColor(clGray);
      if (i % 2) s->SetShape(gstRoundRect);
    });
  card.Shape(4, y, "sf25Percent", [](TShapeControl* s) {
    s->SetShape(gstEllipse);
    s->SetShadowOrient(soLowerRight);
    s->SetShadowFill(sf25Percent);
  });
  card.Shape(5, y, "sf50Percent", [](TShapeControl* s) {
    s->SetShape(gstTriangleUp);
    s->SetShadowOrient(soLowerRight);
    s->SetShadowFill(sf50Percent);
  });
  card.Shape(6, y, "Diamond", [](TShapeControl* s) {
    s->SetShape(gstDiamond);
    s->SetShadowOrient(soLowerRight);
    s->SetShadowColor(clGray);
  });
  card.Shape(7, y, "Star", [](TShapeControl* s) {
    s->SetShape(gstStar);
    s->SetShadowOrient(soUpperLeft);
    s->SetShadowFill(sf50Percent);
    s->SetShadowColor(clBlue);
  });
  card.Shape(8, y, "TriDown", [](TShapeControl* s) {
    s->SetShape(gstTriangleDown);
    s->SetShadowOrient(soLowerLeft);
    s->SetShadowColor(clGray);
  });

  y += kCell + 22;
  card.Heading(y, "Outlines: width 1, 3, 6, dash, dot, none; corners 10 %, 50 %; stars: 5 and 8 tips, indent 20 "
                  "and 80 %, hexagon, first corner at 0");
  y += 18;
  const std::pair<int, gfx::PenStyle> pens[] = {{1, gfx::PenStyle::Solid}, {3, gfx::PenStyle::Solid},
                                                {6, gfx::PenStyle::Solid}, {1, gfx::PenStyle::Dash},
                                                {1, gfx::PenStyle::Dot},   {1, gfx::PenStyle::Clear}};
  const char* penNames[] = {"width 1", "width 3", "width 6", "dash", "dot", "none"};
  for (int i = 0; i < 6; ++i)
    card.Shape(i, y, penNames[i], [&, i](TShapeControl* s) {
      s->SetShape(i < 3 ? gstEllipse : gstRectangle);
      s->SetOutlineWidth(pens[i].first);
      s->SetOutlineStyle(pens[i].second);
      s->SetOutlineColor(clNavy);
    });
  card.Shape(6, y, "round 10 %", [](TShapeControl* s) {
    s->SetShape(gstRoundRect);
    s->SetRoundPerc(10);
  });
  card.Shape(7, y, "round 50 %", [](TShapeControl* s) {
    s->SetShape(gstRoundRect);
    s->SetRoundPerc(50);
  });
  struct StarCase {
    const char* caption;
    int vectors, indent, angle;
    TGPShapeType shape;
  } stars[] = {{"10 v, 20 %", 10, 20, 90, gstStar},
               {"16 v, 50 %", 16, 50, 90, gstStar},
               {"10 v, 80 %", 10, 80, 90, gstStar},
               {"hexagon", 6, 0, 90, gstPolyGon},
               {"at 0 deg", 10, 50, 0, gstStar}};
  for (int i = 0; i < 5; ++i)
    card.Shape(8 + i, y, stars[i].caption, [&, i](TShapeControl* s) {
      s->SetShape(stars[i].shape);
      s->SetVectors(stars[i].vectors);
      s->SetInVectorPercent(stars[i].indent);
      s->SetStartingAngle(stars[i].angle);
      s->SetBackColor(clYellow);
    });

  y += kCell + 22;
  card.Heading(y, "The lens: its rim (a circle, 3-pixel black outline, no surface) and arrowheads (black, 25 % "
                  "stipple), over a picture");
  y += 18;
  card.Picture(6, y - 4, 5 * kStep + 4, kCell + 8);
  card.Shape(0, y, "rim", [](TShapeControl* s) {
    s->SetShape(gstCircle);
    s->SetSurfaceType(stBrushTransparent);
    s->SetOutlineWidth(3);
  });
  const TGPShapeType heads[] = {gstTriangleLeft, gstTriangleRight, gstTriangleUp, gstTriangleDown};
  const char* headNames[] = {"left", "right", "up", "down"};
  for (int i = 0; i < 4; ++i) {
    const bool across = i < 2;
    card.Shape(1 + i, y, headNames[i], [&, i](TShapeControl* s) {
      s->SetShape(heads[i]);
      s->SetSurfaceType(stBrush25PercentOpaque);
      s->SetBackColor(clBlack);
    }, across ? 9 : 15, across ? 15 : 9);
  }
  // The rim's upper left quarter and each arrowhead, 4 times larger, on the right.
  card.Label(5 * kStep + 40, y + 98, 500, "4 times larger: the rim's corner, the arrowheads");
  for (int i = 0; i < 5; ++i) {
    const int cx = 10 + i * kStep + (i ? kCell / 2 - 12 : 0), cy = y + (i ? kCell / 2 - 12 : 0);
    card.Magnify(Rect::FromXYWH(cx, cy, 24, 24), Point{5 * kStep + 40 + i * 104, y}, 4);
  }
  return card.Take();
}
