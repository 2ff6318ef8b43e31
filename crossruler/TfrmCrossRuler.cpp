#include "crossruler/TfrmCrossRuler.h"

#include "ruler/RulerCursors.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"

namespace {

constexpr int kGrip = 13;            // the grips are 13 x 13
constexpr int kLabelHeight = 80;     // the labels' height when they run down a vertical strip
constexpr int kFlippedLabels = 160;  // flipped, the labels start this far before the far end

gfx::Font ArialFont(int height, gfx::FontStyles style = 0) {
  gfx::Font f;
  f.Name = "Arial";
  f.Height = height;
  f.Style = style;
  f.Color = clBlack;
  return f;
}

TSpeedButton* Grip(TComponent* owner, TWinControl* parent, const char* name, int left, const char* glyph) {
  auto* b = TComponent::Create<TSpeedButton>(owner);
  b->SetName(name);
  b->SetParent(parent);
  b->SetBounds(left, 2, kGrip, kGrip);
  b->SetFlat(true);
  b->SetGlyph(LoadBitmapResource(glyph));
  return b;
}

}  // namespace

TfrmCrossRuler::TfrmCrossRuler(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  SetName("frmCrossRuler");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  // It stands beside the strip as part of it: placed exactly where the zero is (also partly
  // off the screen), and the keyboard stays with the strip whatever is clicked on it.
  SetWindowKind(plat::WindowKind::Popup);
  SetColor(clBtnFace);
  SetBounds(241, 210, 644, 59);

  shpResize = TComponent::Create<TShape>(this);
  shpResize->SetName("shpResize");
  shpResize->SetParent(this);
  shpResize->SetBounds(0, 0, 644, 19);
  gfx::Brush clear;
  clear.Style = gfx::BrushStyle::Clear;
  shpResize->SetBrush(clear);

  pnlCaption = TComponent::Create<TPanel>(this);
  pnlCaption->SetName("pnlCaption");
  pnlCaption->SetParent(this);
  pnlCaption->SetBounds(1, 1, 642, 17);
  pnlCaption->SetBevelOuter(bvRaised);
  pnlCaption->SetCaption("");
  pnlCaption->Font().SetData(ArialFont(-11, gfx::fsBold));

  auto makeLabel = [this](const char* name, int left, int width, const char* caption) {
    auto* l = TComponent::Create<TEffectLabel>(this);
    l->SetName(name);
    l->SetParent(pnlCaption);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetEffectStyle(esNone);
    l->SetDepthHighlight(0);
    l->SetDepthShadow(0);
    l->SetDirectionHighlight(edNone);
    l->SetDirectionShadow(edNone);
    l->SetEffectStyle(esNone);
    l->Font().SetData(ArialFont(-11));
    l->SetBounds(left, 2, width, 12);
    l->SetCaption(caption);
    return l;
  };
  lblMsatPx = makeLabel("lblMsatPx", 78, 72, "Mouse at pixel:");
  lblMsPos = makeLabel("lblMsPos", 153, 144, "0");
  lblMsPos->SetKeepLettersVertical(true);

  btnResize = Grip(this, pnlCaption, "btnResize", 627, "GLYPHRESIZE");
  btnResize->SetCursor(crSizeWE);
  btnResize2 = Grip(this, pnlCaption, "btnResize2", 612, "GLYPHRESIZE2");
  btnResize2->SetCursor(crSizeNS);
  btnResize2->SetVisible(false);
  for (TSpeedButton* grip : {btnResize, btnResize2}) {
    grip->OnMouseDown = std::bind(&TfrmCrossRuler::btnResizeMouseDown, this, _1, _2, _3, _4, _5);
    grip->OnMouseMove = std::bind(&TfrmCrossRuler::btnResizeMouseMove, this, _1, _2, _3, _4);
    grip->OnMouseUp = std::bind(&TfrmCrossRuler::btnResizeMouseUp, this, _1, _2, _3, _4, _5);
  }

  Ruler = TComponent::Create<TRuler>(this);
  Ruler->SetName("Ruler");
  Ruler->SetParent(this);
  Ruler->SetBounds(0, 18, 644, 41);
  Ruler->SetColor(0x80FFFF);
  Ruler->SetFont(ArialFont(-9));
  Ruler->SetCaptionAlign(caTopLeft);
  Ruler->SetCaptionIndent1(1);
  Ruler->SetCaptionIndent2(2);
  Ruler->SetFontRotation(fr0);
  Ruler->SetNumberAlign(naCenter);
  Ruler->SetNumberIndent(4);
  Ruler->SetOrientation(orHoriz);
  Ruler->SetRollEnabled(false);
  Ruler->SetTickAlign(taBottomRight);
  Ruler->SetTickColor(clBlack);
  Ruler->SetTickSizeBig(50);
  Ruler->SetTickSizeMiddle(40);
  Ruler->SetTickSizeSmall(25);
  Ruler->SetUnitSize(20.0);
  Ruler->SetUnitPrice(20.0);
  Ruler->SetUnitPrecision(0);
  Ruler->SetStartValue(0);

  OnCreate = std::bind(&TfrmCrossRuler::FormCreate, this, _1);
}

void TfrmCrossRuler::FormCreate(TObject*) {
  RegisterRulerCursors();
  FResizing = false;
  FFlipped = false;
  FLarge = false;
  Ruler->DrawFrame = true;
}

void TfrmCrossRuler::SetPerpendicular(bool vertical) {
  if (vertical != Vertical()) SwapOrientation();
}

void TfrmCrossRuler::SetLarge(bool large) {
  FLarge = large;
  LayoutRuler();
}

void TfrmCrossRuler::SetFlipped(bool flipped) {
  FFlipped = flipped;
  ApplyFlip();
}

void TfrmCrossRuler::AlignZeroTo(int x, int y) {
  int left, top;
  if (Vertical()) {
    // Its tick column on x; it hangs down from the main ruler's bottom edge, or stands up from
    // its top edge when flipped.
    left = x - Width() + 1;
    top = FFlipped ? y + 1 - Height() : y - 1;
  } else {
    // Its tick row on y; it extends right of the main ruler, or left when flipped.
    top = y - Height() + 1;
    left = FFlipped ? x + 1 - Width() : x - 1;
  }
  SetBounds(left, top, Width(), Height());
}

void TfrmCrossRuler::PlaceVerticalLabels(int top, int readingHeight) {
  lblMsatPx->SetBounds(-33, top, lblMsatPx->Width(), kLabelHeight);
  lblMsatPx->SetAngle(270);
  lblMsPos->SetBounds(-5, lblMsatPx->Top() + lblMsatPx->Height() - 5, lblMsPos->Width(), readingHeight);
  lblMsPos->SetAngle(270);
}

void TfrmCrossRuler::PlaceHorizontalLabels(int left) {
  lblMsatPx->SetBounds(left, 2, lblMsatPx->Width(), 12);
  lblMsatPx->SetAngle(0);
  lblMsPos->SetBounds(lblMsatPx->Left() + lblMsatPx->Width() + 2, 2, lblMsPos->Width(), 12);
  lblMsPos->SetAngle(0);
}

// Turns the strip and keeps its length: the new length is the ruler's old length.
void TfrmCrossRuler::SwapOrientation() {
  if (!Vertical()) {
    const int length = Ruler->Width();
    const int thickness = Ruler->Height();
    Ruler->SetOrientation(orVert);
    SetBounds(Left(), Top(), thickness + shpResize->Height() + 1, length);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(Width() - thickness, 0, thickness, Height());
    Ruler->SetAlign(alRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowH);
    shpResize->SetBounds(0, 0, shpResize->Height() + 1, Height());
    pnlCaption->SetBounds(1, 1, shpResize->Width() - 2, shpResize->Height() - 2);
    PlaceVerticalLabels(10, kLabelHeight);
    btnResize2->SetBounds(2, Height() - btnResize2->Height() - 4, kGrip, kGrip);
    btnResize2->SetVisible(true);
    btnResize->SetVisible(false);
  } else {
    const int length = Ruler->Height();
    const int thickness = Ruler->Width();
    Ruler->SetOrientation(orHoriz);
    SetBounds(Left(), Top(), length, thickness + shpResize->Width() - 2);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(0, Height() - thickness, Width(), thickness);
    Ruler->SetAlign(alBottom);
    Ruler->SetCursor(crArrowV);
    shpResize->SetBounds(0, 0, Width(), shpResize->Width() - 1);
    pnlCaption->SetBounds(1, 1, shpResize->Width() - 2, shpResize->Height() - 2);
    PlaceHorizontalLabels(10);
    btnResize2->SetVisible(false);
    btnResize->SetBounds(Width() - btnResize->Width() - 4, 2, kGrip, kGrip);
    btnResize->SetVisible(true);
  }
  if (FFlipped) ApplyFlip();
  LayoutRuler();
}

void TfrmCrossRuler::LayoutRuler() {
  Ruler->Font().SetSize(FLarge ? 9 : 7);
  Ruler->SetUnitSize(FLarge ? 40.0 : 20.0);
  Ruler->SetUnitPrice(FLarge ? 40.0 : 20.0);
  if (Vertical()) {
    shpResize->SetLeft(0);
    pnlCaption->SetLeft(1);
    Ruler->SetLeft(pnlCaption->Width() + 1);
    Ruler->SetWidth(FLarge ? 79 : 49);
    SetWidth(Ruler->Width() + shpResize->Width() - 2);
    Ruler->SetAlign(alRight);
    Ruler->SetCursor(crArrowH);
  } else {
    shpResize->SetTop(0);
    pnlCaption->SetTop(1);
    Ruler->SetTop(pnlCaption->Height() + 1);
    Ruler->SetHeight(FLarge ? 70 : 41);
    SetHeight(Ruler->Height() + shpResize->Height() - 2);
    Ruler->SetAlign(alBottom);
    Ruler->SetCursor(crArrowV);
  }
  // The ticks always grow from the edge away from the caption strip.
  Ruler->SetTickAlign(taBottomRight);
  Ruler->SetNumberIndent(4);
}

void TfrmCrossRuler::ApplyFlip() {
  if (FFlipped) {
    // The zero at the far end, which lies on the main ruler's tick edge; the angle is drawn
    // there, and the grip moves to the free start.
    Ruler->SetCaptionAlign(caBottomRight);
    if (Vertical()) {
      btnResize2->SetBounds(2, 3, kGrip, kGrip);
      PlaceVerticalLabels(Height() - kFlippedLabels, kLabelHeight);
    } else {
      btnResize->SetLeft(2);
      lblMsatPx->SetLeft(Width() - kFlippedLabels);
      lblMsPos->SetLeft(lblMsatPx->Left() + lblMsatPx->Width() + 2);
    }
    Ruler->SetStartValue(-(double(Length()) / UnitPixels()));
    return;
  }
  Ruler->SetCaptionAlign(caTopLeft);
  Ruler->SetStartValue(0);
  if (Vertical()) {
    PlaceVerticalLabels(10, 180);
    btnResize2->SetBounds(2, Height() - btnResize2->Height() - 4, kGrip, kGrip);
    btnResize2->SetVisible(true);
    btnResize->SetVisible(false);
  } else {
    PlaceHorizontalLabels(10);
    btnResize2->SetVisible(false);
    btnResize->SetLeft(Width() - btnResize->Width() - 4);
  }
}

// Fits the parts to the window's new length.
void TfrmCrossRuler::LayoutForLength() {
  const int length = Length();
  if (Vertical()) {
    shpResize->SetHeight(length);
    Ruler->SetHeight(length);
    pnlCaption->SetHeight(length - 2);
    if (!FFlipped) {
      btnResize2->SetTop(length - btnResize2->Height() - 4);
    } else {
      btnResize2->SetTop(3);
      PlaceVerticalLabels(length - kFlippedLabels, kLabelHeight);
    }
  } else {
    shpResize->SetWidth(length);
    Ruler->SetWidth(length);
    pnlCaption->SetWidth(length - 2);
    if (!FFlipped) {
      btnResize->SetLeft(length - btnResize->Width() - 4);
    } else {
      btnResize->SetLeft(2);
      lblMsatPx->SetLeft(length - kFlippedLabels);
      lblMsPos->SetLeft(lblMsatPx->Left() + lblMsatPx->Width() + 2);
    }
  }
  // Flipped, the zero stays at the far end.
  if (FFlipped) Ruler->SetStartValue(-(double(length) / UnitPixels()));
  Invalidate();
}

std::optional<std::string> TfrmCrossRuler::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "FResizing")) return PropText::Bool(FResizing);
  if (PropText::Is(name, "FFlipped")) return PropText::Bool(FFlipped);
  if (PropText::Is(name, "FLarge")) return PropText::Bool(FLarge);
  if (PropText::Is(name, "UnitPixels")) return PropText::Int(UnitPixels());
  return TForm::GetPropText(name);
}
