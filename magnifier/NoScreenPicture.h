#pragma once
// What a magnifier shows where the screen's pixels cannot be read (the root window of
// XWayland holds only the X programs' pixels): grey, with the way to get a picture.
#include "graphics/Bitmap.h"
#include "graphics/Types.h"

inline constexpr gfx::TColor kNoScreenGrey = 0x808080;

// Fills PICTURE grey and writes the platform's hint ("Press F to freeze the screen") centred in
// AREA (the part of the picture the user sees; the whole picture when empty), broken into lines
// as it fits.
void DrawNoScreenPicture(gfx::Bitmap& picture, gfx::Rect area = {});
