#pragma once
// The ruler's enumerations. Their ordinal values are part of the settings file and of the
// properties dialog, so they never change order. The underlying type is fixed so that an
// ordinal from outside the list (a damaged settings file) is a value, not undefined behaviour;
// painting treats such values like the first one of their list.
#include <optional>
#include <string_view>

enum TOrientation : int { orHoriz = 0, orVert = 1 };
enum TCaptionAlign : int { caTopLeft = 0, caBottomRight = 1 };
enum TNumberAlign : int { naCenter = 0, naBottomRight = 1, naTopLeft = 2 };
enum TTickAlign : int { taBottomRight = 0, taTopLeft = 1 };
enum TFontRotation : int { fr0 = 0, fr90 = 1, fr180 = 2, fr270 = 3 };

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
