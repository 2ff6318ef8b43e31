#pragma once
// The 3D look of a caption: a copy of the text in another colour, offset by Spacing pixels
// towards Position, drawn under the text. Owned by a control, which is told of every change.
#include <cstdint>
#include <string>

#include "toolkit/core/TObject.h"
#include "toolkit/core/Types.h"

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TFont3d : public TObject {
 public:
  explicit TFont3d(TNotifyEvent onChange = nullptr);

  bool Active() const { return FActive; }
  void SetActive(bool value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TShadowPosition Position() const { return FPosition; }
  void SetPosition(TShadowPosition value);
  std::int8_t Spacing() const { return FSpacing; }
  void SetSpacing(std::int8_t value);

  // Copies Active, Color, Position and Spacing; SOURCE must be a TFont3d (throws
  // "Cannot assign a <source class or nil> to a <target class>" otherwise).
  virtual void Assign(const TObject* source);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  bool FActive = true;
  TColor FColor = clBtnHighlight;
  TShadowPosition FPosition = spRightBottom;
  std::int8_t FSpacing = 1;
};
