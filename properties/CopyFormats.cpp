#include "properties/CopyFormats.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr const char* kSection = "Copy";
constexpr std::size_t kMaxTemplate = kMaxCopyTemplate;

constexpr std::array<std::pair<TReadingFormat, const char*>, 4> kReadingNames{{
    {TReadingFormat::Number, "number"}, {TReadingFormat::WithUnit, "unit"},
    {TReadingFormat::Css, "css"}, {TReadingFormat::Template, "template"}}};
constexpr std::array<std::pair<TColourFormat, const char*>, 4> kColourNames{{
    {TColourFormat::Hex, "hex"}, {TColourFormat::Rgb, "rgb"},
    {TColourFormat::Hsl, "hsl"}, {TColourFormat::Template, "template"}}};

template <class E, std::size_t N>
std::optional<E> FromName(const std::array<std::pair<E, const char*>, N>& names, std::string_view text) {
  for (const auto& [e, name] : names)
    if (text == name) return e;
  return std::nullopt;
}

// Replaces each {NAME} of TEXT whose NAME has a value; other braces stay as written.
std::string Fill(std::string_view text, std::initializer_list<std::pair<std::string_view, std::string>> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '{')
      for (const auto& [name, value] : values)
        if (text.substr(i + 1, name.size()) == name && text.substr(i + 1 + name.size(), 1) == "}") {
          out += value;
          i += name.size() + 2;
          replaced = true;
          break;
        }
    if (!replaced) out += text[i++];
  }
  return out;
}

struct Hsl {
  int H, S, L;
};

// Hue in whole degrees, saturation and lightness in whole percent, halves away from zero.
Hsl ToHsl(int r8, int g8, int b8) {
  const double r = r8 / 255.0, g = g8 / 255.0, b = b8 / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (d > 0) {
    s = d / (1 - std::fabs(2 * l - 1));
    if (mx == r) h = 60 * std::fmod((g - b) / d + 6, 6);
    else if (mx == g) h = 60 * ((b - r) / d + 2);
    else h = 60 * ((r - g) / d + 4);
  }
  return {int(std::lround(h)) % 360, int(std::lround(s * 100)), int(std::lround(l * 100))};
}

}  // namespace

const char* ReadingFormatName(TReadingFormat f) {
  for (const auto& [e, name] : kReadingNames)
    if (e == f) return name;
  return "number";
}

const char* ColourFormatName(TColourFormat f) {
  for (const auto& [e, name] : kColourNames)
    if (e == f) return name;
  return "hex";
}

TCopyFormats TCopyFormats::Read(const plat::ProfileFile& ini) {
  TCopyFormats f;
  if (auto v = ini.ReadString(kSection, "Reading")) f.Reading = FromName(kReadingNames, *v).value_or(f.Reading);
  if (auto v = ini.ReadString(kSection, "Colour")) f.Colour = FromName(kColourNames, *v).value_or(f.Colour);
  if (auto v = ini.ReadString(kSection, "ReadingTemplate"); v && !v->empty() && v->size() <= kMaxTemplate)
    f.ReadingTemplate = *v;
  if (auto v = ini.ReadString(kSection, "ColourTemplate"); v && !v->empty() && v->size() <= kMaxTemplate)
    f.ColourTemplate = *v;
  return f;
}

void TCopyFormats::Write(plat::ProfileFile& ini) const {
  if (*this == TCopyFormats{} && !ini.ReadString(kSection, "Reading")) return;
  ini.WriteString(kSection, "Reading", ReadingFormatName(Reading));
  ini.WriteString(kSection, "ReadingTemplate", ReadingTemplate.substr(0, kMaxTemplate));
  ini.WriteString(kSection, "Colour", ColourFormatName(Colour));
  ini.WriteString(kSection, "ColourTemplate", ColourTemplate.substr(0, kMaxTemplate));
}

std::string FormatReading(const TCopyFormats& f, const TCopiedReading& r) {
  const std::string size = r.Height ? r.Value + " x " + *r.Height : r.Value;
  switch (f.Reading) {
    case TReadingFormat::Number: return size;
    case TReadingFormat::WithUnit: return size + " " + r.Unit;
    case TReadingFormat::Css:
      if (r.Height) return "width: " + r.Value + r.Unit + "; height: " + *r.Height + r.Unit + ";";
      return (r.Vertical ? "height: " : "width: ") + r.Value + r.Unit + ";";
    case TReadingFormat::Template:
      return Fill(f.ReadingTemplate, {{"value", size},
                                      {"width", r.Height || !r.Vertical ? r.Value : std::string()},
                                      {"height", r.Height ? *r.Height : r.Vertical ? r.Value : std::string()},
                                      {"unit", r.Unit}});
  }
  return size;
}

std::string FormatColour(const TCopyFormats& f, gfx::TColor c) {
  const int r = gfx::GetRValue(c), g = gfx::GetGValue(c), b = gfx::GetBValue(c);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", r, g, b);
  const Hsl hsl = ToHsl(r, g, b);
  switch (f.Colour) {
    case TColourFormat::Hex: return std::string("#") + hex;
    case TColourFormat::Rgb:
      return "rgb(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ")";
    case TColourFormat::Hsl:
      return "hsl(" + std::to_string(hsl.H) + ", " + std::to_string(hsl.S) + "%, " + std::to_string(hsl.L) + "%)";
    case TColourFormat::Template:
      return Fill(f.ColourTemplate, {{"hex", hex}, {"r", std::to_string(r)}, {"g", std::to_string(g)},
                                     {"b", std::to_string(b)}, {"h", std::to_string(hsl.H)},
                                     {"s", std::to_string(hsl.S)}, {"l", std::to_string(hsl.L)}});
  }
  return std::string("#") + hex;
}
