#include "ruler/RulerTypes.h"

std::string_view OrientationName(TOrientation v) {
  switch (v) {
    case orHoriz: return "orHoriz";
    case orVert: return "orVert";
  }
  return "orHoriz";
}

std::string_view CaptionAlignName(TCaptionAlign v) {
  switch (v) {
    case caTopLeft: return "caTopLeft";
    case caBottomRight: return "caBottomRight";
  }
  return "caTopLeft";
}

std::string_view NumberAlignName(TNumberAlign v) {
  switch (v) {
    case naCenter: return "naCenter";
    case naBottomRight: return "naBottomRight";
    case naTopLeft: return "naTopLeft";
  }
  return "naCenter";
}

std::string_view TickAlignName(TTickAlign v) {
  switch (v) {
    case taBottomRight: return "taBottomRight";
    case taTopLeft: return "taTopLeft";
  }
  return "taBottomRight";
}

std::string_view FontRotationName(TFontRotation v) {
  switch (v) {
    case fr0: return "fr0";
    case fr90: return "fr90";
    case fr180: return "fr180";
    case fr270: return "fr270";
  }
  return "fr0";
}

std::optional<TOrientation> OrientationFromOrdinal(int v) {
  if (v < orHoriz || v > orVert) return std::nullopt;
  return TOrientation(v);
}

std::optional<TCaptionAlign> CaptionAlignFromOrdinal(int v) {
  if (v < caTopLeft || v > caBottomRight) return std::nullopt;
  return TCaptionAlign(v);
}

std::optional<TNumberAlign> NumberAlignFromOrdinal(int v) {
  if (v < naCenter || v > naTopLeft) return std::nullopt;
  return TNumberAlign(v);
}

std::optional<TTickAlign> TickAlignFromOrdinal(int v) {
  if (v < taBottomRight || v > taTopLeft) return std::nullopt;
  return TTickAlign(v);
}

std::optional<TFontRotation> FontRotationFromOrdinal(int v) {
  if (v < fr0 || v > fr270) return std::nullopt;
  return TFontRotation(v);
}
