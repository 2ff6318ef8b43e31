// Text output of the canvas: TextOut, DrawText and measuring, on top of the font engine.
//
// A line of text is first rendered unrotated into a grey-level mask (only the part that can
// reach the visible area), then written pixel by pixel, rotated about the reference pixel's
// centre: text pixel (i, j) lands at ref + i * (cos a, -sin a) + j * (sin a, cos a). Quarter
// turns use exact integer arithmetic, so they are pixel-exact rotations of the plain text;
// other angles sample the mask bilinearly.
//
// DrawText lays its lines out horizontally whatever the font's escapement, as the classic call
// is only meant for unrotated text; rotated text goes through TextOut.
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/Utf8.h"
#include "graphics/FontEngine.h"

namespace gfx {

namespace {

// Pen positions are kept below this, so that absurdly long strings cannot overflow.
constexpr long long kMaxTextWidth = INT_MAX / 4;
constexpr int kTabColumns = 8;


// One line laid out along its base line: the pen position before each character, and after
// the last one (the width).
struct Layout {
  std::u32string Chars;
  std::vector<int> X;
  // Characters to underline as keyboard accelerators ('&' prefixes); empty when none.
  std::vector<char> Marks;
  int Width() const { return X.empty() ? 0 : X.back(); }
};

Layout LayoutLine(RealizedFont& font, std::u32string chars, std::vector<char> marks, bool expandTabs) {
  Layout l;
  l.Chars = std::move(chars);
  l.Marks = std::move(marks);
  l.X.reserve(l.Chars.size() + 1);
  const long long tab = static_cast<long long>(kTabColumns) * std::max(1, font.Metrics().AveCharWidth);
  long long x = 0;
  for (char32_t c : l.Chars) {
    l.X.push_back(int(x));
    if (c == U'\t' && expandTabs)
      x = (x / tab + 1) * tab;
    else
      x += font.Advance(c);
    x = std::min(x, kMaxTextWidth);
  }
  l.X.push_back(int(x));
  return l;
}

int LineWidth(RealizedFont& font, const std::u32string& chars, bool expandTabs) {
  return LayoutLine(font, chars, {}, expandTabs).Width();
}

TColor Blend(TColor fg, TColor bg, int a) {
  if (a >= 255) return fg;
  auto mix = [a](int f, int b) { return (f * a + b * (255 - a) + 127) / 255; };
  return RGB(mix(GetRValue(fg), GetRValue(bg)), mix(GetGValue(fg), GetGValue(bg)),
             mix(GetBValue(fg), GetBValue(bg)));
}

// The grey-level picture of a window of the unrotated text, in text coordinates.
struct Mask {
  int X0 = 0, Y0 = 0, W = 0, H = 0;
  std::vector<std::uint8_t> A;

  int At(int i, int j) const {
    i -= X0;
    j -= Y0;
    if (i < 0 || j < 0 || i >= W || j >= H) return 0;
    return A[std::size_t(j) * W + i];
  }
  void Put(int i, int j, int a) {
    i -= X0;
    j -= Y0;
    if (i < 0 || j < 0 || i >= W || j >= H) return;
    auto& p = A[std::size_t(j) * W + i];
    p = std::uint8_t(std::max<int>(p, a));
  }
  void FillRows(int i0, int i1, int top, int thickness) {
    for (int j = top; j < top + thickness; ++j)
      for (int i = std::max(i0, X0); i < std::min(i1, X0 + W); ++i) Put(i, j, 255);
  }
  int Bilinear(double fi, double fj) const {
    const double fl = std::floor(fi), ft = std::floor(fj);
    const int i = int(fl), j = int(ft);
    const double fx = fi - fl, fy = fj - ft;
    const double v = At(i, j) * (1 - fx) * (1 - fy) + At(i + 1, j) * fx * (1 - fy) +
                     At(i, j + 1) * (1 - fx) * fy + At(i + 1, j + 1) * fx * fy;
    return int(v + 0.5);
  }
};

struct LineStyle {
  bool Underline = false;
  bool StrikeOut = false;
  TColor Text = 0;
  TColor Back = 0;
  bool Opaque = false;
};

// Draws one laid-out line with its cell's top-left on the device pixel (X, Y), turned by
// ESCAPEMENT tenths of a degree, inside CLIP (device coordinates) if given.
void RenderLine(Canvas& canvas, RealizedFont& font, const Layout& line, int refX, int refY,
                int escapement, const LineStyle& style, const Rect* clip) {
  const int width = line.Width();
  const int height = font.Metrics().Height;
  Rect visible = canvas.Target().Bounds();
  if (canvas.ClipRegion()) visible = visible.Intersect(canvas.ClipRegion()->Bounds());
  if (clip) visible = visible.Intersect(*clip);
  if (visible.IsEmpty() || (width == 0 && height == 0)) return;

  const int e = ((escapement % 3600) + 3600) % 3600;
  const int quarter = e % 900 == 0 ? e / 900 : -1;
  const double angle = e * std::numbers::pi / 1800.0;
  const double cs = quarter >= 0 ? (quarter == 0 ? 1 : quarter == 2 ? -1 : 0) : std::cos(angle);
  const double sn = quarter >= 0 ? (quarter == 1 ? 1 : quarter == 3 ? -1 : 0) : std::sin(angle);

  // Device -> text: i = dx * cos - dy * sin, j = dx * sin + dy * cos (dx, dy from the ref).
  auto toText = [&](double dx, double dy, double& i, double& j) {
    i = dx * cs - dy * sn;
    j = dx * sn + dy * cs;
  };
  auto toDevice = [&](double i, double j, double& dx, double& dy) {
    dx = i * cs + j * sn;
    dy = -i * sn + j * cs;
  };

  // The text-space window that can reach the visible rectangle, cut down to the text's cell
  // plus a margin for ink that sticks out of it (italics, accents, descenders).
  double iMin = 1e300, iMax = -1e300, jMin = 1e300, jMax = -1e300;
  for (int cx : {visible.left, visible.right - 1})
    for (int cy : {visible.top, visible.bottom - 1}) {
      double i, j;
      toText(double(cx) - refX, double(cy) - refY, i, j);
      iMin = std::min(iMin, i);
      iMax = std::max(iMax, i);
      jMin = std::min(jMin, j);
      jMax = std::max(jMax, j);
    }
  const long long margin = std::max(2, height);
  long long wx0 = std::max<long long>(-margin, (long long)std::floor(iMin) - 1);
  long long wx1 = std::min<long long>(width + margin, (long long)std::ceil(iMax) + 2);
  long long wy0 = std::max<long long>(-margin, (long long)std::floor(jMin) - 1);
  long long wy1 = std::min<long long>(height + margin, (long long)std::ceil(jMax) + 2);
  if (wx1 <= wx0 || wy1 <= wy0) return;
  // Narrow the window to the cell and the ink of the glyphs that can reach it.
  const std::size_t n = line.Chars.size();
  {
    long long ix0 = 0, ix1 = width, iy0 = 0, iy1 = height;
    for (std::size_t k = 0; k < n; ++k) {
      if (line.X[k + 1] < wx0 - margin || line.X[k] > wx1 + margin) continue;
      const GlyphImage& g = font.Glyph(line.Chars[k]);
      if (g.Width == 0 || g.Height == 0) continue;
      ix0 = std::min<long long>(ix0, line.X[k] + g.Left);
      ix1 = std::max<long long>(ix1, line.X[k] + g.Left + g.Width);
      iy0 = std::min<long long>(iy0, g.Top);
      iy1 = std::max<long long>(iy1, g.Top + g.Height);
    }
    wx0 = std::max(wx0, ix0);
    wx1 = std::min(wx1, ix1);
    wy0 = std::max(wy0, iy0);
    wy1 = std::min(wy1, iy1);
    if (wx1 <= wx0 || wy1 <= wy0) return;
  }

  Mask mask;
  mask.X0 = int(wx0);
  mask.Y0 = int(wy0);
  mask.W = int(wx1 - wx0);
  mask.H = int(wy1 - wy0);
  mask.A.assign(std::size_t(mask.W) * mask.H, 0);

  for (std::size_t k = 0; k < n; ++k) {
    if (line.X[k + 1] < wx0 - margin || line.X[k] > wx1 + margin) continue;
    const char32_t c = line.Chars[k];
    if (c == U'\t') continue;
    const GlyphImage& g = font.Glyph(c);
    const int gx = line.X[k] + g.Left;
    for (int y = 0; y < g.Height; ++y) {
      const int j = g.Top + y;
      if (j < mask.Y0 || j >= mask.Y0 + mask.H) continue;
      const std::uint8_t* row = g.Coverage.data() + std::size_t(y) * g.Width;
      for (int x = 0; x < g.Width; ++x)
        if (row[x]) mask.Put(gx + x, j, row[x]);
    }
  }
  if (style.Underline) mask.FillRows(0, width, font.UnderlineTop(), font.UnderlineThickness());
  if (style.StrikeOut) mask.FillRows(0, width, font.StrikeOutTop(), font.StrikeOutThickness());
  for (std::size_t k = 0; k < line.Marks.size() && k < n; ++k)
    if (line.Marks[k]) mask.FillRows(line.X[k], line.X[k + 1], font.UnderlineTop(), font.UnderlineThickness());

  // Device pixels the window covers.
  double xMin = 1e300, xMax = -1e300, yMin = 1e300, yMax = -1e300;
  for (long long i : {wx0, wx1 - 1})
    for (long long j : {wy0, wy1 - 1}) {
      double dx, dy;
      toDevice(double(i), double(j), dx, dy);
      xMin = std::min(xMin, dx);
      xMax = std::max(xMax, dx);
      yMin = std::min(yMin, dy);
      yMax = std::max(yMax, dy);
    }
  const Rect area = Rect{int(std::max<double>(visible.left, std::floor(xMin) + refX - 1)),
                         int(std::max<double>(visible.top, std::floor(yMin) + refY - 1)),
                         int(std::min<double>(visible.right, std::ceil(xMax) + refX + 2)),
                         int(std::min<double>(visible.bottom, std::ceil(yMax) + refY + 2))};

  // The pixels to visit: AREA (already inside the bitmap, CLIP and the clip's bounds) cut by
  // the clip region's rectangles, so no pixel needs a clip test of its own.
  std::vector<Rect> spans;
  if (const auto& region = canvas.ClipRegion()) {
    for (const Rect& r : region->Rects())
      if (const Rect s = r.Intersect(area); !s.IsEmpty()) spans.push_back(s);
  } else if (!area.IsEmpty()) {
    spans.push_back(area);
  }
  Bitmap& target = canvas.Target();
  for (const Rect& span : spans) {
    for (int y = span.top; y < span.bottom; ++y) {
      for (int x = span.left; x < span.right; ++x) {
        bool inCell;
        int a;
        const int dx = x - refX, dy = y - refY;
        if (quarter >= 0) {
          const int ics = int(cs), isn = int(sn);
          const int i = dx * ics - dy * isn;
          const int j = dx * isn + dy * ics;
          inCell = i >= 0 && i < width && j >= 0 && j < height;
          a = mask.At(i, j);
        } else {
          double fi, fj;
          toText(dx, dy, fi, fj);
          inCell = fi >= -0.5 && fi < width - 0.5 && fj >= -0.5 && fj < height - 0.5;
          a = mask.Bilinear(fi, fj);
        }
        const bool fill = style.Opaque && inCell;
        if (!fill && a == 0) continue;
        const TColor base = fill ? style.Back : target.At(x, y);
        const TColor color = a ? Blend(style.Text, base, a) : base;
        if (color != clNone) target.At(x, y) = ColorToRGB(color);
      }
    }
  }
}

// Reference points far outside any bitmap are pulled in, which keeps the arithmetic in range.
int DeviceCoord(long long logical, int origin) {
  return int(std::clamp<long long>(logical + origin, -kMaxTextWidth, kMaxTextWidth));
}

LineStyle StyleOf(const Canvas& canvas) {
  LineStyle s;
  s.Underline = canvas.Font.Style & fsUnderline;
  s.StrikeOut = canvas.Font.Style & fsStrikeOut;
  s.Text = ColorToRGB(canvas.TextColor);
  s.Back = ColorToRGB(canvas.BkColor);
  s.Opaque = canvas.BkMode == BkMode::Opaque;
  return s;
}

// A line of DrawText: its characters and which of them carry an accelerator underline.
struct TextLine {
  std::u32string Chars;
  std::vector<char> Marks;
};

bool IsBreakSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Greedy word wrap: lines break at spaces; a word wider than the rectangle stays whole on its
// own line (and is clipped), and the spaces at a break are dropped.
void WrapParagraph(RealizedFont& font, const TextLine& para, int maxWidth, bool expandTabs,
                   std::vector<TextLine>& out) {
  const std::size_t n = para.Chars.size();
  std::size_t pos = 0;
  TextLine current;
  bool any = false;
  while (pos < n) {
    std::size_t spaceEnd = pos;
    while (spaceEnd < n && IsBreakSpace(para.Chars[spaceEnd])) ++spaceEnd;
    std::size_t wordEnd = spaceEnd;
    while (wordEnd < n && !IsBreakSpace(para.Chars[wordEnd])) ++wordEnd;
    if (wordEnd == spaceEnd && any) break;  // spaces at the end of a wrapped paragraph
    TextLine candidate = current;
    const std::size_t from = current.Chars.empty() && any ? spaceEnd : pos;
    candidate.Chars.append(para.Chars, from, wordEnd - from);
    candidate.Marks.insert(candidate.Marks.end(), para.Marks.begin() + std::ptrdiff_t(from),
                           para.Marks.begin() + std::ptrdiff_t(wordEnd));
    if (!current.Chars.empty() && LineWidth(font, candidate.Chars, expandTabs) > maxWidth) {
      out.push_back(std::move(current));
      current = TextLine{};
      current.Chars.assign(para.Chars, spaceEnd, wordEnd - spaceEnd);
      current.Marks.assign(para.Marks.begin() + std::ptrdiff_t(spaceEnd),
                           para.Marks.begin() + std::ptrdiff_t(wordEnd));
    } else {
      current = std::move(candidate);
    }
    any = true;
    pos = wordEnd;
  }
  out.push_back(std::move(current));
}

// Cuts LINE so that it and "..." fit in MAXWIDTH.
void AddEllipsis(RealizedFont& font, TextLine& line, int maxWidth, bool expandTabs) {
  if (LineWidth(font, line.Chars, expandTabs) <= maxWidth) return;
  const std::u32string dots = U"...";
  Layout l = LayoutLine(font, line.Chars, {}, expandTabs);
  const int dotsWidth = LineWidth(font, dots, false);
  std::size_t keep = line.Chars.size();
  while (keep > 0 && l.X[keep] + dotsWidth > maxWidth) --keep;
  line.Chars.resize(keep);
  line.Marks.resize(std::min(line.Marks.size(), keep));
  line.Chars += dots;
  line.Marks.resize(line.Chars.size(), 0);
}

}  // namespace

void Canvas::SelectFont(const gfx::Font& font) {
  Font = font;
  TextColor = font.Color;
}

Size Canvas::TextExtent(std::string_view text) {
  RealizedFont& font = FontEngine::Instance().Realize(Font);
  return {LayoutLine(font, DecodeUtf8(text), {}, false).Width(), font.Metrics().Height};
}

TextMetrics Canvas::GetTextMetrics() { return FontEngine::Instance().Realize(Font).Metrics(); }

void Canvas::TextOut(int x, int y, std::string_view text) {
  RealizedFont& font = FontEngine::Instance().Realize(Font);
  const Layout line = LayoutLine(font, DecodeUtf8(text), {}, false);
  RenderLine(*this, font, line, DeviceCoord(x, Origin.x), DeviceCoord(y, Origin.y), Font.Escapement, StyleOf(*this), nullptr);
}

int Canvas::DrawText(std::string_view text, Rect& r, unsigned format) {
  RealizedFont& font = FontEngine::Instance().Realize(Font);
  const int lineHeight = font.Metrics().Height;
  const bool singleLine = format & DT_SINGLELINE;
  const bool expandTabs = format & DT_EXPANDTABS;
  const std::u32string chars = DecodeUtf8(text);

  // Accelerator prefixes: "&x" underlines x, "&&" is a plain '&', a final '&' is dropped.
  TextLine all;
  all.Chars.reserve(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    char32_t c = chars[i];
    bool mark = false;
    if (c == U'&' && !(format & DT_NOPREFIX)) {
      if (++i >= chars.size()) break;
      c = chars[i];
      mark = c != U'&';
    }
    all.Chars += c;
    all.Marks.push_back(mark ? 1 : 0);
  }

  // Paragraphs end at CR LF, LF or CR; a single-line text ignores them.
  std::vector<TextLine> paragraphs;
  if (singleLine) {
    TextLine p;
    for (std::size_t i = 0; i < all.Chars.size(); ++i)
      if (all.Chars[i] != U'\r' && all.Chars[i] != U'\n') {
        p.Chars += all.Chars[i];
        p.Marks.push_back(all.Marks[i]);
      }
    if (!all.Chars.empty()) paragraphs.push_back(std::move(p));
  } else {
    TextLine p;
    bool open = false;
    for (std::size_t i = 0; i < all.Chars.size(); ++i) {
      const char32_t c = all.Chars[i];
      if (c == U'\r' || c == U'\n') {
        if (c == U'\r' && i + 1 < all.Chars.size() && all.Chars[i + 1] == U'\n') ++i;
        paragraphs.push_back(std::move(p));
        p = TextLine{};
        open = false;
        continue;
      }
      p.Chars += c;
      p.Marks.push_back(all.Marks[i]);
      open = true;
    }
    if (open) paragraphs.push_back(std::move(p));
  }

  const int maxWidth = int(std::clamp<long long>(static_cast<long long>(r.right) - r.left, 0, INT_MAX));
  std::vector<TextLine> lines;
  for (const TextLine& p : paragraphs) {
    if ((format & DT_WORDBREAK) && !singleLine)
      WrapParagraph(font, p, maxWidth, expandTabs, lines);
    else
      lines.push_back(p);
  }
  if (format & DT_END_ELLIPSIS)
    for (TextLine& l : lines) AddEllipsis(font, l, maxWidth, expandTabs);

  std::vector<Layout> layouts;
  layouts.reserve(lines.size());
  int widest = 0;
  for (TextLine& l : lines) {
    layouts.push_back(LayoutLine(font, std::move(l.Chars), std::move(l.Marks), expandTabs));
    widest = std::max(widest, layouts.back().Width());
  }
  const long long total = static_cast<long long>(layouts.size()) * lineHeight;
  const int totalHeight = int(std::min<long long>(total, INT_MAX / 2));

  if (format & DT_CALCRECT) {
    r.right = int(std::min<long long>(static_cast<long long>(r.left) + widest, INT_MAX));
    r.bottom = int(std::min<long long>(static_cast<long long>(r.top) + totalHeight, INT_MAX));
    return totalHeight;
  }

  // Wide arithmetic: rectangles come from callers and may be anything.
  const long long left = r.left, right = r.right, rTop = r.top, rBottom = r.bottom;
  long long top = rTop;
  if (singleLine) {
    if (format & DT_VCENTER)
      top = rTop + (rBottom - rTop - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      top = rBottom - lineHeight;
  }
  const Rect deviceClip{DeviceCoord(left, Origin.x), DeviceCoord(rTop, Origin.y),
                        DeviceCoord(right, Origin.x), DeviceCoord(rBottom, Origin.y)};
  const LineStyle style = StyleOf(*this);
  long long y = top;
  for (const Layout& l : layouts) {
    long long x = left;
    if (format & DT_CENTER)
      x = left + (right - left - l.Width()) / 2;
    else if (format & DT_RIGHT)
      x = right - l.Width();
    // Rows wholly outside the rectangle are not drawn unless clipping is off.
    if ((format & DT_NOCLIP) || (y + lineHeight > rTop && y < rBottom))
      RenderLine(*this, font, l, DeviceCoord(x, Origin.x), DeviceCoord(y, Origin.y), 0, style,
                 (format & DT_NOCLIP) ? nullptr : &deviceClip);
    y += lineHeight;
  }
  const long long result = singleLine && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rTop + totalHeight : totalHeight;
  return int(std::clamp<long long>(result, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace gfx
