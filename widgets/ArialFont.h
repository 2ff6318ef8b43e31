#pragma once
// The face the strips write in: Arial, black, HEIGHT pixels (negative: the character height).
#include "graphics/Font.h"

inline gfx::Font ArialFont(int height, gfx::FontStyles style = 0) {
  gfx::Font f;
  f.Name = "Arial";
  f.Height = height;
  f.Style = style;
  f.Color = clBlack;
  return f;
}
