#include "graphics/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "graphics/BuiltinFont.h"
#include "graphics/FontMatchCache.h"

namespace gfx {

namespace {

// Pixel sizes beyond this are clamped; nothing on a screen needs larger glyphs.
constexpr int kMaxPixelSize = 1024;
// Character height for Height = 0 (the classic default font's 8 points).
constexpr int kDefaultCharHeight = 11;
// Up to this character height glyphs are rendered black and white with full hinting: small
// grey text smears, and ruler numbers must stay crisp. Larger text is anti-aliased.
constexpr int kMonoMaxCharHeight = 9;
// Bounds on the caches, so that arbitrary input cannot grow them without end.
constexpr std::size_t kMaxFonts = 64;
constexpr std::size_t kMaxGlyphsPerFont = 1024;

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// The classic desktop faces, pointed at metric-compatible families where fontconfig's own
// aliases would choose something wider (e.g. DejaVu Sans for "Tahoma").
const std::map<std::string, std::string_view, std::less<>>& Aliases() {
  static const std::map<std::string, std::string_view, std::less<>> kAliases = {
      {"arial", "Liberation Sans"},          {"helvetica", "Liberation Sans"},
      {"ms sans serif", "Liberation Sans"},  {"microsoft sans serif", "Liberation Sans"},
      {"ms shell dlg", "Liberation Sans"},   {"ms shell dlg 2", "Liberation Sans"},
      {"tahoma", "Liberation Sans"},         {"small fonts", "Liberation Sans"},
      {"system", "Liberation Sans"},         {"segoe ui", "Liberation Sans"},
      {"verdana", "DejaVu Sans"},            {"times new roman", "Liberation Serif"},
      {"times", "Liberation Serif"},         {"ms serif", "Liberation Serif"},
      {"courier new", "Liberation Mono"},    {"courier", "Liberation Mono"},
      {"fixedsys", "Liberation Mono"},       {"", "Liberation Sans"},
  };
  return kAliases;
}

std::string_view FamilyFor(const std::string& lowerName) {
  auto it = Aliases().find(lowerName);
  return it == Aliases().end() ? std::string_view{} : it->second;
}

// What our own matching adds to fontconfig's: remembered answers hold only while it is the same.
std::string MatchRules() {
  std::string rules = "1";  // the pattern DoMatch builds; count up when it changes
  for (const auto& [name, family] : Aliases()) rules += "|" + name + "=" + std::string(family);
  return rules;
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

int CeilPixels(double v) { return int(std::ceil(v - 1e-6)); }

using MatchResult = FontMatch;

// A face file rendered through FreeType at one pixel size.
// FACE is shared by every size of one face file (and owned by the engine); the font has a size
// object of its own, made current before each use.
class FreeTypeFont : public RealizedFont {
 public:
  FreeTypeFont(FT_Face face, FT_Size size, const MatchResult& m, int height) : FFace(face), FSize(size), FMatch(m) {
    FT_Activate_Size(FSize);
    FFile = m.File;
    const double upem = face->units_per_EM ? face->units_per_EM : 2048;
    double winAscent = face->ascender, winDescent = -face->descender;
    double lineGap = 0, hheaSpan = face->ascender - face->descender;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      winAscent = os2->usWinAscent;
      winDescent = os2->usWinDescent;
    }
    if (hhea) {
      lineGap = hhea->Line_Gap;
      hheaSpan = hhea->Ascender - hhea->Descender;
    }
    if (winAscent + winDescent <= 0) {
      winAscent = upem * 0.9;
      winDescent = upem * 0.2;
    }

    // Negative heights give the character (em) height; positive ones the whole cell, which
    // the face's ascent and descent share in proportion.
    int em;
    if (height > 0) {
      const int cell = std::min(height, kMaxPixelSize);
      em = std::clamp(int(std::lround(cell * upem / (winAscent + winDescent))), 1, kMaxPixelSize);
      FMetrics.Height = cell;
      FMetrics.Ascent = int(std::lround(cell * winAscent / (winAscent + winDescent)));
      FMetrics.Descent = cell - FMetrics.Ascent;
    } else {
      em = height == 0 ? kDefaultCharHeight
                       : int(std::clamp<long long>(-static_cast<long long>(height), 1, kMaxPixelSize));
      FMetrics.Ascent = CeilPixels(winAscent * em / upem);
      FMetrics.Descent = CeilPixels(winDescent * em / upem);
      FMetrics.Height = FMetrics.Ascent + FMetrics.Descent;
    }
    FEm = em;
    const double scale = em / upem;
    FMetrics.InternalLeading = std::max(0, FMetrics.Height - em);
    FMetrics.ExternalLeading =
        std::max(0, int(std::lround((lineGap - ((winAscent + winDescent) - hheaSpan)) * scale)));
    FMetrics.AveCharWidth =
        std::max(1, int(std::lround((os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2) * scale)));
    FMetrics.MaxCharWidth = std::max(FMetrics.AveCharWidth, int(std::lround(face->max_advance_width * scale)));

    FUnderlineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    const double underlineBelow = -face->underline_position * scale - FUnderlineThickness / 2.0;
    FUnderlineTop = FMetrics.Ascent + std::max(0, int(std::lround(underlineBelow)));
    FUnderlineTop = std::clamp(FUnderlineTop, 0, std::max(0, FMetrics.Height - FUnderlineThickness));
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
      FStrikeOutThickness = std::max(1, int(std::lround(os2->yStrikeoutSize * scale)));
      FStrikeOutTop = FMetrics.Ascent - int(std::lround(os2->yStrikeoutPosition * scale));
    } else {
      FStrikeOutThickness = FUnderlineThickness;
      FStrikeOutTop = FMetrics.Ascent - int(std::lround(em * 0.3));
    }
    FStrikeOutTop = std::clamp(FStrikeOutTop, 0, std::max(0, FMetrics.Height - FStrikeOutThickness));

    FT_Set_Pixel_Sizes(FFace, 0, FT_UInt(em));
    FMono = em <= kMonoMaxCharHeight;
  }

  ~FreeTypeFont() override { FT_Done_Size(FSize); }

  const GlyphImage& Glyph(char32_t c) override {
    auto it = FGlyphs.find(c);
    if (it != FGlyphs.end()) return it->second;
    if (FGlyphs.size() >= kMaxGlyphsPerFont) FGlyphs.clear();
    return FGlyphs.emplace(c, Render(c)).first->second;
  }

 private:
  // Synthetic bold widens strokes by about a 24th of the em, at least one pixel.
  FT_Pos BoldStrength() const { return std::max<FT_Pos>(64, FT_Pos(FEm) * 64 / 24); }

  GlyphImage Render(char32_t c) {
    GlyphImage g;
    if (IsControl(c)) return g;
    FT_Activate_Size(FSize);
    const FT_UInt index = FT_Get_Char_Index(FFace, FT_ULong(c));
    const FT_Int32 flags = FMono ? (FT_LOAD_TARGET_MONO) : (FT_LOAD_TARGET_LIGHT);
    if (FT_Load_Glyph(FFace, index, flags) != 0) return g;
    FT_GlyphSlot slot = FFace->glyph;
    // The unhinted advance (16.16 -> 26.6) for smoothed text; rounded to whole pixels below.
    FT_Pos advance = FMono ? slot->advance.x : FT_Pos(slot->linearHoriAdvance >> 10);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (FMatch.SynthItalic) FT_GlyphSlot_Oblique(slot);
      if (FMatch.SynthBold) {
        const FT_Pos strength = BoldStrength();
        FT_Outline_EmboldenXY(&slot->outline, strength, 0);
        advance += strength;
      }
    }
    // Whole-pixel advances; a glyph exactly half way between two widths takes the narrower
    // one, as the classic desktop's hinted fonts do at small sizes, so that captions laid out
    // for them (e.g. "Mouse at pixel:" in 72 pixels of 8-point Arial) still fit.
    g.Advance = int((advance + 31) >> 6);
    if (FT_Render_Glyph(slot, FMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.Left = slot->bitmap_left;
    g.Top = FMetrics.Ascent - slot->bitmap_top;
    g.Width = int(bm.width);
    g.Height = int(bm.rows);
    g.Coverage.assign(std::size_t(g.Width) * g.Height, 0);
    for (int y = 0; y < g.Height; ++y) {
      const unsigned char* src = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
      std::uint8_t* dst = g.Coverage.data() + std::size_t(y) * g.Width;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        for (int x = 0; x < g.Width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const int levels = std::max(2, int(bm.num_grays));
        for (int x = 0; x < g.Width; ++x) dst[x] = std::uint8_t(src[x] * 255 / (levels - 1));
      }
    }
    return g;
  }

  FT_Face FFace;
  FT_Size FSize;
  MatchResult FMatch;
  int FEm = 0;
  bool FMono = false;
  std::unordered_map<char32_t, GlyphImage> FGlyphs;
};

}  // namespace

struct FontEngine::Impl {
  explicit Impl(std::string matchCache) : Cache(std::move(matchCache), MatchRules()) {}

  FT_Library Library = nullptr;
  FcConfig* Config = nullptr;
  bool ConfigTried = false;
  FontMatchCache Cache;
  using Key = std::tuple<std::string, int, int, bool>;  // lower name, height, style, built-in
  std::map<Key, std::unique_ptr<RealizedFont>> Fonts;
  std::map<std::tuple<std::string, bool, bool>, MatchResult> Matches;
  // One face per file and index, whatever the sizes: the file is mapped and parsed once.
  std::map<std::pair<std::string, int>, FT_Face> Faces;

  ~Impl() {
    Fonts.clear();  // sizes go before their faces, faces before the library
    for (auto& [key, face] : Faces) FT_Done_Face(face);
    if (Library) FT_Done_FreeType(Library);
    if (Config) FcConfigDestroy(Config);
  }

  FcConfig* EnsureConfig() {
    if (!ConfigTried) {
      ConfigTried = true;
      Config = FcInitLoadConfigAndFonts();
    }
    return Config;
  }

  MatchResult Match(const std::string& lowerName, bool bold, bool italic) {
    auto key = std::make_tuple(lowerName, bold, italic);
    auto it = Matches.find(key);
    if (it != Matches.end()) return it->second;
    // Answered from earlier runs where nothing has changed since: the configuration is then
    // loaded only for a face not asked for before.
    std::optional<MatchResult> result = Cache.Find(lowerName, bold, italic);
    if (!result) {
      result = DoMatch(lowerName, bold, italic);
      Cache.Record(Config, lowerName, bold, italic, *result);
    }
    Matches.emplace(key, *result);
    return *result;
  }

  MatchResult DoMatch(const std::string& lowerName, bool bold, bool italic) {
    MatchResult result;
    FcConfig* config = EnsureConfig();
    if (!config) return result;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return result;
    const std::string_view family = FamilyFor(lowerName);
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(std::string(family).c_str()));
    if (!lowerName.empty())
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(lowerName.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult res = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &res);
    FcPatternDestroy(pattern);
    if (!match) return result;
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
        (FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) != FcResultMatch || scalable)) {
      result.File = reinterpret_cast<const char*>(file);
      int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.Index = index;
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(match, FC_SLANT, 0, &slant);
      result.SynthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
      result.SynthItalic = italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return result;
  }

  // The scalable face in FILE at INDEX, opened once; null when it cannot be used.
  FT_Face Face(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    auto it = Faces.find(key);
    if (it != Faces.end()) return it->second;
    if (!Library && FT_Init_FreeType(&Library) != 0) Library = nullptr;
    FT_Face face = nullptr;
    if (!Library || FT_New_Face(Library, file.c_str(), index, &face) != 0) {
      face = nullptr;
    } else if (!FT_IS_SCALABLE(face)) {
      FT_Done_Face(face);
      face = nullptr;
    }
    Faces.emplace(key, face);  // a failure is remembered too
    return face;
  }

  std::unique_ptr<RealizedFont> Create(const Font& font, const std::string& lowerName) {
    const bool bold = font.Style & fsBold, italic = font.Style & fsItalic;
    if (!BuiltinFontOnly()) {
      MatchResult m = Match(lowerName, bold, italic);
      if (!m.File.empty()) {
        FT_Face face = Face(m.File, m.Index);
        FT_Size size = nullptr;
        if (face && FT_New_Size(face, &size) == 0) return std::make_unique<FreeTypeFont>(face, size, m, font.Height);
      }
    }
    return std::make_unique<BuiltinFont>(font.Height, bold, italic);
  }
};

FontEngine& FontEngine::Instance() {
  static FontEngine engine;
  return engine;
}

FontEngine::FontEngine(std::string matchCache) : FImpl(std::make_unique<Impl>(std::move(matchCache))) {}

FontEngine::FontEngine() : FontEngine(FontMatchCache::DefaultPath()) {}

bool FontEngine::ConfigLoaded() const { return FImpl->ConfigTried; }
FontEngine::~FontEngine() = default;

RealizedFont& FontEngine::Realize(const Font& font) {
  const std::string lowerName = Lower(font.Name);
  Impl::Key key{lowerName, font.Height, font.Style & (fsBold | fsItalic), BuiltinFontOnly()};
  auto it = FImpl->Fonts.find(key);
  if (it != FImpl->Fonts.end()) return *it->second;
  if (FImpl->Fonts.size() >= kMaxFonts) FImpl->Fonts.clear();
  return *FImpl->Fonts.emplace(key, FImpl->Create(font, lowerName)).first->second;
}

std::string FontEngine::MatchFile(std::string_view name, bool bold, bool italic) {
  return FImpl->Match(Lower(name), bold, italic).File;
}

}  // namespace gfx
