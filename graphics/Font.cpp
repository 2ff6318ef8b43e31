#include "graphics/Font.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gfx {

namespace {

// MulDiv-style rounding: halves away from zero, as the classic point/pixel conversions round.
int RoundHalfAway(double v) { return int(v < 0 ? std::ceil(v - 0.5) : std::floor(v + 0.5)); }

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;

void PutInt32(std::uint8_t* p, std::int32_t v) {
  auto u = std::uint32_t(v);
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(u >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* p) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= std::uint32_t(p[i]) << (8 * i);
  return std::int32_t(u);
}

bool BuiltinOnlyFlag = false;

}  // namespace

int Font::Size() const { return RoundHalfAway(-double(Height) * 72.0 / kPixelsPerInch); }

void Font::SetSize(int points) { Height = -RoundHalfAway(double(points) * kPixelsPerInch / 72.0); }

LogFont LogFont::FromFont(const Font& f) {
  LogFont lf;
  lf.lfHeight = f.Height;
  lf.lfEscapement = f.Escapement;
  lf.lfOrientation = f.Orientation;
  lf.lfWeight = (f.Style & fsBold) ? kWeightBold : kWeightNormal;
  lf.lfItalic = (f.Style & fsItalic) ? 1 : 0;
  lf.lfUnderline = (f.Style & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (f.Style & fsStrikeOut) ? 1 : 0;
  // The record holds 31 characters and a terminating zero.
  std::size_t n = std::min(f.Name.size(), lf.lfFaceName.size() - 1);
  std::memcpy(lf.lfFaceName.data(), f.Name.data(), n);
  return lf;
}

Font LogFont::ToFont(TColor color) const {
  Font f;
  std::size_t n = 0;
  while (n < lfFaceName.size() && lfFaceName[n] != '\0') ++n;
  f.Name.assign(lfFaceName.data(), n);
  f.Height = lfHeight;
  f.Style = 0;
  if (lfWeight >= kWeightBold) f.Style |= fsBold;
  if (lfItalic) f.Style |= fsItalic;
  if (lfUnderline) f.Style |= fsUnderline;
  if (lfStrikeOut) f.Style |= fsStrikeOut;
  f.Color = color;
  f.Escapement = lfEscapement;
  f.Orientation = lfOrientation;
  return f;
}

std::array<std::uint8_t, 60> LogFont::ToBytes() const {
  std::array<std::uint8_t, 60> b{};
  PutInt32(&b[0], lfHeight);
  PutInt32(&b[4], lfWidth);
  PutInt32(&b[8], lfEscapement);
  PutInt32(&b[12], lfOrientation);
  PutInt32(&b[16], lfWeight);
  b[20] = lfItalic;
  b[21] = lfUnderline;
  b[22] = lfStrikeOut;
  b[23] = lfCharSet;
  b[24] = lfOutPrecision;
  b[25] = lfClipPrecision;
  b[26] = lfQuality;
  b[27] = lfPitchAndFamily;
  std::memcpy(&b[28], lfFaceName.data(), lfFaceName.size());
  return b;
}

LogFont LogFont::FromBytes(const std::array<std::uint8_t, 60>& b) {
  LogFont lf;
  lf.lfHeight = GetInt32(&b[0]);
  lf.lfWidth = GetInt32(&b[4]);
  lf.lfEscapement = GetInt32(&b[8]);
  lf.lfOrientation = GetInt32(&b[12]);
  lf.lfWeight = GetInt32(&b[16]);
  lf.lfItalic = b[20];
  lf.lfUnderline = b[21];
  lf.lfStrikeOut = b[22];
  lf.lfCharSet = b[23];
  lf.lfOutPrecision = b[24];
  lf.lfClipPrecision = b[25];
  lf.lfQuality = b[26];
  lf.lfPitchAndFamily = b[27];
  std::memcpy(lf.lfFaceName.data(), &b[28], lf.lfFaceName.size());
  return lf;
}

void SetBuiltinFontOnly(bool on) { BuiltinOnlyFlag = on; }
bool BuiltinFontOnly() { return BuiltinOnlyFlag; }

}  // namespace gfx
