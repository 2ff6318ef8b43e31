// The form's messages and the native window's input: mouse capture, hover and cursor,
// frame clicks and border drags, keys and dialog keys, activation.
#include "toolkit/core/TForm.h"

#include <algorithm>

#include "graphics/CanvasStateSaver.h"
#include "graphics/Utf8.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

constexpr int kMinTrack = 16;       // smallest outer size a border drag leaves

bool AnyButton(TShiftState s) { return (s & (ssLeft | ssRight | ssMiddle)) != 0; }

}  // namespace

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT: {
      gfx::Bitmap& buffer = FWindow->BackBuffer();
      TCanvas own(buffer);
      TCanvas* canvas = message.LParam ? reinterpret_cast<TCanvas*>(message.LParam) : &own;
      // A canvas lent by the sender gets its clip, origin and colours back afterwards.
      const gfx::CanvasStateSaver saved(*canvas);
      if (message.WParam) canvas->SetClipRegion(*reinterpret_cast<const gfx::Region*>(message.WParam));
      else canvas->SetClipRegion(gfx::Region(Rect{0, 0, Width(), Height()}).Subtract(gfx::Region(ClientRectInWindow())));
      canvas->Origin = Point{};
      PaintFrame(*canvas);
      return;
    }
    case WM_NCACTIVATE:
      InvalidateFrame();
      message.Result = 1;
      return;
    case WM_ACTIVATE:
      if (message.WParam) Activate();
      else Deactivate();
      return;
    case WM_SYSCOMMAND: {
      const unsigned cmd = unsigned(message.WParam) & 0xFFF0u;
      if (cmd == SC_MOVE) {
        // The window system's move loop owns the mouse from here to the release.
        SetCaptureControl(nullptr);
        if (FWindow) FWindow->BeginMoveDrag();
      } else if (cmd == SC_MINIMIZE) {
        if (Application && Application->MainForm() == this) Application->Minimize();
        else SetWindowState(wsMinimized);
      } else if (cmd == SC_RESTORE) {
        if (Application && Application->Minimized()) Application->Restore();
        SetWindowState(wsNormal);
      } else if (cmd == SC_CLOSE) {
        Close();
      }
      return;
    }
    case WM_CLOSE:
      Close();
      return;
    case WM_SETCURSOR:
      return;
    case CM_RELEASE:
      if (Application) Application->ScheduleRelease(this);
      return;
    case CM_TEXTCHANGED:
      if (FWindow) FWindow->SetTitle(Caption());
      InvalidateFrame();
      return;
    case WM_ERASEBKGND:
    case WM_PAINT:
    default:
      TWinControl::WndProc(message);
      return;
  }
}

void TForm::SetCaptureControl(TControl* control) {
  if (control == FCaptureControl) return;
  TControl* old = FCaptureControl;
  FCaptureControl = control;
  if (control) {
    if (FWindow) FWindow->SetCapture();
  } else if (FWindow && FNonClientHit == HTNOWHERE) {
    FWindow->ReleaseCapture();
  }
  if (old) old->Perform(WM_CAPTURECHANGED, 0, 0);
}

TControl* TForm::MouseTarget(Point windowPoint) {
  const Rect client = ClientRectInWindow();
  if (!client.Contains(windowPoint)) return nullptr;
  return ControlAtPos(Point{windowPoint.x - client.left, windowPoint.y - client.top});
}

void TForm::UpdateHover(TControl* control) {
  if (control == FHoverControl) return;
  TControl* old = FHoverControl;
  FHoverControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (control && FHoverControl == control) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TForm::UpdateCursor() {
  if (!FWindow) return;
  TCursor id = crDefault;
  bool nonClient = false;
  if (Screen && Screen->Cursor() != crDefault) {
    id = Screen->Cursor();
  } else {
    TControl* c = FCaptureControl ? FCaptureControl : FHoverControl;
    if (c && Perform(WM_SETCURSOR, reinterpret_cast<std::intptr_t>(c), HTCLIENT) != 0) return;
    for (; c && c->Cursor() == crDefault; c = c->Parent()) {}
    if (c) id = c->Cursor();
  }
  if (FShownCursor && *FShownCursor == id && FShownCursorNonClient == nonClient) return;
  FShownCursor = id;
  FShownCursorNonClient = nonClient;
  FWindow->SetCursor(Screen ? Screen->Cursors(id) : plat::CursorLook{});
}

void TForm::CursorImageChanged() {
  FShownCursor.reset();  // the next hover shows the new image
  UpdateCursor();
}

void TForm::DispatchMouse(unsigned msg, const plat::MouseEvent& e) {
  TControl* target = FCaptureControl ? FCaptureControl : MouseTarget(e.Pos);
  if (!target) return;
  Point o = target->WindowOrigin();
  Point local{e.Pos.x - o.x, e.Pos.y - o.y};
  target->Perform(msg, e.Shift, PointToLParam(local));
}

void TForm::NativeMouseMove(const plat::MouseEvent& e) {
  TMsg m{this, WM_MOUSEMOVE, e.Shift, PointToLParam(e.Pos), e.ScreenPos};
  if (Application && Application->FilterMessage(m)) return;
  if (FNonClientHit != HTNOWHERE) {
    NonClientMouseMove(e);
    return;
  }
  if (!AcceptsInput()) return;
  UpdateHover(FCaptureControl ? (MouseTarget(e.Pos) == FCaptureControl ? FCaptureControl : nullptr) : MouseTarget(e.Pos));
  if (!FCaptureControl) {
    const int hit = HitTest(e.Pos);
    if (hit != HTCLIENT && hit != HTNOWHERE) {
      // The sizing borders show the sizing cursors.
      plat::StdCursor shape = plat::StdCursor::Arrow;
      switch (hit) {
        case HTLEFT: case HTRIGHT: shape = plat::StdCursor::SizeWE; break;
        case HTTOP: case HTBOTTOM: shape = plat::StdCursor::SizeNS; break;
        case HTTOPLEFT: case HTBOTTOMRIGHT: shape = plat::StdCursor::SizeNWSE; break;
        case HTTOPRIGHT: case HTBOTTOMLEFT: shape = plat::StdCursor::SizeNESW; break;
        default: break;
      }
      if (Perform(WM_SETCURSOR, reinterpret_cast<std::intptr_t>(this), hit) == 0 && FWindow) {
        plat::CursorLook look;
        look.Standard = shape;
        FWindow->SetCursor(look);
        FShownCursor.reset();
      }
      return;
    }
  }
  UpdateCursor();
  DispatchMouse(WM_MOUSEMOVE, e);
}

void TForm::NativeMouseDown(const plat::MouseEvent& e) {
  const unsigned msg = e.Button == plat::MouseButton::Left    ? (e.DoubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
                       : e.Button == plat::MouseButton::Right ? (e.DoubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                                              : (e.DoubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN);
  TMsg m{this, msg, e.Shift, PointToLParam(e.Pos), e.ScreenPos};
  if (Application && Application->FilterMessage(m)) return;
  if (!AcceptsInput()) {
    if (ReturnToModalForm()) plat::Platform::Current().Beep();
    return;
  }
  if (!FCaptureControl) {
    const int hit = HitTest(e.Pos);
    if (hit != HTCLIENT) {
      if (FNonClientHit == HTNOWHERE && e.Button == plat::MouseButton::Left) NonClientMouseDown(hit, e);
      return;
    }
    TControl* target = MouseTarget(e.Pos);
    if (!target) return;
    // Whatever button went down, the control under it gets every mouse message until all
    // buttons are up again.
    SetCaptureControl(target);
  }
  DispatchMouse(msg, e);
}

void TForm::NativeMouseUp(const plat::MouseEvent& e) {
  const unsigned msg = e.Button == plat::MouseButton::Left    ? WM_LBUTTONUP
                       : e.Button == plat::MouseButton::Right ? WM_RBUTTONUP
                                                              : WM_MBUTTONUP;
  TMsg m{this, msg, e.Shift, PointToLParam(e.Pos), e.ScreenPos};
  if (Application && Application->FilterMessage(m)) return;
  if (FNonClientHit != HTNOWHERE) {
    NonClientMouseUp(e);
    return;
  }
  if (!AcceptsInput() && !FCaptureControl) return;
  // The capture ends with the last button even when the handler of the release fails.
  struct EndCapture {
    TForm* Form;
    bool Release;
    ~EndCapture() {
      if (Release) Form->SetCaptureControl(nullptr);
    }
  } endCapture{this, !AnyButton(e.Shift)};
  DispatchMouse(msg, e);
  if (endCapture.Release) {
    SetCaptureControl(nullptr);
    UpdateHover(MouseTarget(e.Pos));
    UpdateCursor();
  }
}

void TForm::NativeMouseWheel(const plat::MouseEvent& e, int delta) {
  TMsg m{this, WM_MOUSEWHEEL, PointToLParam(Point{e.Shift, delta}), PointToLParam(e.Pos), e.ScreenPos};
  if (Application && Application->FilterMessage(m)) return;
  if (!AcceptsInput()) return;
  // The wheel goes to the focused control first, then up its parents, as the classic does.
  TWinControl* target = FActiveControl ? FActiveControl : this;
  for (TWinControl* c = target; c; c = c->Parent()) {
    Point o = c->WindowOrigin();
    if (c->Perform(WM_MOUSEWHEEL, PointToLParam(Point{e.Shift, delta}), PointToLParam(Point{e.Pos.x - o.x, e.Pos.y - o.y})) != 0)
      return;
  }
}

void TForm::NativeMouseLeave() {
  if (!FCaptureControl) UpdateHover(nullptr);
}

void TForm::NonClientMouseDown(int hit, const plat::MouseEvent& e) {
  switch (hit) {
    case HTCAPTION:
      SetFocus();
      Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      return;
    case HTCLOSE:
      FNonClientHit = HTCLOSE;
      FCloseButtonDown = true;
      if (FWindow) FWindow->SetCapture();
      RedrawFrame();
      return;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTBOTTOM:
    case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOMLEFT: case HTBOTTOMRIGHT:
      FNonClientHit = hit;
      FSizeDragStart = e.ScreenPos;
      FSizeDragBounds = BoundsRect();
      if (FWindow) FWindow->SetCapture();
      return;
    default:
      return;
  }
}

void TForm::NonClientMouseMove(const plat::MouseEvent& e) {
  if (FNonClientHit == HTCLOSE) {
    const bool down = CloseButtonRect().Contains(e.Pos);
    if (down != FCloseButtonDown) {
      FCloseButtonDown = down;
      RedrawFrame();
    }
    return;
  }
  const int dx = e.ScreenPos.x - FSizeDragStart.x, dy = e.ScreenPos.y - FSizeDragStart.y;
  Rect r = FSizeDragBounds;
  const int hit = FNonClientHit;
  if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) r.left = std::min(r.left + dx, r.right - kMinTrack);
  if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) r.right = std::max(r.right + dx, r.left + kMinTrack);
  if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) r.top = std::min(r.top + dy, r.bottom - kMinTrack);
  if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) r.bottom = std::max(r.bottom + dy, r.top + kMinTrack);
  SetBoundsRect(r);
}

void TForm::NonClientMouseUp(const plat::MouseEvent& e) {
  const int hit = FNonClientHit;
  if (AnyButton(e.Shift)) return;
  FNonClientHit = HTNOWHERE;
  if (FWindow) FWindow->ReleaseCapture();
  if (hit == HTCLOSE) {
    const bool inside = CloseButtonRect().Contains(e.Pos);
    FCloseButtonDown = false;
    RedrawFrame();
    if (inside) Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

void TForm::NativeCaptureLost() {
  if (FNonClientHit != HTNOWHERE) {
    FNonClientHit = HTNOWHERE;
    if (FCloseButtonDown) {
      FCloseButtonDown = false;
      InvalidateFrame();
    }
  }
  if (FCaptureControl) {
    TControl* old = FCaptureControl;
    FCaptureControl = nullptr;
    old->Perform(WM_CAPTURECHANGED, 0, 0);
  }
}

void TForm::DispatchKey(unsigned msg, const plat::KeyEvent& e) {
  TMsg m{this, msg, e.Key, std::intptr_t(e.Shift) | (e.Repeat ? kKeyRepeatFlag : 0), {}};
  if (Application && Application->FilterMessage(m)) return;
  if (!AcceptsInput()) return;
  if (msg == WM_KEYDOWN) FEatChar = false;
  TWinControl* target = FActiveControl ? FActiveControl : this;
  TMessage message{msg, e.Key, std::intptr_t(e.Shift) | (e.Repeat ? kKeyRepeatFlag : 0), 0};
  TWndMethod proc = target->WindowProc();
  proc(message);
  if (msg != WM_KEYDOWN || message.Result != 0) return;
  const int key = int(message.WParam);
  if (key == 0) return;
  if (target != this && target->WantsKey(key)) return;
  // Tab, Enter or Escape used as a dialog key does not also arrive as a typed character.
  if (DialogKey(key, e.Shift)) FEatChar = true;
}

bool TForm::DialogKey(int key, TShiftState shift) {
  if (key == plat::VK_TAB && !(shift & (ssCtrl | ssAlt))) {
    SelectNext(FActiveControl, !(shift & ssShift), true);
    return true;
  }
  TMessage m{CM_DIALOGKEY, key, shift, 0};
  Broadcast(m);
  return m.Result != 0;
}

void TForm::NativeKeyDown(const plat::KeyEvent& e) { DispatchKey(WM_KEYDOWN, e); }
void TForm::NativeKeyUp(const plat::KeyEvent& e) { DispatchKey(WM_KEYUP, e); }

void TForm::NativeChar(std::string_view utf8) {
  for (char32_t cp : gfx::DecodeUtf8(utf8)) {
    if (FEatChar && cp < 0x20) {
      FEatChar = false;
      continue;
    }
    TMsg m{this, WM_CHAR, std::intptr_t(cp), 0, {}};
    if (Application && Application->FilterMessage(m)) continue;
    if (!AcceptsInput()) return;
    TWinControl* target = FActiveControl ? FActiveControl : this;
    target->Perform(WM_CHAR, std::intptr_t(cp), 0);
  }
}

bool TForm::ReturnToModalForm() {
  if (!Application || Application->ModalForms().empty()) return false;
  TForm* modal = Application->ModalForms().back();
  if (modal == this || !modal->Showing()) return false;
  modal->BringToFront();
  return true;
}

void TForm::NativeActivate(bool active) {
  // The window system (a click, a window manager) activated a window that a modal form
  // blocks: the modal form takes the keyboard back at once, so Enter and Escape still reach it.
  if (active && !AcceptsInput() && ReturnToModalForm()) return;
  if (active == FActive) return;
  FActive = active;
  // The program has the keyboard only while one of its forms is active: a form that loses it
  // to another program is no longer the active form (the strip's tick must not take it back).
  if (Screen) {
    if (active) Screen->SetActiveForm(this);
    else if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  }
  Perform(WM_NCACTIVATE, active ? 1 : 0, 0);
  Perform(WM_ACTIVATE, active ? 1 : 0, 0);
  // The focused control loses and regains the keyboard with its window (carets follow).
  if (FActiveControl) FActiveControl->Perform(active ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

void TForm::NativeCloseRequest() {
  if (!AcceptsInput()) return;
  Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TForm::NativeMoved(const Rect& bounds) {
  if (bounds == BoundsRect()) return;
  const bool outer = FTakingWindowSystemBounds;
  FTakingWindowSystemBounds = true;
  try {
    SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  } catch (...) {
    FTakingWindowSystemBounds = outer;
    throw;
  }
  FTakingWindowSystemBounds = outer;
}
