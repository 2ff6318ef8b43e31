#pragma once
// Turns the program's text resources (resources/*.res) into cursors and bitmaps.
// Cursors and bitmaps are at most 1024 pixels a side.
//
//   cursor W H HOTX HOTY         then H rows of W characters:
//                                '.' transparent, 'X' black, 'O' white, '~' inverted
//   bitmap W H                   then one line "palette C=0xBBGGRR C=0xBBGGRR ..." and H rows of
//                                W palette characters
//   region SIZEHINT              a window outline: then "bound L T R B" and one rectangle
//                                "L T R B" per line (right and bottom exclusive), banded order
// Lines starting with '#' are comments.
#include <stdexcept>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"
#include "platform/Cursor.h"

class EResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throw EResourceError naming the resource when it is missing or malformed.
plat::CursorLook LoadCursorResource(std::string_view name);
gfx::Bitmap LoadBitmapResource(std::string_view name);

// The same from text, for resources that do not come from the table.
plat::CursorLook ParseCursorResource(std::string_view text, std::string_view name);
gfx::Bitmap ParseBitmapResource(std::string_view text, std::string_view name);

// A stored window outline as its length-prefixed region payload: 4 bytes N, then N bytes of
// RGNDATA (header with the kept size hint, bounding rectangle, rectangles).
std::vector<std::uint8_t> LoadRegionResource(std::string_view name);
std::vector<std::uint8_t> ParseRegionResource(std::string_view text, std::string_view name);
