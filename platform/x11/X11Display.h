#pragma once
// One connection to an X server: the screen, the visual our windows use, the atoms, which
// extensions exist (looked up at run time, each with a fallback), whether a window manager
// runs, and what happens when the connection is lost.
#include <X11/Xlib.h>

#include <memory>
#include <optional>

#include "platform/x11/X11Atoms.h"
#include "platform/x11/X11PixelFormat.h"

namespace plat {

class X11Display {
 public:
  // Null when the display cannot be opened (no DISPLAY, server unreachable).
  static std::unique_ptr<X11Display> Open(const char* name);
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  Display* Dpy() const { return FDpy; }
  int ScreenNumber() const { return FScreen; }
  ::Window Root() const { return FRoot; }
  int RootWidth() const;
  int RootHeight() const;

  // The TrueColor visual our windows are created with (the default one when it is TrueColor).
  Visual* WindowVisual() const { return FVisual; }
  int WindowDepth() const { return FDepth; }
  Colormap WindowColormap() const { return FColormap; }
  const X11PixelFormat& WindowFormat() const { return FWindowFormat; }
  // The root window's format, for screen capture.
  const X11PixelFormat& RootFormat() const { return FRootFormat; }
  bool RootIsTrueColor() const { return FRootTrueColor; }

  const X11Atoms& Atoms() const { return FAtoms; }

  bool HasShape() const { return FHasShape; }
  bool HasInputShape() const { return FHasInputShape; }  // SHAPE 1.1
  // Asked of the server at the first call: the first frame needs neither.
  bool HasShm() const;
  bool HasRandr() const;
  int ShapeEventBase() const { return FShapeEventBase; }

  // The input method that turns key presses into text (compose sequences, any layout);
  // null when none could be opened, and then text comes from the keyboard mapping. Opened at
  // the first call, when a window first takes the keyboard: reading the locale's compose
  // tables is no work for the first frame.
  XIM InputMethod();

  // A window manager announces itself with _NET_SUPPORTING_WM_CHECK on the root window.
  bool WindowManagerRunning() const { return FWmRunning; }
  void RefreshWindowManager();

  // A server timestamp, got by touching a property of WINDOW (which must select
  // PropertyChangeMask) and waiting for the notification.
  Time ServerTime(::Window window);

  // Set from Xlib's I/O error exit hook: the server went away. Xlib calls after that are
  // harmless no-ops, so the program can unwind normally and write its settings.
  bool ConnectionLost() const { return FLost; }

 private:
  X11Display() = default;
  void ChooseVisual();
  void OpenInputMethod();
  static void OnIoErrorExit(Display* dpy, void* self);

  Display* FDpy = nullptr;
  int FScreen = 0;
  ::Window FRoot = None;
  Visual* FVisual = nullptr;
  int FDepth = 0;
  Colormap FColormap = None;
  bool FOwnColormap = false;
  X11PixelFormat FWindowFormat;
  X11PixelFormat FRootFormat;
  bool FRootTrueColor = true;
  X11Atoms FAtoms;
  bool FHasShape = false, FHasInputShape = false;
  mutable std::optional<bool> FHasShm, FHasRandr;
  int FShapeEventBase = 0;
  XIM FIm = nullptr;
  bool FImTried = false;
  bool FWmRunning = false;
  bool FLost = false;
};

}  // namespace plat
