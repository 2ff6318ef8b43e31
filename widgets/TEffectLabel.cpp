#include "widgets/TEffectLabel.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "graphics/Bitmap.h"
#include "toolkit/core/PropText.h"

namespace {

// Drawn into the mask where the face goes when the face gets a gradient; an unlikely colour,
// so that the letters can be told from whatever lies under them.
constexpr TColor kKeyColour = 0xFE09F1;
// Upright letters start this far from the control's top-left corner.
constexpr int kUprightMargin = 10;
// Backgrounds of turned captions reach this far beyond the ink of every layer.
constexpr int kBackdropMargin = 2;
// Captions longer than this are cut; the rest would not fit any sensible label anyway.
constexpr std::size_t kMaxLetters = 255;

constexpr std::array<Point, 9> kDirectionOffsets = {
    {{0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

constexpr std::array<TEffectLabel::TSchemeColours, 6> kSchemeColours = {{
    {clWhite, clBlack, clGray},    // csCustom, until a scheme or a colour is set
    {clWhite, clGray, clBlack},    // csText
    {clWhite, clBlack, clGray},    // csWindows
    {clWhite, clBlack, clSilver},  // csEmbossed
    {clYellow, clBlack, clOlive},  // csGold
    {clAqua, clNavy, clTeal},      // csSteel
}};

// The corners of a rectangle about its centre, in drawing order.
constexpr std::array<std::pair<int, int>, 4> kCorners = {{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};

constexpr unsigned kAlignFlags[] = {gfx::DT_LEFT, gfx::DT_RIGHT, gfx::DT_CENTER};

// Nearest, ties to even (the default rounding mode).
int RoundEven(double v) { return int(std::nearbyint(v)); }
int Trunc(double v) { return int(std::trunc(v)); }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The caption split into letters (UTF-8 sequences), at most kMaxLetters of them.
std::vector<std::string> SplitLetters(const std::string& text) {
  std::vector<std::string> letters;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t j = i + 1;
    while (j < text.size() && IsContinuationByte(text[j])) ++j;
    if (letters.size() == kMaxLetters) break;
    letters.push_back(text.substr(i, j - i));
    i = j;
  }
  return letters;
}

std::string JoinLetters(const std::vector<std::string>& letters, std::size_t count) {
  std::string s;
  for (std::size_t i = 0; i < count && i < letters.size(); ++i) s += letters[i];
  return s;
}

int Channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

// FROM + round(K * (TO - FROM) / STEPS) per channel, each taken modulo 256.
TColor GradientColour(TColor from, TColor to, int k, int steps) {
  if (steps <= 0) return from;
  TColor out = 0;
  for (int shift : {0, 8, 16}) {
    const int a = Channel(from, shift), b = Channel(to, shift);
    const int v = a + RoundEven(double(k) * (b - a) / steps);
    out |= TColor(v & 0xFF) << shift;
  }
  return out;
}

// FROM + K * (TO - FROM) / STEPS per channel, truncated, each taken modulo 256: the colours of
// a graduated stack of layers.
TColor LayerColour(TColor from, TColor to, int k, int steps) {
  if (steps <= 0) return from;
  TColor out = 0;
  for (int shift : {0, 8, 16}) {
    const int a = Channel(from, shift), b = Channel(to, shift);
    const int v = a + k * (b - a) / steps;
    out |= TColor(v & 0xFF) << shift;
  }
  return out;
}

// C moved towards TARGET by the fraction ALPHA, per channel.
TColor Mix(TColor c, TColor target, double alpha) {
  TColor out = 0;
  for (int shift : {0, 8, 16}) {
    const int a = Channel(c, shift), b = Channel(target, shift);
    out |= TColor(std::clamp(a + RoundEven((b - a) * alpha), 0, 255)) << shift;
  }
  return out;
}

// The "real" effect: every pixel the mask's black text covers is halved (shadow) or moved half
// way to white (highlight). Grey mask pixels at anti-aliased glyph edges take part in proportion.
void ApplyRealEffect(gfx::Bitmap& work, const gfx::Bitmap& mask, bool lighten) {
  for (int y = 0; y < work.Height(); ++y) {
    TColor* row = work.Row(y);
    const TColor* m = mask.Row(y);
    for (int x = 0; x < work.Width(); ++x) {
      const int ink = 255 - Channel(m[x], 0);
      if (ink <= 0) continue;
      TColor target = 0;
      for (int shift : {0, 8, 16}) {
        const int c = Channel(row[x], shift);
        target |= TColor(lighten ? (c + 255) / 2 : c / 2) << shift;
      }
      row[x] = ink >= 255 ? target : Mix(row[x], target, ink / 255.0);
    }
  }
}

// Gives the pixels of WORK inside STRIP the colour COLOUR where MASK holds the key colour.
// Where the face was drawn anti-aliased over the picture, the mask holds a blend of the two;
// those pixels take the colour in proportion.
void PaintGradientStrip(gfx::Bitmap& work, const gfx::Bitmap& mask, Rect strip, TColor colour) {
  strip = strip.Intersect(work.Bounds());
  for (int y = strip.top; y < strip.bottom; ++y) {
    TColor* row = work.Row(y);
    const TColor* m = mask.Row(y);
    for (int x = strip.left; x < strip.right; ++x) {
      if (m[x] == row[x]) continue;  // the face did not touch this pixel
      if (m[x] == kKeyColour) {
        row[x] = colour;
        continue;
      }
      // The channel where key and picture differ most tells best how much face there is.
      int best = 0, bestShift = 0;
      for (int shift : {0, 8, 16}) {
        const int d = std::abs(Channel(kKeyColour, shift) - Channel(row[x], shift));
        if (d > best) {
          best = d;
          bestShift = shift;
        }
      }
      if (best == 0) continue;
      const double alpha = double(Channel(m[x], bestShift) - Channel(row[x], bestShift)) /
                           (Channel(kKeyColour, bestShift) - Channel(row[x], bestShift));
      if (alpha > 0) row[x] = Mix(row[x], colour, std::min(alpha, 1.0));
    }
  }
}

long long Cross(Point o, Point a, Point b) {
  return (long long)(a.x - o.x) * (b.y - o.y) - (long long)(a.y - o.y) * (b.x - o.x);
}

// The convex hull of POINTS, counter-clockwise on screen (monotone chain).
std::vector<Point> ConvexHull(std::vector<Point> points) {
  std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  points.erase(std::unique(points.begin(), points.end(), [](Point a, Point b) { return a.x == b.x && a.y == b.y; }),
               points.end());
  if (points.size() < 3) return points;
  std::vector<Point> hull(points.size() * 2);
  std::size_t k = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (std::size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && Cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

Rect BoundsOf(const std::vector<Point>& points) {
  if (points.empty()) return {};
  Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (Point p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

// Where a turned caption goes. Layers add their offset (and the shift that keeps them all
// inside) to these face positions.
struct TurnedLayout {
  Point Start;                   // rotated glyphs: the caption's start point
  std::vector<Point> LetterPos;  // upright letters: each letter's top-left
  std::vector<Point> Backdrop;   // the outline of the background, with room for every layer
};

// Rotated glyphs: the caption turns about its centre, which sits at (c, c), c being half the
// width of the caption and three spaces: room for it to turn all the way round.
TurnedLayout LayOutRotated(gfx::Canvas& canvas, const std::string& text, double cs, double sn, int span) {
  TurnedLayout out;
  const Size ext = canvas.TextExtent(text);
  const int l = ext.cx, m = ext.cy;
  const int c = canvas.TextWidth(text + "   ") / 2;
  out.Start.x = c - Trunc(l / 2.0 * cs) - Trunc(m / 2.0 * sn);
  out.Start.y = c + Trunc(l / 2.0 * sn) - Trunc(m / 2.0 * cs);
  const double centre = c + span / 2.0;
  const double halfL = (l + span + 2 * kBackdropMargin) / 2.0;
  const double halfM = (m + span + 2 * kBackdropMargin) / 2.0;
  for (auto [sa, sb] : kCorners)
    out.Backdrop.push_back({RoundEven(centre + sa * halfL * cs + sb * halfM * sn),
                            RoundEven(centre - sa * halfL * sn + sb * halfM * cs)});
  return out;
}

// Upright letters: each letter's distance along the line mixes the line height (for the
// vertical part of the angle) with the width of the letters before it (for the horizontal
// part); the line starts where it keeps every letter inside, plus a margin.
TurnedLayout LayOutUpright(gfx::Canvas& canvas, const std::vector<std::string>& letters, double cs, double sn,
                           double cs2, double sn2, int span) {
  TurnedLayout out;
  if (letters.empty()) return out;
  const int n = int(letters.size());
  const int lineH = canvas.TextHeight(JoinLetters(letters, letters.size()));
  std::vector<int> along(n);
  for (int i = 0; i < n; ++i)
    along[i] = RoundEven(lineH * double(i) * sn2 + canvas.TextWidth(JoinLetters(letters, i)) * cs2);
  const int x0 = std::max(0, -RoundEven(along[n - 1] * cs)) + kUprightMargin;
  const int y0 = std::max(0, RoundEven(along[n - 1] * sn)) + kUprightMargin;
  std::vector<Point> corners;
  for (int i = 0; i < n; ++i) {
    const Point p{x0 + RoundEven(along[i] * cs), y0 - RoundEven(along[i] * sn)};
    out.LetterPos.push_back(p);
    const Rect box{p.x - kBackdropMargin, p.y - kBackdropMargin,
                   p.x + canvas.TextWidth(letters[i]) + span + kBackdropMargin, p.y + lineH + span + kBackdropMargin};
    corners.insert(corners.end(), {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}});
  }
  out.Backdrop = ConvexHull(std::move(corners));
  return out;
}

template <class E>
bool InEnum(E value, E last) {
  return int(value) >= 0 && int(value) <= int(last);
}

}  // namespace

TEffectLabel::TEffectLabel(TComponent* AOwner) : TLabel(AOwner) {
  for (std::size_t i = 0; i < FSchemes.size(); ++i) FSchemes[i] = kSchemeColours[i];
  // Auto-size goes off first: the font set below would otherwise resize the label.
  SetAutoSize(false);
  SetBounds(Left(), Top(), 142, 33);
  SetTransparent(true);
  FGraduateFrom = Font().Color();
  Font().SetName("Times New Roman");
  Font().SetSize(20);
  Font().SetColor(FSchemes[FColourScheme].Face);
}

Point TEffectLabel::DirectionOffset(TEffectDirection direction) {
  if (!InEnum(direction, edUpLeft)) return {0, 0};
  return kDirectionOffsets[direction];
}

TEffectLabel::TSchemeColours TEffectLabel::DefaultSchemeColours(TColourScheme scheme) {
  if (!InEnum(scheme, csSteel)) return kSchemeColours[csCustom];
  return kSchemeColours[scheme];
}

TEffectLabel::TSchemeColours TEffectLabel::SchemeColours(TColourScheme scheme) const {
  if (!InEnum(scheme, csSteel)) return FSchemes[csCustom];
  return FSchemes[scheme];
}

void TEffectLabel::ChangeToCustomStyle() {
  if (!FApplyingStyle) FEffectStyle = esCustom;
}

void TEffectLabel::SetDepthHighlight(TEffectDepth value) {
  value = std::clamp(value, 0, kMaxDepth);
  if (value == FDepthHighlight) return;
  FDepthHighlight = value;
  ChangeToCustomStyle();
  Invalidate();
}

void TEffectLabel::SetDepthShadow(TEffectDepth value) {
  value = std::clamp(value, 0, kMaxDepth);
  if (value == FDepthShadow) return;
  FDepthShadow = value;
  ChangeToCustomStyle();
  Invalidate();
}

void TEffectLabel::SetDirectionHighlight(TEffectDirection value) {
  if (!InEnum(value, edUpLeft) || value == FDirectionHighlight) return;
  FDirectionHighlight = value;
  ChangeToCustomStyle();
  Invalidate();
}

void TEffectLabel::SetDirectionShadow(TEffectDirection value) {
  if (!InEnum(value, edUpLeft) || value == FDirectionShadow) return;
  FDirectionShadow = value;
  ChangeToCustomStyle();
  Invalidate();
}

void TEffectLabel::SetColourHighlight(TColor value) {
  if (value == FColourHighlight) return;
  FColourHighlight = value;
  FSchemes[csCustom].Highlight = value;
  if (!FApplyingStyle && !FApplyingScheme) FColourScheme = csCustom;
  Invalidate();
}

void TEffectLabel::SetColourShadow(TColor value) {
  if (value == FColourShadow) return;
  FColourShadow = value;
  FSchemes[csCustom].Shadow = value;
  if (!FApplyingStyle && !FApplyingScheme) FColourScheme = csCustom;
  Invalidate();
}

void TEffectLabel::SetGraduateFace(TGraduateOption value) {
  if (!InEnum(value, goHorizontal) || value == FGraduateFace) return;
  FGraduateFace = value;
  Invalidate();
}

void TEffectLabel::SetGraduateFrom(TColor value) {
  if (value == FGraduateFrom) return;
  FGraduateFrom = value;
  if (FGraduateFace != goNone) Invalidate();
}

void TEffectLabel::SetStyleHighlight(TEffectOption value) {
  if (!InEnum(value, eoGraduated) || value == FStyleHighlight) return;
  FStyleHighlight = value;
  Invalidate();
}

void TEffectLabel::SetStyleShadow(TEffectOption value) {
  if (!InEnum(value, eoGraduated) || value == FStyleShadow) return;
  FStyleShadow = value;
  Invalidate();
}

void TEffectLabel::SetEffectStyle(TEffectStyle value) {
  if (!InEnum(value, esFlying) || value == FEffectStyle) return;
  FApplyingStyle = true;
  FApplyingScheme = true;
  FEffectStyle = value;
  const TSchemeColours& scheme = FSchemes[FColourScheme];
  SetColourHighlight(scheme.Highlight);
  switch (value) {
    case esNone:
      SetDirectionHighlight(edNone);
      SetDepthHighlight(0);
      SetDirectionShadow(edNone);
      SetDepthShadow(0);
      SetAsButton(false);
      break;
    case esCustom:
      SetAsButton(false);
      break;
    case esRaised:
      SetDirectionHighlight(edUpLeft);
      SetDepthHighlight(1);
      SetDirectionShadow(edDownRight);
      SetDepthShadow(1);
      break;
    case esSunken:
      SetDirectionHighlight(edDownRight);
      SetDepthHighlight(1);
      SetDirectionShadow(edUpLeft);
      SetDepthShadow(1);
      break;
    case esShadow:
      SetDirectionHighlight(edNone);
      SetDepthHighlight(0);
      SetDirectionShadow(edDownRight);
      SetDepthShadow(2);
      SetAsButton(false);
      break;
    case esFlying:
      SetDirectionHighlight(edDownRight);
      SetDepthHighlight(1);
      SetDirectionShadow(edDownRight);
      SetDepthShadow(5);
      SetColourHighlight(scheme.Shadow);
      SetAsButton(false);
      break;
  }
  FApplyingStyle = false;
  FApplyingScheme = false;
  // A style that changes no layer still changes what the label is; keep the picture current.
  Invalidate();
}

void TEffectLabel::SetColourScheme(TColourScheme value) {
  if (!InEnum(value, csSteel) || value == FColourScheme) return;
  FApplyingScheme = true;
  FColourScheme = value;
  const TSchemeColours scheme = FSchemes[value];
  SetColourHighlight(scheme.Highlight);
  Font().SetColor(scheme.Face);
  SetColourShadow(scheme.Shadow);
  // The custom scheme starts from the last fixed one chosen.
  if (value != csCustom) FSchemes[csCustom] = scheme;
  FApplyingScheme = false;
}

void TEffectLabel::SetAsButton(bool value) {
  if (value == FAsButton) return;
  FAsButton = value;
  if (value) SetEffectStyle(esRaised);
}

void TEffectLabel::SetAngle(TAngleRange value) {
  if (value < 0 || value > kMaxAngle) value = ((value % 360) + 360) % 360;
  if (value == FAngle) return;
  FAngle = value;
  // Quarter turns exactly, so that upright letters and glyph positions land on whole pixels.
  switch (value) {
    case 0: case 360: FCos = 1; FSin = 0; break;
    case 90: FCos = 0; FSin = 1; break;
    case 180: FCos = -1; FSin = 0; break;
    case 270: FCos = 0; FSin = -1; break;
    default: {
      const double radians = value * std::numbers::pi / 180.0;
      FCos = std::cos(radians);
      FSin = std::sin(radians);
    }
  }
  FCos2 = FCos * FCos;
  FSin2 = FSin * FSin;
  if (value != 0) SetAlignment(taLeftJustify);
  Invalidate();
}

void TEffectLabel::SetKeepLettersVertical(bool value) {
  if (value == FKeepLettersVertical) return;
  FKeepLettersVertical = value;
  if (FAngle != 0) Invalidate();
}

void TEffectLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!FAsButton) {
    TLabel::MouseDown(button, shift, x, y);
    return;
  }
  if (button == mbLeft && FEffectStyle != esSunken && Enabled()) SetEffectStyle(esSunken);
}

void TEffectLabel::MouseMove(TShiftState shift, int x, int y) {
  if (!FAsButton) {
    TLabel::MouseMove(shift, x, y);
    return;
  }
  // Only a drag with the left button alone moves the button in and out.
  if (shift != ssLeft) return;
  const bool outside = x < 0 || x > ClientWidth() || y < 0 || y > ClientHeight();
  SetEffectStyle(outside ? esRaised : esSunken);
}

void TEffectLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (!FAsButton) {
    TLabel::MouseUp(button, shift, x, y);
    return;
  }
  if (x >= 0 && x <= ClientWidth() && y >= 0 && y <= ClientHeight()) SetEffectStyle(esRaised);
}

void TEffectLabel::Paint() {
  TCanvas& canvas = Canvas();
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;

  const Point hd = DirectionOffset(FDirectionHighlight), sd = DirectionOffset(FDirectionShadow);
  const int dh = FDepthHighlight, ds = FDepthShadow;
  // Every layer is shifted by -minOff so that none sticks out at the top or left.
  const int minOff = std::min({0, hd.x * dh, sd.x * ds, hd.y * dh, sd.y * ds});
  const int maxOff = std::max({0, hd.x * dh, sd.x * ds, hd.y * dh, sd.y * ds});
  const int span = maxOff - minOff;
  const TAlignment align = Alignment();
  const int alignOff = align == taRightJustify ? span : align == taCenter ? span / 2 : 0;

  // Only the part of the label that can reach the surface is worked on, so that a huge label
  // costs no more than the window it is in. AREA is in client coordinates.
  Rect reach = canvas.Target().Bounds();
  if (canvas.ClipRegion()) reach = reach.Intersect(canvas.ClipRegion()->Bounds());
  const Rect area = Rect{0, 0, w, h}.Intersect(reach.Offset(-canvas.Origin.x, -canvas.Origin.y));
  if (area.IsEmpty()) return;
  // The picture under the label is the starting point, which makes the label transparent.
  gfx::Bitmap work = canvas.Target().Copy(area.Offset(canvas.Origin.x, canvas.Origin.y));
  gfx::Bitmap mask(area.Width(), area.Height(), clWhite);
  gfx::Font font = Font().Data();
  const bool rotated = FAngle != 0 && !FKeepLettersVertical;
  const bool upright = FAngle != 0 && FKeepLettersVertical;
  if (rotated) {
    font.Escapement = FAngle * 10;
    font.Orientation = FAngle * 10;
  }
  gfx::Canvas wc(work), mc(mask);
  for (gfx::Canvas* c : {&wc, &mc}) {
    c->SelectFont(font);
    c->BkMode = gfx::BkMode::Transparent;
    c->Origin = {-area.left, -area.top};
  }

  const std::vector<std::string> letters = SplitLetters(Caption());
  const std::string text = JoinLetters(letters, letters.size());
  const Rect client{0, 0, w, h};
  const unsigned flags = kAlignFlags[align] | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS |
                         (ShowAccelChar() ? 0u : unsigned(gfx::DT_NOPREFIX));

  TurnedLayout turned;
  if (rotated)
    turned = LayOutRotated(wc, text, FCos, FSin, span);
  else if (upright)
    turned = LayOutUpright(wc, letters, FCos, FSin, FCos2, FSin2, span);
  const Point start = turned.Start;
  const std::vector<Point>& letterPos = turned.LetterPos;
  const std::vector<Point>& backdrop = turned.Backdrop;

  auto drawCaption = [&](gfx::Canvas& c, TColor colour, int dx, int dy) {
    c.TextColor = colour;
    if (rotated) {
      c.TextOut(start.x + dx - minOff, start.y + dy - minOff, text);
    } else if (upright) {
      for (std::size_t i = 0; i < letterPos.size(); ++i)
        c.TextOut(letterPos[i].x + dx - minOff, letterPos[i].y + dy - minOff, letters[i]);
    } else {
      Rect r = client.Offset(dx - minOff - alignOff, dy - minOff);
      c.DrawText(text, r, flags);
    }
  };

  if (!Transparent()) {
    wc.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
    wc.Pen = gfx::Pen{Color(), 1, gfx::PenStyle::Solid};
    if (FAngle == 0)
      wc.FillRect(client);
    else if (backdrop.size() >= 3)
      wc.Polygon(backdrop);
  }

  const TColor face = gfx::ColorToRGB(Font().Color());
  auto drawLayers = [&](TEffectOption option, TColor colour, int depth, Point dir, bool lighten) {
    // A layer right under the face is hidden by it, except at anti-aliased glyph edges, which
    // it would only thicken: labels with their effects off must show plain text.
    if (depth == 0 || (dir.x == 0 && dir.y == 0)) return;
    if (option == eoReal) {
      mask.Fill(clWhite);
      drawCaption(mc, clBlack, depth * dir.x, depth * dir.y);
      ApplyRealEffect(work, mask, lighten);
      return;
    }
    if ((option == eoExtrude || option == eoGraduated) && depth > 1) {
      const TColor base = gfx::ColorToRGB(colour);
      for (int d = depth; d >= 1; --d) {
        const TColor c = option == eoGraduated ? LayerColour(base, face, depth - d, depth - 1) : colour;
        drawCaption(wc, c, d * dir.x, d * dir.y);
      }
      return;
    }
    drawCaption(wc, colour, depth * dir.x, depth * dir.y);
  };
  drawLayers(FStyleShadow, FColourShadow, ds, sd, false);
  drawLayers(FStyleHighlight, FColourHighlight, dh, hd, true);

  if (FGraduateFace == goNone) {
    drawCaption(wc, Font().Color(), 0, 0);
  } else {
    mask = work;
    drawCaption(mc, kKeyColour, 0, 0);
    // The band of strips covers the text: its cell at angle 0, the background's outline when
    // turned. Strip k of a steps takes from + k/a of the way to the face colour.
    const bool rows = FGraduateFace == goVertical;
    int first = 0, steps = 0;
    if (FAngle == 0) {
      const Rect r = client.Offset(-minOff - alignOff, -minOff);
      Rect calc = r;
      wc.DrawText(text, calc, flags | gfx::DT_CALCRECT);
      if (rows) {
        first = r.top;
        steps = calc.Height() - 1;
      } else {
        const int tw = calc.Width();
        first = align == taRightJustify ? r.right - tw : align == taCenter ? r.left + (r.Width() - tw) / 2 : r.left;
        steps = tw - 1;
      }
    } else {
      const Rect box = BoundsOf(backdrop);
      first = rows ? box.top : box.left;
      steps = rows ? box.Height() : box.Width();
    }
    const TColor from = gfx::ColorToRGB(FGraduateFrom);
    for (int k = 0; k <= steps; ++k) {
      const Rect strip = rows ? Rect{0, first + k, w, first + k + 1} : Rect{first + k, 0, first + k + 1, h};
      PaintGradientStrip(work, mask, strip.Offset(-area.left, -area.top), GradientColour(from, face, k, steps));
    }
  }

  canvas.BitBlt(area.left, area.top, area.Width(), area.Height(), work, 0, 0);
}

std::optional<std::string> TEffectLabel::GetPropText(std::string_view name) const {
  static constexpr std::initializer_list<const char*> kDirections = {
      "edNone", "edUp", "edUpRight", "edRight", "edDownRight", "edDown", "edDownLeft", "edLeft", "edUpLeft"};
  static constexpr std::initializer_list<const char*> kOptions = {"eoNormal", "eoReal", "eoExtrude", "eoGraduated"};
  if (PropText::Is(name, "DepthHighlight")) return PropText::Int(FDepthHighlight);
  if (PropText::Is(name, "DepthShadow")) return PropText::Int(FDepthShadow);
  if (PropText::Is(name, "DirectionHighlight")) return PropText::Enum(FDirectionHighlight, kDirections);
  if (PropText::Is(name, "DirectionShadow")) return PropText::Enum(FDirectionShadow, kDirections);
  if (PropText::Is(name, "ColourHighlight")) return PropText::Color(FColourHighlight);
  if (PropText::Is(name, "ColourShadow")) return PropText::Color(FColourShadow);
  if (PropText::Is(name, "GraduateFace"))
    return PropText::Enum(FGraduateFace, {"goNone", "goVertical", "goHorizontal"});
  if (PropText::Is(name, "GraduateFrom")) return PropText::Color(FGraduateFrom);
  if (PropText::Is(name, "StyleHighlight")) return PropText::Enum(FStyleHighlight, kOptions);
  if (PropText::Is(name, "StyleShadow")) return PropText::Enum(FStyleShadow, kOptions);
  if (PropText::Is(name, "EffectStyle"))
    return PropText::Enum(FEffectStyle, {"esNone", "esCustom", "esRaised", "esSunken", "esShadow", "esFlying"});
  if (PropText::Is(name, "ColourScheme"))
    return PropText::Enum(FColourScheme, {"csCustom", "csText", "csWindows", "csEmbossed", "csGold", "csSteel"});
  if (PropText::Is(name, "AsButton")) return PropText::Bool(FAsButton);
  if (PropText::Is(name, "Angle")) return PropText::Int(FAngle);
  if (PropText::Is(name, "KeepLettersVertical")) return PropText::Bool(FKeepLettersVertical);
  return TLabel::GetPropText(name);
}
