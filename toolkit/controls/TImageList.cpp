#include "toolkit/controls/TImageList.h"

#include <algorithm>

#include "toolkit/core/PropText.h"

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TImageList::SetSize(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  FImages.clear();
}

int TImageList::Add(const gfx::Bitmap& image) {
  gfx::Bitmap fitted(FWidth, FHeight, 0);
  const int w = std::min(FWidth, image.Width()), h = std::min(FHeight, image.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) fitted.At(x, y) = image.At(x, y);
  FImages.push_back(std::move(fitted));
  return int(FImages.size()) - 1;
}

void TImageList::Delete(int index) {
  if (index >= 0 && index < Count()) FImages.erase(FImages.begin() + index);
}

bool TImageList::GetBitmap(int index, gfx::Bitmap& dest) const {
  if (index < 0 || index >= Count()) return false;
  dest = FImages[std::size_t(index)];
  return true;
}

std::optional<std::string> TImageList::GetPropText(std::string_view name) const {
  if (name == "Count") return PropText::Int(Count());
  if (name == "Width") return PropText::Int(FWidth);
  if (name == "Height") return PropText::Int(FHeight);
  return TComponent::GetPropText(name);
}
