#include "menu/TAnimatedPopupMenu.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "menu/TAnimatedMenuWindow.h"
#include "menu/TMenuFrames.h"
#include "menu/TMenuItemBitmaps.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

// The frame at which the opening sound plays: late enough that the window is seen opening.
constexpr int kSoundFrame = 3;

// Where a menu of SIZE goes when asked for at AT, within the work area WA. BUTTONTOP is the
// screen top of the button the menu was opened from (it then opens above the button rather
// than over it). Says whether it opens upwards and whether it was moved left.
gfx::Point Place(gfx::Size size, gfx::Point at, gfx::Rect wa, gfx::Point monitor, std::optional<int> buttonTop,
                 bool hslide, bool& upwards, bool& leftwards) {
  gfx::Point p = at;
  leftwards = false;
  upwards = false;
  if (p.x + size.cx > wa.right) {
    p.x = wa.right - size.cx;
    leftwards = true;
  }
  p.x = std::max(p.x, monitor.x + 1);
  const bool fitsBelow = p.y + size.cy <= wa.bottom;
  const int above = buttonTop ? *buttonTop : p.y;
  if (!fitsBelow && !hslide && above - size.cy >= wa.top) {
    p.y = above - size.cy;
    upwards = true;
  } else if (!fitsBelow) {
    p.y = wa.bottom - size.cy;
  }
  p.y = std::max(p.y, monitor.y + 1);
  return p;
}

}  // namespace

TAnimatedPopupMenu::TAnimatedPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

TAnimatedPopupMenu::~TAnimatedPopupMenu() {
  *FAlive = false;
  RemoveHook();
  if (FWindow) FWindow->NativeWindow()->UngrabInput();
}

gfx::Font TAnimatedPopupMenu::MenuFont() const {
  if (FSystemFont) {
    gfx::Font f;
    f.Name = "MS Sans Serif";
    f.SetSize(8);
    f.Style = gfx::fsBold;  // the stock system font is a bold face
    return f;
  }
  if (FParentFont)
    if (const auto* form = dynamic_cast<const TForm*>(Owner())) return form->Font().Data();
  return FFont;
}

void TAnimatedPopupMenu::CloseOtherMenus() {
  if (!Screen) return;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* w = dynamic_cast<TAnimatedMenuWindow*>(Screen->Forms(i)); w && w->Menu() && w->Menu() != this &&
                                                                        w->Menu()->IsOpen())
      w->Menu()->CloseMenu();
}

void TAnimatedPopupMenu::Popup(int x, int y) {
  const std::shared_ptr<bool> alive = FAlive;
  CloseOtherMenus();
  if (!*alive) return;
  if (FOpen) CloseMenu();
  if (!*alive) return;
  const unsigned generation = ++FGeneration;
  auto stillOurs = [&] { return *alive && generation == FGeneration; };
  if (OnPopup) OnPopup(this);
  if (!stillOurs()) return;
  if (auto* form = dynamic_cast<TForm*>(Owner()); form && form->Visible()) form->BringToFront();
  if (Owner())
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TMenuItemBitmaps*>(Owner()->Components(i))) b->Apply();

  if (!FWindow) {
    FWindow = TComponent::Make<TAnimatedMenuWindow>(nullptr);
    FWindow->SetMenu(this);
  }
  TAnimatedMenuWindow* window = FWindow.get();
  const gfx::Size full = window->Layout(MenuFont());

  // Where it goes, and which way it opens.
  plat::Platform& platform = plat::Platform::Current();
  std::optional<int> buttonTop;
  if (auto* button = dynamic_cast<TControl*>(PopupComponent()); button && button->Visible())
    buttonTop = button->ClientToScreen({0, 0}).y;
  TMenuAnimation kind = FOptions.OpenAnimation;
  if (kind == anRandom) kind = std::rand() % 2 ? anVSlide : anHSlide;
  if (kind == anSmart) kind = anVSlide;  // top level; sub-menus would slide sideways
  if (kind == anPopup) kind = anUnfold;
  bool upwards = false, leftwards = false;
  // On the monitor of the window it belongs to, so that it never opens across two monitors.
  auto* form = dynamic_cast<TForm*>(Owner());
  const plat::Monitor monitor = form && form->Visible() ? TScreen::MonitorFromRect(form->BoundsRect())
                                                        : TScreen::MonitorFromPoint({x, y});
  const gfx::Point at = Place(full, {x, y}, TScreen::WorkAreaOf(monitor), {monitor.Bounds.left, monitor.Bounds.top},
                              buttonTop, kind == anHSlide, upwards, leftwards);
  const gfx::Rect target = gfx::Rect::FromXYWH(at.x, at.y, full.cx, full.cy);
  window->SetAnchors(leftwards, upwards);
  auto boundsOf = [&](gfx::Size s) {
    return gfx::Rect{leftwards ? target.right - s.cx : target.left, upwards ? target.bottom - s.cy : target.top,
                     leftwards ? target.right : target.left + s.cx, upwards ? target.bottom : target.top + s.cy};
  };

  const TMenuFrames frames(full, kind, FOptions.DoubleSpeed);
  const std::vector<gfx::Size> sizes = frames.Frames();
  FOpen = true;
  FAnimating = true;
  window->SetSelected(-1);
  window->SetBoundsRect(boundsOf(frames.Start()));
  window->Show();
  window->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  FGrabbed = window->NativeWindow()->GrabInput();
  InstallHook();
  window->Repaint();

  bool soundPlayed = false;
  const std::uint64_t start = platform.NowMs();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    window->SetBoundsRect(boundsOf(sizes[i]));
    window->Repaint();
    // Messages run between frames: the tick, a click elsewhere, even one that closes the
    // menu or destroys its owner.
    if (Application) Application->ProcessMessages();
    if (!stillOurs()) return;
    if (!FOpen) break;
    const int frame = int(i) + 1;
    if (frame == kSoundFrame) {
      platform.PlaySystemSound("MenuPopup");
      soundPlayed = true;
    }
    if (const unsigned ms = TMenuFrames::SleepAfter(start, frame, FOptions.Timeout, platform.NowMs())) platform.Sleep(ms);
  }
  FAnimating = false;
  if (!FOpen) return;  // dismissed during the animation: the close has run already
  window->SetBoundsRect(target);
  window->Repaint();
  if (!soundPlayed) platform.PlaySystemSound("MenuPopup");
}

bool TAnimatedPopupMenu::Shut(TMenuItem* sender) {
  const std::shared_ptr<bool> alive = FAlive;
  FOpen = false;
  FAnimating = false;
  RemoveHook();
  if (FWindow) {
    FWindow->NativeWindow()->UngrabInput();
    FGrabbed = false;
  }
  const bool shrink = FOptions.CloseAnimation != anNone && FWindow && FWindow->Visible();
  if (shrink) {
    // The owner hears of the close before the window shrinks away.
    if (OnMenuClose) OnMenuClose(sender);
    if (!*alive) return false;
    ShrinkWindow();
  }
  if (FWindow) {
    FWindow->Hide();
    FWindow->SetSelected(-1);
  }
  if (!shrink && OnMenuClose) OnMenuClose(sender);
  return *alive;
}

void TAnimatedPopupMenu::ShrinkWindow() {
  TMenuAnimation kind = FOptions.CloseAnimation;
  if (kind == anRandom) kind = std::rand() % 2 ? anVSlide : anHSlide;
  if (kind == anSmart) kind = anVSlide;
  if (kind == anPopup) kind = anUnfold;
  const gfx::Rect full = FWindow->BoundsRect();
  const TMenuFrames frames({full.Width(), full.Height()}, kind, FOptions.DoubleSpeed);
  std::vector<gfx::Size> sizes = frames.Frames();
  std::reverse(sizes.begin(), sizes.end());
  // Shrinking towards the corner it grew from; no messages run meanwhile, so nothing can
  // reopen or destroy the menu half-way.
  const bool right = FWindow->AnchorRight(), bottom = FWindow->AnchorBottom();
  plat::Platform& platform = plat::Platform::Current();
  const std::uint64_t start = platform.NowMs();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const gfx::Size s = sizes[i];
    FWindow->SetBoundsRect({right ? full.right - s.cx : full.left, bottom ? full.bottom - s.cy : full.top,
                            right ? full.right : full.left + s.cx, bottom ? full.bottom : full.top + s.cy});
    FWindow->Repaint();
    if (const unsigned ms = TMenuFrames::SleepAfter(start, int(i) + 1, FOptions.Timeout, platform.NowMs())) platform.Sleep(ms);
  }
}

void TAnimatedPopupMenu::CloseMenu() {
  if (!FOpen) return;
  const std::shared_ptr<bool> alive = FAlive;
  TMenuItem* selected = FWindow ? FWindow->SelectedItem() : nullptr;
  if (!Shut(selected)) return;
  if (OnClose) OnClose(this);
}

void TAnimatedPopupMenu::ChooseItem(TMenuItem* item) {
  if (!FOpen || FAnimating || !item || item->Menu() != this || item->Parent() != Items()) return;
  if (item->IsLine() || !item->Visible() || !item->EffectivelyEnabled()) return;
  if (item->Count() > 0) return;  // a sub-menu entry: nothing to run
  const std::shared_ptr<bool> alive = FAlive;
  if (!Shut(item)) return;
  plat::Platform::Current().PlaySystemSound("MenuCommand");
  if (OnMenuCommand) OnMenuCommand(item);
  if (!*alive) return;
  item->Click();
  if (*alive && OnClose) OnClose(this);
}

void TAnimatedPopupMenu::InstallHook() {
  if (FHookId || !Application) return;
  FHookId = Application->AddMessageHook([this](TMsg& msg, bool& handled) {
    if (!FOpen || !FWindow) return;
    if (IsMenuKeyMessage(msg.message)) {
      // The menu has the keyboard: nothing reaches the windows beneath it.
      handled = true;
      if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) HandleKey(int(msg.wParam));
      return;
    }
    if (IsMenuMouseDown(msg.message) && !FWindow->BoundsRect().Contains(msg.pt)) {
      handled = true;  // the press that closes the menu does nothing else
      CloseMenu();
    }
  });
}

void TAnimatedPopupMenu::RemoveHook() {
  if (FHookId && Application) Application->RemoveMessageHook(FHookId);
  FHookId = 0;
}

void TAnimatedPopupMenu::MoveHighlight(int step) { FWindow->MoveSelection(step); }
void TAnimatedPopupMenu::ChooseHighlighted() { ChooseItem(FWindow->SelectedItem()); }
void TAnimatedPopupMenu::CloseLevel() { CloseMenu(); }

void TAnimatedPopupMenu::HandleKey(int key) {
  if (NavigationKey(key)) return;
  switch (key) {
    case plat::VK_LEFT:
    case plat::VK_RIGHT:
      return;  // no sub-menus to leave or enter
    case plat::VK_SHIFT:
    case plat::VK_CONTROL:
      return;
    case plat::VK_F1: {
      TMenuItem* item = FWindow->SelectedItem();
      if (!Application || Application->HelpFile().empty() || !item || item->HelpContext() == 0) return;
      const int context = item->HelpContext();
      const std::shared_ptr<bool> alive = FAlive;
      CloseMenu();
      if (*alive && Application) Application->HelpContext(context);
      return;
    }
    default: Accelerator(key); return;
  }
}

void TAnimatedPopupMenu::Accelerator(int key) {
  char c = 0;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) c = char(std::tolower(key));
  TMenuItem* found = nullptr;
  if (c)
    for (int i = 0; i < Items()->Count() && !found; ++i)
      if (TMenuItem* item = Items()->Items(i); item->Visible() && !item->IsLine() && GetHotkey(item->Caption()) == c)
        found = item;
  if (!found) {
    plat::Platform::Current().Beep();
    return;
  }
  if (!found->EffectivelyEnabled() || found->Count() > 0) return;
  // An accelerator runs the item itself, without OnMenuCommand.
  const std::shared_ptr<bool> alive = FAlive;
  if (!Shut(found)) return;
  plat::Platform::Current().PlaySystemSound("MenuCommand");
  found->Click();
  if (*alive && OnClose) OnClose(this);
}

void TAnimatedPopupMenu::MenuChanged(TMenuItem* item) {
  TPopupMenu::MenuChanged(item);
  if (FOpen && FWindow) FWindow->Invalidate();
}

std::optional<std::string> TAnimatedPopupMenu::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "StatusBarIndex")) return PropText::Int(FStatusBarIndex);
  if (PropText::Is(name, "ShowHint")) return PropText::Bool(FShowHint);
  if (PropText::Is(name, "Animating")) return PropText::Bool(FAnimating);
  if (PropText::Is(name, "Grabbed")) return PropText::Bool(FGrabbed);
  if (PropText::Is(name, "Selected")) return PropText::Int(FWindow ? FWindow->Selected() : -1);
  return TPopupMenu::GetPropText(name);
}
