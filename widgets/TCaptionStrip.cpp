#include "widgets/TCaptionStrip.h"

#include "toolkit/core/NewChild.h"
#include "toolkit/core/ResourceLoader.h"
#include "widgets/ArialFont.h"

namespace {

// The frame's thickness across the window; the panel lies one pixel inside it.
constexpr int kAcrossHorizontal = 19, kAcrossVertical = 20;

}  // namespace

TCaptionStrip::TCaptionStrip(TComponent* AOwner, TWinControl* window, int readingWidth)
    : TComponent(AOwner), FWindow(window) {
  // As long as both windows are before their first layout.
  shpResize = NewChild<TShape>(AOwner, window, "shpResize", Rect::FromXYWH(0, 0, 644, kAcrossHorizontal));
  gfx::Brush clear;
  clear.Style = gfx::BrushStyle::Clear;
  shpResize->SetBrush(clear);

  pnlCaption = NewChild<TPanel>(AOwner, window, "pnlCaption", Rect::FromXYWH(1, 1, 642, kAcrossHorizontal - 2));
  pnlCaption->SetBevelOuter(bvRaised);
  pnlCaption->SetCaption("");
  pnlCaption->Font().SetData(ArialFont(-11, gfx::fsBold));

  auto makeLabel = [&](const char* name, int left, int width, const char* caption) {
    auto* l = NewChild<TEffectLabel>(AOwner, pnlCaption, name);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetEffectStyle(esNone);
    l->SetDepthHighlight(0);
    l->SetDepthShadow(0);
    l->SetDirectionHighlight(edNone);
    l->SetDirectionShadow(edNone);
    l->SetEffectStyle(esNone);  // the depths and directions made it esCustom
    l->Font().SetData(ArialFont(-11));
    l->SetBounds(left, 2, width, 12);
    l->SetCaption(caption);
    return l;
  };
  lblMsatPx = makeLabel("lblMsatPx", 78, 72, "Mouse at pixel:");
  lblMsPos = makeLabel("lblMsPos", 153, readingWidth, "0");
  lblMsPos->SetKeepLettersVertical(true);

  auto makeGrip = [&](const char* name, int left, const char* glyph, TCursor cursor) {
    auto* b = NewChild<TSpeedButton>(AOwner, pnlCaption, name, Rect::FromXYWH(left, 2, kGrip, kGrip));
    b->SetFlat(true);
    b->SetGlyph(LoadBitmapResource(glyph));
    b->SetCursor(cursor);
    return b;
  };
  btnResize = makeGrip("btnResize", 627, "GLYPHRESIZE", crSizeWE);
  btnResize2 = makeGrip("btnResize2", 612, "GLYPHRESIZE2", crSizeNS);
  btnResize2->SetVisible(false);
}

TCaptionStrip::TRulerFit TCaptionStrip::RulerFit(bool vertical, bool flipped, bool large) {
  if (!vertical) {
    if (!flipped) return large ? TRulerFit{9, 40, 70, 4} : TRulerFit{7, 20, 41, 4};
    return large ? TRulerFit{9, 40, 70, 45} : TRulerFit{7, 20, 45, 28};
  }
  if (!flipped) return large ? TRulerFit{9, 40, 79, 4} : TRulerFit{7, 20, 49, 4};
  return large ? TRulerFit{9, 40, 79, 45} : TRulerFit{7, 20, 51, 33};
}

void TCaptionStrip::Dock(TAlign edge) {
  FEdge = edge;
  const int width = FWindow->Width(), height = FWindow->Height();
  switch (edge) {
    case alBottom: shpResize->SetBounds(0, height - kAcrossHorizontal, width, kAcrossHorizontal); break;
    case alLeft: shpResize->SetBounds(0, 0, kAcrossVertical, height); break;
    case alRight: shpResize->SetBounds(width - kAcrossVertical, 0, kAcrossVertical, height); break;
    default: shpResize->SetBounds(0, 0, width, kAcrossHorizontal); break;
  }
  pnlCaption->SetBounds(shpResize->Left() + 1, shpResize->Top() + 1, shpResize->Width() - 2, shpResize->Height() - 2);
}

void TCaptionStrip::FitLength() {
  if (Vertical()) {
    shpResize->SetHeight(FWindow->Height());
    pnlCaption->SetHeight(FWindow->Height() - 2);
  } else {
    shpResize->SetWidth(FWindow->Width());
    pnlCaption->SetWidth(FWindow->Width() - 2);
  }
  PlaceGrip(FGripAtStart);
}

void TCaptionStrip::PlaceGrip(bool atStart) {
  FGripAtStart = atStart;
  TSpeedButton* grip = Vertical() ? btnResize2 : btnResize;
  (Vertical() ? btnResize : btnResize2)->SetVisible(false);
  if (Vertical()) grip->SetBounds(2, atStart ? 3 : FWindow->Height() - kGrip - 4, kGrip, kGrip);
  else grip->SetBounds(atStart ? 2 : FWindow->Width() - kGrip - 4, 2, kGrip, kGrip);
  grip->SetVisible(true);
}

void TCaptionStrip::PlaceLabels(int at, int readingLength) {
  if (Vertical()) {
    lblMsatPx->SetBounds(-33, at, lblMsatPx->Width(), kLabelLength);
    lblMsatPx->SetAngle(270);
    lblMsPos->SetBounds(-5, at + kLabelLength - 5, lblMsPos->Width(), readingLength);
    lblMsPos->SetAngle(270);
  } else {
    lblMsatPx->SetBounds(at, 2, lblMsatPx->Width(), 12);
    lblMsatPx->SetAngle(0);
    lblMsPos->SetBounds(at + lblMsatPx->Width() + 2, 2, lblMsPos->Width(), 12);
    lblMsPos->SetAngle(0);
  }
}

void TCaptionStrip::SetHoldEvents(const TMouseEvent& down, const TMouseMoveEvent& move, const TMouseEvent& up) {
  for (TControl* c : {static_cast<TControl*>(shpResize), static_cast<TControl*>(pnlCaption),
                      static_cast<TControl*>(lblMsatPx), static_cast<TControl*>(lblMsPos)}) {
    c->OnMouseDown = down;
    c->OnMouseMove = move;
    c->OnMouseUp = up;
  }
}

void TCaptionStrip::SetGripEvents(const TMouseEvent& down, const TMouseMoveEvent& move, const TMouseEvent& up) {
  for (TSpeedButton* grip : {btnResize, btnResize2}) {
    grip->OnMouseDown = down;
    grip->OnMouseMove = move;
    grip->OnMouseUp = up;
  }
}
