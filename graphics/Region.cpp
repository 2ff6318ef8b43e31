#include "graphics/Region.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

namespace gfx {

// Regions are kept in one canonical form so that equal pixel sets compare equal:
//  - rectangles are sorted by top, then left;
//  - rectangles of one band share top and bottom, bands do not overlap;
//  - within a band, rectangles neither overlap nor touch (touching ones are merged);
//  - two bands that touch vertically never have the same column spans (they are merged).
// Every operation builds its result band by band through BandWriter, which enforces this.

namespace {

struct Span {
  int left;
  int right;
  friend bool operator==(const Span&, const Span&) = default;
};

// Appends bands in top-to-bottom order, merging a band into the previous one when it
// continues it with the same spans.
class BandWriter {
 public:
  explicit BandWriter(std::vector<Rect>& out) : FOut(out) {}

  // SPANS must be sorted, non-empty, and neither overlapping nor touching.
  void Add(int top, int bottom, const std::vector<Span>& spans) {
    if (spans.empty() || bottom <= top) return;
    const std::size_t n = FOut.size() - FPrevStart;
    if (FPrevStart < FOut.size() && FOut.back().bottom == top && n == spans.size()) {
      bool same = true;
      for (std::size_t i = 0; i < n && same; ++i)
        same = FOut[FPrevStart + i].left == spans[i].left && FOut[FPrevStart + i].right == spans[i].right;
      if (same) {
        for (std::size_t i = FPrevStart; i < FOut.size(); ++i) FOut[i].bottom = bottom;
        return;
      }
    }
    FPrevStart = FOut.size();
    for (const Span& s : spans) FOut.push_back({s.left, top, s.right, bottom});
  }

 private:
  std::vector<Rect>& FOut;
  std::size_t FPrevStart = 0;
};

// Sorts spans and merges overlapping or touching ones; drops empty ones.
void NormaliseSpans(std::vector<Span>& spans) {
  std::erase_if(spans, [](const Span& s) { return s.right <= s.left; });
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  std::size_t w = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (w > 0 && spans[i].left <= spans[w - 1].right)
      spans[w - 1].right = std::max(spans[w - 1].right, spans[i].right);
    else
      spans[w++] = spans[i];
  }
  spans.resize(w);
}

// End (exclusive) of the band starting at index I.
std::size_t BandEnd(const std::vector<Rect>& r, std::size_t i) {
  std::size_t j = i + 1;
  while (j < r.size() && r[j].top == r[i].top) ++j;
  return j;
}

enum class Op { Union, Intersect, Subtract, Xor };

bool Apply(Op op, bool a, bool b) {
  switch (op) {
    case Op::Union: return a || b;
    case Op::Intersect: return a && b;
    case Op::Subtract: return a && !b;
    case Op::Xor: return a != b;
  }
  return false;
}

// Combines the spans of one band of A ([a, aEnd)) and one band of B by sweeping x.
void CombineSpans(const Rect* a, const Rect* aEnd, const Rect* b, const Rect* bEnd, Op op,
                  std::vector<Span>& out) {
  out.clear();
  bool inA = false, inB = false, on = false;
  int start = 0;
  while (a != aEnd || b != bEnd) {
    int x = INT_MAX;
    if (a != aEnd) x = std::min(x, inA ? a->right : a->left);
    if (b != bEnd) x = std::min(x, inB ? b->right : b->left);
    if (a != aEnd && (inA ? a->right : a->left) == x) {
      if (inA) ++a;
      inA = !inA;
    }
    if (b != bEnd && (inB ? b->right : b->left) == x) {
      if (inB) ++b;
      inB = !inB;
    }
    const bool now = Apply(op, inA, inB);
    if (now != on) {
      if (now)
        start = x;
      else
        out.push_back({start, x});
      on = now;
    }
  }
}

// The band sweep behind every set operation: walks the y boundaries of both regions and
// combines whatever bands cover each stretch.
std::vector<Rect> Combine(const std::vector<Rect>& A, const std::vector<Rect>& B, Op op) {
  std::vector<Rect> result;
  BandWriter writer(result);
  std::vector<Span> spans;
  std::size_t ia = 0, ib = 0;
  std::size_t iaEnd = ia < A.size() ? BandEnd(A, ia) : ia;
  std::size_t ibEnd = ib < B.size() ? BandEnd(B, ib) : ib;
  // Y is the top of the stretch still to be handled; it never passes an unhandled band top.
  long long y = LLONG_MIN;
  while (ia < A.size() || ib < B.size()) {
    const long long aTop = ia < A.size() ? A[ia].top : LLONG_MAX;
    const long long bTop = ib < B.size() ? B[ib].top : LLONG_MAX;
    y = std::max(y, std::min(aTop, bTop));
    const bool aIn = ia < A.size() && y >= aTop;
    const bool bIn = ib < B.size() && y >= bTop;
    long long next = LLONG_MAX;
    next = std::min(next, aIn ? (long long)A[ia].bottom : aTop);
    next = std::min(next, bIn ? (long long)B[ib].bottom : bTop);
    const Rect* pa = A.data() + ia;
    const Rect* pb = B.data() + ib;
    CombineSpans(pa, aIn ? A.data() + iaEnd : pa, pb, bIn ? B.data() + ibEnd : pb, op, spans);
    writer.Add(int(y), int(next), spans);
    if (aIn && A[ia].bottom == next) {
      ia = iaEnd;
      iaEnd = ia < A.size() ? BandEnd(A, ia) : ia;
    }
    if (bIn && B[ib].bottom == next) {
      ib = ibEnd;
      ibEnd = ib < B.size() ? BandEnd(B, ib) : ib;
    }
    y = next;
  }
  return result;
}

// True when R already is in canonical form (the usual case for imported region data).
bool IsCanonical(const std::vector<Rect>& r) {
  std::size_t prevStart = 0, prevEnd = 0;
  for (std::size_t i = 0; i < r.size();) {
    const std::size_t end = BandEnd(r, i);
    for (std::size_t k = i; k < end; ++k) {
      if (r[k].IsEmpty() || r[k].bottom != r[i].bottom) return false;
      if (k > i && r[k].left <= r[k - 1].right) return false;
    }
    if (i > 0) {
      if (r[i].top < r[prevStart].bottom) return false;
      if (r[i].top == r[prevStart].bottom && end - i == prevEnd - prevStart) {
        bool same = true;
        for (std::size_t k = 0; k < end - i && same; ++k)
          same = r[i + k].left == r[prevStart + k].left && r[i + k].right == r[prevStart + k].right;
        if (same) return false;
      }
    }
    prevStart = i;
    prevEnd = end;
    i = end;
  }
  return true;
}

// Builds a region from per-row spans (ROWS[i] is row TOP + i); each row is one span or none.
Region FromRowSpans(int top, const std::vector<Span>& rows) {
  std::vector<Rect> rects;
  BandWriter writer(rects);
  std::vector<Span> one(1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    one[0] = rows[i];
    if (rows[i].right > rows[i].left) writer.Add(top + int(i), top + int(i) + 1, one);
  }
  return Region::FromRects(rects);  // already canonical, taken as is
}

// Half-widths of the rows of an ellipse filling a W x H box, as offsets from the box's left
// edge: row I covers [start[I], W - start[I]).
//
// A pixel belongs to the ellipse when its centre lies inside the ellipse inscribed in the box.
// On top of that every row and every column keeps at least its middle pixel(s), so the shape
// always fills its box exactly (thin or flat ellipses would otherwise lose their ends) and stays
// symmetric in both axes and under transposition.
std::vector<long long> EllipseRowStarts(long long W, long long H) {
  const double a = W / 2.0, b = H / 2.0;
  // Start of the pixel-centre span of line I (of N lines) for an ellipse with radius RA across
  // and RB along, box width M across.
  auto spanStart = [](long long i, double rAlong, double rAcross, long long across) {
    const double d = (i + 0.5) - rAlong;
    const double t = 1.0 - (d * d) / (rAlong * rAlong);
    const double hw = t > 0 ? rAcross * std::sqrt(t) : 0.0;
    // pixel x is inside when |x + 0.5 - rAcross| <= hw
    long long s = (long long)std::ceil(rAcross - hw - 0.5 - 1e-9);
    const long long mid = (across - 1) / 2;  // the middle pixel (left one of two)
    return std::clamp(s, 0LL, mid);
  };
  std::vector<long long> start(std::size_t(H), 0);
  for (long long y = 0; y < H; ++y) start[std::size_t(y)] = spanStart(y, b, a, W);
  // Columns: column X (left half) reaches rows [colStart, H - colStart). A row gets every column
  // whose vertical span covers it; column starts grow towards the edges, so for each row the
  // covering columns form a centred run.
  const long long halfW = (W + 1) / 2;
  for (long long x = 0; x < halfW; ++x) {
    const long long cs = spanStart(x, a, b, H);
    // rows cs .. H-1-cs are covered by column x (and its mirror W-1-x)
    for (long long y = cs; y < H - cs; ++y) {
      if (start[std::size_t(y)] <= x) break;  // the rest of this column is already covered
      start[std::size_t(y)] = x;
    }
    // Also walk from the bottom so the mirrored half is updated without touching covered rows.
    for (long long y = H - 1 - cs; y > cs; --y) {
      if (start[std::size_t(y)] <= x) break;
      start[std::size_t(y)] = x;
    }
  }
  return start;
}

// The box the classic region calls actually fill: the right and bottom edges are one pixel in,
// and swapped corners are put in order.
bool RegionBox(const Rect& r, long long& l, long long& t, long long& W, long long& H) {
  long long L = std::min(r.left, r.right), R = std::max(r.left, r.right);
  long long T = std::min(r.top, r.bottom), B = std::max(r.top, r.bottom);
  --R;
  --B;
  l = L;
  t = T;
  W = R - L;
  H = B - T;
  // Curved shapes are built row by row, so a box this large would only exhaust memory.
  constexpr long long kMaxCurveExtent = 1 << 24;
  if (W > kMaxCurveExtent || H > kMaxCurveExtent)
    throw std::length_error("curved region of " + std::to_string(W) + " x " + std::to_string(H) +
                            " pixels is too large");
  return W > 0 && H > 0;
}

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
         (std::uint32_t(b[at + 3]) << 24);
}
std::int32_t ReadI32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::int32_t(ReadU32(b, at));
}
void WriteU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

constexpr std::size_t kRgnHeaderSize = 32;
constexpr std::uint32_t kRdhRectangles = 1;
// Far more than any window outline needs (a full 8K screen of single pixels is under this),
// and small enough that normalising never runs away.
constexpr std::uint64_t kMaxRgnRects = 1u << 24;

}  // namespace

Region::Region(const Rect& r) {
  if (!r.IsEmpty()) FRects.push_back(r);
}

Region Region::FromRects(std::span<const Rect> rects) {
  Region out;
  out.FRects.reserve(rects.size());
  for (const Rect& r : rects)
    if (!r.IsEmpty()) out.FRects.push_back(r);
  if (IsCanonical(out.FRects)) return out;
  // Sort by top and union in a balanced tree, so large inputs stay near n log n.
  std::vector<Region> parts;
  {
    std::vector<Rect> sorted = std::move(out.FRects);
    std::sort(sorted.begin(), sorted.end(),
              [](const Rect& a, const Rect& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    parts.reserve(sorted.size());
    for (const Rect& r : sorted) parts.emplace_back(r);
  }
  while (parts.size() > 1) {
    std::vector<Region> next;
    next.reserve(parts.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) next.push_back(parts[i].Union(parts[i + 1]));
    if (parts.size() % 2) next.push_back(std::move(parts.back()));
    parts = std::move(next);
  }
  return parts.empty() ? Region() : std::move(parts.front());
}

Region Region::Ellipse(const Rect& bounds) {
  long long l, t, W, H;
  if (!RegionBox(bounds, l, t, W, H)) return Region();
  const std::vector<long long> starts = EllipseRowStarts(W, H);
  std::vector<Span> rows(static_cast<std::size_t>(H));
  for (long long y = 0; y < H; ++y) {
    const long long s = starts[std::size_t(y)];
    rows[std::size_t(y)] = {int(l + s), int(l + W - s)};
  }
  return FromRowSpans(int(t), rows);
}

Region Region::RoundRect(const Rect& bounds, int ellipseWidth, int ellipseHeight) {
  long long l, t, W, H;
  if (!RegionBox(bounds, l, t, W, H)) return Region();
  const long long ew = std::min<long long>(W, std::llabs(ellipseWidth));
  const long long eh = std::min<long long>(H, std::llabs(ellipseHeight));
  // Corner ellipses this small leave no visible rounding.
  if (ew < 2 || eh < 2) return Region(Rect{int(l), int(t), int(l + W), int(t + H)});
  const std::vector<long long> starts = EllipseRowStarts(ew, eh);
  // The top half of the corner ellipse rounds the top rows, its bottom half the bottom rows;
  // the rows in between are full.
  const long long k = eh / 2;
  std::vector<Span> rows(static_cast<std::size_t>(H));
  for (long long y = 0; y < H; ++y) {
    long long s = 0;
    if (y < k)
      s = starts[std::size_t(y)];
    else if (y >= H - k)
      s = starts[std::size_t(eh - (H - y))];
    rows[std::size_t(y)] = {int(l + s), int(l + W - s)};
  }
  return FromRowSpans(int(t), rows);
}

// Polygons are sampled at pixel centres: pixel (x, y) is inside when the point (x + 0.5, y + 0.5)
// is inside the polygon under the fill rule. A centre exactly on an edge belongs to the pixel
// right of the edge, so an axis-aligned polygon covers the same pixels as the rectangle of its
// corners. Vertices are integers, so a scanline at y + 0.5 never meets a vertex.
Region Region::Polygon(std::span<const Point> points, FillMode mode) {
  if (points.size() < 3) return Region();
  struct Edge {
    long long x1, y1, x2, y2;
    int dir;
  };
  std::vector<Edge> edges;
  long long minY = LLONG_MAX, maxY = LLONG_MIN;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % points.size()];
    minY = std::min<long long>(minY, p.y);
    maxY = std::max<long long>(maxY, p.y);
    if (p.y == q.y) continue;  // horizontal edges never cross a scanline
    if (p.y < q.y)
      edges.push_back({p.x, p.y, q.x, q.y, 1});
    else
      edges.push_back({q.x, q.y, p.x, p.y, -1});
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y1 < b.y1; });
  struct Crossing {
    long long x;  // first pixel whose centre is at or right of the crossing
    int dir;
  };
  std::vector<Crossing> crossings;
  std::vector<Rect> rects;
  BandWriter writer(rects);
  std::vector<Span> spans;
  std::vector<Edge> active;
  std::size_t nextEdge = 0;
  for (long long y = minY; y < maxY; ++y) {
    std::erase_if(active, [y](const Edge& e) { return e.y2 <= y; });
    while (nextEdge < edges.size() && edges[nextEdge].y1 <= y) active.push_back(edges[nextEdge++]);
    crossings.clear();
    for (const Edge& e : active) {
      // crossing at yc = y + 0.5; first pixel x with x + 0.5 >= xc, i.e. x = ceil(xc - 0.5):
      // xc - 0.5 = ((2*x1 - 1) * dy + (2*y + 1 - 2*y1) * dx) / (2 * dy)
      const __int128 dy = e.y2 - e.y1, dx = e.x2 - e.x1;
      const __int128 num = (__int128(2) * e.x1 - 1) * dy + (__int128(2) * y + 1 - 2 * e.y1) * dx;
      const __int128 den = 2 * dy;
      __int128 q = num / den;
      if (num % den != 0 && num > 0) ++q;  // den > 0: round the quotient up
      crossings.push_back({(long long)q, e.dir});
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    spans.clear();
    int wind = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      wind += mode == FillMode::Winding ? crossings[i].dir : 1;
      const bool inside = mode == FillMode::Winding ? wind != 0 : (wind & 1) != 0;
      if (inside && crossings[i + 1].x > crossings[i].x) {
        const long long a = std::clamp<long long>(crossings[i].x, INT_MIN, INT_MAX);
        const long long b = std::clamp<long long>(crossings[i + 1].x, INT_MIN, INT_MAX);
        if (b > a) spans.push_back({int(a), int(b)});
      }
    }
    NormaliseSpans(spans);
    writer.Add(int(y), int(y + 1), spans);
  }
  return FromRects(rects);  // already canonical, taken as is
}

Region Region::FromRgnData(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kRgnHeaderSize)
    throw RegionDataError("region data too short: " + std::to_string(bytes.size()) +
                          " bytes, the header alone needs 32");
  const std::uint32_t dwSize = ReadU32(bytes, 0);
  if (dwSize != kRgnHeaderSize)
    throw RegionDataError("region data header size is " + std::to_string(dwSize) + ", expected 32");
  const std::uint32_t iType = ReadU32(bytes, 4);
  if (iType != kRdhRectangles)
    throw RegionDataError("region data type is " + std::to_string(iType) + ", expected 1 (rectangles)");
  const std::uint64_t count = ReadU32(bytes, 8);
  if (count > kMaxRgnRects)
    throw RegionDataError("region data claims " + std::to_string(count) + " rectangles, more than any region holds");
  const std::uint64_t remaining = bytes.size() - kRgnHeaderSize;
  if (count * 16 != remaining)
    throw RegionDataError("region data claims " + std::to_string(count) + " rectangles (" +
                          std::to_string(count * 16) + " bytes) but " + std::to_string(remaining) +
                          " bytes follow the header");
  // nRgnSize and rcBound are hints of the writer; the rectangles are what counts.
  std::vector<Rect> rects;
  rects.reserve(std::size_t(count));
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kRgnHeaderSize + 16 * i;
    const Rect r{ReadI32(bytes, at), ReadI32(bytes, at + 4), ReadI32(bytes, at + 8), ReadI32(bytes, at + 12)};
    if (r.right < r.left || r.bottom < r.top)
      throw RegionDataError("region data rectangle " + std::to_string(i) + " is inverted (" +
                            std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
                            std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")");
    rects.push_back(r);
  }
  return FromRects(rects);
}

// nRgnSize is written as the size of the rectangle array (16 per rectangle), the figure the
// classic call reports for a region it built itself.
std::vector<std::uint8_t> Region::ToRgnData() const {
  std::vector<std::uint8_t> out;
  out.reserve(kRgnHeaderSize + 16 * FRects.size());
  const Rect b = Bounds();
  WriteU32(out, kRgnHeaderSize);
  WriteU32(out, kRdhRectangles);
  WriteU32(out, std::uint32_t(FRects.size()));
  WriteU32(out, std::uint32_t(FRects.size() * 16));
  for (int v : {b.left, b.top, b.right, b.bottom}) WriteU32(out, std::uint32_t(v));
  for (const Rect& r : FRects)
    for (int v : {r.left, r.top, r.right, r.bottom}) WriteU32(out, std::uint32_t(v));
  return out;
}

Rect Region::Bounds() const {
  if (FRects.empty()) return {};
  Rect b{FRects.front().left, FRects.front().top, FRects.front().right, FRects.back().bottom};
  // Only the first and last rectangle of each band can widen the box.
  for (std::size_t i = 0; i < FRects.size();) {
    const std::size_t end = BandEnd(FRects, i);
    b.left = std::min(b.left, FRects[i].left);
    b.right = std::max(b.right, FRects[end - 1].right);
    i = end;
  }
  return b;
}

bool Region::Contains(Point p) const {
  // Bottoms never decrease along the list, so the first rectangle ending below P starts its band.
  auto it = std::partition_point(FRects.begin(), FRects.end(), [&](const Rect& r) { return r.bottom <= p.y; });
  if (it == FRects.end() || it->top > p.y) return false;
  const int top = it->top;
  auto bandEnd = std::partition_point(it, FRects.end(), [&](const Rect& r) { return r.top == top; });
  auto hit = std::partition_point(it, bandEnd, [&](const Rect& r) { return r.right <= p.x; });
  return hit != bandEnd && hit->left <= p.x;
}

Region Region::Union(const Region& o) const {
  if (o.IsEmpty()) return *this;
  if (IsEmpty()) return o;
  Region r;
  r.FRects = Combine(FRects, o.FRects, Op::Union);
  return r;
}

Region Region::Intersect(const Region& o) const {
  Region r;
  if (!IsEmpty() && !o.IsEmpty()) r.FRects = Combine(FRects, o.FRects, Op::Intersect);
  return r;
}

Region Region::Subtract(const Region& o) const {
  if (IsEmpty() || o.IsEmpty()) return *this;
  Region r;
  r.FRects = Combine(FRects, o.FRects, Op::Subtract);
  return r;
}

Region Region::Xor(const Region& o) const {
  if (o.IsEmpty()) return *this;
  if (IsEmpty()) return o;
  Region r;
  r.FRects = Combine(FRects, o.FRects, Op::Xor);
  return r;
}

Region Region::Offset(int dx, int dy) const {
  // Coordinates that would leave the int range are pinned to its ends; the pinned rectangles
  // may then be empty or touch, so such a result is normalised again.
  Region r;
  r.FRects.reserve(FRects.size());
  bool pinned = false;
  auto move = [&](int v, int d) {
    const long long m = (long long)v + d;
    if (m < INT_MIN || m > INT_MAX) pinned = true;
    return int(std::clamp<long long>(m, INT_MIN, INT_MAX));
  };
  for (const Rect& s : FRects) r.FRects.push_back({move(s.left, dx), move(s.top, dy), move(s.right, dx), move(s.bottom, dy)});
  if (pinned) return FromRects(r.FRects);
  return r;
}

}  // namespace gfx
