#include "platform/virtual/VirtualDesktop.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include "graphics/Region.h"

namespace plat {

namespace {

// Past this many separate damaged rectangles one bounding rectangle is cheaper to recompose.
constexpr std::size_t kMaxDamageRects = 32;

std::string DefaultExecutableDir() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string path(buf, std::size_t(n));
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

// The character a key gives on a US layout, as the classic message translation does; empty
// for keys that give none.
std::string KeyChar(int vk, bool shift, bool ctrl) {
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return std::string(1, char(vk - 'A' + 1));
    return std::string(1, char(shift ? vk : vk - 'A' + 'a'));
  }
  if (ctrl) return {};
  if (vk >= '0' && vk <= '9') {
    static constexpr char kShifted[] = ")!@#$%^&*(";
    return std::string(1, shift ? kShifted[vk - '0'] : char(vk));
  }
  switch (vk) {
    case VK_SPACE: return " ";
    case VK_RETURN: return "\r";
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    case VK_ESCAPE: return "\x1b";
    default: return {};
  }
}

// Splits UTF-8 text into characters; a stray continuation byte counts as a character of its
// own, so damaged text still arrives byte for byte.
std::vector<std::string> SplitUtf8(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    std::size_t j = i + 1;
    while (j < text.size() && j < i + len && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) ++j;
    out.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

int ButtonKey(MouseButton b) {
  switch (b) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
  }
  return VK_LBUTTON;
}

bool ValidKey(int vk) { return vk >= 0 && vk < 256; }

}  // namespace

VirtualDesktop::VirtualDesktop(Size screen)
    : FScreenSize{std::max(0, screen.cx), std::max(0, screen.cy)}, FExecutableDir(DefaultExecutableDir()) {
  Damage({0, 0, FScreenSize.cx, FScreenSize.cy});
}

VirtualDesktop::~VirtualDesktop() {
  // Windows and icons may outlive us (their owners decide); they go on as plain objects.
  for (VirtualWindow* w : FStack) w->FDesktop = nullptr;
  for (VirtualTrayIcon* t : FTrayIcons) t->FDesktop = nullptr;
  if (Platform::HasCurrent() && &Platform::Current() == this) Platform::SetCurrent(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Screen and composition

void VirtualDesktop::SetScreenSize(Size size) {
  FScreenSize = {std::max(0, size.cx), std::max(0, size.cy)};
  FDamage.clear();
  Damage({0, 0, FScreenSize.cx, FScreenSize.cy});
  FCursorPos.x = std::clamp(FCursorPos.x, 0, std::max(0, FScreenSize.cx - 1));
  FCursorPos.y = std::clamp(FCursorPos.y, 0, std::max(0, FScreenSize.cy - 1));
  FWorkArea.reset();
  FMonitors.clear();
  FDeadArea.clear();
}

void VirtualDesktop::SetMonitors(std::vector<Monitor> monitors) {
  std::erase_if(monitors, [](const Monitor& m) { return m.Bounds.IsEmpty(); });
  if (monitors.empty()) {
    SetScreenSize(FScreenSize);
    return;
  }
  Size far{0, 0};
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    Rect& b = monitors[i].Bounds;
    b = Rect::FromXYWH(std::max(0, b.left), std::max(0, b.top), b.Width(), b.Height());
    monitors[i].Primary = i == 0;
    far = {std::max(far.cx, b.right), std::max(far.cy, b.bottom)};
  }
  SetScreenSize(far);
  gfx::Region dead(Rect{0, 0, far.cx, far.cy});
  for (const Monitor& m : monitors) dead = dead.Subtract(gfx::Region(m.Bounds));
  FDeadArea = dead.Rects();
  FMonitors = std::move(monitors);
  FCursorPos = OnMonitor(FCursorPos);
}

std::vector<Monitor> VirtualDesktop::Monitors() {
  if (FMonitors.empty()) return Platform::Monitors();
  return FMonitors;
}

Point VirtualDesktop::OnMonitor(Point p) const {
  Rect area{0, 0, FScreenSize.cx, FScreenSize.cy};
  if (const Monitor* m = MonitorForPoint(FMonitors, p)) area = m->Bounds;
  return {std::clamp(p.x, area.left, std::max(area.left, area.right - 1)),
          std::clamp(p.y, area.top, std::max(area.top, area.bottom - 1))};
}

Rect VirtualDesktop::WorkArea() {
  return FWorkArea ? *FWorkArea : Rect{0, 0, FScreenSize.cx, FScreenSize.cy};
}

void VirtualDesktop::SetWallpaper(gfx::TColor color) {
  FWallpaperColor = gfx::ColorToRGB(color);
  FWallpaperPicture.reset();
  Damage({0, 0, FScreenSize.cx, FScreenSize.cy});
}

void VirtualDesktop::SetWallpaper(const gfx::Bitmap& picture) {
  FWallpaperPicture = picture;
  Damage({0, 0, FScreenSize.cx, FScreenSize.cy});
}

void VirtualDesktop::Damage(const Rect& screenRect) {
  Rect r = screenRect.Intersect({0, 0, FScreenSize.cx, FScreenSize.cy});
  if (r.IsEmpty()) return;
  for (const Rect& d : FDamage)
    if (d.Intersect(r) == r) return;  // already covered
  FDamage.push_back(r);
  if (FDamage.size() > kMaxDamageRects) {
    Rect all;
    for (const Rect& d : FDamage) all = all.Union(d);
    FDamage.assign(1, all);
  }
}

void VirtualDesktop::DamageWindow(const VirtualWindow* w) {
  if (w->FVisible) Damage(w->FBounds);
}

void VirtualDesktop::Compose() {
  if (FScreen.Width() != FScreenSize.cx || FScreen.Height() != FScreenSize.cy) {
    FScreen = gfx::Bitmap(FScreenSize.cx, FScreenSize.cy);
    FDamage.assign(1, Rect{0, 0, FScreenSize.cx, FScreenSize.cy});
  }
  if (FDamage.empty()) return;

  // Copies the part of window W's buffer that falls in screen rectangle R.
  auto blit = [this](const VirtualWindow& w, Rect r) {
    Rect src = w.FBuffer.Bounds().Offset(w.FBounds.left, w.FBounds.top);
    r = r.Intersect(src);
    if (r.IsEmpty()) return;
    for (int y = r.top; y < r.bottom; ++y) {
      const gfx::TColor* from = w.FBuffer.Row(y - w.FBounds.top) + (r.left - w.FBounds.left);
      std::copy(from, from + r.Width(), FScreen.Row(y) + r.left);
    }
  };

  for (const Rect& d : FDamage) {
    for (int y = d.top; y < d.bottom; ++y) std::fill(FScreen.Row(y) + d.left, FScreen.Row(y) + d.right, FWallpaperColor);
    if (FWallpaperPicture) {
      Rect pic = d.Intersect(FWallpaperPicture->Bounds());
      for (int y = pic.top; y < pic.bottom; ++y) {
        const gfx::TColor* from = FWallpaperPicture->Row(y) + pic.left;
        std::copy(from, from + pic.Width(), FScreen.Row(y) + pic.left);
      }
    }
    for (auto it = FStack.rbegin(); it != FStack.rend(); ++it) {
      const VirtualWindow& w = **it;
      if (!w.FVisible) continue;
      Rect area = d.Intersect(w.FBounds);
      if (area.IsEmpty()) continue;
      if (!w.FRegion) {
        blit(w, area);
        continue;
      }
      for (const Rect& part : w.FRegion->Rects()) blit(w, part.Offset(w.FBounds.left, w.FBounds.top).Intersect(area));
    }
    // No monitor shows what lies between the monitors.
    for (const Rect& dead : FDeadArea) {
      const Rect r = d.Intersect(dead);
      for (int y = r.top; y < r.bottom; ++y) std::fill(FScreen.Row(y) + r.left, FScreen.Row(y) + r.right, gfx::TColor(0));
    }
  }
  FDamage.clear();
}

const gfx::Bitmap& VirtualDesktop::Screen() {
  Compose();
  return FScreen;
}

gfx::Bitmap VirtualDesktop::CaptureScreen(const Rect& r) {
  Compose();
  return FScreen.Copy(r);
}

// ---------------------------------------------------------------------------------------------
// Pointer and keyboard state

bool VirtualDesktop::GetCursorPos(Point& p) {
  p = FCursorPos;
  return true;
}

void VirtualDesktop::SetCursorPos(Point p) {
  p = OnMonitor(p);
  if (p == FCursorPos) return;  // a pointer that does not move reports nothing
  // The pointer is there at once (a following GetCursorPos sees it); the move it causes
  // reaches the windows through the queue, like any other.
  FCursorPos = p;
  QueueInput({.What = Input::Kind::Move, .Pos = p});
}

bool VirtualDesktop::IsKeyDown(int virtualKey) { return ValidKey(virtualKey) && FKeyDown[virtualKey]; }

bool VirtualDesktop::IsKeyToggled(int virtualKey) { return ValidKey(virtualKey) && FKeyToggled[virtualKey]; }

ShiftState VirtualDesktop::CurrentShift() const {
  ShiftState s = 0;
  if (FKeyDown[VK_SHIFT]) s |= ssShift;
  if (FKeyDown[VK_MENU]) s |= ssAlt;
  if (FKeyDown[VK_CONTROL]) s |= ssCtrl;
  if (FKeyDown[VK_LBUTTON]) s |= ssLeft;
  if (FKeyDown[VK_RBUTTON]) s |= ssRight;
  if (FKeyDown[VK_MBUTTON]) s |= ssMiddle;
  return s;
}

// ---------------------------------------------------------------------------------------------
// Windows

std::unique_ptr<NativeWindow> VirtualDesktop::CreateWindow(const WindowParams& params, WindowListener* listener) {
  auto w = std::make_unique<VirtualWindow>(this, FNextSerial++, params, listener);
  FStack.insert(FStack.begin(), w.get());
  RaiseInBand(w.get());
  return w;
}

VirtualWindow* VirtualDesktop::FindSerial(std::uint64_t serial) const {
  for (VirtualWindow* w : FStack)
    if (w->FSerial == serial) return w;
  return nullptr;
}

VirtualWindow* VirtualDesktop::WindowAt(Point p) const {
  for (VirtualWindow* w : FStack)
    if (w->HitTest(p)) return w;
  return nullptr;
}

VirtualWindow* VirtualDesktop::FindWindow(std::string_view title) const {
  for (VirtualWindow* w : FStack)
    if (w->FTitle == title) return w;
  return nullptr;
}

VirtualWindow* VirtualDesktop::PointerOwner() const { return FCapture ? FCapture : FImplicit; }

VirtualWindow* VirtualDesktop::CaptureWindow() const { return PointerOwner(); }

CursorLook VirtualDesktop::CurrentCursor() const {
  VirtualWindow* w = nullptr;
  if (FDrag) w = FindSerial(FDrag->Window);
  if (!w) w = PointerOwner();
  if (!w) w = WindowAt(FCursorPos);
  return w ? w->FCursor : CursorLook{};
}

void VirtualDesktop::Unstack(VirtualWindow* w) {
  auto it = std::find(FStack.begin(), FStack.end(), w);
  if (it != FStack.end()) FStack.erase(it);
}

void VirtualDesktop::RaiseInBand(VirtualWindow* w) {
  Unstack(w);
  auto pos = FStack.begin();
  if (!w->FTopMost) pos = std::find_if(FStack.begin(), FStack.end(), [](VirtualWindow* o) { return !o->FTopMost; });
  FStack.insert(pos, w);
  DamageWindow(w);
}

void VirtualDesktop::WindowDestroyed(VirtualWindow* w) {
  DamageWindow(w);
  Unstack(w);
  if (FCapture == w) FCapture = nullptr;
  if (FImplicit == w) FImplicit = nullptr;
  if (FHover == w) FHover = nullptr;
  if (FGrab == w) FGrab = nullptr;
  if (FDrag && FDrag->Window == w->FSerial) FDrag.reset();
  if (FActive == w) {
    FActive = nullptr;
    ActivateFallback();
  }
  // Queued calls for it are dropped at delivery: its serial is never found again.
}

void VirtualDesktop::WindowSetBounds(VirtualWindow* w, const Rect& bounds) {
  DamageWindow(w);
  w->FBounds = bounds;
  w->FBuffer.Resize(bounds.Width(), bounds.Height());
  DamageWindow(w);
}

void VirtualDesktop::WindowShow(VirtualWindow* w, bool activate) {
  if (!w->FVisible) {
    w->FVisible = true;
    RaiseInBand(w);
  }
  if (activate) WindowActivate(w);
}

void VirtualDesktop::WindowHide(VirtualWindow* w) {
  if (!w->FVisible) return;
  DamageWindow(w);
  w->FVisible = false;
  if (FCapture == w) ClearCapture(w, true);
  if (FImplicit == w) FImplicit = nullptr;
  if (FGrab == w) FGrab = nullptr;
  if (FDrag && FDrag->Window == w->FSerial) FDrag.reset();
  if (FActive == w) {
    SetActive(nullptr);
    ActivateFallback();
  }
}

void VirtualDesktop::WindowSetZOrder(VirtualWindow* w, ZOrder z) {
  switch (z) {
    case ZOrder::TopMost:
      w->FTopMost = true;
      RaiseInBand(w);
      break;
    case ZOrder::NoTopMost:
      // As HWND_NOTOPMOST: a window that is not topmost stays where it is.
      if (!w->FTopMost) return;
      w->FTopMost = false;
      RaiseInBand(w);
      break;
    case ZOrder::Top:
      RaiseInBand(w);
      break;
    case ZOrder::Bottom:
      w->FTopMost = false;
      Unstack(w);
      FStack.push_back(w);
      DamageWindow(w);
      break;
  }
}

void VirtualDesktop::WindowRegionChanged(VirtualWindow* w) { DamageWindow(w); }

void VirtualDesktop::WindowActivate(VirtualWindow* w) {
  RaiseInBand(w);
  // A hidden window cannot hold the focus, and a popup never takes it.
  if (w->FVisible && w->FKind != WindowKind::Popup) SetActive(w);
}

void VirtualDesktop::SetActive(VirtualWindow* w) {
  if (FActive == w) return;
  VirtualWindow* old = FActive;
  FActive = w;
  if (old) Queue({.What = Note::Kind::Activate, .Target = old->FSerial, .Flag = false});
  if (w) Queue({.What = Note::Kind::Activate, .Target = w->FSerial, .Flag = true});
}

void VirtualDesktop::ActivateFallback() {
  // The focus goes where the window system would give it: the highest visible window that
  // can take it.
  for (VirtualWindow* w : FStack) {
    if (w->FVisible && w->FKind != WindowKind::Popup) {
      SetActive(w);
      return;
    }
  }
}

void VirtualDesktop::ClearCapture(VirtualWindow* w, bool notify) {
  if (FCapture != w) return;
  FCapture = nullptr;
  if (notify) Queue({.What = Note::Kind::CaptureLost, .Target = w->FSerial});
}

void VirtualDesktop::WindowSetCapture(VirtualWindow* w) {
  if (FCapture == w) return;
  if (FCapture) ClearCapture(FCapture, true);
  FCapture = w;
}

void VirtualDesktop::WindowReleaseCapture(VirtualWindow* w) {
  // A window releases only what it holds: its own capture, and the implicit one of a button
  // pressed on it. A window that no longer holds the pointer (it lost it to another one and
  // has not heard yet) cannot take it from the new holder.
  bool released = false;
  if (FCapture == w) {
    ClearCapture(w, false);
    released = true;
  }
  if (FImplicit == w) {
    FImplicit = nullptr;
    released = true;
  }
  if (released) UpdateHover(WindowAt(FCursorPos));
}

void VirtualDesktop::WindowBeginMoveDrag(VirtualWindow* w) {
  // The window system's move loop runs only while the left button is held; it takes the
  // pointer over, so the moves and the final release no longer reach any window.
  if (!FKeyDown[VK_LBUTTON] || !w->FVisible) return;
  if (FCapture && FCapture != w) ClearCapture(FCapture, true);
  FCapture = nullptr;
  FImplicit = nullptr;
  FDrag = MoveDrag{w->FSerial, FCursorPos, w->FBounds};
}

void VirtualDesktop::WindowPresent(VirtualWindow* w, const Rect& dirty) {
  if (!w->FVisible) return;
  Damage(dirty.Intersect(w->FBuffer.Bounds()).Offset(w->FBounds.left, w->FBounds.top));
}

void VirtualDesktop::UpdateHover(VirtualWindow* under) {
  if (FHover == under) return;
  // The window holding the pointer keeps it; it hears of the leave once the capture ends.
  if (FHover && FHover == PointerOwner()) return;
  if (FHover) Queue({.What = Note::Kind::Leave, .Target = FHover->FSerial});
  FHover = under;
}

// ---------------------------------------------------------------------------------------------
// Timers and the loop

Platform::TimerId VirtualDesktop::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
  // A zero interval would fire forever without the clock moving.
  unsigned interval = std::max(1u, intervalMs);
  TimerId id = FNextTimer++;
  if (FNextTimer == 0) FNextTimer = 1;
  FTimers[id] = Timer{FNow + interval, interval, std::make_shared<std::function<void()>>(std::move(onTick))};
  return id;
}

void VirtualDesktop::StopTimer(TimerId id) { FTimers.erase(id); }

std::optional<std::uint64_t> VirtualDesktop::NextTimerDue() const {
  std::optional<std::uint64_t> best;
  for (const auto& [id, t] : FTimers)
    if (!best || t.Due < *best) best = t.Due;
  return best;
}

bool VirtualDesktop::FireDueTimer(std::uint64_t limit) {
  auto best = FTimers.end();
  for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
    if (it->second.Due <= limit && (best == FTimers.end() || it->second.Due < best->second.Due)) best = it;
  if (best == FTimers.end()) return false;
  FNow = std::max(FNow, best->second.Due);
  best->second.Due += best->second.Interval;
  std::shared_ptr<std::function<void()>> fn = best->second.Fn;
  if (fn && *fn) (*fn)();
  RunIdle();
  return true;
}

void VirtualDesktop::RunIdle() {
  if (!FIdle || FInIdle) return;
  FInIdle = true;
  try {
    FIdle();
  } catch (...) {
    FInIdle = false;
    throw;
  }
  FInIdle = false;
}

void VirtualDesktop::DeliverNotes() {
  while (!FNotes.empty()) {
    Note n = std::move(FNotes.front());
    FNotes.pop_front();
    Deliver(n);
    RunIdle();
  }
}

bool VirtualDesktop::Step() {
  if (!FNotes.empty()) {
    DeliverNotes();
    return true;
  }
  if (!FInput.empty()) {
    Input in = std::move(FInput.front());
    FInput.pop_front();
    Apply(in);
    DeliverNotes();
    return true;
  }
  if (FireDueTimer(FNow)) {
    DeliverNotes();
    return true;
  }
  return false;
}

bool VirtualDesktop::ProcessEvents(bool wait) {
  if (!wait) {
    while (Step()) {
    }
    return true;
  }
  if (Step()) return true;
  if (FWaitHandler) {
    if (!FWaitHandler()) return false;
    Step();
  }
  return true;
}

void VirtualDesktop::AdvanceClock(std::uint64_t ms) {
  std::uint64_t target = FNow + ms;
  RunIdle();
  while (Step()) {
  }
  while (FireDueTimer(target)) {
    while (Step()) {
    }
  }
  FNow = std::max(FNow, target);
  RunIdle();
}

// ---------------------------------------------------------------------------------------------
// Input

void VirtualDesktop::QueueInput(Input in) { FInput.push_back(std::move(in)); }

void VirtualDesktop::Queue(Note n) { FNotes.push_back(std::move(n)); }

void VirtualDesktop::InjectMouseMove(Point p) { QueueInput({.What = Input::Kind::Move, .Pos = p}); }

void VirtualDesktop::InjectButtonDown(MouseButton button, bool doubleClick) {
  QueueInput({.What = Input::Kind::Down, .Button = button, .DoubleClick = doubleClick});
}

void VirtualDesktop::InjectButtonUp(MouseButton button) { QueueInput({.What = Input::Kind::Up, .Button = button}); }

void VirtualDesktop::InjectClick(MouseButton button) {
  InjectButtonDown(button);
  InjectButtonUp(button);
}

void VirtualDesktop::InjectDoubleClick(MouseButton button) {
  InjectClick(button);
  InjectButtonDown(button, true);
  InjectButtonUp(button);
}

void VirtualDesktop::InjectWheel(int delta) { QueueInput({.What = Input::Kind::Wheel, .Delta = delta}); }

void VirtualDesktop::InjectKeyDown(int virtualKey) { QueueInput({.What = Input::Kind::KeyDown, .Key = virtualKey}); }

void VirtualDesktop::InjectKeyUp(int virtualKey) { QueueInput({.What = Input::Kind::KeyUp, .Key = virtualKey}); }

void VirtualDesktop::InjectKey(int virtualKey, ShiftState modifiers) {
  if (modifiers & ssShift) InjectKeyDown(VK_SHIFT);
  if (modifiers & ssCtrl) InjectKeyDown(VK_CONTROL);
  if (modifiers & ssAlt) InjectKeyDown(VK_MENU);
  InjectKeyDown(virtualKey);
  InjectKeyUp(virtualKey);
  if (modifiers & ssAlt) InjectKeyUp(VK_MENU);
  if (modifiers & ssCtrl) InjectKeyUp(VK_CONTROL);
  if (modifiers & ssShift) InjectKeyUp(VK_SHIFT);
}

void VirtualDesktop::InjectText(std::string_view utf8) {
  QueueInput({.What = Input::Kind::Text, .Text = std::string(utf8)});
}

void VirtualDesktop::InjectCloseRequest(const VirtualWindow* window) {
  if (window) QueueInput({.What = Input::Kind::Close, .Target = window->FSerial});
}

void VirtualDesktop::InjectManagerBounds(const VirtualWindow* window, const Rect& bounds) {
  if (window) QueueInput({.What = Input::Kind::Place, .Target = window->FSerial, .Bounds = bounds});
}

void VirtualDesktop::InjectTrayMouse(MouseButton button, TrayMouseKind kind, const VirtualTrayIcon* icon) {
  if (!icon && !FTrayIcons.empty()) icon = FTrayIcons.back();
  if (!icon) return;
  QueueInput({.What = Input::Kind::Tray, .Button = button, .Target = icon->FSerial, .Tray = kind});
}

void VirtualDesktop::Apply(const Input& in) {
  switch (in.What) {
    case Input::Kind::Move: ApplyMove(in.Pos); break;
    case Input::Kind::Down: ApplyDown(in.Button, in.DoubleClick); break;
    case Input::Kind::Up: ApplyUp(in.Button); break;
    case Input::Kind::Wheel: {
      VirtualWindow* target = PointerOwner();
      if (!target && !FDrag) target = WindowAt(FCursorPos);
      if (!target) break;
      Note n{.What = Note::Kind::Wheel, .Target = target->FSerial, .Delta = in.Delta};
      n.Mouse = {.Pos = {FCursorPos.x - target->FBounds.left, FCursorPos.y - target->FBounds.top},
                 .ScreenPos = FCursorPos,
                 .Shift = CurrentShift()};
      Queue(std::move(n));
      break;
    }
    case Input::Kind::KeyDown: ApplyKey(in.Key, true); break;
    case Input::Kind::KeyUp: ApplyKey(in.Key, false); break;
    case Input::Kind::Text:
      if (!FActive) break;
      for (std::string& ch : SplitUtf8(in.Text)) Queue({.What = Note::Kind::Char, .Target = FActive->FSerial, .Text = std::move(ch)});
      break;
    case Input::Kind::Close: Queue({.What = Note::Kind::Close, .Target = in.Target}); break;
    case Input::Kind::Place:
      if (VirtualWindow* w = FindSerial(in.Target)) {
        const Rect b{in.Bounds.left, in.Bounds.top, std::max(in.Bounds.left, in.Bounds.right),
                     std::max(in.Bounds.top, in.Bounds.bottom)};
        if (b == w->FBounds) break;
        WindowSetBounds(w, b);
        Queue({.What = Note::Kind::Moved, .Target = w->FSerial, .Bounds = b});
      }
      break;
    case Input::Kind::Tray: {
      if (!FTrayAvailable) break;
      Note::Kind kind = in.Tray == TrayMouseKind::Move   ? Note::Kind::TrayMove
                        : in.Tray == TrayMouseKind::Down ? Note::Kind::TrayDown
                        : in.Tray == TrayMouseKind::Up   ? Note::Kind::TrayUp
                                                         : Note::Kind::TrayDouble;
      Queue({.What = kind, .Target = in.Target, .Button = in.Button, .Pos = FCursorPos});
      break;
    }
  }
}

void VirtualDesktop::QueueMouse(Note::Kind kind, VirtualWindow* target, MouseButton b, bool doubleClick) {
  Note n{.What = kind, .Target = target->FSerial};
  n.Mouse.Pos = {FCursorPos.x - target->FBounds.left, FCursorPos.y - target->FBounds.top};
  n.Mouse.ScreenPos = FCursorPos;
  n.Mouse.Button = b;
  n.Mouse.Shift = CurrentShift() | (doubleClick ? ssDouble : 0);
  n.Mouse.DoubleClick = doubleClick;
  Queue(std::move(n));
}

void VirtualDesktop::ApplyMove(Point p) {
  p = OnMonitor(p);
  FCursorPos = p;
  if (FDrag) {
    if (VirtualWindow* w = FindSerial(FDrag->Window)) {
      Rect b = FDrag->StartBounds.Offset(p.x - FDrag->StartPointer.x, p.y - FDrag->StartPointer.y);
      if (b != w->FBounds) {
        WindowSetBounds(w, b);
        Queue({.What = Note::Kind::Moved, .Target = w->FSerial, .Bounds = b});
      }
      return;
    }
    FDrag.reset();
  }
  VirtualWindow* under = WindowAt(p);
  UpdateHover(under);
  VirtualWindow* target = PointerOwner();
  if (!target) target = under ? under : FGrab;
  if (target) QueueMouse(Note::Kind::Move, target, MouseButton::Left, false);
}

void VirtualDesktop::ApplyDown(MouseButton b, bool doubleClick) {
  if (FDrag) return;  // the move loop swallows other presses
  bool otherHeld = FKeyDown[VK_LBUTTON] || FKeyDown[VK_RBUTTON] || FKeyDown[VK_MBUTTON];
  FKeyDown[ButtonKey(b)] = true;
  VirtualWindow* target = PointerOwner();
  if (!target) {
    target = WindowAt(FCursorPos);
    if (!target) target = FGrab;
    if (!target) return;  // a press on the bare desktop
    // Clicking a window that can take the focus brings it to the front of its band, even
    // when it already has the focus.
    if (target->FKind != WindowKind::Popup) {
      RaiseInBand(target);
      SetActive(target);
    }
  }
  // The pressed window holds the pointer until every button is up, as a pointer grab does.
  if (!otherHeld && !FCapture) FImplicit = target;
  QueueMouse(Note::Kind::Down, target, b, doubleClick);
}

void VirtualDesktop::ApplyUp(MouseButton b) {
  FKeyDown[ButtonKey(b)] = false;
  bool anyHeld = FKeyDown[VK_LBUTTON] || FKeyDown[VK_RBUTTON] || FKeyDown[VK_MBUTTON];
  if (FDrag) {
    if (b != MouseButton::Left) return;
    FDrag.reset();  // the release that ends the move loop reaches no window
    UpdateHover(WindowAt(FCursorPos));
    return;
  }
  VirtualWindow* target = PointerOwner();
  if (!target) target = WindowAt(FCursorPos);
  if (!target) target = FGrab;
  if (!anyHeld) FImplicit = nullptr;
  if (target) QueueMouse(Note::Kind::Up, target, b, false);
  UpdateHover(WindowAt(FCursorPos));
}

void VirtualDesktop::ApplyKey(int vk, bool down) {
  if (!ValidKey(vk)) return;
  bool wasDown = FKeyDown[vk];
  FKeyDown[vk] = down;
  if (down && !wasDown) FKeyToggled[vk] = !FKeyToggled[vk];
  VirtualWindow* target = FActive ? FActive : FGrab;
  if (!target) return;
  KeyEvent e{.Key = vk, .Shift = CurrentShift(), .Repeat = down && wasDown};
  Queue({.What = down ? Note::Kind::KeyDown : Note::Kind::KeyUp, .Target = target->FSerial, .Key = e});
  if (down && !FKeyDown[VK_MENU]) {
    std::string ch = KeyChar(vk, FKeyDown[VK_SHIFT], FKeyDown[VK_CONTROL]);
    if (!ch.empty()) Queue({.What = Note::Kind::Char, .Target = target->FSerial, .Text = std::move(ch)});
  }
}

void VirtualDesktop::Deliver(const Note& n) {
  switch (n.What) {
    case Note::Kind::TrayMove:
    case Note::Kind::TrayDown:
    case Note::Kind::TrayUp:
    case Note::Kind::TrayDouble: {
      auto it = std::find_if(FTrayIcons.begin(), FTrayIcons.end(), [&](VirtualTrayIcon* t) { return t->FSerial == n.Target; });
      if (it == FTrayIcons.end() || !(*it)->FListener) return;
      TrayIconListener* l = (*it)->FListener;
      if (n.What == Note::Kind::TrayMove) l->OnTrayMouseMove(n.Pos);
      else if (n.What == Note::Kind::TrayDown) l->OnTrayMouseDown(n.Button, n.Pos);
      else if (n.What == Note::Kind::TrayUp) l->OnTrayMouseUp(n.Button, n.Pos);
      else l->OnTrayDoubleClick(n.Button, n.Pos);
      return;
    }
    default: break;
  }
  VirtualWindow* w = FindSerial(n.Target);
  if (!w || !w->FListener) return;
  WindowListener* l = w->FListener;
  switch (n.What) {
    case Note::Kind::Move: l->OnMouseMove(n.Mouse); break;
    case Note::Kind::Down: l->OnMouseDown(n.Mouse); break;
    case Note::Kind::Up: l->OnMouseUp(n.Mouse); break;
    case Note::Kind::Wheel: l->OnMouseWheel(n.Mouse, n.Delta); break;
    case Note::Kind::Leave: l->OnMouseLeave(); break;
    case Note::Kind::KeyDown: l->OnKeyDown(n.Key); break;
    case Note::Kind::KeyUp: l->OnKeyUp(n.Key); break;
    case Note::Kind::Char: l->OnChar(n.Text); break;
    case Note::Kind::Activate: l->OnActivate(n.Flag); break;
    case Note::Kind::Close: l->OnCloseRequest(); break;
    case Note::Kind::Moved: l->OnMoved(n.Bounds); break;
    case Note::Kind::CaptureLost: l->OnCaptureLost(); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------------------------
// Shell services

void VirtualDesktop::SetClipboardBitmap(const gfx::Bitmap& bmp) {
  FClipboard = bmp;
  FHasClipboard = true;
  FClipboardText.reset();
  FLog.push_back("clipboard bitmap " + std::to_string(bmp.Width()) + "x" + std::to_string(bmp.Height()));
}

void VirtualDesktop::SetClipboardText(const std::string& utf8) {
  InjectClipboardText(utf8);
  FLog.push_back("clipboard text " + utf8);
}

void VirtualDesktop::InjectClipboardText(std::string utf8) {
  FClipboardText = std::move(utf8);
  FClipboard = gfx::Bitmap();
  FHasClipboard = false;
}

std::unique_ptr<TrayIcon> VirtualDesktop::CreateTrayIcon(TrayIconListener* listener) {
  if (!FTrayAvailable) return nullptr;
  auto icon = std::make_unique<VirtualTrayIcon>(this, FNextSerial++, listener);
  FTrayIcons.push_back(icon.get());
  return icon;
}

void VirtualDesktop::TrayIconDestroyed(VirtualTrayIcon* icon) {
  auto it = std::find(FTrayIcons.begin(), FTrayIcons.end(), icon);
  if (it != FTrayIcons.end()) FTrayIcons.erase(it);
}

void VirtualDesktop::ShellOpen(const std::string& target) { FLog.push_back("open " + target); }

void VirtualDesktop::PlaySystemSound(const std::string& name) { FLog.push_back("sound " + name); }

void VirtualDesktop::Beep() { FLog.push_back("beep"); }

void VirtualDesktop::ShowHelp(const std::string& file, const std::string& command) {
  FLog.push_back(command.empty() ? "help " + file : "help " + file + " " + command);
}

void VirtualDesktop::Journal(const std::string& line) { FLog.push_back(line); }

std::vector<std::string> VirtualDesktop::TakeLog() {
  std::vector<std::string> out;
  out.swap(FLog);
  return out;
}

void VirtualDesktop::SetExecutableDir(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  FExecutableDir = std::move(dir);
}

void VirtualDesktop::QueueAnswer(DialogKind kind, std::string answer) { FAnswers[kind].push_back(std::move(answer)); }

std::size_t VirtualDesktop::PendingAnswers(DialogKind kind) const {
  auto it = FAnswers.find(kind);
  return it == FAnswers.end() ? 0 : it->second.size();
}

std::optional<std::string> VirtualDesktop::TakeScriptedAnswer(DialogKind kind) {
  auto it = FAnswers.find(kind);
  if (it == FAnswers.end() || it->second.empty()) return std::nullopt;
  std::string a = std::move(it->second.front());
  it->second.pop_front();
  return a;
}

}  // namespace plat
