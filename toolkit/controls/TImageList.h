#pragma once
// A list of same-sized images that other components pick from by index (the tray icon's
// animation frames, for one).
#include <vector>

#include "graphics/Bitmap.h"
#include "toolkit/core/TComponent.h"

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size empties the list: its images no longer fit.
  void SetSize(int width, int height);
  int Count() const { return int(FImages.size()); }
  // Adds IMAGE, cut or padded (transparent black) to the list's size; returns its index.
  int Add(const gfx::Bitmap& image);
  void Delete(int index);  // ignored out of range
  void Clear() { FImages.clear(); }
  // Copies image INDEX into DEST; false (DEST untouched) out of range.
  bool GetBitmap(int index, gfx::Bitmap& dest) const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  int FWidth = 16;
  int FHeight = 16;
  std::vector<gfx::Bitmap> FImages;
};
