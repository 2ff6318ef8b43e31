#pragma once
// A notification-area icon: puts one icon into the desktop's tray, turns the icon's mouse
// messages into events, can open a popup menu at the icon, can animate the icon from an image
// list, and can make minimising the application hide it to the icon instead.
//
// The owner must be a form: the component chains in front of its window procedure and of the
// application window's, and restores both when destroyed.
//
// Where the desktop has no notification area, minimising to the icon would leave the program
// with no window at all; the application is then restored at once and a beep says why.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "platform/Platform.h"
#include "toolkit/core/TComponent.h"

class TImageList;
class TPopupMenu;
class TTimer;
class TWinControl;

using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

class TTrayIcon : public TComponent {
 public:
  // The message the icon's mouse messages arrive with at the hidden window (WM_USER + 1024).
  static constexpr unsigned kCallbackMessage = 0x0800;
  static constexpr unsigned kTipLength = 64;  // tip characters, the terminating zero included

  explicit TTrayIcon(TComponent* AOwner);
  ~TTrayIcon() override;

  bool DesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool value);
  TImageList* IconList() const { return FIconList; }
  void SetIconList(TImageList* value);
  bool CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool value);
  unsigned CycleInterval() const { return FCycleInterval; }
  void SetCycleInterval(unsigned value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  const gfx::Bitmap& Icon() const { return FIcon; }
  void SetIcon(const gfx::Bitmap& value);
  bool IconVisible() const { return FIconVisible; }
  void SetIconVisible(bool value);
  int IconIndex() const { return FIconIndex; }
  void SetIconIndex(int value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* value);
  bool LeftPopup() const { return FLeftPopup; }
  void SetLeftPopup(bool value) { FLeftPopup = value; }
  bool StartMinimized() const { return FStartMinimized; }
  void SetStartMinimized(bool value) { FStartMinimized = value; }
  bool MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;

  // Makes the application's main form invisible and hides the application window.
  void HideApplication();
  // The hidden window that receives the icon's messages (for tests: send it
  // kCallbackMessage with a mouse message in LParam).
  HWND Handle() const;
  // The tip text given to the shell at the last add or modify (empty: no tip).
  std::string TipText() const { return std::string(FIconData.Tip.data()); }

  void Loaded() override;
  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  virtual void AddTrayIcon();
  virtual void RemoveTrayIcon();
  virtual void UpdateTrayIcon();
  virtual void NotifyClick();
  virtual void NotifyDblClick();
  virtual void NotifyCycle(int NextIndex);
  virtual void NotifyMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void NotifyMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void NotifyMouseMove(TShiftState Shift, int X, int Y);
  virtual void MinimizeToTrayNow();

  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The shell's icon record: constant parts set once, icon and tip refilled before each call.
  struct TNotifyIconData {
    std::uint32_t Size = 88;
    HWND Wnd = nullptr;
    std::uint32_t ID = 1;
    std::uint32_t Flags = 7;  // message, icon and tip
    std::uint32_t CallbackMessage = kCallbackMessage;
    const gfx::Bitmap* Icon = nullptr;
    std::array<char, kTipLength> Tip{};
  };
  enum TShellCall { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };
  class TShellListener;

  bool Designing() const;
  bool FillIconData();
  void ShellNotifyIcon(TShellCall call);
  void TrayWndProc(TMessage& message);
  void AppWndProc(TMessage& message);
  void OwnerWndProc(TMessage& message);
  void CycleTimerTick(TObject* Sender);
  void ShowPopupAtCursor();
  TShiftState KeyShift() const;
  Point CursorPos() const;
  int NextCycleIndex() const;

  bool FDesignPreview = false;
  TImageList* FIconList = nullptr;  // not owned
  bool FCycleIcons = false;
  unsigned FCycleInterval = 0;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = false;
  gfx::Bitmap FIcon;
  bool FIconVisible = true;
  int FIconIndex = 0;
  TPopupMenu* FPopupMenu = nullptr;  // not owned
  bool FLeftPopup = false;
  bool FStartMinimized = false;
  bool FMinimizeToTray = false;

  TNotifyIconData FIconData;
  std::unique_ptr<TWinControl> FHiddenWindow;
  std::unique_ptr<TShellListener> FListener;
  std::unique_ptr<plat::TrayIcon> FShellIcon;  // present between NIM_ADD and NIM_DELETE
  TTimer* FCycleTimer = nullptr;  // owned as a component
  bool FClickPending = false;
  bool FPreviewSwitch = false;
  // The chained window procedures: what was there before, to pass every message on to.
  TWndMethod FSavedAppProc;
  bool FAppHooked = false;
  TWndMethod FSavedOwnerProc;
  TWinControl* FHookedOwner = nullptr;
};
