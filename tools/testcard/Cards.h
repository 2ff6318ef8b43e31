#pragma once
// The test cards: pictures for people to look at when drawing code changes. Each throws
// std::runtime_error when its own layout went wrong.
#include <string>

#include "graphics/Bitmap.h"

gfx::Bitmap CanvasCard();       // every canvas primitive
gfx::Bitmap RulerCard();        // the ruler in every orientation, rotation and alignment
gfx::Bitmap EffectLabelCard();  // the effect label's styles, schemes, gradients and turns
gfx::Bitmap ShapeCard();        // the shape control's shapes, surfaces, shadows and outlines
gfx::Bitmap MeasureCard();      // shapes of known size for measuring edges, snapping and contrast
int WidgetCard(const std::string& out);  // the widget kit in its states; writes OUT itself
