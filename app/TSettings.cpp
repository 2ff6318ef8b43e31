#include "app/TSettings.h"

#include <algorithm>
#include <cmath>

#include "ruler/RulerLayout.h"

namespace {

constexpr const char* kApp = "Application";
constexpr const char* kRuler = "Ruler";

int Clamp(std::int64_t v, int lo, int hi) { return int(std::clamp<std::int64_t>(v, lo, hi)); }

// The whole number a start value is written as: halves to even, within the limits (NaN as 0).
int MeasureStartText(double v) {
  if (std::isnan(v)) return 0;
  const double r = RoundHalfEven(std::clamp<double>(v, -TSettings::kMaxMeasureStart, TSettings::kMaxMeasureStart));
  return int(r);
}

// The file's integers for the flags and the ruler's enumerations, and back.
std::int32_t Flag(bool on) { return on ? 1 : 0; }
std::int32_t RotationKey(TFontRotation r) { return r == fr0 ? 0 : 90; }
TFontRotation RotationFromKey(std::int32_t v) { return v == 90 ? fr90 : fr0; }
std::int32_t AlignKey(TNumberAlign a) { return a == naCenter ? 2 : a == naBottomRight ? 3 : 1; }
TNumberAlign AlignFromKey(std::int32_t v) { return v == 2 ? naCenter : v == 3 ? naBottomRight : naTopLeft; }

}  // namespace

int TSettings::ClampPosition(std::int64_t v) { return Clamp(v, kMinPosition, kMaxPosition); }

TSettings TSettings::Clamped() const {
  TSettings s = *this;
  s.Top = ClampPosition(Top);
  s.Left = ClampPosition(Left);
  s.Length = Clamp(Length, kMinLength, kMaxLength);
  s.MeasureStart = std::isnan(MeasureStart)
                       ? 0.0
                       : std::clamp<double>(MeasureStart, -kMaxMeasureStart, kMaxMeasureStart);
  s.Magnification = Clamp(Magnification, kMinMagnification, kMaxMagnification);
  s.Look.TickSizeBig = Clamp(Look.TickSizeBig, kMinTickSize, kMaxTickSize);
  s.Look.TickSizeMiddle = Clamp(Look.TickSizeMiddle, kMinTickSize, kMaxTickSize);
  s.Look.TickSizeSmall = Clamp(Look.TickSizeSmall, kMinTickSize, kMaxTickSize);
  return s;
}

TSettings TSettings::Read(const plat::ProfileFile& ini) {
  const TSettings d;  // what a missing key gives
  const TRulerLook& dl = kNewStripLook;
  TSettings s;
  auto get = [&ini](const char* section, const char* key, std::int32_t def) {
    return ini.ReadInteger(section, key, def);
  };
  s.Vertical = get(kApp, "Orientation", Flag(d.Vertical)) != 0;
  s.Top = get(kApp, "Top", d.Top);
  s.Left = get(kApp, "Left", d.Left);
  s.Length = get(kApp, "Length", s.Vertical ? kVerticalLength : d.Length);
  s.RulerFlip = get(kApp, "RulerFlip", Flag(d.RulerFlip)) == 1;
  s.PgDnGap = get(kApp, "PgDnGap", d.PgDnGap);
  s.PgUpGap = get(kApp, "PgUpGap", d.PgUpGap);
  s.Loupe = get(kApp, "Loupe", Flag(d.Loupe)) == 1;
  s.MeasureStart = get(kApp, "MeasureStart", MeasureStartText(d.MeasureStart));
  s.MouseLoupe = get(kApp, "MouseLoupe", Flag(d.MouseLoupe)) == 1;
  s.OnTop = get(kApp, "OnTop", Flag(d.OnTop)) == 1;
  s.Magnification = get(kApp, "Magnification", d.Magnification);
  s.Look.Color = gfx::TColor(get(kRuler, "Color", std::int32_t(dl.Color)));
  s.Look.TickSizeBig = get(kRuler, "TickBig", dl.TickSizeBig);
  s.Look.TickSizeMiddle = get(kRuler, "TickMiddle", dl.TickSizeMiddle);
  s.Look.TickSizeSmall = get(kRuler, "TickSmall", dl.TickSizeSmall);
  s.Look.TickColor = gfx::TColor(get(kRuler, "TickColor", std::int32_t(dl.TickColor)));
  s.Look.FontColor = gfx::TColor(get(kRuler, "FontColor", std::int32_t(dl.FontColor)));
  s.Look.RollEnabled = get(kRuler, "Roll", Flag(dl.RollEnabled)) != 0;
  s.Look.FontRotation = RotationFromKey(get(kRuler, "FontRotation", RotationKey(dl.FontRotation)));
  s.Look.NumberAlign = AlignFromKey(get(kRuler, "NumberAlign", AlignKey(dl.NumberAlign)));
  s.Large = get(kRuler, "Large", Flag(d.Large)) != 0;
  s.Units = TUnitSettings::Read(ini);
  s.Copy = TCopyFormats::Read(ini);
  return s.Clamped();
}

void TSettings::Write(plat::ProfileFile& ini) const {
  const TSettings s = Clamped();
  auto put = [&ini](const char* section, const char* key, std::int32_t v) { ini.WriteInteger(section, key, v); };
  // This order is the file's: a file made by a first close lists the keys so.
  put(kApp, "Top", s.Top);
  put(kApp, "Left", s.Left);
  put(kApp, "Orientation", Flag(s.Vertical));
  put(kApp, "Length", s.Length);
  put(kApp, "RulerFlip", Flag(s.RulerFlip));
  put(kApp, "Loupe", Flag(s.Loupe));
  put(kApp, "MouseLoupe", Flag(s.MouseLoupe));
  put(kApp, "OnTop", Flag(s.OnTop));
  put(kApp, "MeasureStart", MeasureStartText(s.MeasureStart));
  put(kApp, "PgDnGap", s.PgDnGap);
  put(kApp, "PgUpGap", s.PgUpGap);
  put(kRuler, "Color", std::int32_t(s.Look.Color));
  put(kRuler, "TickBig", s.Look.TickSizeBig);
  put(kRuler, "TickMiddle", s.Look.TickSizeMiddle);
  put(kRuler, "TickSmall", s.Look.TickSizeSmall);
  put(kRuler, "TickColor", std::int32_t(s.Look.TickColor));
  put(kRuler, "FontColor", std::int32_t(s.Look.FontColor));
  put(kRuler, "Roll", Flag(s.Look.RollEnabled));
  put(kRuler, "FontRotation", RotationKey(s.Look.FontRotation));
  put(kRuler, "NumberAlign", AlignKey(s.Look.NumberAlign));
  put(kApp, "Magnification", s.Magnification);
  put(kRuler, "Large", Flag(s.Large));
  s.Units.Write(ini);
  s.Copy.Write(ini);
}
