#pragma once
// A stand-in StatusNotifierWatcher on a test's private session bus: it records the items that
// register, and reads their properties as a panel does.
#include <systemd/sd-bus.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace x11test {

inline constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

// Owns org.kde.StatusNotifierWatcher and records the services that register.
class StandInWatcher {
 public:
  explicit StandInWatcher(const std::string& address) {
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", &StandInWatcher::Register, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    Ok = sd_bus_new(&Bus) >= 0 && sd_bus_set_address(Bus, address.c_str()) >= 0 && sd_bus_set_bus_client(Bus, 1) >= 0 &&
         sd_bus_start(Bus) >= 0 &&
         sd_bus_add_object_vtable(Bus, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", vtable, this) >= 0 &&
         sd_bus_request_name(Bus, "org.kde.StatusNotifierWatcher", 0) >= 0;
  }
  ~StandInWatcher() { sd_bus_flush_close_unref(Bus); }
  void Pump() {
    while (sd_bus_process(Bus, nullptr) > 0) {
    }
  }
  static int Register(sd_bus_message* m, void* self, sd_bus_error*) {
    const char* service = nullptr;
    if (sd_bus_message_read(m, "s", &service) >= 0) static_cast<StandInWatcher*>(self)->Items.push_back(service);
    return sd_bus_reply_method_return(m, "");
  }
  std::string Text(const std::string& service, const char* property) {
    char* value = nullptr;
    sd_bus_error e = SD_BUS_ERROR_NULL;
    sd_bus_get_property_string(Bus, service.c_str(), "/StatusNotifierItem", kItemInterface, property, &e, &value);
    sd_bus_error_free(&e);
    std::string s = value ? value : "<no answer>";
    free(value);
    return s;
  }

  sd_bus* Bus = nullptr;
  bool Ok = false;
  std::vector<std::string> Items;
};

// Whether NAME has an owner on BUS.
inline bool HasOwner(sd_bus* bus, const std::string& name) {
  sd_bus_message* reply = nullptr;
  int owned = 0;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         nullptr, &reply, "s", name.c_str()) >= 0)
    sd_bus_message_read(reply, "b", &owned);
  sd_bus_message_unref(reply);
  return owned != 0;
}


}  // namespace x11test
