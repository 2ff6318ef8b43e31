#pragma once
// One picture of the whole desktop from the desktop's screenshot portal
// (org.freedesktop.portal.Screenshot on the session bus), where the program cannot read the
// screen itself (GNOME through XWayland). The portal answers later, maybe after asking the
// user: the bus is polled from a platform timer while a request is pending, and dropped when
// it is done.
//
// Implemented: Screenshot with interactive false and a handle token; the Response signal of
// the request, subscribed before the call on the path the token gives; the PNG at the
// returned file:// URI, deleted when it lies in a temporary folder.
// Missing: the version 3 "target" option; cancelling a request the user has not answered.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace plat {

// The request object's path the portal will use: the bus's unique name without its ':' and
// with '.' turned to '_', then the token (":1.42", "vantrel1" ->
// "/org/freedesktop/portal/desktop/request/1_42/vantrel1").
std::string PortalRequestPath(const std::string& uniqueName, const std::string& token);
// The local file of a file:// URI, %XX escapes decoded; empty for any other URI.
std::string FileOfUri(const std::string& uri);
// Whether PATH lies inside one of the temporary folders (/tmp, $TMPDIR, $XDG_RUNTIME_DIR), so
// that the portal's copy may be deleted: a screenshot in the user's own folders stays.
bool InTemporaryFolder(const std::string& path);

class ScreenshotPortal {
 public:
  explicit ScreenshotPortal(Platform& platform);
  ~ScreenshotPortal();
  ScreenshotPortal(const ScreenshotPortal&) = delete;
  ScreenshotPortal& operator=(const ScreenshotPortal&) = delete;

  // Asks for the picture; DONE gets it or a message for the user, from a timer tick (never
  // from inside this call), exactly once unless this object goes first.
  void Request(std::function<void(DesktopPicture)> done);
  bool Pending() const { return !FCalls.empty(); }

  struct Call;  // one request, its own bus connection and its answer

 private:
  void Poll();

  Platform& FPlatform;
  std::vector<std::unique_ptr<Call>> FCalls;
  Platform::TimerId FTimer = 0;  // polls the buses while a request is pending
  unsigned FCount = 0;           // tokens already used
};

}  // namespace plat
