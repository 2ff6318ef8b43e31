#include "magnifier/TfrmZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "magnifier/NoScreenPicture.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

constexpr int kLoupeSize = 100;   // the disc's square
constexpr int kStillRefresh = 50; // a still pointer refreshes every 50th tick (2.75 s)
constexpr int kRingWidth = 3;     // the ring frame along the disc's edge

}  // namespace

// The pixels that keep a whole (2w - 1)-square around them inside the disc are the disc
// eroded by that square, which is the disc eroded by a row of 2w - 1 pixels and then by a
// column of as many: the ring is the disc without them, built from the disc's bands.
gfx::Bitmap LoupeRingPicture(const gfx::Region& disc, int size, int width) {
  gfx::Region across = disc;
  for (int d = 1; d < width; ++d) across = across.Intersect(disc.Offset(d, 0)).Intersect(disc.Offset(-d, 0));
  gfx::Region inner = across;
  for (int d = 1; d < width; ++d) inner = inner.Intersect(across.Offset(0, d)).Intersect(across.Offset(0, -d));
  const gfx::Region ring = disc.Subtract(inner).Intersect(gfx::Region(gfx::Rect{0, 0, size, size}));
  gfx::Bitmap picture(size, size, 0xFFFFFF);
  for (const gfx::Rect& r : ring.Rects())
    for (int y = r.top; y < r.bottom; ++y) std::fill(picture.Row(y) + r.left, picture.Row(y) + r.right, gfx::TColor(0));
  return picture;
}

TLoupeReadout LoupeReadout(int x, int y, int originX, int originY) {
  // 64-bit throughout: a zero far off the screen must not overflow the distance or areas.
  const std::int64_t dx = std::int64_t(x) - originX;
  const std::int64_t dy = std::int64_t(y) - originY;
  TLoupeReadout r;
  r.X = std::to_string(x);
  r.Y = std::to_string(y);
  r.DX = std::to_string(dx);
  r.DY = std::to_string(dy);
  r.Caption = "X:" + r.X + " Y:" + r.Y + " dX:" + r.DX + " dY:" + r.DY;
  const long double dist = std::sqrt(static_cast<long double>(dx * dx + dy * dy));
  r.DXY = std::to_string(static_cast<std::int64_t>(std::nearbyint(dist)));
  const std::int64_t opp = std::llabs(dx * dy);
  r.Opp = std::to_string(opp);
  r.HalfOpp = std::to_string(opp / 2);
  return r;
}

std::string ChannelText(int value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%d #%X", value, unsigned(value));
  return buf;
}

gfx::Point LoupePlace(int x, int y, int w, int h, int sw, int sh) {
  int left = x, top = y + 5;
  if (x + w > sw) {
    left = sw - w;
    top = y + 35;
  }
  if (top + h > sh) {
    top = sh - h;
    if (left == sw - w) {
      left -= 130;
    } else {
      left = x + 30;
      if (left + w > sw) left = sw - w;
    }
  }
  return {left, top};
}

gfx::Point InfoPlace(int l, int t, int w, int h, int iw, int ih, int sw, int sh) {
  int ileft = l + w, itop = t + 50;
  if (t == sh - h) {
    ileft = l + (w - iw) / 2;
    itop = t - ih;
  }
  if (ileft + iw > sw) ileft = l - iw - 1;
  if (itop + ih + 50 > sh) itop = sh - ih - 50;
  return {ileft, itop};
}

TfrmZoom::TfrmZoom(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  SetName("frmZoom");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  // It travels with the pointer over other programs: it never takes the keyboard focus.
  SetWindowKind(plat::WindowKind::Popup);
  SetCaption("dx...");
  SetClientHeight(100);
  SetClientWidth(108);

  Image1 = TComponent::Create<TImage>(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetAlign(alClient);
  Image1->OnDblClick = std::bind(&TfrmZoom::Image1DblClick, this, _1);
  Image1->OnMouseMove = std::bind(&TfrmZoom::Image1MouseMove, this, _1, _2, _3, _4);

  gfx::Brush hollow;
  hollow.Style = gfx::BrushStyle::Clear;
  auto bar = [&](const char* name, int w, int h) {
    auto* s = TComponent::Create<TShape>(this);
    s->SetName(name);
    s->SetParent(this);
    s->SetBounds(0, 0, w, h);
    s->SetBrush(hollow);
    s->SetPenColor(clBlack);
    // The picture underneath takes the mouse: its drag and double click work across the cross.
    s->SetEnabled(false);
    return s;
  };
  Shape1 = bar("Shape1", 3, 50);
  Shape2 = bar("Shape2", 50, 3);

  ShapedForm1 = TComponent::Create<TShapedForm>(this);
  ShapedForm1->SetName("ShapedForm1");
  ShapedForm1->SetParent(this);
  ShapedForm1->ReadMask(LoadRegionResource("MASKZOOM"));
  ShapedForm1->SetEnabled(false);

  Image2 = TComponent::Create<TImage>(this);
  Image2->SetName("Image2");
  Image2->SetParent(this);
  Image2->SetAlign(alClient);
  Image2->SetTransparent(true);
  Image2->SetEnabled(false);
  // Image2's picture, the ring frame, is drawn when the loupe first shows (FormShow).

  Timer1 = TComponent::Create<TTimer>(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(55);
  Timer1->SetOnTimer(std::bind(&TfrmZoom::Timer1Timer, this, _1));
  Timer1->SetEnabled(true);
  PlanIdleTicks();

  OnCreate = std::bind(&TfrmZoom::FormCreate, this, _1);
  OnResize = std::bind(&TfrmZoom::FormResize, this, _1);
  OnShow = std::bind(&TfrmZoom::FormShow, this, _1);
  OnHide = std::bind(&TfrmZoom::FormHide, this, _1);
  OnClose = std::bind(&TfrmZoom::FormClose, this, _1, _2);
}

void TfrmZoom::FormCreate(TObject*) {
  FZoomFactor = 2;
  SetClientHeight(kLoupeSize);
  SetClientWidth(kLoupeSize);
  FormResize(this);
}

void TfrmZoom::ResizeCapture() {
  FCaptureWidth = Image1->Width() / FZoomFactor;
  FCaptureHeight = Image1->Height() / FZoomFactor;
  FCapture = gfx::Bitmap(FCaptureWidth, FCaptureHeight);
}

void TfrmZoom::FormResize(TObject*) {
  if (FZoomFactor <= 0) return;
  Image1->Picture() = gfx::Bitmap(Image1->Width(), Image1->Height());
  ResizeCapture();
  paintcrosshairs();
}

void TfrmZoom::changezoomfactor(int factor) {
  // Only 2, 3 and 4 give a cross that frames one enlarged pixel; anything else would divide
  // the picture by nothing or leave the cross off centre.
  if (factor < 2 || factor > 4) return;
  FZoomFactor = factor;
  const int thick = factor == 2 ? 3 : 5;
  Shape1->SetWidth(thick);
  Shape2->SetHeight(thick);
  paintcrosshairs();
  ResizeCapture();
  FStillTicks = kStillRefresh;  // show the new enlargement at the next tick
  PlanIdleTicks();
}

// While the program idles, the ticks before the next still refresh may be slept through;
// a moved reference point wants the next one.
void TfrmZoom::PlanIdleTicks() {
  const bool originMoved = FOriginX != FLastOriginX || FOriginY != FLastOriginY;
  const int left = originMoved ? 0 : kStillRefresh - 1 - FStillTicks;
  Timer1->SetIdleTolerance(left > 0 ? unsigned(left) * Timer1->Interval() : 0);
}

void TfrmZoom::SetReferencePoint(gfx::Point origin) {
  FOriginX = origin.x;
  FOriginY = origin.y;
  PlanIdleTicks();
}

void TfrmZoom::RefreshAtNextTick() {
  FStillTicks = kStillRefresh;
  PlanIdleTicks();
}

void TfrmZoom::paintcrosshairs() {
  const int w = Image1->Width(), h = Image1->Height();
  const int back = FZoomFactor == 3 ? 2 : FZoomFactor == 4 ? 3 : 0;
  Shape1->SetBounds(w / 2 - back, h / 2 - Shape1->Height() / 2, Shape1->Width(), Shape1->Height());
  Shape2->SetBounds(w / 2 - Shape2->Width() / 2, h / 2 - back, Shape2->Width(), Shape2->Height());
}

void TfrmZoom::FormShow(TObject*) {
  if (Image2->Picture().IsEmpty())
    Image2->SetPicture(ShapedForm1->Mask()->Region ? LoupeRingPicture(*ShapedForm1->Mask()->Region, kLoupeSize, kRingWidth)
                                                   : gfx::Bitmap(kLoupeSize, kLoupeSize, 0xFFFFFF));
  if (!FInfo) {
    FInfo = TComponent::Create<TfrmInfo>(this);
    FInfo->SetBounds(Left() + Width(), Top(), 90, FInfo->Height());
    FInfo->ShowContrastRows(FContrastBackground);
  }
  FInfo->Show();
  FInfo->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  // Refresh at the first tick wherever the pointer is.
  FStillTicks = kStillRefresh;
  PlanIdleTicks();
}

void TfrmZoom::FormHide(TObject*) {
  if (!FInfo) return;
  TfrmInfo* info = FInfo;
  FInfo = nullptr;
  DestroyComponent(info);
}

void TfrmZoom::FormClose(TObject*, TCloseAction& Action) { Action = caNone; }

void TfrmZoom::Image1DblClick(TObject*) {}

void TfrmZoom::Image1MouseMove(TObject*, TShiftState Shift, int, int) {
  if (!(Shift & ssLeft)) return;
  ::ReleaseCapture();
  Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TfrmZoom::Timer1Timer(TObject*) {
  // A tick that came late while the program idled stands for the ticks it slept through, so
  // a still pointer refreshes after the same time whether or not the ticks were slept.
  const std::uint64_t now = plat::Platform::Current().NowMs();
  const std::uint64_t interval = std::max(1u, Timer1->Interval());
  const int ticks = !FLastTickAt || now <= *FLastTickAt
                        ? 1
                        : int(std::clamp<std::uint64_t>((now - *FLastTickAt + interval / 2) / interval, 1, kStillRefresh));
  FLastTickAt = now;
  if (!Visible()) {
    // Nothing to show until FormShow asks for a tick at once.
    Timer1->SetIdleTolerance(unsigned(kStillRefresh) * Timer1->Interval());
    return;
  }
  gfx::Point p;
  if (!plat::Platform::Current().GetCursorPos(p)) return;
  const bool originMoved = FOriginX != FLastOriginX || FOriginY != FLastOriginY;
  if (p.x == FLastPosX && p.y == FLastPosY && !originMoved) {
    FStillTicks += ticks;
    if (FStillTicks < kStillRefresh) {
      PlanIdleTicks();
      return;
    }
  }
  FStillTicks = 0;
  FLastPosX = p.x;
  FLastPosY = p.y;
  FLastOriginX = FOriginX;
  FLastOriginY = FOriginY;
  PlanIdleTicks();
  Refresh(p);
}

void TfrmZoom::Refresh(gfx::Point p) {
  const TLoupeReadout text = LoupeReadout(p.x, p.y, FOriginX, FOriginY);
  SetCaption(text.Caption);

  // Placed on the pointer's monitor, worked out as if that monitor were the screen.
  const gfx::Rect m = TScreen::MonitorFromPoint(p).Bounds;
  const gfx::Point at = LoupePlace(p.x - m.left, p.y - m.top, Width(), Height(), m.Width(), m.Height());
  SetBounds(at.x + m.left, at.y + m.top, Width(), Height());
  if (FInfo) {
    const gfx::Point i = InfoPlace(at.x, at.y, Width(), Height(), FInfo->Width(), FInfo->Height(), m.Width(), m.Height());
    FInfo->SetBounds(i.x + m.left, i.y + m.top, FInfo->Width(), FInfo->Height());
    FInfo->lblX->SetCaption(text.X);
    FInfo->lblY->SetCaption(text.Y);
    FInfo->lblDX->SetCaption(text.DX);
    FInfo->lblDY->SetCaption(text.DY);
    FInfo->lblDXY->SetCaption(text.DXY);
    FInfo->lblOpp->SetCaption(text.Opp);
    FInfo->lblHalfOpp->SetCaption(text.HalfOpp);
    FInfo->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }

  gfx::Bitmap& picture = Image1->Picture();
  const int w = picture.Width(), h = picture.Height();
  if (!Screen->PixelsReadable()) {
    // A black picture would read as black pixels: say instead how to measure here.
    DrawNoScreenPicture(picture, gfx::Rect{10, 20, 92, 80});
    Image1->PictureChanged();
    if (FInfo)
      for (TLabel* l : {FInfo->lblRed, FInfo->lblGreen, FInfo->lblBlue}) l->SetCaption("-");
    return;
  }
  // Taken after the move, so where the square overlaps the loupe the loupe sees itself (but
  // not over a frozen screen, whose picture holds what lay there when it froze). Beyond the
  // screen's edge the pixels are black.
  FCapture = Screen->CapturePixels(
      gfx::Rect::FromXYWH(p.x - FCaptureWidth / 2, p.y - FCaptureHeight / 2, FCaptureWidth, FCaptureHeight));
  // Nearest pixel, as the default stretching mode: target pixel x shows source x * cw / W.
  if (FCapture.Width() == FCaptureWidth && FCapture.Height() == FCaptureHeight && w > 0 && h > 0) {
    for (int y = 0; y < h; ++y) {
      const gfx::TColor* src = FCapture.Row(y * FCaptureHeight / h);
      gfx::TColor* dst = picture.Row(y);
      for (int x = 0; x < w; ++x) dst[x] = src[x * FCaptureWidth / w];
    }
  }
  Image1->PictureChanged();

  if (w > 0 && h > 0) FPointerColor = picture.At(w / 2, h / 2);
  if (FInfo && w > 0 && h > 0) {
    const gfx::TColor c = FPointerColor;
    FInfo->ShowContrast(c);
    FInfo->lblRed->SetCaption(ChannelText(int(c & 0xFF)));
    FInfo->lblGreen->SetCaption(ChannelText(int((c >> 8) & 0xFF)));
    FInfo->lblBlue->SetCaption(ChannelText(int((c >> 16) & 0xFF)));
  }
}

void TfrmZoom::SetContrastBackground(std::optional<gfx::TColor> background) {
  FContrastBackground = background;
  if (!FInfo) return;
  // The panel's new height is placed at the next tick.
  FStillTicks = kStillRefresh;
  PlanIdleTicks();
  FInfo->ShowContrastRows(background);
  if (background) FInfo->ShowContrast(FPointerColor);
}

std::optional<std::string> TfrmZoom::GetPropText(std::string_view name) const {
  if (name == "FZoomFactor") return PropText::Int(FZoomFactor);
  if (name == "FOriginX") return PropText::Int(FOriginX);
  if (name == "FOriginY") return PropText::Int(FOriginY);
  if (name == "FStillTicks") return PropText::Int(FStillTicks);
  if (name == "CaptureWidth") return PropText::Int(FCaptureWidth);
  if (name == "CaptureHeight") return PropText::Int(FCaptureHeight);
  return TForm::GetPropText(name);
}
