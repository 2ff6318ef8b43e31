#include "platform/virtual/VirtualTrayIcon.h"

#include "platform/virtual/VirtualDesktop.h"

namespace plat {

VirtualTrayIcon::VirtualTrayIcon(VirtualDesktop* desktop, std::uint64_t serial, TrayIconListener* listener)
    : FDesktop(desktop), FSerial(serial), FListener(listener) {}

VirtualTrayIcon::~VirtualTrayIcon() {
  if (FDesktop) FDesktop->TrayIconDestroyed(this);
}

bool VirtualTrayIcon::Visible() const { return FDesktop && FDesktop->TrayAvailable(); }

}  // namespace plat
