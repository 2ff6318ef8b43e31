#pragma once
// A notification-area icon through the XEmbed system-tray protocol: a small window that the
// tray (the owner of _NET_SYSTEM_TRAY_Sn) embeds when asked with SYSTEM_TRAY_REQUEST_DOCK.
#include <X11/Xlib.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/x11/X11EventSink.h"
#include "platform/x11/X11TrayTip.h"

namespace plat {

class X11Display;
class X11Platform;

class X11TrayIcon final : public TrayIcon, public X11EventSink {
 public:
  static constexpr int kDefaultSize = 22;  // what most trays use until they resize the icon

  X11TrayIcon(X11Platform& platform, X11Display& display, TrayIconListener* listener);
  ~X11TrayIcon() override;
  X11TrayIcon(const X11TrayIcon&) = delete;
  X11TrayIcon& operator=(const X11TrayIcon&) = delete;

  // The tray's manager window, or None when there is no tray.
  static ::Window TrayOwner(X11Display& display);
  // Asks the current tray to embed the icon; false when there is no tray.
  bool Dock();
  ::Window Handle() const { return FWindow; }

  void SetIcon(const gfx::Bitmap& icon) override;
  void SetTip(const std::string& tip) override;
  bool Visible() const override { return FMapped; }

  void HandleEvent(XEvent& ev) override;
  const X11TrayTip& Tip() const { return FTip; }

 private:
  // Whole-number scaling keeps every icon pixel a square of equal size; the icon is centred
  // and the rest shows the tray behind it.
  void Render();
  void AskForSize(int width, int height);
  void Paint();

  X11Platform& FPlatform;
  X11Display& FDisplay;
  Display* FDpy;
  TrayIconListener FNoListener;
  TrayIconListener* FListener;
  ::Window FWindow = None;
  GC FGc = nullptr;
  int FWidth = kDefaultSize, FHeight = kDefaultSize;
  bool FMapped = false;
  gfx::Bitmap FIcon;  // as given
  gfx::Bitmap FShown; // scaled for the window, drawn at FShownAt
  gfx::Point FShownAt;
  std::vector<std::uint32_t> FScratch;
  X11TrayTip FTip;
  struct Click {
    bool Valid = false;
    Time When = 0;
    int X = 0, Y = 0;
    unsigned Button = 0;
  } FLastClick;
};

}  // namespace plat
