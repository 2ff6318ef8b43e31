// Vantrel on the desktop: Wayland with layer-shell, else the X11 display named by DISPLAY; or
// the answer to --help and --version.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/BackendChoice.h"
#include "app/CommandLine.h"
#include "app/VantrelMain.h"
#include "platform/Platform.h"

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
  const std::string forced = line.Backend == TBackendChoice::Wayland ? "wayland"
                             : line.Backend == TBackendChoice::X11   ? "x11"
                                                                     : "";
  TOpenedBackend backend = OpenBackend(forced);
  if (backend.FPlatform) {
    plat::Platform::SetCurrent(backend.FPlatform.get());
    // The display went away (the session ended, the server died): keep what the user set
    // up before the program ends.
    backend.FSetConnectionLostHandler([] {
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
    if (backend.FConnectionLost() && status == 0) status = 1;
    plat::Platform::SetCurrent(nullptr);
    return status;
  }
  if (!forced.empty()) {
    std::fprintf(stderr, "vantrel: %s\n", backend.FReason.c_str());
    return 1;
  }
  if (!backend.FReason.empty()) std::fprintf(stderr, "vantrel: %s\n", backend.FReason.c_str());
  std::fprintf(stderr,
               "vantrel: Vantrel needs an X11 display (set DISPLAY) or a Wayland compositor with layer-shell\n"
               "(WAYLAND_DISPLAY). Without one, run it on the virtual desktop with the scenario runner, for example:\n"
               "  build/vantrel-scenario scripts/demo.scn\n"
               "(see build/vantrel-scenario --help).\n");
  return 1;
}
