#pragma once
// Turns the program's text resources (resources/*.res) into cursors and bitmaps.
//
//   cursor W H HOTX HOTY         then H rows of W characters:
//                                '.' transparent, 'X' black, 'O' white, '~' inverted
//   bitmap W H                   then one line "palette C=0xBBGGRR C=0xBBGGRR ..." and H rows of
//                                W palette characters
// Lines starting with '#' are comments.
#include <stdexcept>
#include <string_view>

#include "graphics/Bitmap.h"
#include "platform/Cursor.h"

class EResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throw EResourceError naming the resource when it is missing or malformed.
plat::CursorSpec LoadCursorResource(std::string_view name);
gfx::Bitmap LoadBitmapResource(std::string_view name);

// The same from text, for resources that do not come from the table.
plat::CursorSpec ParseCursorResource(std::string_view text, std::string_view name);
gfx::Bitmap ParseBitmapResource(std::string_view text, std::string_view name);
