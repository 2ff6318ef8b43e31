#include "crossruler/TfrmCrossRuler.h"

#include "ruler/RulerCursors.h"
#include "toolkit/core/PropText.h"
#include "widgets/ArialFont.h"

namespace {

constexpr int kFlippedLabels = 160;  // flipped, the labels start this far before the far end
constexpr int kReadingLength = 180;  // the reading down a vertical strip, when not flipped

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

  CaptionStrip = TComponent::Create<TCaptionStrip>(this, this, 144);
  CaptionStrip->SetGripEvents(std::bind(&TfrmCrossRuler::btnResizeMouseDown, this, _1, _2, _3, _4, _5),
                              std::bind(&TfrmCrossRuler::btnResizeMouseMove, this, _1, _2, _3, _4),
                              std::bind(&TfrmCrossRuler::btnResizeMouseUp, this, _1, _2, _3, _4, _5));

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

// Turns the strip and keeps its length: the new length is the ruler's old length.
void TfrmCrossRuler::SwapOrientation() {
  TShape* frame = CaptionStrip->shpResize;
  if (!Vertical()) {
    const int length = Ruler->Width();
    const int thickness = Ruler->Height();
    Ruler->SetOrientation(orVert);
    SetBounds(Left(), Top(), thickness + frame->Height() + 1, length);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(Width() - thickness, 0, thickness, Height());
    Ruler->SetAlign(alRight);
    Ruler->SetNumberIndent(4);
    Ruler->SetCursor(crArrowH);
    CaptionStrip->Dock(alLeft);
  } else {
    const int length = Ruler->Height();
    const int thickness = Ruler->Width();
    Ruler->SetOrientation(orHoriz);
    SetBounds(Left(), Top(), length, thickness + frame->Width() - 2);
    Ruler->SetAlign(alNone);
    Ruler->SetBounds(0, Height() - thickness, Width(), thickness);
    Ruler->SetAlign(alBottom);
    Ruler->SetCursor(crArrowV);
    CaptionStrip->Dock(alTop);
  }
  CaptionStrip->PlaceLabels(10);
  CaptionStrip->PlaceGrip(false);
  if (FFlipped) ApplyFlip();
  LayoutRuler();
}

void TfrmCrossRuler::LayoutRuler() {
  const TCaptionStrip::TRulerFit k = TCaptionStrip::RulerFit(Vertical(), false, FLarge);
  Ruler->Font().SetSize(k.FontSize);
  Ruler->SetUnitSize(k.UnitPixels);
  Ruler->SetUnitPrice(k.UnitPixels);
  TShape* frame = CaptionStrip->shpResize;
  if (Vertical()) {
    CaptionStrip->Dock(alLeft);
    Ruler->SetLeft(CaptionStrip->pnlCaption->Width() + 1);
    Ruler->SetWidth(k.Thickness);
    SetWidth(Ruler->Width() + frame->Width() - 2);
    Ruler->SetAlign(alRight);
    Ruler->SetCursor(crArrowH);
  } else {
    CaptionStrip->Dock(alTop);
    Ruler->SetTop(CaptionStrip->pnlCaption->Height() + 1);
    Ruler->SetHeight(k.Thickness);
    SetHeight(Ruler->Height() + frame->Height() - 2);
    Ruler->SetAlign(alBottom);
    Ruler->SetCursor(crArrowV);
  }
  // The ticks always grow from the edge away from the caption strip.
  Ruler->SetTickAlign(taBottomRight);
  Ruler->SetNumberIndent(4);
}

void TfrmCrossRuler::ApplyFlip() {
  // Flipped, the zero is at the far end, which lies on the main ruler's tick edge; the angle is
  // drawn there, and the grip moves to the free start.
  Ruler->SetCaptionAlign(FFlipped ? caBottomRight : caTopLeft);
  CaptionStrip->PlaceGrip(FFlipped);
  if (FFlipped) {
    CaptionStrip->PlaceLabels(Length() - kFlippedLabels);
    Ruler->SetStartValue(-(double(Length()) / UnitPixels()));
  } else {
    CaptionStrip->PlaceLabels(10, kReadingLength);
    Ruler->SetStartValue(0);
  }
}

// Fits the parts to the window's new length.
void TfrmCrossRuler::LayoutForLength() {
  const int length = Length();
  if (Vertical()) Ruler->SetHeight(length);
  else Ruler->SetWidth(length);
  CaptionStrip->FitLength();
  // Flipped, the labels and the zero stay at the far end.
  if (FFlipped) {
    CaptionStrip->PlaceLabels(length - kFlippedLabels);
    Ruler->SetStartValue(-(double(length) / UnitPixels()));
  }
  Invalidate();
}

std::optional<std::string> TfrmCrossRuler::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "FResizing")) return PropText::Bool(FResizing);
  if (PropText::Is(name, "FFlipped")) return PropText::Bool(FFlipped);
  if (PropText::Is(name, "FLarge")) return PropText::Bool(FLarge);
  if (PropText::Is(name, "UnitPixels")) return PropText::Int(UnitPixels());
  return TForm::GetPropText(name);
}
