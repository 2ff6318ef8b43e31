#pragma once
// A font description: face, height, style, colour and escapement, as the classic LOGFONT
// carries it. Points become pixels at 96 per inch.
#include <array>
#include <cstdint>
#include <string>

#include "graphics/Color.h"

namespace gfx {

enum FontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using FontStyles = std::uint8_t;

constexpr int kPixelsPerInch = 96;

struct Font {
  std::string Name = "MS Sans Serif";
  // Negative: character height (em size) in pixels; positive: cell height in pixels; 0: default.
  int Height = -11;
  FontStyles Style = 0;
  TColor Color = clWindowText;
  // Angle of the text's base line in tenths of a degree, counter-clockwise.
  int Escapement = 0;
  int Orientation = 0;

  // Size in points, as -Height * 72 / 96 rounded; setting it makes Height negative.
  int Size() const;
  void SetSize(int points);

  friend bool operator==(const Font&, const Font&) = default;
};

// The 60-byte ANSI LOGFONT record (LOGFONTA), field by field.
struct LogFont {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 400;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 1;  // DEFAULT_CHARSET
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  std::array<char, 32> lfFaceName{};

  static LogFont FromFont(const Font& f);
  // Colour is not part of LOGFONT; it is taken from COLOR.
  Font ToFont(TColor color) const;
  std::array<std::uint8_t, 60> ToBytes() const;
  static LogFont FromBytes(const std::array<std::uint8_t, 60>& bytes);
};

struct TextMetrics {
  int Height = 0;           // cell height: ascent + descent
  int Ascent = 0;
  int Descent = 0;
  int InternalLeading = 0;  // Height minus the character (em) height
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
};

// Forces the built-in bitmap face for every font (tests use it for fixed metrics). Off by
// default: then fonts are matched with fontconfig and the built-in face is only the fallback.
void SetBuiltinFontOnly(bool on);
bool BuiltinFontOnly();

}  // namespace gfx
