#pragma once
// The screen: the desktop's size and its monitors, the cursor table, the global cursor
// override, the forms that exist and the active form and control.
#include <map>
#include <optional>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Types.h"
#include "platform/Cursor.h"
#include "platform/Monitor.h"
#include "toolkit/core/TComponent.h"

class TScreen : public TComponent {
 public:
  TScreen();  // the application creates the one instance (global Screen)
  ~TScreen() override;

  int Width() const;   // the whole desktop, from the platform
  int Height() const;

  // The monitors, the primary first; one, the whole screen, when the platform tells no more.
  static std::vector<plat::Monitor> Monitors();
  // The monitor holding the largest part of R (the nearest when none holds any), and the one
  // under P (or the nearest): where a window or the pointer is, so that what is placed
  // beside it keeps to that monitor instead of straddling the dead area between monitors.
  static plat::Monitor MonitorFromRect(const gfx::Rect& r);
  static plat::Monitor MonitorFromPoint(gfx::Point p);
  // The monitor of the application's main form (the primary without one): where dialogs go.
  static plat::Monitor MainFormMonitor();
  // The part of MONITOR that panels and docks leave to windows (all of it when they leave
  // it nothing).
  static gfx::Rect WorkAreaOf(const plat::Monitor& monitor);
  int PixelsPerInch() const { return 96; }

  // Cursor table: standard identifiers (crArrow...) map to the desktop's shapes; programs
  // register their own images under other identifiers. An unknown id gives the arrow.
  plat::CursorLook Cursors(TCursor id) const;
  void SetCursorImage(TCursor id, const plat::CursorLook& look);
  bool HasCursor(TCursor id) const;
  // A global override (crDefault: none): shown over every form while set.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);

  // Screen pixels, as the magnifiers and the colour copy read them: from the still picture
  // while the screen is frozen, else from the platform. Outside the desktop they are black.
  gfx::Bitmap CapturePixels(const gfx::Rect& r) const;
  // Whether CapturePixels gives what the user sees (frozen, or a screen the platform can read).
  bool PixelsReadable() const;
  // The desktop's still picture (its size in desktop pixels), or nullopt to read live again.
  void SetFrozenPicture(std::optional<gfx::Bitmap> picture) { FFrozen = std::move(picture); }
  bool Frozen() const { return FFrozen.has_value(); }
  const gfx::Bitmap* FrozenPicture() const { return FFrozen ? &*FFrozen : nullptr; }

  int FormCount() const { return int(FForms.size()); }
  TForm* Forms(int index) const;  // in creation order; nullptr when out of range
  int IndexOf(const TForm* form) const;  // -1 when FORM does not exist (any more)
  TForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;  // the active form's focused control

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  void SetActiveForm(TForm* form) { FActiveForm = form; }

  std::map<TCursor, plat::CursorLook> FCursors;
  TCursor FCursor = crDefault;
  std::vector<TForm*> FForms;
  TForm* FActiveForm = nullptr;
  std::optional<gfx::Bitmap> FFrozen;
};

// The screen object; nullptr when no application exists.
extern TScreen* Screen;
