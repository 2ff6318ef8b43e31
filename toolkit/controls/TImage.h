#pragma once
// A windowless picture. The image owns its bitmap ("Picture"); code may draw into it through
// Picture() and then call PictureChanged(). With Transparent, pixels of the picture's
// bottom-left colour are not drawn.
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/core/TGraphicControl.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);

  gfx::Bitmap& Picture() { return FPicture; }
  const gfx::Bitmap& Picture() const { return FPicture; }
  void SetPicture(gfx::Bitmap picture);
  // Reads a BMP file into the picture; throws gfx::ImageFileError with a clear message.
  void LoadFromFile(const std::string& path);
  // Tells the image that its picture was drawn into: repaints, and resizes with AutoSize.
  void PictureChanged();

  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // Where the picture lands in the client area.
  Rect DestRect() const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;

 private:
  gfx::Bitmap FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};
