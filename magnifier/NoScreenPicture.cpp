#include "magnifier/NoScreenPicture.h"

#include <string>

#include "graphics/Canvas.h"
#include "platform/Platform.h"

void DrawNoScreenPicture(gfx::Bitmap& picture, gfx::Rect area) {
  if (picture.IsEmpty()) return;
  gfx::Canvas canvas(picture);
  canvas.Brush.Style = gfx::BrushStyle::Solid;
  canvas.Brush.Color = kNoScreenGrey;
  canvas.FillRect(gfx::Rect{0, 0, picture.Width(), picture.Height()});
  if (area.IsEmpty()) area = gfx::Rect{0, 0, picture.Width(), picture.Height()};
  gfx::Font font;
  font.Name = "Arial";
  font.SetSize(8);
  font.Color = gfx::clWhite;
  canvas.SelectFont(font);
  canvas.BkMode = gfx::BkMode::Transparent;
  const std::string text = plat::Platform::HasCurrent() ? plat::Platform::Current().ScreenUnreadableHint()
                                                        : std::string("Press F to freeze the screen");
  gfx::Rect measure = area;
  const int height = canvas.DrawText(text, measure, gfx::DT_CENTER | gfx::DT_WORDBREAK | gfx::DT_CALCRECT | gfx::DT_NOPREFIX);
  gfx::Rect r{area.left, area.top + (area.Height() - height) / 2, area.right, area.bottom};
  canvas.DrawText(text, r, gfx::DT_CENTER | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
}
