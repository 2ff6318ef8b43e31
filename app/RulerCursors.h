#pragma once
// The ruler cursors, by their identifiers in the cursor table. The main window registers their
// images at start; both strips use them over their rulers.
#include "toolkit/core/Types.h"

enum : TCursor { crArrowV = 5, crArrowW = 10, crArrowH = 12, crArrowI = 24 };
