// Vantrel on the desktop: the X11 display named by DISPLAY.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/VantrelMain.h"
#include "platform/Platform.h"
#ifdef VANTREL_WITH_X11
#include "platform/x11/X11Platform.h"
#endif

int main(int argc, char** argv) {
  const TCommandLine line = ParseCommandLine(std::vector<std::string>(argv + (argc > 0), argv + argc));
  switch (line.Action) {
    case TCommandLine::TAction::Help:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case TCommandLine::TAction::Version:
      std::printf("%s\n", VersionText().c_str());
      return 0;
    case TCommandLine::TAction::Error:
      std::fprintf(stderr, "vantrel: %s\n\n%s", line.Error.c_str(), UsageText().c_str());
      return 2;
    case TCommandLine::TAction::Run: break;
  }
  if (line.Backend == TBackendChoice::Wayland) {
    std::fprintf(stderr, "vantrel: this build has no Wayland backend.\n");
    return 1;
  }
  const bool forcedX11 = line.Backend == TBackendChoice::X11;
  const char* display = std::getenv("DISPLAY");
#ifdef VANTREL_WITH_X11
  if (forcedX11 && !(display && *display)) {
    std::fprintf(stderr, "vantrel: --backend=x11 needs an X11 display, but DISPLAY is not set.\n");
    return 1;
  }
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
    if (forcedX11) return 1;
  }
#else
  if (forcedX11) {
    std::fprintf(stderr, "vantrel: this build has no X11 backend.\n");
    return 1;
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
