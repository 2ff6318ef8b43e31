#pragma once
// Which window system the program runs on: Wayland where the compositor offers layer-shell
// (the strip must float over everything at an exact place), else X11 (XWayland under GNOME),
// else none. A backend named on the command line is the only one tried.
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"

struct TOpenedBackend {
  std::unique_ptr<plat::Platform> FPlatform;  // null when none could start
  std::string FName;    // "wayland" or "x11"
  std::string FReason;  // why none started, for the user
  // The display going away: HANDLER runs once before the loop ends; LOST tells afterwards.
  std::function<void(std::function<void()> handler)> FSetConnectionLostHandler;
  std::function<bool()> FConnectionLost;
};

// FORCED is "wayland", "x11" or empty for the automatic choice.
TOpenedBackend OpenBackend(const std::string& forced);
