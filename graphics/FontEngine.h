#pragma once
// Turns font descriptions into pixel glyphs: faces are matched with fontconfig and rendered with
// FreeType; the built-in bitmap face stands in when no usable font file exists (or when tests
// ask for it). Realised fonts and their glyphs are cached for the life of the process.
//
// Internal to graphics/: the canvas is its only client. Single-threaded, like the rest of the
// drawing code.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Font.h"

namespace gfx {

// One glyph as grey-level coverage, placed relative to the pen position on the cell's top edge.
struct GlyphImage {
  int Advance = 0;
  int Left = 0;  // first column, from the pen position
  int Top = 0;   // first row, from the top of the text cell
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Coverage;  // Width * Height, row by row; 0 = none, 255 = full
};

// A font at one pixel size and weight: metrics, decoration lines and glyphs.
class RealizedFont {
 public:
  virtual ~RealizedFont() = default;

  const TextMetrics& Metrics() const { return FMetrics; }
  // Decoration lines in rows from the cell top; thickness is at least 1.
  int UnderlineTop() const { return FUnderlineTop; }
  int UnderlineThickness() const { return FUnderlineThickness; }
  int StrikeOutTop() const { return FStrikeOutTop; }
  int StrikeOutThickness() const { return FStrikeOutThickness; }
  // The font file used, empty for the built-in face.
  const std::string& File() const { return FFile; }

  // The glyph for code point C. Control characters have no ink and no width; a character the
  // face lacks draws its ".notdef" shape. The reference stays valid until the next call.
  virtual const GlyphImage& Glyph(char32_t c) = 0;
  // Advance width of C, without rendering it where that can be avoided.
  virtual int Advance(char32_t c) { return Glyph(c).Advance; }

 protected:
  TextMetrics FMetrics;
  int FUnderlineTop = 0;
  int FUnderlineThickness = 1;
  int FStrikeOutTop = 0;
  int FStrikeOutThickness = 1;
  std::string FFile;
};

class FontEngine {
 public:
  // The process-wide engine (owns the FreeType library and the caches).
  static FontEngine& Instance();

  // Keeps fontconfig's answers in the default cache file (FontMatchCache), or in MATCHCACHE
  // ("" keeps none).
  FontEngine();
  explicit FontEngine(std::string matchCache);
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  // The realised font for FONT; colour, escapement, underline and strike-out do not matter
  // here. Valid until the next call of Realize.
  RealizedFont& Realize(const Font& font);

  // The font file fontconfig chooses for face NAME (after our own aliases for the classic
  // desktop names), or "" when it finds no scalable font.
  std::string MatchFile(std::string_view name, bool bold = false, bool italic = false);
  // Whether fontconfig's configuration has been loaded (not needed while every face asked for
  // was matched before).
  bool ConfigLoaded() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace gfx
