#pragma once
// One monitor's share of the frozen screen: a window over the whole monitor that shows the
// desktop's still picture, under the program's other windows, framed in colour at the
// monitor's edges so that nobody takes it for the live screen.
#include <functional>

#include "graphics/Bitmap.h"
#include "toolkit/controls/TImage.h"
#include "toolkit/core/TForm.h"

inline constexpr gfx::TColor kFrozenFrameColor = 0x0080FF;  // orange
inline constexpr int kFrozenFrameWidth = 2;

class TfrmFreeze : public TForm {
 public:
  // MONITOR: the monitor's rectangle on the desktop; DESKTOP: the still picture of the whole
  // desktop, in desktop pixels.
  TfrmFreeze(TComponent* AOwner, const gfx::Rect& monitor, const gfx::Bitmap& desktop);

  TImage* Image1;
  // It lies under the strip: as the strip's own window a window manager would hold it above.
  bool BelongsToMainForm() const override { return false; }
  // A utility window would be held above the program's other windows by some managers too.
  plat::WindowRole WindowRole() const override { return plat::WindowRole::Normal; }
  // A press on the picture (a window manager may have raised it over the strip).
  std::function<void()> OnPicturePressed;
};
