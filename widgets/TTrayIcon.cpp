#include "widgets/TTrayIcon.h"

#include <algorithm>
#include <cstring>

#include "toolkit/controls/TImageList.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"
#include "toolkit/core/TTimer.h"
#include "toolkit/menus/TMenuItem.h"
#include "toolkit/menus/TPopupMenu.h"

// The shell's callbacks become messages to the hidden window, as they would arrive from the
// desktop: the mouse message in LParam, the icon identifier in WParam.
class TTrayIcon::TShellListener final : public plat::TrayIconListener {
 public:
  explicit TShellListener(TTrayIcon& icon) : FIcon(icon) {}
  void OnTrayMouseDown(plat::MouseButton b, Point) override {
    Send(b == plat::MouseButton::Left ? WM_LBUTTONDOWN : b == plat::MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN);
  }
  void OnTrayMouseUp(plat::MouseButton b, Point) override {
    Send(b == plat::MouseButton::Left ? WM_LBUTTONUP : b == plat::MouseButton::Right ? WM_RBUTTONUP : WM_MBUTTONUP);
  }
  void OnTrayDoubleClick(plat::MouseButton b, Point) override {
    Send(b == plat::MouseButton::Left ? WM_LBUTTONDBLCLK : b == plat::MouseButton::Right ? WM_RBUTTONDBLCLK : WM_MBUTTONDBLCLK);
  }
  void OnTrayMouseMove(Point) override { Send(WM_MOUSEMOVE); }

 private:
  void Send(unsigned mouseMessage) {
    HWND wnd = FIcon.Handle();
    auto deliver = [&] { wnd->Perform(kCallbackMessage, FIcon.FIconData.ID, mouseMessage); };
    if (Application) Application->Guard(&FIcon, deliver);
    else deliver();
  }
  TTrayIcon& FIcon;
};

namespace {
constexpr unsigned WM_QUERYENDSESSION = 0x0011;
}  // namespace

TTrayIcon::TTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  FIconVisible = true;
  FEnabled = true;
  FPreviewSwitch = false;
  FHiddenWindow = std::make_unique<TWinControl>(nullptr);
  FHiddenWindow->SetWindowProc([this](TMessage& m) { TrayWndProc(m); });
  FIconData.Wnd = FHiddenWindow.get();
  FListener = std::make_unique<TShellListener>(*this);
  FCycleTimer = TComponent::Create<TTimer>(this);
  FCycleTimer->SetEnabled(false);
  FCycleTimer->SetInterval(FCycleInterval);
  FCycleTimer->SetOnTimer([this](TObject* sender) { CycleTimerTick(sender); });
  if (!Designing()) {
    if (Application) {
      FSavedAppProc = Application->Handle()->WindowProc();
      Application->Handle()->SetWindowProc([this](TMessage& m) { AppWndProc(m); });
      FAppHooked = true;
    }
    if (auto* owner = dynamic_cast<TWinControl*>(AOwner)) {
      FSavedOwnerProc = owner->WindowProc();
      owner->SetWindowProc([this](TMessage& m) { OwnerWndProc(m); });
      FHookedOwner = owner;
    }
  }
}

TTrayIcon::~TTrayIcon() {
  SetIconVisible(false);
  FShellIcon.reset();
  FHiddenWindow.reset();
  if (!Designing()) {
    if (FAppHooked && Application) Application->Handle()->SetWindowProc(std::move(FSavedAppProc));
    if (FHookedOwner) FHookedOwner->SetWindowProc(std::move(FSavedOwnerProc));
  }
}

bool TTrayIcon::Designing() const { return (ComponentState() & csDesigning) != 0; }

HWND TTrayIcon::Handle() const { return FHiddenWindow.get(); }

// ---- properties

void TTrayIcon::SetDesignPreview(bool value) {
  FDesignPreview = value;
  FPreviewSwitch = true;
  SetIconVisible(value);
  FPreviewSwitch = false;
}

void TTrayIcon::SetIconList(TImageList* value) {
  if (FIconList) RemoveFreeNotification(FIconList);
  FIconList = value;
  if (FIconList) FreeNotification(FIconList);
  SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
  FCycleIcons = value;
  if (value) SetIconIndex(0);
  FCycleTimer->SetEnabled(value);
}

void TTrayIcon::SetCycleInterval(unsigned value) {
  FCycleInterval = value;
  FCycleTimer->SetInterval(value);
}

void TTrayIcon::SetHint(const std::string& value) {
  FHint = value;
  UpdateTrayIcon();
}

void TTrayIcon::SetShowHint(bool value) {
  FShowHint = value;
  UpdateTrayIcon();
}

void TTrayIcon::SetIcon(const gfx::Bitmap& value) {
  FIcon = value;
  UpdateTrayIcon();
}

void TTrayIcon::SetIconVisible(bool value) {
  if (value) AddTrayIcon();
  else RemoveTrayIcon();
}

void TTrayIcon::SetIconIndex(int value) {
  if (FIconList) {
    FIconIndex = value;
    if (value >= FIconList->Count()) FIconIndex = FIconList->Count() - 1;
    // A negative index, or an empty list, leaves the picture as it is.
    gfx::Bitmap image;
    if (FIconList->GetBitmap(FIconIndex, image)) FIcon = std::move(image);
  } else {
    FIconIndex = 0;
  }
  UpdateTrayIcon();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* value) {
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = value;
  if (FPopupMenu) FreeNotification(FPopupMenu);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FIconList) {
    FIconList = nullptr;
    FIconIndex = 0;
  }
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

void TTrayIcon::Loaded() {
  TComponent::Loaded();
  if (FStartMinimized && !Designing() && Application) {
    Application->SetShowMainForm(false);
    Application->ShowAppWindow(false);
  }
  UpdateTrayIcon();
  SetIconVisible(FIconVisible);
}

// ---- the shell

bool TTrayIcon::FillIconData() {
  if (Designing() && !FPreviewSwitch && !FDesignPreview) return false;
  FIconData.Icon = &FIcon;
  FIconData.Tip.fill('\0');
  if (!FHint.empty() && FShowHint) std::memcpy(FIconData.Tip.data(), FHint.data(), std::min<std::size_t>(FHint.size(), kTipLength - 1));
  return true;
}

void TTrayIcon::ShellNotifyIcon(TShellCall call) {
  // Like the shell, a second add or a change or removal of an absent icon does nothing.
  if (!plat::Platform::HasCurrent()) return;
  switch (call) {
    case NIM_ADD:
      if (FShellIcon) return;
      FShellIcon = plat::Platform::Current().CreateTrayIcon(FListener.get());
      [[fallthrough]];
    case NIM_MODIFY:
      if (!FShellIcon) return;
      FShellIcon->SetIcon(*FIconData.Icon);
      FShellIcon->SetTip(FIconData.Tip.data());
      return;
    case NIM_DELETE:
      FShellIcon.reset();
      return;
  }
}

void TTrayIcon::AddTrayIcon() {
  if (!FPreviewSwitch) FIconVisible = true;
  if ((!Designing() || FPreviewSwitch) && FillIconData()) ShellNotifyIcon(NIM_ADD);
}

void TTrayIcon::RemoveTrayIcon() {
  if (!FPreviewSwitch) FIconVisible = false;
  if ((!Designing() || FPreviewSwitch) && FillIconData()) ShellNotifyIcon(NIM_DELETE);
}

void TTrayIcon::UpdateTrayIcon() {
  if (FillIconData()) ShellNotifyIcon(NIM_MODIFY);
}

// ---- events

void TTrayIcon::NotifyClick() {
  if (OnClick) OnClick(this);
}
void TTrayIcon::NotifyDblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TTrayIcon::NotifyCycle(int NextIndex) {
  if (OnCycle) OnCycle(this, NextIndex);
}
void TTrayIcon::NotifyMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TTrayIcon::NotifyMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TTrayIcon::NotifyMouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

TShiftState TTrayIcon::KeyShift() const {
  TShiftState s = 0;
  auto& p = plat::Platform::Current();
  if (p.IsKeyDown(plat::VK_SHIFT)) s |= ssShift;
  if (p.IsKeyDown(plat::VK_MENU)) s |= ssAlt;
  if (p.IsKeyDown(plat::VK_CONTROL)) s |= ssCtrl;
  return s;
}

Point TTrayIcon::CursorPos() const {
  Point p{0, 0};
  plat::Platform::Current().GetCursorPos(p);
  return p;
}

void TTrayIcon::TrayWndProc(TMessage& message) {
  if (message.Msg == WM_QUERYENDSESSION) {
    message.Result = 1;
    return;
  }
  if (message.Msg != kCallbackMessage) return;
  if (!FEnabled) return;
  const Point at = CursorPos();
  const TShiftState shift = KeyShift();
  switch (unsigned(message.LParam)) {
    case WM_MOUSEMOVE: NotifyMouseMove(shift, at.x, at.y); break;
    case WM_LBUTTONDOWN:
      NotifyMouseDown(mbLeft, shift | ssLeft, at.x, at.y);
      FClickPending = true;
      if (FLeftPopup) ShowPopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FClickPending) {
        FClickPending = false;
        NotifyClick();
      }
      NotifyMouseUp(mbLeft, shift | ssLeft, at.x, at.y);
      break;
    case WM_LBUTTONDBLCLK:
      NotifyDblClick();
      if (FPopupMenu && FPopupMenu->AutoPopup() && !FLeftPopup) {
        TMenuItem* items = FPopupMenu->Items();
        for (int i = 0; items && i < items->Count(); ++i)
          if (TMenuItem* item = items->Items(i); item->Default()) {
            item->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      NotifyMouseDown(mbRight, shift | ssRight, at.x, at.y);
      ShowPopupAtCursor();
      break;
    case WM_RBUTTONUP: NotifyMouseUp(mbRight, shift | ssRight, at.x, at.y); break;
    case WM_MBUTTONDOWN: NotifyMouseDown(mbMiddle, shift | ssMiddle, at.x, at.y); break;
    case WM_MBUTTONUP: NotifyMouseUp(mbMiddle, shift | ssMiddle, at.x, at.y); break;
    default: break;
  }
}

void TTrayIcon::ShowPopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  Point at;
  if (!plat::Platform::Current().GetCursorPos(at)) return;
  if (Application) Application->ProcessMessages();
  if (!FPopupMenu) return;  // gone while the messages ran
  if (TWinControl* active = Screen ? Screen->ActiveControl() : nullptr)
    if (auto* form = dynamic_cast<TForm*>(active->Owner()); form && form->NativeWindow()) form->NativeWindow()->Activate();
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(at.x, at.y);
  if (FHookedOwner && Application) Application->PostMessage(FHookedOwner, WM_NULL);
}

// ---- the chained window procedures

void TTrayIcon::HideApplication() {
  if (!Application) return;
  if (TForm* main = Application->MainForm()) main->SetVisible(false);
  Application->ShowAppWindow(false);
}

void TTrayIcon::MinimizeToTrayNow() {
  if (plat::Platform::HasCurrent() && !plat::Platform::Current().TrayAvailable()) {
    // No notification area to come back from: hiding would leave no way back, so the
    // program stays where it is and says so.
    plat::Platform::Current().Beep();
    if (Application) Application->PostMessage(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE);
    return;
  }
  HideApplication();
  SetIconVisible(true);
}

void TTrayIcon::AppWndProc(TMessage& message) {
  if (message.Msg == WM_SIZE && message.WParam == SIZE_MINIMIZED && FMinimizeToTray) MinimizeToTrayNow();
  if (FSavedAppProc) FSavedAppProc(message);
}

void TTrayIcon::OwnerWndProc(TMessage& message) {
  if (message.Msg == WM_SHOWWINDOW && message.WParam == 1 && message.LParam == 0) {
    if (Application) {
      Application->Restore();
      if (auto* form = dynamic_cast<TForm*>(FHookedOwner); form && form->NativeWindow() && form->NativeWindow()->Visible())
        form->NativeWindow()->Activate();
    }
  } else if (message.Msg == WM_WINDOWPOSCHANGED) {
    // Keeps the keyboard focus on the active control; it never activates a window, which
    // would restack the program's windows while one is being moved.
    if (TWinControl* active = Screen ? Screen->ActiveControl() : nullptr)
      if (TForm* form = active->ParentForm(); form && form->Active() && !active->Focused() && active->CanFocus())
        active->SetFocus();
  }
  if (FSavedOwnerProc) FSavedOwnerProc(message);
}

// ---- cycling

int TTrayIcon::NextCycleIndex() const {
  if (!FIconList) return 0;
  return FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0;
}

void TTrayIcon::CycleTimerTick(TObject*) {
  if (!FIconList) return;
  gfx::Bitmap image;
  if (FIconList->GetBitmap(FIconIndex, image)) FIcon = std::move(image);
  NotifyCycle(NextCycleIndex());
  UpdateTrayIcon();
  SetIconIndex(NextCycleIndex());
}

std::optional<std::string> TTrayIcon::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "IconVisible")) return Bool(FIconVisible);
  if (Is(name, "IconIndex")) return Int(FIconIndex);
  if (Is(name, "MinimizeToTray")) return Bool(FMinimizeToTray);
  if (Is(name, "Enabled")) return Bool(FEnabled);
  if (Is(name, "ShowHint")) return Bool(FShowHint);
  if (Is(name, "Hint")) return FHint;
  if (Is(name, "CycleIcons")) return Bool(FCycleIcons);
  if (Is(name, "CycleInterval")) return Int(FCycleInterval);
  if (Is(name, "LeftPopup")) return Bool(FLeftPopup);
  if (Is(name, "StartMinimized")) return Bool(FStartMinimized);
  return TComponent::GetPropText(name);
}
