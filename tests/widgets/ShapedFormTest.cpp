// The shaped form control: stored outlines, the window's shape for drawing and the mouse,
// the pinned position and the drag.
#include "../toolkit/CtlFixture.h"

#include <span>

#include "toolkit/core/ResourceLoader.h"
#include "widgets/TShapedForm.h"

namespace {

int Area(const gfx::Region& r) {
  int n = 0;
  for (const gfx::Rect& b : r.Rects()) n += b.Width() * b.Height();
  return n;
}

}  // namespace

class ShapedFormTest : public CtlTest {};

TEST_F(ShapedFormTest, StoredOutlinesAreTheDiscsOfTheirWindows) {
  // The loupe's disc fills the 100 x 100 box one pixel from its window's left edge, the lens's
  // the 148 x 149 box in the lower right of its 200 x 200 window: a stored outline is the
  // ellipse in that box but for a pixel here and there along its edge, fewer than one a row.
  struct Case {
    const char* name;
    gfx::Rect box;
  } cases[] = {{"MASKZOOM", {1, 0, 101, 100}}, {"MASKLENS", {51, 50, 199, 199}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> mask = LoadRegionResource(c.name);
    ASSERT_GT(mask.size(), 4u);
    const gfx::Region disc = gfx::Region::FromRgnData(std::span(mask).subspan(4));
    EXPECT_EQ(disc.Bounds(), c.box);
    const gfx::Region ellipse = gfx::Region::Ellipse({c.box.left, c.box.top, c.box.right + 1, c.box.bottom + 1});
    EXPECT_LT(Area(disc.Xor(ellipse)), c.box.Height());
  }
}

TEST_F(ShapedFormTest, LoupeOutlineShapesTheWindowForDrawingAndTheMouse) {
  TForm* under = ShowForm(gfx::Rect::FromXYWH(0, 0, 300, 300), bsNone, "frmUnder");
  under->SetColor(0x00FF00);
  TForm* form = ShowForm(gfx::Rect::FromXYWH(100, 100, 100, 100), bsSingle, "frmShaped");
  form->SetColor(0x0000FF);
  auto* shaped = TComponent::Create<TShapedForm>(form);
  shaped->SetParent(form);
  EXPECT_EQ(form->BorderStyle(), bsNone);  // the outline replaces any frame
  shaped->ReadMask(LoadRegionResource("MASKZOOM"));
  form->Invalidate();
  Settle();
  // Window pixels (0, 0) and (0, 50) are outside the disc, (1, 50) and (50, 0) inside.
  EXPECT_EQ(Pixel(100, 100), 0x00FF00u);
  EXPECT_EQ(Pixel(100, 150), 0x00FF00u);
  EXPECT_EQ(Pixel(101, 150), 0x0000FFu);
  EXPECT_EQ(Pixel(150, 100), 0x0000FFu);
  EXPECT_EQ(Desk.WindowAt({100, 150}), under->NativeWindow());
  EXPECT_EQ(Desk.WindowAt({101, 150}), form->NativeWindow());

  // The stored bytes come back as they were read, bar the size hint.
  std::vector<std::uint8_t> stored = LoadRegionResource("MASKZOOM"), written = shaped->WriteMask();
  ASSERT_EQ(written.size(), stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i)
    if (i < 16 || i >= 20) {
      EXPECT_EQ(written[i], stored[i]) << "byte " << i;
    }

  // Left and top stay pinned to the corner; width and height follow.
  shaped->SetAlign(alNone);
  shaped->SetLeft(30);
  shaped->SetTop(-7);
  shaped->SetWidth(60);
  shaped->SetHeight(40);
  EXPECT_EQ(shaped->BoundsRect(), (gfx::Rect{0, 0, 60, 40}));

  // The right button does nothing; the left button drags the whole form.
  Desk.InjectMouseMove(130, 130);
  Desk.InjectButtonDown(plat::MouseButton::Right);
  Desk.InjectMouseMove(160, 140);
  Desk.InjectButtonUp(plat::MouseButton::Right);
  Settle();
  EXPECT_EQ(form->Left(), 100);
  Desk.InjectMouseMove(130, 130);
  Desk.InjectButtonDown(plat::MouseButton::Left);
  Desk.InjectMouseMove(160, 140);
  Desk.InjectButtonUp(plat::MouseButton::Left);
  Settle();
  EXPECT_EQ(form->Left(), 130);
  EXPECT_EQ(form->Top(), 110);
}

TEST_F(ShapedFormTest, NoOrDamagedOutlineLeavesTheWindowRectangular) {
  TForm* form = ShowForm(gfx::Rect::FromXYWH(100, 100, 100, 100), bsNone, "frmShaped");
  form->SetColor(0x0000FF);
  auto* shaped = TComponent::Create<TShapedForm>(form);
  shaped->SetParent(form);
  const std::vector<std::uint8_t> none{0, 0, 0, 0};
  std::vector<std::uint8_t> cut = LoadRegionResource("MASKZOOM");
  cut.resize(100);  // N promises more than follows
  std::vector<std::uint8_t> badCount = LoadRegionResource("MASKZOOM");
  badCount[12] = 200;  // nCount beyond the data
  for (const auto& payload : {none, cut, badCount, std::vector<std::uint8_t>{1, 2}}) {
    shaped->ReadMask(payload);
    form->Invalidate();
    Settle();
    EXPECT_EQ(Pixel(100, 100), 0x0000FFu) << payload.size();
    EXPECT_EQ(shaped->WriteMask(), none) << payload.size();
  }
}
