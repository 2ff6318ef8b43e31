#include "platform/x11/X11TrayTip.h"

#include <algorithm>

#include "graphics/Canvas.h"

namespace plat {

namespace {
constexpr int kPaddingX = 4, kPaddingY = 2;  // text inside the frame
}

X11TrayTip::~X11TrayTip() { StopTimer(); }

void X11TrayTip::StopTimer() {
  if (FTimer != 0) FPlatform.StopTimer(FTimer);
  FTimer = 0;
}

void X11TrayTip::Hover(Point at) {
  FAt = at;
  if (FText.empty() || FTimer != 0 || (FWindow && FWindow->Visible())) return;
  FTimer = FPlatform.StartTimer(kDelayMs, [this] {
    StopTimer();
    ShowNow();
  });
}

void X11TrayTip::Hide() {
  StopTimer();
  if (FWindow) FWindow->Hide();
}

void X11TrayTip::ShowNow() {
  gfx::Bitmap probe(1, 1);
  gfx::Canvas measure(probe);
  const gfx::Size text = measure.TextExtent(FText);
  const int w = text.cx + 2 * kPaddingX, h = text.cy + 2 * kPaddingY;
  const std::vector<Monitor> monitors = FPlatform.Monitors();
  const Monitor* on = MonitorForPoint(monitors, FAt);
  const Size whole = FPlatform.ScreenSize();
  const Rect screen = on ? on->Bounds : Rect{0, 0, whole.cx, whole.cy};
  // Below the pointer, kept on its monitor (above it when there is no room below).
  int x = std::clamp(FAt.x, screen.left, std::max(screen.left, screen.right - w));
  int y = FAt.y + kPointerGap;
  if (y + h > screen.bottom) y = std::max(screen.top, FAt.y - kPointerGap - h);
  const Rect bounds = Rect::FromXYWH(x, y, w, h);
  if (!FWindow) {
    WindowParams p;
    p.Title = FText;
    p.Bounds = bounds;
    p.Kind = WindowKind::Popup;
    p.TopMost = true;
    FWindow = FPlatform.CreateWindow(p, nullptr);
  } else {
    FWindow->SetBounds(bounds);
  }
  gfx::Canvas c(FWindow->BackBuffer());
  c.Brush.Color = gfx::ColorToRGB(gfx::clInfoBk);
  c.Pen.Color = gfx::ColorToRGB(gfx::clInfoText);
  c.Rectangle(0, 0, w, h);
  c.BkMode = gfx::BkMode::Transparent;
  c.TextColor = gfx::ColorToRGB(gfx::clInfoText);
  c.TextOut(kPaddingX, kPaddingY, FText);
  FWindow->Show(false);
  FWindow->Present(FWindow->BackBuffer().Bounds());
}

}  // namespace plat
