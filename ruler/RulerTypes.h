#pragma once
// The ruler's enumerations. Their ordinal values are part of the settings file and of the
// properties dialog, so they never change order.
#include <optional>
#include <string_view>

enum TOrientation { orHoriz = 0, orVert = 1 };
enum TCaptionAlign { caTopLeft = 0, caBottomRight = 1 };
enum TNumberAlign { naCenter = 0, naBottomRight = 1, naTopLeft = 2 };
enum TTickAlign { taBottomRight = 0, taTopLeft = 1 };
enum TFontRotation { fr0 = 0, fr90 = 1, fr180 = 2, fr270 = 3 };

// Names as the property reflection and the scenario runner print them.
std::string_view OrientationName(TOrientation v);
std::string_view CaptionAlignName(TCaptionAlign v);
std::string_view NumberAlignName(TNumberAlign v);
std::string_view TickAlignName(TTickAlign v);
std::string_view FontRotationName(TFontRotation v);

// Ordinal -> enumeration for values read from settings; out-of-range ordinals give nothing.
std::optional<TOrientation> OrientationFromOrdinal(int v);
std::optional<TCaptionAlign> CaptionAlignFromOrdinal(int v);
std::optional<TNumberAlign> NumberAlignFromOrdinal(int v);
std::optional<TTickAlign> TickAlignFromOrdinal(int v);
std::optional<TFontRotation> FontRotationFromOrdinal(int v);
