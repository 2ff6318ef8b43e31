#pragma once
// Something that owns an X window and wants the events for it (our windows, tray icons, the
// clipboard's selection window).
#include <X11/Xlib.h>

namespace plat {

class X11EventSink {
 public:
  virtual ~X11EventSink() = default;
  virtual void HandleEvent(XEvent& event) = 0;
};

}  // namespace plat
