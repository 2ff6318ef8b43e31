// The form's paint cycle: dirty regions, painting the frame and every control, presenting.
#include "toolkit/core/TForm.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include "toolkit/core/PaintCycle.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"

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

Rect TForm::OnScreenWindowRect() const {
  const Rect window{0, 0, Width(), Height()};
  if (!plat::Platform::HasCurrent()) return window;
  const Size screen = plat::Platform::Current().ScreenSize();
  if (screen.cx <= 0 || screen.cy <= 0) return window;
  // In 64 bits: a window far off the screen must not overflow the translation.
  const auto clampInt = [](long long v) {
    return int(std::clamp<long long>(v, std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::max() / 2));
  };
  const Rect onScreen{clampInt(-(long long)Left()), clampInt(-(long long)Top()),
                      clampInt((long long)screen.cx - Left()), clampInt((long long)screen.cy - Top())};
  return window.Intersect(onScreen);
}

void TForm::PaintNow() {
  if (!FWindow || FInPaint || Destroying()) return;
  if (FDirty.IsEmpty() && FPresentPending.IsEmpty()) return;
  gfx::Bitmap& buffer = FWindow->BackBuffer();
  if (buffer.Width() != Width() || buffer.Height() != Height()) FWindow->SetBounds(BoundsRect());
  // A long strip reaches far beyond the screen; painting what nobody can see would cost a
  // repaint of up to 32767 pixels on every roll. That part stays dirty until it shows.
  const gfx::Region onScreen(OnScreenWindowRect());
  gfx::Region region = FDirty.Intersect(onScreen);
  FOffscreenDirty = FOffscreenDirty.Union(FDirty.Subtract(onScreen));
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
  std::vector<TControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i) children.push_back(parent->Controls(i));
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
  // The rest of the frame, then the raised 3D edge: light and white on the top and left,
  // dark shadow and shadow on the bottom and right.
  canvas.Brush = gfx::Brush{(FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin) ? clActiveBorder : clBtnFace,
                            gfx::BrushStyle::Solid, {}};
  gfx::Region frame = gfx::Region(Rect{0, 0, w, h}).Subtract(gfx::Region(ClientRectInWindow()));
  canvas.FillRgn(frame);
  Rect edge{0, 0, w, h};
  canvas.DrawEdge(edge, gfx::EDGE_RAISED, gfx::BF_RECT);

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
    // Pressed, the button sinks with the dark shadow outermost.
    Rect bevel = b;
    if (down) canvas.DrawEdge(bevel, gfx::EDGE_SUNKEN, gfx::BF_RECT | gfx::BF_SOFT);
    else canvas.DrawEdge(bevel, gfx::EDGE_RAISED, gfx::BF_RECT);
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
