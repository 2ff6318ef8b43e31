#pragma once
// A tray icon as a StatusNotifierItem on the session bus, through sd-bus: what the panels of
// KDE Plasma, GNOME (with the AppIndicator extension), waybar and swaybar host, where no XEmbed
// notification area exists. Any backend can use it: its loop watches the connection through
// Platform::AddFdWatch.
//
// Implemented
//   [x] object /StatusNotifierItem, interface org.kde.StatusNotifierItem, registered with
//       org.kde.StatusNotifierWatcher under a name of our own, again whenever a watcher
//       (re)starts (NameOwnerChanged)
//   [x] Id, Title, Status, Category "ApplicationStatus", WindowId, ItemIsMenu (false), IconName
//       and IconThemePath where the icon is installed beside the program, IconPixmap at 16, 22,
//       24 and 32 pixels drawn in whole icon pixels, ToolTip with the icon's tip
//   [x] Activate = a left click, SecondaryActivate = a middle click, ContextMenu = a right click
//       on the icon, delivered after the bus's callbacks return (the listener may remove us)
//   [x] NewIcon, NewToolTip when the picture or the tip changes
// Missing
//   [ ] a D-Bus menu (the program gives its icon no menu); Scroll does nothing
#include <systemd/sd-bus.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"


namespace plat {

class StatusNotifierItem final : public TrayIcon, public FdWatch {
 public:
  static constexpr int kPixmapSizes[] = {16, 22, 24, 32};
  static constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
  static constexpr const char* kObjectPath = "/StatusNotifierItem";

  // Whether a StatusNotifierWatcher is on the session bus (false without a bus).
  static bool WatcherPresent();
  // An item registered with the watcher and watched by PLATFORM's loop; null when there is no
  // session bus, no watcher, or the platform cannot watch the connection.
  static std::unique_ptr<StatusNotifierItem> Create(Platform& platform, TrayIconListener* listener);
  ~StatusNotifierItem() override;
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  void SetIcon(const gfx::Bitmap& icon) override;
  void SetTip(const std::string& tip) override;
  bool Visible() const override { return FRegistered; }
  const std::string& BusName() const { return FName; }

  // ICON at SIZE x SIZE as the item sends it: ARGB32, network byte order, each icon pixel a
  // whole square of pixels, centred, the rest transparent (nearest pixel when smaller).
  static std::vector<std::uint8_t> Pixmap(const gfx::Bitmap& icon, int size);

  int Fd() override;
  short PollEvents() override;
  int TimeoutMs() override;
  void Dispatch() override;

 private:
  StatusNotifierItem(Platform& platform, sd_bus* bus, TrayIconListener* listener);
  bool Publish();
  void Register();
  void Emit(const char* signal);
  static int OnRegistered(sd_bus_message* reply, void* self, sd_bus_error*);
  static int OnOwnerChanged(sd_bus_message* m, void* self, sd_bus_error*);
  static int OnMethod(sd_bus_message* m, void* self, sd_bus_error*);
  static int OnProperty(sd_bus* bus, const char* path, const char* interface, const char* property,
                        sd_bus_message* reply, void* self, sd_bus_error*);

  struct Click {
    MouseButton Button;
    Point At;
  };

  Platform& FPlatform;
  sd_bus* FBus;
  TrayIconListener FNoListener;
  TrayIconListener* FListener;
  sd_bus_slot* FObjectSlot = nullptr;
  sd_bus_slot* FMatchSlot = nullptr;
  sd_bus_slot* FRegisterSlot = nullptr;
  std::string FName;  // our well-known name on the bus
  std::string FIconName, FThemePath;
  std::string FTip;
  gfx::Bitmap FIcon;
  bool FRegistered = false;
  bool FWatched = false;
  std::vector<Click> FClicks;  // waiting for the bus's callbacks to return
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace plat
