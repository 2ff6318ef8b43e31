#pragma once
// The monitors of an X screen, from RandR: its monitor list (1.5 and newer, which also holds
// monitors a user defined with `xrandr --setmonitor`), else the active CRTCs with the
// physical size of their first output. The primary comes first; empty when the server tells
// nothing (no RandR, no active CRTC).
#include <vector>

#include "platform/Monitor.h"

namespace plat {

class X11Display;

std::vector<Monitor> QueryMonitors(X11Display& display);

}  // namespace plat
