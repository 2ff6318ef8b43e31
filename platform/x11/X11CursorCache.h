#pragma once
// X cursors for the standard shapes (from the cursor font) and for custom monochrome images,
// created on first use and freed with the cache.
#include <X11/Xlib.h>

#include <map>
#include <vector>

#include "platform/Cursor.h"

namespace plat {

class X11CursorCache {
 public:
  explicit X11CursorCache(Display* dpy, ::Window root) : FDpy(dpy), FRoot(root) {}
  ~X11CursorCache();
  X11CursorCache(const X11CursorCache&) = delete;
  X11CursorCache& operator=(const X11CursorCache&) = delete;

  Cursor Get(const CursorLook& look);
  void Forget() { FStandard.clear(); FCustom.clear(); }  // after the connection died

  // The cursor-font glyph for a standard shape.
  static unsigned int FontShapeOf(StdCursor c);

 private:
  Cursor MakeImageCursor(const CursorImage& image);

  struct Custom {
    CursorImage Image;
    Cursor Handle;
  };
  Display* FDpy;
  ::Window FRoot;
  std::map<StdCursor, Cursor> FStandard;
  std::vector<Custom> FCustom;
};

}  // namespace plat
