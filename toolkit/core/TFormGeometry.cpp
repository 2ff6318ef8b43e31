// The form's frame geometry: frame and caption sizes, the client area's place in the
// window, and which part of the window a point hits.
#include "toolkit/core/TForm.h"

namespace {

// Classic frame metrics (pixels).
constexpr int kFixedFrame = 3;      // dialog and single frames
constexpr int kSizingFrame = 4;     // sizeable frames
constexpr int kCaption = 19;        // caption bar 18 plus its bottom line
constexpr int kSmallCaption = 16;   // tool windows: 15 plus the line
constexpr int kSizeCorner = 16;     // how far a sizing corner reaches along the edges

}  // namespace

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
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) {
    FOffscreenDirty = gfx::Region();
    InvalidateWindowRect(Rect{0, 0, Width(), Height()});
  } else if (!FOffscreenDirty.IsEmpty()) {
    // Moved: what was left unpainted beyond the screen's edge may show now.
    FDirty = FDirty.Union(FOffscreenDirty);
    FOffscreenDirty = gfx::Region();
  }
  TWinControl::BoundsChanged(oldBounds);
}
