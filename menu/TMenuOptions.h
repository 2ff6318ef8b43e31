#pragma once
// The look and the animations of TAnimatedPopupMenu: plain values with their defaults.
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Font.h"

// How a menu window opens or closes.
enum TMenuAnimation { anNone, anVSlide, anHSlide, anSmart, anUnfold, anPopup, anRandom };
enum TMenuHighlightStyle { hsDefault, hsRectangle, hsBevelLowered, hsBevelRaised, hsShadow, hsHyperlink, hsFlash, hsShsning };
// Scoped: the toolkit's TAlignment already uses these names.
enum class TMenuAlignment { taLeftJustify, taRightJustify, taCenter, taHebrew };
enum TMenuTitleAlign { atLeft, atRight };

struct TMenuColors {
  gfx::TColor Border = gfx::clNone;
  gfx::TColor Menu = gfx::clMenu;
  gfx::TColor MenuText = gfx::clMenuText;
  gfx::TColor MenuShadow = gfx::clBtnShadow;
  gfx::TColor Highlight = gfx::clHighlight;
  gfx::TColor HighlightText = gfx::clHighlightText;
  gfx::TColor DisabledText = gfx::clBtnShadow;
  gfx::TColor DisabledShadow = gfx::clBtnHighlight;
  gfx::TColor Line = gfx::clBtnShadow;
  gfx::TColor LineShadow = gfx::clBtnHighlight;
};

struct TMenuMargins {
  int Left = 25;
  int Top = 1;
  int Right = 25;
  int Bottom = 1;
  int ItemSpace = 0;  // between two items
};

// A vertical band beside the items (drawn by none of our menus yet; kept for its width).
struct TMenuTitle {
  TMenuTitleAlign Align = atLeft;
  TMenuAlignment Alignment = TMenuAlignment::taLeftJustify;
  std::string Text;
  gfx::TColor ColorBegin = gfx::clBlack;
  gfx::TColor ColorEnd = 0x800000;  // navy
  int Width = 50;
  bool Direction = true;
  bool Visible = false;
};

struct TMenuOptions {
  int ItemHeight = 19;
  int SeparatorHeight = 11;
  TMenuAlignment Alignment = TMenuAlignment::taLeftJustify;
  TMenuTitle Title;
  gfx::Bitmap Background;
  TMenuHighlightStyle Style = hsDefault;
  TMenuColors Colors;
  bool Ctl3D = true;
  bool FitToBackground = false;
  bool Draggable = false;
  TMenuMargins Margins;
  TMenuAnimation OpenAnimation = anSmart;
  TMenuAnimation CloseAnimation = anNone;
  unsigned Timeout = 20;  // milliseconds per animation frame
  bool DoubleSpeed = false;
};
