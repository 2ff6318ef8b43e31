#include "toolkit/core/TForm.h"

#include "graphics/Utf8.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/core/PaintCycle.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

// Classic frame metrics (pixels).
constexpr int kFixedFrame = 3;      // dialog and single frames
constexpr int kSizingFrame = 4;     // sizeable frames
constexpr int kCaption = 19;        // caption bar 18 plus its bottom line
constexpr int kSmallCaption = 16;   // tool windows: 15 plus the line
constexpr int kSizeCorner = 16;     // how far a sizing corner reaches along the edges
constexpr int kMinTrack = 16;       // smallest outer size a border drag leaves

bool AnyButton(TShiftState s) { return (s & (ssLeft | ssRight | ssMiddle)) != 0; }


}  // namespace

// Forwards what the native window reports to the form.
class TForm::Events : public plat::WindowListener {
 public:
  explicit Events(TForm* form) : FForm(form) {}
  void OnMouseMove(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseMove(e); }); }
  void OnMouseDown(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseDown(e); }); }
  void OnMouseUp(const plat::MouseEvent& e) override { Guard([&] { FForm->NativeMouseUp(e); }); }
  void OnMouseWheel(const plat::MouseEvent& e, int delta) override { Guard([&] { FForm->NativeMouseWheel(e, delta); }); }
  void OnMouseLeave() override { Guard([&] { FForm->NativeMouseLeave(); }); }
  void OnKeyDown(const plat::KeyEvent& e) override { Guard([&] { FForm->NativeKeyDown(e); }); }
  void OnKeyUp(const plat::KeyEvent& e) override { Guard([&] { FForm->NativeKeyUp(e); }); }
  void OnChar(std::string_view utf8) override { Guard([&] { FForm->NativeChar(utf8); }); }
  void OnActivate(bool active) override { Guard([&] { FForm->NativeActivate(active); }); }
  void OnCloseRequest() override { Guard([&] { FForm->NativeCloseRequest(); }); }
  void OnMoved(const Rect& bounds) override { Guard([&] { FForm->NativeMoved(bounds); }); }
  void OnCaptureLost() override { Guard([&] { FForm->NativeCaptureLost(); }); }

 private:
  // Every handler the program runs from here may throw; the application shows the error
  // and carries on, as after any message.
  template <class F>
  void Guard(F&& f) {
    if (Application) Application->Guard(FForm, f);
    else f();
  }
  TForm* FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() | csSetCaption);
  FVisible = false;
  FParentFont = false;
  FParentColor = false;
  FColor = clBtnFace;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  if (Screen) Screen->AddForm(this);
  CreateNativeWindow();
}

TForm::~TForm() {
  if (!Destroying()) {
    // Held outside the application (tests): no OnDestroy, but the components still go first.
    DestroyComponents();
  }
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->FormGone(this);
  FCaptureControl = nullptr;
  FHoverControl = nullptr;
  FActiveControl = nullptr;
  FWindow.reset();
  FEvents.reset();
}

void TForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
  FCreated = true;
  DoCreate();
}

void TForm::BeforeDestruction() {
  if (Destroying()) return;
  if (FVisible) {
    // A form being destroyed disappears without its close events.
    NativeHide();
    FVisible = false;
  }
  if (FCreated) DoDestroy();
  TWinControl::BeforeDestruction();  // marks destroying, destroys the components
  Perform(WM_DESTROY, 0, 0);
}

void TForm::CreateNativeWindow() {
  if (!plat::Platform::HasCurrent()) throw std::logic_error("a form needs a platform (plat::Platform::SetCurrent)");
  if (!FEvents) FEvents = std::make_unique<Events>(this);
  plat::WindowParams params;
  params.Title = Caption();
  params.Bounds = BoundsRect();
  params.Kind = FWindowKind;
  params.TopMost = FFormStyle == fsStayOnTop;
  params.TaskbarEntry = false;
  FWindow = plat::Platform::Current().CreateWindow(params, FEvents.get());
  FShownCursor.reset();
  FDirty = gfx::Region(Rect{0, 0, Width(), Height()});
}

void TForm::DestroyNativeWindow() {
  if (!FWindow) return;
  Perform(WM_DESTROY, 0, 0);
  FWindow.reset();
  FActive = false;
}

// ---- geometry

int TForm::FrameWidth() const {
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return kSizingFrame;
    default: return kFixedFrame;
  }
}

int TForm::CaptionHeight() const {
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsToolWindow:
    case bsSizeToolWin: return kSmallCaption;
    default: return kCaption;
  }
}

Rect TForm::ClientRectInWindow() const {
  const int f = FrameWidth();
  Rect r{f, f + CaptionHeight(), Width() - f, Height() - f};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Point TForm::ClientOrigin() const {
  Rect c = ClientRectInWindow();
  return {Left() + c.left, Top() + c.top};
}

Point TForm::WindowOrigin() const {
  Rect c = ClientRectInWindow();
  return {c.left, c.top};
}

Rect TForm::VisibleWindowRect() const { return Visible() ? ClientRectInWindow() : Rect{}; }

Rect TForm::ClientRect() const {
  Rect r = ClientRectInWindow();
  return {0, 0, r.Width(), r.Height()};
}

Rect TForm::CaptionRect() const {
  if (FBorderStyle == bsNone) return {};
  const int f = FrameWidth();
  return Rect{f, f, Width() - f, f + CaptionHeight() - 1}.Intersect(Rect{0, 0, Width(), Height()});
}

Rect TForm::CloseButtonRect() const {
  Rect cap = CaptionRect();
  if (cap.IsEmpty() || !(FBorderIcons & biSystemMenu)) return {};
  const int h = cap.Height() - 4;                    // the button is the caption less 2 each side
  const int w = h + 2;
  Rect r = Rect::FromXYWH(cap.right - 2 - w, cap.top + 2, w, h);
  return r.Intersect(cap);
}

int TForm::HitTest(Point p) const {
  if (!Rect{0, 0, Width(), Height()}.Contains(p)) return HTNOWHERE;
  if (ClientRectInWindow().Contains(p)) return HTCLIENT;
  if (CloseButtonRect().Contains(p)) return HTCLOSE;
  if (CaptionRect().Contains(p)) return HTCAPTION;
  if (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin) {
    const int f = FrameWidth();
    const bool left = p.x < f, right = p.x >= Width() - f, top = p.y < f, bottom = p.y >= Height() - f;
    const bool nearLeft = p.x < kSizeCorner, nearRight = p.x >= Width() - kSizeCorner;
    const bool nearTop = p.y < kSizeCorner, nearBottom = p.y >= Height() - kSizeCorner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  return HTBORDER;
}

void TForm::SetClientWidth(int value) { SetWidth(value + 2 * FrameWidth()); }
void TForm::SetClientHeight(int value) { SetHeight(value + 2 * FrameWidth() + CaptionHeight()); }

void TForm::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
}

void TForm::BoundsChanged(const Rect& oldBounds) {
  if (FWindow && FWindow->Bounds() != BoundsRect()) FWindow->SetBounds(BoundsRect());
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  TWinControl::BoundsChanged(oldBounds);
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  Realign();
}

void TForm::SetBorderIcons(TBorderIcons value) {
  if (value == FBorderIcons) return;
  FBorderIcons = value;
  InvalidateFrame();
}

void TForm::SetFormStyle(TFormStyle value) {
  if (value == FFormStyle) return;
  FFormStyle = value;
  if (FWindow) FWindow->SetZOrder(value == fsStayOnTop ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
}

void TForm::SetWindowKind(plat::WindowKind value) {
  if (value == FWindowKind) return;
  FWindowKind = value;
  if (!FWindow) return;
  const bool shown = FWindow->Visible();
  SetCaptureControl(nullptr);
  DestroyNativeWindow();
  CreateNativeWindow();
  if (shown) NativeShow();
}

void TForm::SetWindowState(TWindowState value) {
  if (value == FWindowState) return;
  FWindowState = value;
  if (value == wsMinimized) {
    if (Application && Application->MainForm() == this) Application->Minimize();
    else if (FWindow) FWindow->Hide();
  } else if (FVisible && FWindow && !FWindow->Visible()) {
    NativeShow();
  }
}

void TForm::ApplyZOrder() {
  // Only puts a stay-on-top form into its band; a normal form keeps whatever band the
  // program put it in (SetWindowPos-like calls on the native window).
  if (FWindow && FFormStyle == fsStayOnTop && !FWindow->TopMost()) FWindow->SetZOrder(plat::ZOrder::TopMost);
}

void TForm::Show() {
  SetVisible(true);
  if (FVisible) BringToFront();
}

void TForm::BringToFront() {
  if (!FWindow || !FWindow->Visible()) return;
  FWindow->SetZOrder(plat::ZOrder::Top);
  if (FWindowKind != plat::WindowKind::Popup && !FWindow->Active()) FWindow->Activate();
}

void TForm::SendToBack() {
  if (FWindow) FWindow->SetZOrder(plat::ZOrder::Bottom);
}

// ---- showing and closing

void TForm::NativeShow() {
  if (!FWindow) return;
  ApplyZOrder();
  InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  FWindow->Show(FWindowKind != plat::WindowKind::Popup);
}

void TForm::NativeHide() {
  if (!FWindow) return;
  SetCaptureControl(nullptr);
  UpdateHover(nullptr);
  FWindow->Hide();
}

void TForm::SetVisible(bool value) {
  if (value == FVisible) {
    // Visible but hidden by minimising: showing it explicitly brings it back.
    if (value && FWindow && !FWindow->Visible() && !(Application && Application->Minimized())) NativeShow();
    return;
  }
  if (value) {
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter) {
      Size s = plat::Platform::Current().ScreenSize();
      SetBounds((s.cx - Width()) / 2, (s.cy - Height()) / 2, Width(), Height());
    } else if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
      TForm* m = Application ? Application->MainForm() : nullptr;
      if (FPosition == poOwnerFormCenter)
        if (auto* o = dynamic_cast<TForm*>(Owner())) m = o;
      if (m && m != this)
        SetBounds(m->Left() + (m->Width() - Width()) / 2, m->Top() + (m->Height() - Height()) / 2, Width(), Height());
    }
    FVisible = true;
    DoShow();
    if (!FVisible) return;  // OnShow hid it again
    Perform(WM_SHOWWINDOW, 1, 0);
    NativeShow();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    Perform(CM_VISIBLECHANGED, 1, 0);
  } else {
    FVisible = false;
    DoHide();
    Perform(WM_SHOWWINDOW, 0, 0);
    NativeHide();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    Perform(CM_VISIBLECHANGED, 0, 0);
  }
}

bool TForm::Showing() const { return Visible() && FWindow && FWindow->Visible(); }

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TForm::Release() {
  if (FReleasePending) return;
  FReleasePending = true;
  if (Application) Application->PostMessage(this, CM_RELEASE, 0, 0);
}

TModalResult TForm::ShowModal() {
  if (FVisible) throw std::logic_error("Cannot make a visible window modal");
  if (!Enabled()) throw std::logic_error("Cannot make a disabled window modal");
  if (!Application) throw std::logic_error("ShowModal needs the application object");
  ReleaseCapture();
  // Every form that can take input now is blocked until this one is done.
  std::vector<TForm*> blocked;
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TForm* f = Screen->Forms(i);
      if (f != this && f->FVisible) {
        ++f->FDisabledCount;
        blocked.push_back(f);
      }
    }
  struct Restore {
    TForm* Self;
    std::vector<TForm*>& Blocked;
    ~Restore() {
      Self->FModal = false;
      auto& stack = Application->FModalForms;
      stack.erase(std::remove(stack.begin(), stack.end(), Self), stack.end());
      for (TForm* f : Blocked)
        if (Screen && Screen->IndexOf(f) >= 0 && f->FDisabledCount > 0) --f->FDisabledCount;
    }
  } restore{this, blocked};
  FModal = true;
  FModalResult = mrNone;
  Application->FModalForms.push_back(this);
  Show();
  while (true) {
    Application->HandleMessage();
    if (Application->Terminated()) {
      if (FModalResult == mrNone) FModalResult = mrCancel;
      break;
    }
    if (FModalResult == mrNone) continue;
    // Closing a modal form still asks OnCloseQuery and OnClose; caNone keeps it open.
    if (!CloseQuery()) {
      FModalResult = mrNone;
      continue;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) {
      FModalResult = mrNone;
      continue;
    }
    break;
  }
  FModal = false;
  Hide();
  return FModalResult;
}

// ---- events

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}
void TForm::KeyDown(int& key, TShiftState shift) { TWinControl::KeyDown(key, shift); }

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

// ---- focus

bool TForm::CanFocus() const { return FVisible && Enabled() && FWindowKind != plat::WindowKind::Popup; }

void TForm::SetFocus() {
  if (FWindow && FVisible && FWindowKind != plat::WindowKind::Popup) FWindow->Activate();
}

void TForm::SetActiveControl(TWinControl* control) { FocusControl(control); }

void TForm::FocusControl(TWinControl* control) {
  if (control == this) control = nullptr;
  if (control && control->ParentForm() != this) return;
  if (control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  FActiveControl = control;
  if (old) {
    old->Perform(CM_EXIT, 0, 0);
    old->Perform(WM_KILLFOCUS, 0, 0);
  }
  if (control && FActiveControl == control) {
    control->Perform(CM_ENTER, 0, 0);
    control->Perform(WM_SETFOCUS, 0, 0);
  }
}

void TForm::ControlRemoved(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (inside(FCaptureControl)) SetCaptureControl(nullptr);
  if (inside(FCaptureControl)) FCaptureControl = nullptr;
  if (inside(FHoverControl)) FHoverControl = nullptr;
  if (inside(FActiveControl)) FActiveControl = nullptr;
}

void TForm::ControlHidden(TControl* control) {
  auto inside = [control](TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (inside(FCaptureControl)) SetCaptureControl(nullptr);
  if (inside(FHoverControl)) FHoverControl = nullptr;
  if (inside(FActiveControl)) FocusControl(nullptr);
}

// ---- painting

TCanvas& TForm::Canvas() {
  if (FInPaint && FCanvas) return *FCanvas;
  Rect client = ClientRectInWindow();
  PaintCycle::Retarget(FCanvas, FWindow->BackBuffer(), Point{client.left, client.top}, gfx::Region(client));
  AddDirectDraw(client);
  return *FCanvas;
}

void TForm::InvalidateWindowRect(const Rect& r) {
  Rect clipped = r.Intersect(Rect{0, 0, Width(), Height()});
  if (clipped.IsEmpty()) return;
  FDirty = FDirty.Union(gfx::Region(clipped));
}

void TForm::InvalidateFrame() {
  gfx::Region all(Rect{0, 0, Width(), Height()});
  FDirty = FDirty.Union(all.Subtract(gfx::Region(ClientRectInWindow())));
}

void TForm::RedrawFrame() {
  InvalidateFrame();
  PaintNow();
}

void TForm::AddDirectDraw(const Rect& r) {
  Rect clipped = r.Intersect(Rect{0, 0, Width(), Height()});
  if (!clipped.IsEmpty()) FPresentPending = FPresentPending.Union(gfx::Region(clipped));
}

void TForm::PaintNow() {
  if (!FWindow || FInPaint || Destroying()) return;
  if (FDirty.IsEmpty() && FPresentPending.IsEmpty()) return;
  gfx::Bitmap& buffer = FWindow->BackBuffer();
  if (buffer.Width() != Width() || buffer.Height() != Height()) FWindow->SetBounds(BoundsRect());
  gfx::Region region = std::move(FDirty);
  FDirty = gfx::Region();
  gfx::Region present = region.Union(FPresentPending);
  FPresentPending = gfx::Region();
  if (!region.IsEmpty()) PaintRegion(region);
  if (!present.IsEmpty() && FWindow) FWindow->Present(present.Bounds());
}

void TForm::PaintRegion(const gfx::Region& region) {
  struct InPaint {
    bool& Flag;
    explicit InPaint(bool& f) : Flag(f) { Flag = true; }
    ~InPaint() { Flag = false; }
  } guard(FInPaint);
  gfx::Bitmap& buffer = FWindow->BackBuffer();
  const Rect client = ClientRectInWindow();
  gfx::Region nonClient = region.Subtract(gfx::Region(client));
  if (!nonClient.IsEmpty()) {
    TCanvas canvas(buffer);
    canvas.SetClipRegion(nonClient);
    Perform(WM_NCPAINT, reinterpret_cast<std::intptr_t>(&nonClient), reinterpret_cast<std::intptr_t>(&canvas));
  }
  gfx::Region inside = region.Intersect(gfx::Region(client));
  if (inside.IsEmpty()) return;
  PaintOne(this, inside);
  PaintChildren(this, inside);
}

void TForm::PaintOne(TControl* control, const gfx::Region& region) {
  Rect vis = control == this ? ClientRectInWindow() : control->VisibleWindowRect();
  if (vis.IsEmpty()) return;
  gfx::Region clip = region.Intersect(gfx::Region(vis));
  if (clip.IsEmpty()) return;
  gfx::Bitmap& buffer = FWindow->BackBuffer();
  TCanvas canvas(buffer);
  canvas.Origin = control->WindowOrigin();
  canvas.SetClipRegion(clip);
  // A control that fails to paint must not stop the others (nor repeat its error forever).
  try {
    if (control->IsWindowed()) control->Perform(WM_ERASEBKGND, reinterpret_cast<std::intptr_t>(&canvas), 0);
    canvas.SetClipRegion(clip);
    control->Perform(WM_PAINT, reinterpret_cast<std::intptr_t>(&canvas), 0);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(control, e);
  }
}

void TForm::PaintChildren(TWinControl* parent, const gfx::Region& region) {
  const std::vector<TControl*> children = parent->FControls;
  // Graphic controls first, windowed ones on top: child windows clip their parent.
  for (TControl* c : children)
    if (!c->IsWindowed() && c->Visible()) PaintOne(c, region);
  for (TControl* c : children)
    if (c->IsWindowed() && c->Visible()) {
      PaintOne(c, region);
      PaintChildren(static_cast<TWinControl*>(c), region);
    }
}

void TForm::PaintControl(TCanvas& canvas) {
  PaintCycle::Retarget(FCanvas, canvas.Target(), canvas.Origin, canvas.ClipRegion());
  Paint();
}

void TForm::PaintFrame(TCanvas& canvas) {
  if (FBorderStyle == bsNone) return;
  const int w = Width(), h = Height();
  auto hline = [&](int x0, int x1, int y, TColor c) {
    canvas.Brush = gfx::Brush{c, gfx::BrushStyle::Solid, {}};
    canvas.FillRect(Rect{x0, y, x1, y + 1});
  };
  auto vline = [&](int x, int y0, int y1, TColor c) {
    canvas.Brush = gfx::Brush{c, gfx::BrushStyle::Solid, {}};
    canvas.FillRect(Rect{x, y0, x + 1, y1});
  };
  // The rest of the frame, then the raised 3D edge: light and white on the top and left,
  // dark shadow and shadow on the bottom and right.
  canvas.Brush = gfx::Brush{(FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin) ? clActiveBorder : clBtnFace,
                            gfx::BrushStyle::Solid, {}};
  gfx::Region frame = gfx::Region(Rect{0, 0, w, h}).Subtract(gfx::Region(ClientRectInWindow()));
  canvas.FillRgn(frame);
  hline(0, w - 1, 0, cl3DLight);
  vline(0, 0, h - 1, cl3DLight);
  hline(1, w - 2, 1, clBtnHighlight);
  vline(1, 1, h - 2, clBtnHighlight);
  hline(0, w, h - 1, cl3DDkShadow);
  vline(w - 1, 0, h, cl3DDkShadow);
  hline(1, w - 1, h - 2, clBtnShadow);
  vline(w - 2, 1, h - 1, clBtnShadow);

  // Caption bar.
  Rect cap = CaptionRect();
  if (cap.IsEmpty()) return;
  const bool active = FActive;
  canvas.Brush = gfx::Brush{active ? clActiveCaption : clInactiveCaption, gfx::BrushStyle::Solid, {}};
  canvas.FillRect(cap);
  Rect closeBtn = CloseButtonRect();
  Rect text = cap;
  text.left += 2;
  if (!closeBtn.IsEmpty()) text.right = closeBtn.left - 2;
  if (text.right > text.left + 2) {
    gfx::Font font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    font.Style = gfx::fsBold;
    font.Color = active ? clCaptionText : clInactiveCaptionText;
    canvas.SelectFont(font);
    canvas.BkMode = gfx::BkMode::Transparent;
    canvas.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_LEFT | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
  }
  if (!closeBtn.IsEmpty()) {
    Rect b = closeBtn;
    canvas.Brush = gfx::Brush{clBtnFace, gfx::BrushStyle::Solid, {}};
    canvas.FillRect(b);
    const bool down = FCloseButtonDown;
    const TColor tl1 = down ? cl3DDkShadow : cl3DLight, br1 = down ? clBtnHighlight : cl3DDkShadow;
    const TColor tl2 = down ? clBtnShadow : clBtnHighlight, br2 = down ? cl3DLight : clBtnShadow;
    hline(b.left, b.right - 1, b.top, tl1);
    vline(b.left, b.top, b.bottom - 1, tl1);
    hline(b.left, b.right, b.bottom - 1, br1);
    vline(b.right - 1, b.top, b.bottom, br1);
    hline(b.left + 1, b.right - 2, b.top + 1, tl2);
    vline(b.left + 1, b.top + 1, b.bottom - 2, tl2);
    hline(b.left + 1, b.right - 1, b.bottom - 2, br2);
    vline(b.right - 2, b.top + 1, b.bottom - 1, br2);
    // The cross: two diagonals two pixels thick, centred in the button.
    const int size = std::max(2, std::min(b.Width(), b.Height()) - 7);
    const int x0 = b.left + (b.Width() - size) / 2 - 1 + (down ? 1 : 0);
    const int y0 = b.top + (b.Height() - size) / 2 + (down ? 1 : 0);
    for (int i = 0; i < size; ++i) {
      canvas.SetPixel(x0 + i, y0 + i, clBtnText);
      canvas.SetPixel(x0 + i + 1, y0 + i, clBtnText);
      canvas.SetPixel(x0 + size - 1 - i, y0 + i, clBtnText);
      canvas.SetPixel(x0 + size - i, y0 + i, clBtnText);
    }
  }
}

// ---- messages

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT: {
      gfx::Bitmap& buffer = FWindow->BackBuffer();
      TCanvas own(buffer);
      TCanvas* canvas = message.LParam ? reinterpret_cast<TCanvas*>(message.LParam) : &own;
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
      if (Application) Application->FReleased.push_back(this);
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

// ---- input from the native window

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
  FWindow->SetCursor(Screen ? Screen->Cursors(id) : plat::CursorSpec{});
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
        plat::CursorSpec cursorSpec;
        cursorSpec.Standard = shape;
        FWindow->SetCursor(cursorSpec);
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
  if (!AcceptsInput()) return;
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

void TForm::NativeActivate(bool active) {
  if (active == FActive) return;
  FActive = active;
  if (active && Screen) Screen->SetActiveForm(this);
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
  SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

std::optional<std::string> TForm::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "BorderStyle")) return PropText::BorderStyle(FBorderStyle);
  if (Is(name, "FormStyle")) return PropText::FormStyle(FFormStyle);
  if (Is(name, "KeyPreview")) return Bool(FKeyPreview);
  if (Is(name, "Position")) return PropText::Position(FPosition);
  if (Is(name, "WindowState")) return PropText::WindowState(FWindowState);
  if (Is(name, "ModalResult")) return Int(FModalResult);
  if (Is(name, "Active")) return Bool(FActive);
  if (Is(name, "ActiveControl")) return FActiveControl ? FActiveControl->Name() : std::string();
  return TWinControl::GetPropText(name);
}
