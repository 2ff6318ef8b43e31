// The shaped form control: stored outlines, the window's shape for drawing and the mouse,
// the pinned position and the drag.
#include "../toolkit/CtlFixture.h"
#include "toolkit/core/ResourceLoader.h"
#include "widgets/TShapedForm.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24;
}

}  // namespace

class ShapedFormTest : public CtlTest {};

TEST_F(ShapedFormTest, StoredOutlinesAreDiscsWithTheirBoundingBoxesAndRows) {
  // Payload: N, then RGNDATA: dwSize 32, iType 1, nCount, nRgnSize, rcBound, rectangles.
  struct Case {
    const char* name;
    std::uint32_t n, count, hint;
    int bound[4];
    int firstRows[4][2];  // rows top, top + 1, ... : x from, to (exclusive)
  } cases[] = {
      {"MASKZOOM", 976, 59, 1504, {1, 0, 101, 100}, {{40, 60}, {37, 64}, {34, 67}, {31, 70}}},
      {"MASKLENS", 32 + 16 * 87, 87, 2128, {51, 50, 199, 199}, {{115, 134}, {108, 142}, {105, 145}, {102, 148}}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> mask = LoadRegionResource(c.name);
    ASSERT_EQ(mask.size(), 4 + std::size_t(U32(mask, 0))) << c.name;
    EXPECT_EQ(U32(mask, 0), c.n) << c.name;
    EXPECT_EQ(U32(mask, 4), 32u);
    EXPECT_EQ(U32(mask, 8), 1u);
    EXPECT_EQ(U32(mask, 12), c.count) << c.name;
    EXPECT_EQ(U32(mask, 16), c.hint) << c.name;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(int(U32(mask, 20 + 4 * std::size_t(k))), c.bound[k]) << c.name;
    gfx::Region disc = gfx::Region::FromRgnData(std::span(mask).subspan(4));
    EXPECT_EQ(disc.Bounds(), (gfx::Rect{c.bound[0], c.bound[1], c.bound[2], c.bound[3]})) << c.name;
    const int top = c.bound[1], bottom = c.bound[3] - 1;
    for (int i = 0; i < 4; ++i)
      for (int row : {top + i, bottom - i}) {  // symmetric top to bottom
        EXPECT_FALSE(disc.Contains(c.firstRows[i][0] - 1, row)) << c.name << " row " << row;
        EXPECT_TRUE(disc.Contains(c.firstRows[i][0], row)) << c.name << " row " << row;
        EXPECT_TRUE(disc.Contains(c.firstRows[i][1] - 1, row)) << c.name << " row " << row;
        EXPECT_FALSE(disc.Contains(c.firstRows[i][1], row)) << c.name << " row " << row;
      }
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
