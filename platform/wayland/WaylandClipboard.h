#pragma once
// The clipboard through wlroots' data-control protocol: the selection is set without the
// keyboard focus (the strip copies on Ctrl+C while the pointer is elsewhere) and served from
// memory to whoever pastes. Where the compositor lacks it, the core protocol's data device,
// which takes the selection with the serial of our latest input event.
#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct zwlr_data_control_manager_v1;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_source_v1;
struct zwlr_data_control_offer_v1;

namespace plat {

class WaylandClipboard {
 public:
  WaylandClipboard(wl_display* display, zwlr_data_control_manager_v1* manager, wl_seat* seat);
  // SERIAL tells the serial of the latest key or button event the seat gave us.
  WaylandClipboard(wl_display* display, wl_data_device_manager* manager, wl_seat* seat,
                   std::function<std::uint32_t()> serial);
  ~WaylandClipboard();
  WaylandClipboard(const WaylandClipboard&) = delete;
  WaylandClipboard& operator=(const WaylandClipboard&) = delete;

  void SetText(const std::string& utf8);
  void SetPng(std::vector<std::uint8_t> png);

 private:
  void Offer(const std::vector<const char*>& types, std::vector<std::uint8_t> data);
  static void OnSend(void* data, zwlr_data_control_source_v1* source, const char* type, std::int32_t fd);
  static void OnCancelled(void* data, zwlr_data_control_source_v1* source);
  static void Send(void* data, std::int32_t fd);

  wl_display* FDisplay;
  zwlr_data_control_manager_v1* FManager = nullptr;
  zwlr_data_control_device_v1* FDevice = nullptr;
  wl_data_device_manager* FCoreManager = nullptr;
  wl_data_device* FCoreDevice = nullptr;
  wl_data_source* FCoreSource = nullptr;
  std::function<std::uint32_t()> FSerial;
  zwlr_data_control_source_v1* FSource = nullptr;
  zwlr_data_control_offer_v1* FOffer = nullptr;  // the current selection, someone else's
  std::vector<std::uint8_t> FData;
};

}  // namespace plat
