#pragma once
// Contrast between two colours as the web's accessibility guidelines (WCAG 2) define it.
#include "graphics/Color.h"

namespace gfx {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(TColor a, TColor b);

// What a contrast ratio passes: AA asks 4.5 for normal text and 3 for large text, AAA 7 and 4.5.
struct ContrastGrades {
  bool AANormal, AALarge, AAANormal, AAALarge;
};
ContrastGrades GradeContrast(double ratio);

}  // namespace gfx
