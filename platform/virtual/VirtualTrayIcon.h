#pragma once
// A notification-area icon of the virtual desktop: it only records what the program set, so
// tests can look at it, and receives the mouse messages the desktop injects.
#include <cstdint>
#include <string>

#include "graphics/Bitmap.h"
#include "platform/Platform.h"

namespace plat {

class VirtualDesktop;

class VirtualTrayIcon : public TrayIcon {
 public:
  VirtualTrayIcon(VirtualDesktop* desktop, std::uint64_t serial, TrayIconListener* listener);
  ~VirtualTrayIcon() override;
  VirtualTrayIcon(const VirtualTrayIcon&) = delete;
  VirtualTrayIcon& operator=(const VirtualTrayIcon&) = delete;

  void SetIcon(const gfx::Bitmap& icon) override { FIcon = icon; ++FIconChanges; }
  void SetTip(const std::string& tip) override { FTip = tip; }
  bool Visible() const override;

  const gfx::Bitmap& Icon() const { return FIcon; }
  const std::string& Tip() const { return FTip; }
  int IconChanges() const { return FIconChanges; }
  TrayIconListener* Listener() const { return FListener; }
  std::uint64_t Serial() const { return FSerial; }

 private:
  friend class VirtualDesktop;

  VirtualDesktop* FDesktop;  // null once the desktop is gone
  std::uint64_t FSerial;
  TrayIconListener* FListener;
  gfx::Bitmap FIcon;
  std::string FTip;
  int FIconChanges = 0;
};

}  // namespace plat
