#pragma once
// The holder of a shaped form's outline: the region, and whether the window system has it.
#include <optional>

#include "graphics/Region.h"

class TShapedForm;

class TRegionType {
 public:
  explicit TRegionType(TShapedForm* owner) : OwnerControl(owner) {}

  std::optional<gfx::Region> Region;  // none: the window keeps its rectangle
  bool Applied = false;               // handed to a window, which keeps it from then on
  TShapedForm* OwnerControl;
};
