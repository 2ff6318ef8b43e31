#include "app/MeasureUnits.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "ruler/RulerLayout.h"

namespace {

constexpr const char* kSection = "Units";
constexpr const char* kUnitKey = "Unit";
constexpr const char* kMonitorPrefix = "Monitor ";

struct TUnitInfo {
  TMeasureUnit Unit;
  const char* Name;
  const char* Label;
  double Millimetres;  // in one unit
  double Numbered;     // the step between numbered ticks where the monitor allows it
  int Decimals;        // of the reading: about a pixel's worth on a common monitor
};

constexpr TUnitInfo kUnits[] = {
    {TMeasureUnit::Pixel, "px", "Mouse at pixel:", 0, 0, 0},
    {TMeasureUnit::Millimetre, "mm", "Mouse at mm:", 1, 10, 1},
    {TMeasureUnit::Centimetre, "cm", "Mouse at cm:", 10, 1, 2},
    {TMeasureUnit::Inch, "in", "Mouse at in:", 25.4, 1, 2},
    {TMeasureUnit::Point, "pt", "Mouse at pt:", 25.4 / 72, 20, 1},
    {TMeasureUnit::Pica, "pc", "Mouse at pc:", 25.4 / 6, 2, 2},
};

const TUnitInfo& Info(TMeasureUnit u) {
  for (const TUnitInfo& i : kUnits)
    if (i.Unit == u) return i;
  return kUnits[0];
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Plausible(double pixelsPerMm) {
  return std::isfinite(pixelsPerMm) && pixelsPerMm >= kMinPixelsPerMm && pixelsPerMm <= kMaxPixelsPerMm;
}

// Six decimals keep a calibration to a millionth of a pixel, far below what a ruler shows.
std::string DensityText(double v) {
  std::string s = FormatNumber(v, 6);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

double StoredDensity(double pixelsPerMm) {
  if (!std::isfinite(pixelsPerMm)) return pixelsPerMm;
  return ParseTypedNumber(DensityText(pixelsPerMm)).value_or(pixelsPerMm);
}

TMeasureUnit NextMeasureUnit(TMeasureUnit u) {
  const int n = int(std::size(kUnits));
  for (int i = 0; i < n; ++i)
    if (kUnits[i].Unit == u) return kUnits[(i + 1) % n].Unit;
  return TMeasureUnit::Pixel;
}

const char* MeasureUnitName(TMeasureUnit u) { return Info(u).Name; }

std::optional<TMeasureUnit> MeasureUnitFromName(std::string_view name) {
  name = Trimmed(name);
  for (const TUnitInfo& i : kUnits)
    if (SameNoCase(name, i.Name)) return i.Unit;
  return std::nullopt;
}

std::string ReadingLabel(TMeasureUnit u) { return Info(u).Label; }

double MillimetresPer(TMeasureUnit u) { return Info(u).Millimetres; }

TUnitScale UnitScale(TMeasureUnit u, double pixelsPerMm, int unitPixels) {
  const TUnitInfo& info = Info(u);
  if (u == TMeasureUnit::Pixel) return {double(unitPixels), double(unitPixels), 0};
  if (!(pixelsPerMm > 0) || !std::isfinite(pixelsPerMm)) pixelsPerMm = kDefaultPixelsPerMm;
  // A numbered tick needs room for its number, as the pixel scale gives it (three quarters of
  // its unit), and the tenths between must stay two pixels apart to be told apart.
  const double minNumbered = 0.75 * unitPixels;
  constexpr double kMinTick = 2.0;
  const double pixelsPerUnit = info.Millimetres * pixelsPerMm;
  double step = info.Numbered;
  constexpr double kSpread[] = {2, 2.5, 2};  // 1, 2, 5, 10, 20, 50, ...
  for (int i = 0; i < 60 && (step * pixelsPerUnit < minNumbered || step / 10 * pixelsPerUnit < kMinTick); ++i)
    step *= kSpread[i % 3];
  return {step * pixelsPerUnit, step, 0};
}

std::string ReadingText(TMeasureUnit u, long double value) {
  std::string s = FormatNumber(value, Info(u).Decimals);
  // A value just below zero rounds to zero: shown without a sign.
  if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string MonitorKey(const plat::Monitor& m) {
  return std::to_string(m.Bounds.left) + "," + std::to_string(m.Bounds.top) + "," + std::to_string(m.Bounds.Width()) +
         "," + std::to_string(m.Bounds.Height());
}

std::optional<double> ParseTypedNumber(std::string_view text) {
  std::string s(Trimmed(text));
  // Many people write a decimal comma.
  if (s.find('.') == std::string::npos)
    if (auto comma = s.find(','); comma != std::string::npos && s.find(',', comma + 1) == std::string::npos) s[comma] = '.';
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

TUnitSettings TUnitSettings::Read(const plat::ProfileFile& ini) {
  TUnitSettings s;
  if (auto name = ini.ReadString(kSection, kUnitKey))
    s.Unit = MeasureUnitFromName(*name).value_or(TMeasureUnit::Pixel);
  for (const auto& [key, value] : ini.ReadSection(kSection)) {
    const std::string_view k = key;
    const std::size_t prefix = std::string_view(kMonitorPrefix).size();
    if (k.size() <= prefix || !SameNoCase(k.substr(0, prefix), kMonitorPrefix)) continue;
    const auto density = ParseTypedNumber(value);
    // A calibration spoilt by hand is dropped: the monitor's own size serves meanwhile. Of two
    // lines for one monitor the first counts, as for any key.
    if (density && Plausible(StoredDensity(*density)))
      s.Calibrations.emplace(std::string(Trimmed(k.substr(prefix))), StoredDensity(*density));
  }
  return s;
}

void TUnitSettings::Write(plat::ProfileFile& ini) const {
  if (Unit != TMeasureUnit::Pixel || ini.ReadString(kSection, kUnitKey)) ini.WriteString(kSection, kUnitKey, MeasureUnitName(Unit));
  for (const auto& [monitor, density] : Calibrations)
    if (Plausible(density)) ini.WriteString(kSection, kMonitorPrefix + monitor, DensityText(density));
}

double TUnitSettings::PixelsPerMm(const plat::Monitor& monitor, bool vertical) const {
  if (auto it = Calibrations.find(MonitorKey(monitor)); it != Calibrations.end() && Plausible(it->second))
    return it->second;
  const int mm = vertical ? monitor.HeightMm : monitor.WidthMm;
  const int pixels = vertical ? monitor.Bounds.Height() : monitor.Bounds.Width();
  if (mm > 0 && pixels > 0 && Plausible(double(pixels) / mm)) return double(pixels) / mm;
  return kDefaultPixelsPerMm;
}
