#include "widgets/THilight3d.h"

THilight3d::THilight3d(TNotifyEvent onChange) : TFont3d(std::move(onChange)) {
  // Built quietly: the owner is not complete yet.
  TNotifyEvent keep = std::move(OnChange);
  SetColor(clYellow);
  OnChange = std::move(keep);
}

void THilight3d::SetMouseOverColor(TColor value) {
  if (value == FMouseOverColor) return;
  FMouseOverColor = value;
  Changed();
}

void THilight3d::Assign(const TObject* source) {
  // The mouse-over colour belongs to the highlight alone; only the shared four are copied.
  TFont3d::Assign(source);
}
