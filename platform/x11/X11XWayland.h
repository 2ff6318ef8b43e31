#pragma once
// Telling XWayland (the X server a Wayland compositor runs for X programs) from a real X
// server. Under XWayland the root window holds only the X programs' pixels and the pointer is
// seen only over X windows, so the screen must be read through the desktop's screenshot portal.
#include <string>
#include <vector>

namespace plat {

class X11Display;

// NAMES: the RandR outputs' and monitors' names; EXTENSION: whether the server offers the
// XWAYLAND extension. XWayland names its outputs and monitors XWAYLAND0, XWAYLAND1...
bool LooksLikeXWayland(const std::vector<std::string>& names, bool extension);

// Asks DISPLAY's server.
bool DetectXWayland(X11Display& display);

// Whether the user's X resources (xrdb) say "Vantrel.screenshotPortal: true": read the screen
// through the screenshot portal as under XWayland, for X servers whose root window does not
// show what the user sees and that do not tell (a nested or remote session, a test).
bool PortalAskedFor(X11Display& display);

}  // namespace plat
