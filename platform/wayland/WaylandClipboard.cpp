#include "platform/wayland/WaylandClipboard.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "platform/wayland/WaylandProtocols.h"

namespace plat {

WaylandClipboard::WaylandClipboard(wl_display* display, zwlr_data_control_manager_v1* manager, wl_seat* seat)
    : FDisplay(display), FManager(manager), FDevice(zwlr_data_control_manager_v1_get_data_device(manager, seat)) {
  // A reader that goes away mid-copy must not end the program.
  signal(SIGPIPE, SIG_IGN);
  static const zwlr_data_control_device_v1_listener kDevice{
      [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {},
      [](void* d, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
        // Offers are never read here: only the newest is kept, to be destroyed.
        auto* self = static_cast<WaylandClipboard*>(d);
        if (self->FOffer) zwlr_data_control_offer_v1_destroy(self->FOffer);
        self->FOffer = offer;
      },
      [](void*, zwlr_data_control_device_v1*) {},
      [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
        if (offer) zwlr_data_control_offer_v1_destroy(offer);
      }};
  zwlr_data_control_device_v1_add_listener(FDevice, &kDevice, this);
}

WaylandClipboard::WaylandClipboard(wl_display* display, wl_data_device_manager* manager, wl_seat* seat,
                                   std::function<std::uint32_t()> serial)
    : FDisplay(display), FCoreManager(manager), FCoreDevice(wl_data_device_manager_get_data_device(manager, seat)),
      FSerial(std::move(serial)) {
  signal(SIGPIPE, SIG_IGN);
  static const wl_data_device_listener kDevice{
      [](void*, wl_data_device*, wl_data_offer*) {},
      [](void*, wl_data_device*, std::uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t, wl_data_offer*) {},
      [](void*, wl_data_device*) {},
      [](void*, wl_data_device*, std::uint32_t, wl_fixed_t, wl_fixed_t) {},
      [](void*, wl_data_device*) {},
      // Offers are never read here.
      [](void*, wl_data_device*, wl_data_offer* offer) {
        if (offer) wl_data_offer_destroy(offer);
      }};
  wl_data_device_add_listener(FCoreDevice, &kDevice, this);
}

WaylandClipboard::~WaylandClipboard() {
  if (FSource) zwlr_data_control_source_v1_destroy(FSource);
  if (FOffer) zwlr_data_control_offer_v1_destroy(FOffer);
  if (FDevice) zwlr_data_control_device_v1_destroy(FDevice);
  if (FCoreSource) wl_data_source_destroy(FCoreSource);
  if (FCoreDevice) wl_data_device_release(FCoreDevice);
}

void WaylandClipboard::SetText(const std::string& utf8) {
  Offer({"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING", "TEXT"},
        std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
}

void WaylandClipboard::SetPng(std::vector<std::uint8_t> png) { Offer({"image/png"}, std::move(png)); }

void WaylandClipboard::Offer(const std::vector<const char*>& types, std::vector<std::uint8_t> data) {
  FData = std::move(data);
  if (FCoreManager) {
    if (FCoreSource) wl_data_source_destroy(FCoreSource);
    FCoreSource = wl_data_device_manager_create_data_source(FCoreManager);
    static const wl_data_source_listener kSource{
        [](void*, wl_data_source*, const char*) {},
        [](void* d, wl_data_source*, const char*, std::int32_t fd) { Send(d, fd); },
        [](void* d, wl_data_source* source) {
          auto* self = static_cast<WaylandClipboard*>(d);
          if (self->FCoreSource == source) self->FCoreSource = nullptr;
          wl_data_source_destroy(source);
        },
        [](void*, wl_data_source*) {}, [](void*, wl_data_source*) {}, [](void*, wl_data_source*, std::uint32_t) {}};
    wl_data_source_add_listener(FCoreSource, &kSource, this);
    for (const char* t : types) wl_data_source_offer(FCoreSource, t);
    wl_data_device_set_selection(FCoreDevice, FCoreSource, FSerial ? FSerial() : 0);
    wl_display_flush(FDisplay);
    return;
  }
  if (FSource) zwlr_data_control_source_v1_destroy(FSource);
  FSource = zwlr_data_control_manager_v1_create_data_source(FManager);
  static const zwlr_data_control_source_v1_listener kSource{&WaylandClipboard::OnSend, &WaylandClipboard::OnCancelled};
  zwlr_data_control_source_v1_add_listener(FSource, &kSource, this);
  for (const char* t : types) zwlr_data_control_source_v1_offer(FSource, t);
  zwlr_data_control_device_v1_set_selection(FDevice, FSource);
  wl_display_flush(FDisplay);
}

void WaylandClipboard::OnSend(void* data, zwlr_data_control_source_v1*, const char*, std::int32_t fd) { Send(data, fd); }

void WaylandClipboard::Send(void* data, std::int32_t fd) {
  auto* self = static_cast<WaylandClipboard*>(data);
  // Every type offered carries the same bytes. The reader reads as we write.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::size_t done = 0;
  while (done < self->FData.size()) {
    const ssize_t n = write(fd, self->FData.data() + done, self->FData.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += std::size_t(n);
  }
  close(fd);
}

void WaylandClipboard::OnCancelled(void* data, zwlr_data_control_source_v1* source) {
  // Someone else owns the clipboard now.
  auto* self = static_cast<WaylandClipboard*>(data);
  if (self->FSource == source) self->FSource = nullptr;
  zwlr_data_control_source_v1_destroy(source);
}

}  // namespace plat
