// Vantrel on the desktop: the X11 display named by DISPLAY.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/VantrelMain.h"
#include "platform/Platform.h"
#ifdef VANTREL_WITH_X11
#include "platform/x11/X11Platform.h"
#endif

int main() {
  const char* display = std::getenv("DISPLAY");
#ifdef VANTREL_WITH_X11
  if (display && *display) {
    auto x11 = plat::X11Platform::Open(display);
    if (x11) {
      plat::Platform::SetCurrent(x11.get());
      // The display went away (the session ended, the server died): keep what the user set
      // up before the program ends.
      x11->SetConnectionLostHandler([] {
        std::fprintf(stderr, "vantrel: the connection to the display was lost.\n");
        VantrelSaveSettings();
      });
      int status = 0;
      try {
        status = VantrelMain();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel: %s\n", e.what());
        status = 1;
      }
      // Ending because the display went away is not a normal end.
      if (x11->ConnectionLost() && status == 0) status = 1;
      plat::Platform::SetCurrent(nullptr);
      return status;
    }
    std::fprintf(stderr, "vantrel: cannot open the display \"%s\".\n", display);
  }
#endif
  std::fprintf(stderr,
               "vantrel: Vantrel needs an X11 display (set DISPLAY).\n"
               "Without one, run it on the virtual desktop with the scenario runner, for example:\n"
               "  build/vantrel-scenario scripts/demo.scn\n"
               "(see build/vantrel-scenario --help).\n");
  (void)display;
  return 1;
}
