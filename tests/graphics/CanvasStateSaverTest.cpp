// The canvas state saver puts every piece of drawing state back, also when drawing throws.
#include "graphics/CanvasStateSaver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace gfx {
namespace {

TEST(CanvasStateSaver, RestoresEverythingEvenWhenDrawingThrows) {
  Bitmap bmp(20, 20, clWhite);
  Canvas c(bmp);
  c.SetClipRegion(Region(Rect{0, 0, 10, 10}));
  c.Origin = {2, 3};
  c.Pen = Pen{clRed, 3, PenStyle::Dash};
  c.MoveTo(4, 5);
  c.Brush = Brush{clBlue, BrushStyle::Cross, {}};
  Font font;
  font.Name = "Arial";
  font.Height = -20;
  font.Color = clLime;
  c.SelectFont(font);
  c.TextColor = clYellow;  // differs from the font's colour: the text colour is kept apart
  c.BkColor = clAqua;
  c.BkMode = BkMode::Transparent;

  try {
    const CanvasStateSaver saved(c);
    c.SetClipRegion(std::nullopt);
    c.IntersectClipRect(Rect{15, 15, 20, 20});
    c.Origin = {};
    c.Pen = Pen{};
    c.MoveTo(9, 9);
    c.Brush = Brush{};
    c.SelectFont(Font{});
    c.BkColor = clBlack;
    c.BkMode = BkMode::Opaque;
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }

  ASSERT_TRUE(c.ClipRegion().has_value());
  EXPECT_EQ(c.ClipRegion()->Bounds(), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(c.Origin, (Point{2, 3}));
  EXPECT_EQ(c.Pen.Color, clRed);
  EXPECT_EQ(c.Pen.Width, 3);
  EXPECT_EQ(c.Pen.Style, PenStyle::Dash);
  EXPECT_EQ(c.PenPos(), (Point{4, 5}));
  EXPECT_EQ(c.Brush.Color, clBlue);
  EXPECT_EQ(c.Brush.Style, BrushStyle::Cross);
  EXPECT_EQ(c.Font, font);
  EXPECT_EQ(c.TextColor, clYellow);
  EXPECT_EQ(c.BkColor, clAqua);
  EXPECT_EQ(c.BkMode, BkMode::Transparent);

  // The clip really is back in force: a fill over everything reaches only device 0..9.
  c.Brush = Brush{clBlack, BrushStyle::Solid, {}};
  c.FillRect(Rect{-10, -10, 30, 30});
  EXPECT_EQ(bmp.At(9, 9), clBlack);
  EXPECT_EQ(bmp.At(10, 9), clWhite);
  EXPECT_EQ(bmp.At(17, 17), clWhite);
}

TEST(CanvasStateSaver, AnUnclippedCanvasComesBackUnclipped) {
  Bitmap bmp(4, 4, clWhite);
  Canvas c(bmp);
  {
    const CanvasStateSaver saved(c);
    c.IntersectClipRect(Rect{0, 0, 1, 1});
  }
  EXPECT_FALSE(c.ClipRegion().has_value());
}

}  // namespace
}  // namespace gfx
