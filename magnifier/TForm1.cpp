#include "magnifier/TForm1.h"

#include <algorithm>
#include <cctype>

#include "graphics/Canvas.h"
#include "graphics/ImageFile.h"
#include "magnifier/NoScreenPicture.h"
#include "platform/Platform.h"
#include "toolkit/core/NewChild.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

constexpr int kLensSize = 200;  // the picture's square

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = char(std::tolower(static_cast<unsigned char>(c)));
  return end == ".png";
}

}  // namespace

TLensShift LensCaptureShift(int factor, bool horizontal, bool flipped) {
  // Worked for the 200 x 200 picture: at factor 2 a horizontal ruler's pointer column lands on
  // picture column 124, where the vertical marker stands; the other entries do the same for
  // their factor and marker.
  switch (factor) {
    case 2:
      if (horizontal) return flipped ? TLensShift{-12, -8} : TLensShift{-12, 0};
      return flipped ? TLensShift{-14, -8} : TLensShift{0, -8};
    case 3:
      if (horizontal) return flipped ? TLensShift{-8, -23} : TLensShift{-8, 0};
      return flipped ? TLensShift{-27, -6, 0, -1} : TLensShift{0, -6};
    case 4:
      if (horizontal) return flipped ? TLensShift{-6, -16} : TLensShift{-6, 0};
      return flipped ? TLensShift{-17, -4, 12, -1} : TLensShift{0, -4};
    default: return {};
  }
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  SetName("Form1");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  // It shows beside the strip while the pointer moves over the ruler: it never takes the
  // keyboard from the strip.
  SetWindowKind(plat::WindowKind::Popup);
  SetCaption("Quillon");
  SetColor(clInfoBk);
  SetClientWidth(kLensSize);
  SetClientHeight(kLensSize);

  ShapedForm1 = TComponent::Create<TShapedForm>(this);
  ShapedForm1->SetName("ShapedForm1");
  ShapedForm1->SetParent(this);
  ShapedForm1->ReadMask(LoadRegionResource("MASKLENS"));
  ShapedForm1->SetEnabled(false);

  Image1 = TComponent::Create<TImage>(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetAlign(alClient);
  Image1->OnDblClick = std::bind(&TForm1::Image1DblClick, this, _1);
  Image1->OnMouseMove = std::bind(&TForm1::Image1MouseMove, this, _1, _2, _3, _4);

  // The rim, markers and arrowheads only draw: the picture under them takes the mouse, so a
  // drag or double click works across them.
  auto arrowhead = [&](const char* name, int w, int h) {
    auto* s = NewChild<TShapeControl>(this, this, name, Rect::FromXYWH(0, 0, w, h));
    s->SetSurfaceType(stBrush25PercentOpaque);
    s->SetBackColor(clBlack);
    s->SetForeColor(clBlack);
    s->SetPattern(gfx::BrushStyle::Clear);
    s->SetOutlineColor(clBlack);
    s->SetOutlineWidth(1);
    s->SetOutlineStyle(gfx::PenStyle::Solid);
    s->SetShadowOrient(soNone);
    s->SetEnabled(false);
    return s;
  };
  TrUp = arrowhead("TrUp", 16, 10);

  ShapeControl1 = TComponent::Create<TShapeControl>(this);
  ShapeControl1->SetName("ShapeControl1");
  ShapeControl1->SetParent(this);
  ShapeControl1->SetBounds(50, 49, 151, 152);
  ShapeControl1->SetShape(gstCircle);
  ShapeControl1->SetSurfaceType(stBrushTransparent);
  ShapeControl1->SetPattern(gfx::BrushStyle::Clear);
  ShapeControl1->SetBackColor(clNone);
  ShapeControl1->SetOutlineColor(clBlack);
  ShapeControl1->SetOutlineWidth(3);
  ShapeControl1->SetOutlineStyle(gfx::PenStyle::Solid);
  ShapeControl1->SetShadowOrient(soNone);
  ShapeControl1->SetEnabled(false);

  auto line = [&](const char* name) {
    auto* s = NewChild<TShape>(this, this, name);
    gfx::Brush black;
    black.Color = clBlack;
    s->SetBrush(black);
    s->SetEnabled(false);
    return s;
  };
  Shape1 = line("Shape1");
  Shape2 = line("Shape2");
  TrDn = arrowhead("TrDn", 10, 16);

  Timer1 = TComponent::Create<TTimer>(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(55);
  Timer1->SetEnabled(false);
  Timer1->SetOnTimer(std::bind(&TForm1::Timer1Timer, this, _1));

  SaveDialog1 = TComponent::Create<TSaveDialog>(this);
  SaveDialog1->SetName("SaveDialog1");
  SaveDialog1->SetDefaultExt("bmp");
  SaveDialog1->SetFilter("Bitmaps|*.bmp|PNG pictures|*.png");
  SaveDialog1->SetOptions(SaveDialog1->Options() | ofOverwritePrompt);

  MainMenu1 = TComponent::Create<TMainMenu>(this);
  MainMenu1->SetName("MainMenu1");
  TMenuItem* root = MainMenu1->Items();
  auto on = [this](void (TForm1::*handler)(TObject*)) { return TNotifyEvent(std::bind(handler, this, _1)); };
  File1 = root->NewItem("File1", "&File");
  Copy1 = File1->NewItem("Copy1", "&Copy to clipboard", on(&TForm1::Copy1Click), ShortCut('C', ssCtrl));
  Savetofile1 = File1->NewItem("Savetofile1", "&Save to file", on(&TForm1::Savetofile1Click), ShortCut('S', ssCtrl));
  N3 = File1->NewItem("N3", "-");
  About1 = File1->NewItem("About1", "&About...", on(&TForm1::About1Click));
  N1 = File1->NewItem("N1", "-");
  Exit1 = File1->NewItem("Exit1", "E&xit", on(&TForm1::Exit1Click));
  View1 = root->NewItem("View1", "&View");
  ZoomFactor1 = View1->NewItem("ZoomFactor1", "&Zoom Factor");
  // The factor comes from the main window's magnification; these items only show the choices.
  N11 = ZoomFactor1->NewItem("N11", "1", {}, ShortCut(plat::VK_F1, ssCtrl));
  N21 = ZoomFactor1->NewItem("N21", "2", {}, ShortCut(plat::VK_F2, ssCtrl));
  N41 = ZoomFactor1->NewItem("N41", "4", {}, ShortCut(plat::VK_F3, ssCtrl));
  N81 = ZoomFactor1->NewItem("N81", "8", {}, ShortCut(plat::VK_F4, ssCtrl));
  for (TMenuItem* item : {N11, N21, N41, N81}) {
    item->SetRadioItem(true);
    item->SetGroupIndex(2);
  }
  N21->SetChecked(true);
  RefreshRate1 = View1->NewItem("RefreshRate1", "&Refresh Rate");
  Slow1 = RefreshRate1->NewItem("Slow1", "Slow", on(&TForm1::Slow1Click), ShortCut(plat::VK_F1, ssCtrl | ssShift));
  Medium1 = RefreshRate1->NewItem("Medium1", "Medium", on(&TForm1::Medium1Click), ShortCut(plat::VK_F2, ssCtrl | ssShift));
  Fast1 = RefreshRate1->NewItem("Fast1", "Fast", on(&TForm1::Fast1Click), ShortCut(plat::VK_F3, ssCtrl | ssShift));
  for (TMenuItem* item : {Slow1, Medium1, Fast1}) {
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
  }
  Fast1->SetChecked(true);
  N2 = View1->NewItem("N2", "-");
  Crosshairs1 = View1->NewItem("Crosshairs1", "Crosshairs", on(&TForm1::Crosshairs1Click), ShortCut('H', ssCtrl));
  Crosshairs1->SetChecked(true);
  LockView1 = View1->NewItem("LockView1", "&Lock View", on(&TForm1::LockView1Click), ShortCut('L', ssCtrl));
  AlwaysonTop1 = View1->NewItem("AlwaysonTop1", "&Always on Top", on(&TForm1::AlwaysonTop1Click), ShortCut('A', ssCtrl));
  AlwaysonTop1->SetChecked(true);
  N4 = View1->NewItem("N4", "-");
  ToggleBorder1 = View1->NewItem("ToggleBorder1", "Hide Border", on(&TForm1::ToggleBorder1Click), ShortCut(plat::VK_F11, 0));
  HideMenu1 = View1->NewItem("HideMenu1", "Hide Menu", on(&TForm1::HideMenu1Click), ShortCut(plat::VK_F12, 0));

  OnCreate = std::bind(&TForm1::FormCreate, this, _1);
  OnResize = std::bind(&TForm1::FormResize, this, _1);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate(TObject*) {
  FZoomFactor = 2;
  // Menus first: a shown menu bar would take its height from the picture.
  File1->SetVisible(false);
  View1->SetVisible(false);
  FormResize(this);
  FHorizontal = true;
  FFlipped = false;
}

void TForm1::NewCapture() {
  FCaptureWidth = Image1->Width() / FZoomFactor;
  FCaptureHeight = Image1->Height() / FZoomFactor;
  FCapture = gfx::Bitmap(FCaptureWidth, FCaptureHeight);
}

void TForm1::FormResize(TObject*) {
  if (FZoomFactor <= 0) return;
  Image1->Picture().Resize(Image1->Width(), Image1->Height());
  Image1->PictureChanged();
  NewCapture();
  paintcrosshairs();
}

void TForm1::changezoomfactor(int factor) {
  // The shifts and markers are worked out for 2, 3 and 4; the main window gives no other.
  if (factor < 2 || factor > 4) return;
  FZoomFactor = factor;
  NewCapture();
}

void TForm1::paintcrosshairs() {
  const int w = Image1->Width(), h = Image1->Height(), z = FZoomFactor;
  if (!FFlipped) {
    int s1Height = 64, s2Width = 64, s2Top = h / 2 + 16;
    const int s2Left = w / 2 + 32 - s2Width / 2;
    if (z > 2) {
      s2Top += 1;
      s2Width = 120;
      s1Height = 120;
    }
    Shape1->SetBounds(w / 2 + 24, h / 2, z, s1Height);
    Shape2->SetBounds(s2Left, s2Top, s2Width, z);
    TrUp->SetBounds(w / 2 + 25 - TrUp->Width() / 2, h / 2 - 1, TrUp->Width(), TrUp->Height());
    TrDn->SetBounds(Shape2->Left(), Shape2->Top() - TrDn->Height() / 2 + 1, TrDn->Width(), TrDn->Height());
    TrUp->SetShape(gstTriangleUp);
    TrDn->SetShape(gstTriangleLeft);
  } else {
    // The arrowheads keep the other coordinate from the last placement above, which creation
    // always runs first.
    int s1Height = 67, s2Width = 67;
    const int s1Top = h / 2 - s1Height + 19;
    const int s2Left = w / 2 + 66 - s2Width / 2 - s2Width;
    if (z > 2) {
      s2Width = 120;
      s1Height = 120;
    }
    Shape1->SetBounds(w / 2 + 24, s1Top, z, s1Height);
    Shape2->SetBounds(s2Left, h / 2 + 16, s2Width, z);
    TrUp->SetShape(gstTriangleDown);
    TrUp->SetBounds(TrUp->Left(), Shape1->Top() + Shape1->Height() - TrUp->Height(), TrUp->Width(), TrUp->Height());
    TrDn->SetShape(gstTriangleRight);
    TrDn->SetBounds(Shape2->Left() + Shape2->Width() - TrDn->Width(), TrDn->Top(), TrDn->Width(), TrDn->Height());
  }
}

void TForm1::Timer1Timer(TObject*) { TakePicture(); }

void TForm1::RefreshPicture(bool horizontal, bool flipped) {
  FHorizontal = horizontal;
  FFlipped = flipped;
  TakePicture();
}

void TForm1::TakePicture() {
  gfx::Point p;
  if (!plat::Platform::Current().GetCursorPos(p)) return;
  ++FRefreshes;
  SetCaption("X:" + std::to_string(p.x) + " Y:" + std::to_string(p.y));
  const TLensShift shift = LensCaptureShift(FZoomFactor, FHorizontal, FFlipped);
  if (LockView1->Checked()) return;
  const int x = p.x + shift.DX, y = p.y + shift.DY;
  gfx::Bitmap& picture = Image1->Picture();
  if (!Screen->PixelsReadable()) {
    DrawNoScreenPicture(picture, gfx::Rect{62, 70, 190, 180});  // inside the disc
    Image1->PictureChanged();
    return;
  }
  // From the frozen picture while the screen is frozen; beyond the screen's edge, black.
  FCapture = Screen->CapturePixels(
      gfx::Rect::FromXYWH(x - FCaptureWidth / 2, y - FCaptureHeight / 2, FCaptureWidth, FCaptureHeight));
  if (picture.IsEmpty() || FCapture.IsEmpty()) return;
  gfx::Canvas canvas(picture);
  // The picture keeps its size while the menu bar comes and goes above it.
  canvas.StretchBlt(0, 0, picture.Width() + shift.DW, picture.Height() + shift.DH, FCapture, 0, 0, FCaptureWidth,
                    FCaptureHeight);
  Image1->PictureChanged();
}

gfx::Point LensPlace(gfx::Point p, gfx::Size lens, gfx::Size screen, const gfx::Rect& strip, bool horizontal, bool flipped) {
  const int x = p.x, y = p.y, w = lens.cx, h = lens.cy, sw = screen.cx, sh = screen.cy;
  gfx::Point at;
  if (horizontal) {
    at.x = sw < x + w - 40 ? x - w - 10 : x - 40;
    if (flipped) at.y = y - h + 50 < 0 ? strip.top + 10 : y - h;
    else at.y = sh < y - 30 + h ? y - h : y - 30;
  } else {
    at.y = sh < y + h ? y - 30 - h : y - 30;
    if (flipped) at.x = x - w + 10 < 0 ? strip.left + 10 : x - w - 30;
    else at.x = sw < x + w - 20 ? x - w - 30 : x - 20;
  }
  return at;
}

void TForm1::FollowPointer(gfx::Point p, const gfx::Rect& body, TForm& strip, bool stripOnTop) {
  if (stripOnTop && Visible()) {
    NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
    strip.NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
  if (!body.Contains(p)) {
    Hide();
    return;
  }
  ShowMarkers();
  // Beside the pointer on its own monitor: worked out as if that monitor were the screen.
  const gfx::Rect monitor = TScreen::MonitorFromPoint(p).Bounds;
  const gfx::Point at = LensPlace({p.x - monitor.left, p.y - monitor.top}, {Width(), Height()},
                                  {monitor.Width(), monitor.Height()},
                                  strip.BoundsRect().Offset(-monitor.left, -monitor.top), FHorizontal, FFlipped);
  SetBounds(at.x + monitor.left, at.y + monitor.top, Width(), Height());
  if (!Visible()) Show();
  if (stripOnTop) {
    strip.NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
    strip.NativeWindow()->SetZOrder(plat::ZOrder::Top);
    NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
}

void TForm1::Crosshairs1Click(TObject*) { ShowMarkers(); }

void TForm1::ShowMarkers() {
  Shape1->SetVisible(FHorizontal);
  TrUp->SetVisible(FHorizontal);
  Shape2->SetVisible(!FHorizontal);
  TrDn->SetVisible(!FHorizontal);
  paintcrosshairs();
}

void TForm1::Copy1Click(TObject*) { plat::Platform::Current().SetClipboardBitmap(Image1->Picture()); }

void TForm1::SavePicture(const std::string& path) const {
  if (EndsWithPng(path)) {
    gfx::WritePngFile(path, Image1->Picture());
    return;
  }
  // At the display's depth, as a screen bitmap is.
  const int depth = plat::Platform::Current().ScreenDepth() >= 32 ? 32 : 24;
  gfx::WriteBmpFile(path, Image1->Picture(), depth);
}

void TForm1::Savetofile1Click(TObject*) {
  // Out of the topmost band, so the dialog and its questions are not hidden behind the lens.
  NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
  if (!Visible()) Show();
  try {
    if (SaveDialog1->Execute()) SavePicture(SaveDialog1->FileName());
  } catch (const std::exception& e) {
    // Whatever went wrong, the lens goes back on top as after a good save.
    if (Application)
      Application->MessageBox("The picture could not be saved: " + std::string(e.what()), "Quillon", MB_OK | MB_ICONERROR);
  }
  NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
}

void TForm1::About1Click(TObject*) {}

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::SetRefreshRate(TMenuItem* item, unsigned interval) {
  item->SetChecked(true);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(interval);
  Timer1->SetEnabled(true);
}

void TForm1::Slow1Click(TObject*) { SetRefreshRate(Slow1, 300); }
void TForm1::Medium1Click(TObject*) { SetRefreshRate(Medium1, 100); }
void TForm1::Fast1Click(TObject*) { SetRefreshRate(Fast1, 55); }

void TForm1::LockView1Click(TObject*) { LockView1->SetChecked(!LockView1->Checked()); }

void TForm1::AlwaysonTop1Click(TObject*) {
  AlwaysonTop1->SetChecked(!AlwaysonTop1->Checked());
  NativeWindow()->SetZOrder(AlwaysonTop1->Checked() ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
  if (!Visible()) Show();
}

void TForm1::ToggleBorder1Click(TObject*) {
  // The client area keeps its size, so the picture and the markers stay as they are.
  const int cw = ClientWidth(), ch = ClientHeight();
  const gfx::Bitmap picture = Image1->Picture();
  const bool framed = BorderStyle() == bsSizeToolWin;
  SetBorderStyle(framed ? bsNone : bsSizeToolWin);
  if (framed) ToggleBorder1->SetCaption("Show Border");
  else ToggleBorder1->SetCaption("Hide Border");
  // A framed lens is an ordinary tool window: it can be resized and take the keyboard. The
  // window is made anew for it, without an outline; without the frame the disc comes back.
  SetWindowKind(framed ? plat::WindowKind::Popup : plat::WindowKind::Normal);
  SetClientWidth(cw);
  SetClientHeight(ch);
  // On the way the client area was smaller for a moment; the picture stays whole.
  if (Image1->Width() == picture.Width() && Image1->Height() == picture.Height()) {
    Image1->Picture() = picture;
    Image1->PictureChanged();
  }
  ApplyOutline();
}

void TForm1::HideMenu1Click(TObject*) {
  const bool show = !File1->Visible();
  File1->SetVisible(show);
  View1->SetVisible(show);
  ApplyOutline();
}

// The disc while the lens has neither frame nor menu bar; the bar lies above the disc, so with
// the menus shown the whole square shows.
void TForm1::ApplyOutline() {
  const auto& mask = ShapedForm1->Mask()->Region;
  const bool disc = BorderStyle() == bsNone && !File1->Visible() && mask;
  NativeWindow()->SetRegion(disc ? std::optional<gfx::Region>(*mask) : std::nullopt);
}

void TForm1::Image1DblClick(TObject*) { HideMenu1Click(this); }

void TForm1::Image1MouseMove(TObject*, TShiftState Shift, int, int) {
  if (!(Shift & ssLeft)) return;
  ::ReleaseCapture();
  Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

std::optional<std::string> TForm1::GetPropText(std::string_view name) const {
  if (name == "FZoomFactor") return PropText::Int(FZoomFactor);
  if (name == "FHorizontal") return PropText::Bool(FHorizontal);
  if (name == "FFlipped") return PropText::Bool(FFlipped);
  if (name == "CaptureWidth") return PropText::Int(FCaptureWidth);
  if (name == "CaptureHeight") return PropText::Int(FCaptureHeight);
  if (name == "Refreshes") return PropText::Int(FRefreshes);
  return TForm::GetPropText(name);
}
