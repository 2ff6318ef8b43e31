#pragma once
// A mouse cursor: one of the desktop's standard shapes, or a monochrome image with a hot spot.
#include <cstdint>
#include <vector>

#include "graphics/Types.h"

namespace plat {

enum class StdCursor { Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, HelpArrow };

struct CursorImage {
  int Width = 32;
  int Height = 32;
  gfx::Point HotSpot;
  // One entry per pixel, row by row: 0 transparent, 1 black, 2 white, 3 inverted.
  std::vector<std::uint8_t> Pixels;
};

struct CursorLook {
  bool IsCustom = false;
  StdCursor Standard = StdCursor::Arrow;
  CursorImage Image;  // when IsCustom
};

}  // namespace plat
