#include "platform/dbus/StatusNotifierItem.h"

#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace plat {

namespace {

constexpr const char* kInterface = "org.kde.StatusNotifierItem";
constexpr const char* kAppId = "org.vantrel.Vantrel";
// A bus that does not answer must not freeze the program that asked it for long.
constexpr std::uint64_t kCallTimeoutUs = 2'000'000;

sd_bus* OpenSessionBus() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return nullptr;
  sd_bus_set_method_call_timeout(bus, kCallTimeoutUs);
  return bus;
}

bool HasOwner(sd_bus* bus, const char* name) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int owned = 0;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         &error, &reply, "s", name) >= 0)
    if (sd_bus_message_read(reply, "b", &owned) < 0) owned = 0;
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  return owned != 0;
}

int AppendPixmaps(sd_bus_message* reply, const gfx::Bitmap& icon, bool any) {
  int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
  if (any && !icon.IsEmpty())
    for (int size : StatusNotifierItem::kPixmapSizes) {
      const std::vector<std::uint8_t> data = StatusNotifierItem::Pixmap(icon, size);
      if (r >= 0) r = sd_bus_message_open_container(reply, 'r', "iiay");
      if (r >= 0) r = sd_bus_message_append(reply, "ii", size, size);
      if (r >= 0) r = sd_bus_message_append_array(reply, 'y', data.data(), data.size());
      if (r >= 0) r = sd_bus_message_close_container(reply);
    }
  return r >= 0 ? sd_bus_message_close_container(reply) : r;
}

const sd_bus_vtable* Vtable(sd_bus_property_get_t property, sd_bus_message_handler_t method) {
  static std::vector<sd_bus_vtable> table;
  if (table.empty()) {
    table.push_back(SD_BUS_VTABLE_START(0));
    for (const char* name : {"Category", "Id", "Title", "Status", "IconName", "IconThemePath", "OverlayIconName",
                             "AttentionIconName", "AttentionMovieName"})
      table.push_back(SD_BUS_PROPERTY(name, "s", property, 0, 0));
    table.push_back(SD_BUS_PROPERTY("WindowId", "i", property, 0, 0));
    table.push_back(SD_BUS_PROPERTY("ItemIsMenu", "b", property, 0, 0));
    for (const char* name : {"IconPixmap", "OverlayIconPixmap", "AttentionIconPixmap"})
      table.push_back(SD_BUS_PROPERTY(name, "a(iiay)", property, 0, 0));
    table.push_back(SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", property, 0, 0));
    for (const char* name : {"Activate", "SecondaryActivate", "ContextMenu"})
      table.push_back(SD_BUS_METHOD(name, "ii", "", method, SD_BUS_VTABLE_UNPRIVILEGED));
    table.push_back(SD_BUS_METHOD("Scroll", "is", "", method, SD_BUS_VTABLE_UNPRIVILEGED));
    for (const char* name : {"NewTitle", "NewIcon", "NewAttentionIcon", "NewOverlayIcon", "NewToolTip"})
      table.push_back(SD_BUS_SIGNAL(name, "", 0));
    table.push_back(SD_BUS_SIGNAL("NewStatus", "s", 0));
    table.push_back(SD_BUS_VTABLE_END);
  }
  return table.data();
}

}  // namespace

bool StatusNotifierItem::WatcherPresent() {
  sd_bus* bus = OpenSessionBus();
  if (!bus) return false;
  const bool present = HasOwner(bus, kWatcher);
  sd_bus_flush_close_unref(bus);
  return present;
}

std::unique_ptr<StatusNotifierItem> StatusNotifierItem::Create(Platform& platform, TrayIconListener* listener) {
  sd_bus* bus = OpenSessionBus();
  if (!bus) return nullptr;
  if (!HasOwner(bus, kWatcher)) {
    sd_bus_flush_close_unref(bus);
    return nullptr;
  }
  std::unique_ptr<StatusNotifierItem> item(new StatusNotifierItem(platform, bus, listener));
  if (!item->Publish()) return nullptr;
  return item;
}

StatusNotifierItem::StatusNotifierItem(Platform& platform, sd_bus* bus, TrayIconListener* listener)
    : FPlatform(platform), FBus(bus), FListener(listener ? listener : &FNoListener) {
  // The theme's name of the icon, where the package installed it beside the program; hosts
  // that cannot find it take the pixmaps.
  const std::filesystem::path icons = std::filesystem::path(platform.ExecutableDir() + "../share/icons").lexically_normal();
  std::error_code ec;
  if (std::filesystem::is_regular_file(icons / "hicolor/scalable/apps" / (std::string(kAppId) + ".svg"), ec)) {
    FIconName = kAppId;
    FThemePath = icons.string();
  }
}

bool StatusNotifierItem::Publish() {
  // One name per item, as the protocol suggests: the process id and a serial.
  static std::atomic<int> serial{0};
  FName = "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
  if (sd_bus_add_object_vtable(FBus, &FObjectSlot, kObjectPath, kInterface, Vtable(&OnProperty, &OnMethod), this) < 0 ||
      sd_bus_request_name(FBus, FName.c_str(), 0) < 0)
    return false;
  const std::string match = std::string("type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                                        "member='NameOwnerChanged',arg0='") + kWatcher + "'";
  if (sd_bus_add_match(FBus, &FMatchSlot, match.c_str(), &OnOwnerChanged, this) < 0) return false;
  if (!FPlatform.AddFdWatch(this)) return false;
  FWatched = true;
  Register();
  return true;
}

StatusNotifierItem::~StatusNotifierItem() {
  FAlive.reset();
  if (FWatched) FPlatform.RemoveFdWatch(this);
  sd_bus_slot_unref(FRegisterSlot);
  sd_bus_slot_unref(FMatchSlot);
  sd_bus_slot_unref(FObjectSlot);
  // Closing the connection drops our name: the watcher then removes the item.
  sd_bus_flush_close_unref(FBus);
}

void StatusNotifierItem::Register() {
  FRegisterSlot = sd_bus_slot_unref(FRegisterSlot);
  // Not waited for: a watcher may read our properties before it answers.
  if (sd_bus_call_method_async(FBus, &FRegisterSlot, kWatcher, "/StatusNotifierWatcher", kWatcher,
                               "RegisterStatusNotifierItem", &OnRegistered, this, "s", FName.c_str()) < 0)
    std::fprintf(stderr, "vantrel: the tray icon could not be registered on the session bus.\n");
}

int StatusNotifierItem::OnRegistered(sd_bus_message* reply, void* self, sd_bus_error*) {
  auto* me = static_cast<StatusNotifierItem*>(self);
  me->FRegistered = !sd_bus_message_is_method_error(reply, nullptr);
  if (!me->FRegistered)
    std::fprintf(stderr, "vantrel: the StatusNotifierWatcher refused the tray icon: %s\n",
                 sd_bus_message_get_error(reply) ? sd_bus_message_get_error(reply)->message : "no reason given");
  return 0;
}

int StatusNotifierItem::OnOwnerChanged(sd_bus_message* m, void* self, sd_bus_error*) {
  auto* me = static_cast<StatusNotifierItem*>(self);
  const char *name = nullptr, *before = nullptr, *after = nullptr;
  if (sd_bus_message_read(m, "sss", &name, &before, &after) < 0 || std::strcmp(name, kWatcher) != 0) return 0;
  // A new watcher knows nothing of us (the panel restarted).
  me->FRegistered = false;
  if (after && *after) me->Register();
  return 0;
}

int StatusNotifierItem::OnMethod(sd_bus_message* m, void* self, sd_bus_error*) {
  auto* me = static_cast<StatusNotifierItem*>(self);
  const std::string member = sd_bus_message_get_member(m);
  int x = 0, y = 0;
  if (member != "Scroll" && sd_bus_message_read(m, "ii", &x, &y) >= 0) {
    // What the same button does on the notification-area icon.
    const MouseButton button = member == "Activate"            ? MouseButton::Left
                               : member == "SecondaryActivate" ? MouseButton::Middle
                                                               : MouseButton::Right;
    me->FClicks.push_back({button, {x, y}});
  }
  return sd_bus_reply_method_return(m, "");
}

int StatusNotifierItem::OnProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                                   void* self, sd_bus_error*) {
  auto* me = static_cast<StatusNotifierItem*>(self);
  const std::string p = property;
  if (p == "Category") return sd_bus_message_append(reply, "s", "ApplicationStatus");
  if (p == "Id") return sd_bus_message_append(reply, "s", "vantrel");
  if (p == "Title") return sd_bus_message_append(reply, "s", "Vantrel");
  if (p == "Status") return sd_bus_message_append(reply, "s", "Active");
  if (p == "IconName") return sd_bus_message_append(reply, "s", me->FIconName.c_str());
  if (p == "IconThemePath") return sd_bus_message_append(reply, "s", me->FThemePath.c_str());
  if (p == "WindowId") return sd_bus_message_append(reply, "i", 0);
  if (p == "ItemIsMenu") return sd_bus_message_append(reply, "b", 0);
  if (p.ends_with("Pixmap")) return AppendPixmaps(reply, me->FIcon, p == "IconPixmap");
  if (p == "ToolTip") {
    int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
    if (r >= 0) r = sd_bus_message_append(reply, "s", "");
    if (r >= 0) r = AppendPixmaps(reply, me->FIcon, false);
    if (r >= 0) r = sd_bus_message_append(reply, "ss", me->FTip.c_str(), "");
    return r >= 0 ? sd_bus_message_close_container(reply) : r;
  }
  return sd_bus_message_append(reply, "s", "");  // overlay and attention names: none
}

void StatusNotifierItem::Emit(const char* signal) {
  if (FBus) sd_bus_emit_signal(FBus, kObjectPath, kInterface, signal, nullptr);
}

void StatusNotifierItem::SetIcon(const gfx::Bitmap& icon) {
  FIcon = icon;
  Emit("NewIcon");
}

void StatusNotifierItem::SetTip(const std::string& tip) {
  if (tip == FTip) return;
  FTip = tip;
  Emit("NewToolTip");
}

std::vector<std::uint8_t> StatusNotifierItem::Pixmap(const gfx::Bitmap& icon, int size) {
  std::vector<std::uint8_t> out(std::size_t(size) * size * 4, 0);
  if (icon.IsEmpty() || size <= 0) return out;
  const int iw = icon.Width(), ih = icon.Height();
  const int scale = std::min(size / iw, size / ih);
  const int w = scale > 0 ? iw * scale : size, h = scale > 0 ? ih * scale : size;
  const int ox = (size - w) / 2, oy = (size - h) / 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const gfx::TColor c = icon.At(x * iw / w, y * ih / h);  // 0x00BBGGRR
      std::uint8_t* p = &out[(std::size_t(oy + y) * size + std::size_t(ox + x)) * 4];
      p[0] = 0xFF;
      p[1] = std::uint8_t(c);
      p[2] = std::uint8_t(c >> 8);
      p[3] = std::uint8_t(c >> 16);
    }
  return out;
}

int StatusNotifierItem::Fd() { return sd_bus_get_fd(FBus); }

short StatusNotifierItem::PollEvents() {
  const int events = sd_bus_get_events(FBus);
  return events > 0 ? short(events) : 0;
}

int StatusNotifierItem::TimeoutMs() {
  std::uint64_t due = 0;
  if (sd_bus_get_timeout(FBus, &due) < 0 || due == UINT64_MAX) return -1;
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const std::uint64_t now = std::uint64_t(ts.tv_sec) * 1'000'000 + std::uint64_t(ts.tv_nsec) / 1000;
  if (due <= now) return 0;
  return int(std::min<std::uint64_t>((due - now + 999) / 1000, 1u << 30));
}

void StatusNotifierItem::Dispatch() {
  int r;
  while ((r = sd_bus_process(FBus, nullptr)) > 0) {
  }
  if (r < 0) {
    // The bus went away: stop watching a descriptor that would only ever report a hang-up.
    FRegistered = false;
    if (FWatched) FPlatform.RemoveFdWatch(this);
    FWatched = false;
  }
  // The listener may destroy this item (a click restores the program and removes the icon).
  std::weak_ptr<bool> alive = FAlive;
  const std::vector<Click> clicks = std::move(FClicks);
  FClicks.clear();
  for (const Click& c : clicks) {
    if (alive.expired()) return;
    FListener->OnTrayMouseDown(c.Button, c.At);
    if (alive.expired()) return;
    FListener->OnTrayMouseUp(c.Button, c.At);
  }
}

}  // namespace plat
