#include "platform/x11/X11ScreenCapture.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/x11/X11ErrorTrap.h"

namespace plat {

namespace {
// The segment is kept between captures up to this size: the loupe and the lens read small
// pieces on every tick. A whole-screen picture (edge snapping at the start of a drag) is read
// through a segment of its own that goes at once, rather than pinning megabytes of shared
// memory for the rest of the session.
constexpr std::size_t kKeptSegmentBytes = std::size_t(1) << 20;
}  // namespace

X11ScreenCapture::X11ScreenCapture(X11Display& display)
    : FDisplay(display), FShmWorks(display.HasShm() && display.RootIsTrueColor()) {}

X11ScreenCapture::~X11ScreenCapture() { ReleaseSegment(); }

void X11ScreenCapture::DisableShm() {
  ReleaseSegment();
  FShmWorks = false;
}

void X11ScreenCapture::ReleaseSegment() {
  if (FSegmentSize == 0) return;
  if (FAttached && !FDisplay.ConnectionLost()) {
    XShmDetach(FDisplay.Dpy(), &FSegment);
    XSync(FDisplay.Dpy(), False);
  }
  shmdt(FSegment.shmaddr);
  FSegment = {};
  FSegmentSize = 0;
  FAttached = false;
}

bool X11ScreenCapture::EnsureSegment(std::size_t bytes) {
  if (FSegmentSize >= bytes) return true;
  ReleaseSegment();
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return false;
  void* addr = shmat(id, nullptr, 0);
  if (addr == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return false;
  }
  FSegment.shmid = id;
  FSegment.shmaddr = static_cast<char*>(addr);
  FSegment.readOnly = False;
  FSegmentSize = bytes;
  // The server may be on another machine or refuse; then the attach fails with an error.
  X11ErrorTrap trap(FDisplay.Dpy());
  const bool ok = XShmAttach(FDisplay.Dpy(), &FSegment) && !trap.Failed();
  // Marked for removal now: it goes away by itself when both sides detach, even on a crash.
  shmctl(id, IPC_RMID, nullptr);
  FAttached = ok;
  if (!ok) {
    ReleaseSegment();
    return false;
  }
  return true;
}

bool X11ScreenCapture::ReadShm(const gfx::Rect& r, gfx::Bitmap& out, int dx, int dy) {
  Display* dpy = FDisplay.Dpy();
  Visual* visual = DefaultVisual(dpy, FDisplay.ScreenNumber());
  const int depth = DefaultDepth(dpy, FDisplay.ScreenNumber());
  XImage* image = XShmCreateImage(dpy, visual, unsigned(depth), ZPixmap, nullptr, &FSegment,
                                  unsigned(r.Width()), unsigned(r.Height()));
  if (!image) return false;
  const std::size_t bytes = std::size_t(image->bytes_per_line) * std::size_t(image->height);
  if (!EnsureSegment(bytes)) {
    XDestroyImage(image);
    return false;
  }
  image->data = FSegment.shmaddr;
  // A request with a reply reports its own error through it: no extra round trips to trap it
  // (the capture runs on every tick of a moving pointer).
  const bool ok = XShmGetImage(dpy, FDisplay.Root(), image, r.left, r.top, AllPlanes) != 0;
  if (ok) FDisplay.RootFormat().Decode(image, out, dx, dy);
  // The data and the segment info are ours, not the image's.
  image->data = nullptr;
  image->obdata = nullptr;
  XDestroyImage(image);
  if (FSegmentSize > kKeptSegmentBytes) ReleaseSegment();
  return ok;
}

bool X11ScreenCapture::ReadPlain(const gfx::Rect& r, gfx::Bitmap& out, int dx, int dy) {
  X11ErrorTrap trap(FDisplay.Dpy());
  XImage* image = XGetImage(FDisplay.Dpy(), FDisplay.Root(), r.left, r.top, unsigned(r.Width()),
                            unsigned(r.Height()), AllPlanes, ZPixmap);
  if (!image) return false;
  if (FDisplay.RootIsTrueColor()) FDisplay.RootFormat().Decode(image, out, dx, dy);
  XDestroyImage(image);
  return !trap.Failed();
}

gfx::Bitmap X11ScreenCapture::Capture(const gfx::Rect& r) {
  if (r.IsEmpty()) return {};
  gfx::Bitmap out(r.Width(), r.Height(), 0);
  if (FDisplay.ConnectionLost()) return out;
  const gfx::Rect screen{0, 0, FDisplay.RootWidth(), FDisplay.RootHeight()};
  const gfx::Rect part = r.Intersect(screen);
  if (part.IsEmpty()) return out;
  const int dx = part.left - r.left, dy = part.top - r.top;
  if (FShmWorks) {
    if (ReadShm(part, out, dx, dy)) return out;
    DisableShm();
  }
  ReadPlain(part, out, dx, dy);
  return out;
}

}  // namespace plat
