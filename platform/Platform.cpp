#include "platform/Platform.h"

#include <stdexcept>

namespace plat {

namespace {
Platform* gCurrent = nullptr;
}

Platform& Platform::Current() {
  if (!gCurrent) throw std::logic_error("no platform has been set");
  return *gCurrent;
}

bool Platform::HasCurrent() { return gCurrent != nullptr; }

void Platform::SetCurrent(Platform* platform) { gCurrent = platform; }

}  // namespace plat
