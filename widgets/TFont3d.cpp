#include "widgets/TFont3d.h"

#include <stdexcept>

TFont3d::TFont3d(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}

void TFont3d::Changed() {
  if (OnChange) OnChange(this);
}

void TFont3d::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  Changed();
}

void TFont3d::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TFont3d::SetPosition(TShadowPosition value) {
  if (value == FPosition || value < spLeftTop || value > spRightTop) return;
  FPosition = value;
  Changed();
}

void TFont3d::SetSpacing(std::int8_t value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Changed();
}

void TFont3d::Assign(const TObject* source) {
  const auto* other = dynamic_cast<const TFont3d*>(source);
  if (!other)
    throw std::invalid_argument("Cannot assign a " + (source ? source->ClassName() : std::string("nil")) + " to a " +
                                ClassName());
  if (other == this) return;
  FActive = other->FActive;
  FColor = other->FColor;
  FPosition = other->FPosition;
  FSpacing = other->FSpacing;
  Changed();
}
