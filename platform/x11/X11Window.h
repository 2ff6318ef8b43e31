#pragma once
// A top-level window on the X server: undecorated, placed exactly where asked, with its back
// buffer pushed to the server a dirty rectangle at a time.
#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/x11/X11EventSink.h"

namespace plat {

class X11Display;
class X11Platform;

class X11Window final : public NativeWindow, public X11EventSink {
 public:
  X11Window(X11Platform& platform, X11Display& display, const WindowParams& params, WindowListener* listener);
  ~X11Window() override;
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  // The X window behind a native window of this backend (None for another backend's window).
  static ::Window HandleOf(const NativeWindow& window);
  ::Window Handle() const { return FWindow; }
  WindowKind Kind() const { return FKind; }
  bool Mapped() const { return FMapped; }
  // Stacked by us, not by a window manager: popups (override-redirect) and everything when
  // no manager runs.
  bool SelfStacked() const;

  Rect Bounds() const override { return FBounds; }
  void SetBounds(const Rect& bounds) override;
  bool Visible() const override { return FVisible; }
  void Show(bool activate) override;
  void Hide() override;
  void SetZOrder(ZOrder z) override;
  bool TopMost() const override { return FTopMost; }
  void SetRegion(std::optional<gfx::Region> region) override;
  void SetTitle(const std::string& title) override;
  void SetRole(WindowRole role) override;
  void SetOwner(const NativeWindow* owner) override;
  WindowRole Role() const { return FRole; }
  void Activate() override;
  bool Active() const override { return FActive; }
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursor(const CursorLook& cursor) override;
  void BeginMoveDrag() override;
  bool GrabInput() override;
  void UngrabInput() override;
  // Made at the first call or showing: a window that stays hidden holds no pixels.
  gfx::Bitmap& BackBuffer() override;
  void Present(const Rect& dirty) override;

  void HandleEvent(XEvent& event) override;
  // Called by the platform when another window takes the capture or the grab is gone.
  void LoseCapture();

 private:
  void SetWmProperties(const WindowParams& params);
  void WriteNetWmState();
  void SendNetWmState(bool add, Atom state);
  void WriteNormalHints();
  void WriteWindowType();
  void WriteTransientFor();
  void PutRect(const Rect& r);
  void EndMoveDrag();
  void ApplyShape();
  void Raise();
  Rect QueryBounds();
  void RequestGeometry(const Rect& b);

  void OnButtonPress(XButtonEvent& e);
  void OnButtonRelease(XButtonEvent& e);
  void OnMotion(XMotionEvent& e);
  void OnKey(XKeyEvent& e, bool down);
  void OnConfigure(XConfigureEvent& e);
  void OnMapped();
  void OnClientMessage(XClientMessageEvent& e);
  void OnFocus(XFocusChangeEvent& e, bool in);
  void EnsureInputContext();

  X11Platform& FPlatform;
  X11Display& FDisplay;
  Display* FDpy;
  WindowListener FNoListener;  // stands in when the owner passes none
  WindowListener* FListener;
  ::Window FWindow = None;
  ::Window FParent = None;
  GC FGc = nullptr;
  XIC FIc = nullptr;  // input context: key presses to text
  bool FIcTried = false;
  WindowKind FKind;
  WindowRole FRole;
  ::Window FOwner = None;  // WM_TRANSIENT_FOR
  bool FTaskbarEntry;
  Rect FBounds;
  bool FVisible = false;
  bool FMapped = false;
  bool FTopMost = false;
  bool FActive = false;
  bool FActivateOnMap = false;
  gfx::Bitmap FBack;
  std::vector<std::uint32_t> FScratch;
  std::optional<gfx::Region> FRegion;
  Cursor FCursor = None;
  std::optional<CursorLook> FPendingCursor;  // set while hidden, defined at the first frame shown
  std::set<unsigned> FKeysDown;  // key codes held, to mark auto-repeat
  std::vector<Rect> FPendingGeometry;  // our own requests whose notifications are on the way
  unsigned long FRequestSerial = 0;    // the request number of the latest of them

  struct Click {
    bool Valid = false;
    Time When = 0;
    int X = 0, Y = 0;
    unsigned Button = 0;
  } FLastClick;

  bool FMoveDrag = false;
  bool FImplicitGrab = false;  // a button went down on us and is still held
  bool FInputGrab = false;     // GrabInput holds the pointer and the keyboard
  Point FDragOffset;

  // Set to false when the window dies, so code that called out to the listener can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace plat
