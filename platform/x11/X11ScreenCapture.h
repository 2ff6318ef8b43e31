#pragma once
// Reads rectangles of the root window into bitmaps: MIT-SHM where the server shares memory
// with us (one segment, kept and grown), plain XGetImage otherwise.
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "graphics/Bitmap.h"
#include "platform/x11/X11Display.h"

namespace plat {

class X11ScreenCapture {
 public:
  explicit X11ScreenCapture(X11Display& display);
  ~X11ScreenCapture();
  X11ScreenCapture(const X11ScreenCapture&) = delete;
  X11ScreenCapture& operator=(const X11ScreenCapture&) = delete;

  // Parts of R outside the screen read as black.
  gfx::Bitmap Capture(const gfx::Rect& r);
  bool UsingShm() const { return FShmWorks; }
  void DisableShm();  // for tests of the plain path, and after a failure

 private:
  bool ReadShm(const gfx::Rect& r, gfx::Bitmap& out, int dx, int dy);
  bool ReadPlain(const gfx::Rect& r, gfx::Bitmap& out, int dx, int dy);
  bool EnsureSegment(std::size_t bytes);
  void ReleaseSegment();

  X11Display& FDisplay;
  bool FShmWorks;
  XShmSegmentInfo FSegment{};
  std::size_t FSegmentSize = 0;
  bool FAttached = false;
};

}  // namespace plat
