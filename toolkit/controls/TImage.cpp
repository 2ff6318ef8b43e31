#include "toolkit/controls/TImage.h"

#include "toolkit/core/PropText.h"

#include "graphics/ImageFile.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 105, 105);
}

void TImage::SetPicture(gfx::Bitmap picture) {
  FPicture = std::move(picture);
  PictureChanged();
}

void TImage::LoadFromFile(const std::string& path) {
  SetPicture(gfx::ReadBmpFile(path));
}

void TImage::PictureChanged() {
  if (FAutoSize && !FPicture.IsEmpty()) SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  if (FAutoSize) PictureChanged();
}

Rect TImage::DestRect() const {
  if (FStretch) return Rect{0, 0, Width(), Height()};
  const int w = FPicture.Width();
  const int h = FPicture.Height();
  if (FCenter) {
    const int x = (Width() - w) / 2;
    const int y = (Height() - h) / 2;
    return Rect::FromXYWH(x, y, w, h);
  }
  return Rect{0, 0, w, h};
}

void TImage::Paint() {
  if (FPicture.IsEmpty()) return;
  TCanvas& canvas = Canvas();
  const Rect d = DestRect();
  if (!FTransparent) {
    canvas.StretchBlt(d.left, d.top, d.Width(), d.Height(), FPicture, 0, 0, FPicture.Width(), FPicture.Height());
    return;
  }
  // The classic transparent colour of a bitmap is its bottom-left pixel.
  const TColor key = FPicture.At(0, FPicture.Height() - 1);
  const int dw = d.Width();
  const int dh = d.Height();
  if (dw <= 0 || dh <= 0) return;
  for (int y = 0; y < dh; ++y) {
    const int sy = int(std::int64_t(y) * FPicture.Height() / dh);
    for (int x = 0; x < dw; ++x) {
      const int sx = int(std::int64_t(x) * FPicture.Width() / dw);
      const TColor c = FPicture.At(sx, sy);
      if (c != key) canvas.SetPixel(d.left + x, d.top + y, c);
    }
  }
}

std::optional<std::string> TImage::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Stretch")) return PropText::Bool(FStretch);
  if (PropText::Is(name, "Center")) return PropText::Bool(FCenter);
  if (PropText::Is(name, "Transparent")) return PropText::Bool(FTransparent);
  if (PropText::Is(name, "AutoSize")) return PropText::Bool(FAutoSize);
  if (PropText::Is(name, "Picture.Width")) return std::to_string(FPicture.Width());
  if (PropText::Is(name, "Picture.Height")) return std::to_string(FPicture.Height());
  return TGraphicControl::GetPropText(name);
}
