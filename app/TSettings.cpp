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
  s.TickBig = Clamp(TickBig, kMinTickSize, kMaxTickSize);
  s.TickMiddle = Clamp(TickMiddle, kMinTickSize, kMaxTickSize);
  s.TickSmall = Clamp(TickSmall, kMinTickSize, kMaxTickSize);
  return s;
}

TSettings TSettings::Read(const plat::ProfileFile& ini) {
  TSettings s;
  auto get = [&ini](const char* section, const char* key, std::int32_t def) {
    return ini.ReadInteger(section, key, def);
  };
  s.Vertical = get(kApp, "Orientation", 0) != 0;
  s.Top = get(kApp, "Top", 0);
  s.Left = get(kApp, "Left", 0);
  s.Length = get(kApp, "Length", s.Vertical ? 400 : 640);
  s.RulerFlip = get(kApp, "RulerFlip", 0) == 1;
  s.PgDnGap = get(kApp, "PgDnGap", 10);
  s.PgUpGap = get(kApp, "PgUpGap", 10);
  s.Loupe = get(kApp, "Loupe", 1) == 1;
  s.MeasureStart = get(kApp, "MeasureStart", 0);
  s.MouseLoupe = get(kApp, "MouseLoupe", 1) == 1;
  s.OnTop = get(kApp, "OnTop", 0) == 1;
  s.Magnification = get(kApp, "Magnification", 2);
  s.Color = gfx::TColor(get(kRuler, "Color", 0x80FFFF));
  s.TickBig = get(kRuler, "TickBig", 50);
  s.TickMiddle = get(kRuler, "TickMiddle", 40);
  s.TickSmall = get(kRuler, "TickSmall", 25);
  s.TickColor = gfx::TColor(get(kRuler, "TickColor", 0));
  s.FontColor = gfx::TColor(get(kRuler, "FontColor", 0));
  s.Roll = get(kRuler, "Roll", 1) != 0;
  s.FontRotation = get(kRuler, "FontRotation", 0) == 90 ? fr90 : fr0;
  const int align = get(kRuler, "NumberAlign", 1);
  s.NumberAlign = align == 2 ? naCenter : align == 3 ? naBottomRight : naTopLeft;
  s.Large = get(kRuler, "Large", 0) != 0;
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
  put(kApp, "Orientation", s.Vertical ? 1 : 0);
  put(kApp, "Length", s.Length);
  put(kApp, "RulerFlip", s.RulerFlip ? 1 : 0);
  put(kApp, "Loupe", s.Loupe ? 1 : 0);
  put(kApp, "MouseLoupe", s.MouseLoupe ? 1 : 0);
  put(kApp, "OnTop", s.OnTop ? 1 : 0);
  put(kApp, "MeasureStart", MeasureStartText(s.MeasureStart));
  put(kApp, "PgDnGap", s.PgDnGap);
  put(kApp, "PgUpGap", s.PgUpGap);
  put(kRuler, "Color", std::int32_t(s.Color));
  put(kRuler, "TickBig", s.TickBig);
  put(kRuler, "TickMiddle", s.TickMiddle);
  put(kRuler, "TickSmall", s.TickSmall);
  put(kRuler, "TickColor", std::int32_t(s.TickColor));
  put(kRuler, "FontColor", std::int32_t(s.FontColor));
  put(kRuler, "Roll", s.Roll ? 1 : 0);
  put(kRuler, "FontRotation", s.FontRotation == fr0 ? 0 : 90);
  put(kRuler, "NumberAlign", s.NumberAlign == naCenter ? 2 : s.NumberAlign == naBottomRight ? 3 : 1);
  put(kApp, "Magnification", s.Magnification);
  put(kRuler, "Large", s.Large ? 1 : 0);
  s.Units.Write(ini);
  s.Copy.Write(ini);
}
