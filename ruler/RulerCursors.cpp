#include "ruler/RulerCursors.h"

#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TScreen.h"

void RegisterRulerCursors() {
  if (!Screen) return;
  static constexpr struct {
    TCursor Id;
    const char* Picture;
  } kCursors[] = {{crArrowV, "ARROWV"}, {crArrowH, "ARROWH"}, {crArrowW, "ARROWW"}, {crArrowI, "ARROWI"}};
  for (const auto& c : kCursors)
    if (!Screen->HasCursor(c.Id)) Screen->SetCursorImage(c.Id, LoadCursorResource(c.Picture));
}
