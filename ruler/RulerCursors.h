#pragma once
// The ruler cursors, by their identifiers in the cursor table: an arrow pointing at the ruler
// from each of its four sides. Every window that shows a ruler registers their pictures before
// it uses them; the first one to do so puts them in the table.
#include "toolkit/core/Types.h"

enum : TCursor { crArrowV = 5, crArrowW = 10, crArrowH = 12, crArrowI = 24 };

// Puts the four pictures in the screen's cursor table unless they are there already.
void RegisterRulerCursors();
