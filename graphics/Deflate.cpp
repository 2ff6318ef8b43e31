#include "graphics/Deflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>

namespace gfx {

namespace {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kWindow = 32768;
constexpr int kHashBits = 16;
constexpr std::size_t kHashBytes = 4;

// Search effort: how many earlier positions with the same four-byte key are tried, when a match
// is long enough to stop looking, and up to which length the next position may still win.
constexpr int kMaxChain = 32;
constexpr int kGoodMatch = 32;   // past this only a quarter of the chain is walked
constexpr int kNiceMatch = 160;  // long enough: stop searching
constexpr int kMaxLazy = 16;     // longer matches are taken without looking one byte ahead

// Symbols per block; each block gets its own codes, so runs of different content (a flat
// toolbar, then a photo) are each coded well.
constexpr std::size_t kBlockSymbols = 16384;

constexpr int kLitLenCodes = 286;
constexpr int kDistCodes = 30;
constexpr int kCodeLenCodes = 19;
constexpr int kMaxBits = 15;
constexpr int kMaxCodeLenBits = 7;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                     33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,
                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which code length code lengths are sent.
constexpr std::array<std::uint8_t, kCodeLenCodes> kCodeLenOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                   11, 4,  12, 3, 13, 2, 14, 1, 15};

// Length 3..258 -> index into kLengthBase (code - 257).
constexpr auto kLengthIndex = [] {
  std::array<std::uint8_t, kMaxMatch + 1> t{};
  for (int i = 0; i < 29; ++i) {
    const int end = i + 1 < 29 ? kLengthBase[std::size_t(i) + 1] : kMaxMatch + 1;
    for (int len = kLengthBase[std::size_t(i)]; len < end && len <= kMaxMatch; ++len) t[std::size_t(len)] = std::uint8_t(i);
  }
  t[kMaxMatch] = 28;  // 258 has its own code, not 227 + 31
  return t;
}();

// Distance 1..32768 -> distance code.
int DistCode(int dist) {
  const unsigned n = unsigned(dist - 1);
  if (n < 4) return int(n);
  const int hb = std::bit_width(n) - 1;
  return 2 * hb + int((n >> (hb - 1)) & 1);
}

// A literal (Dist 0) or a back reference.
struct Symbol {
  std::uint16_t LitOrLen;
  std::uint16_t Dist;
};

// Deflate packs bits from the least significant end of each byte.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}
  // N <= 16.
  void Put(std::uint32_t bits, int n) {
    FAcc |= std::uint64_t(bits) << FCount;
    FCount += n;
    if (FCount >= 32) {
      for (int i = 0; i < 4; ++i) FOut.push_back(std::uint8_t(FAcc >> (8 * i)));
      FAcc >>= 32;
      FCount -= 32;
    }
  }
  void AlignToByte() {
    while (FCount > 0) {
      FOut.push_back(std::uint8_t(FAcc));
      FAcc >>= 8;
      FCount = std::max(0, FCount - 8);
    }
    FAcc = 0;
  }
  std::vector<std::uint8_t>& Out() { return FOut; }

 private:
  std::vector<std::uint8_t>& FOut;
  std::uint64_t FAcc = 0;
  int FCount = 0;
};

// When the plain code is too deep the counts are flattened and the code rebuilt.
void BuildLengths(const std::uint32_t* freq, int n, int maxBits, std::uint8_t* lengths) {
  std::fill(lengths, lengths + n, std::uint8_t(0));
  std::vector<std::pair<std::uint32_t, int>> leaves;  // (weight, symbol)
  for (int s = 0; s < n; ++s)
    if (freq[s]) leaves.emplace_back(freq[s], s);
  if (leaves.empty()) return;
  if (leaves.size() == 1) {
    lengths[leaves[0].second] = 1;
    return;
  }
  std::vector<std::uint64_t> weight;
  std::vector<int> parent;
  for (;;) {
    std::sort(leaves.begin(), leaves.end());
    const std::size_t nl = leaves.size();
    // Nodes 0..nl-1 are the leaves in weight order, later ones the merged pairs, which come out
    // in weight order too, so two queues replace a heap.
    weight.assign(2 * nl - 1, 0);
    parent.assign(2 * nl - 1, -1);
    for (std::size_t i = 0; i < nl; ++i) weight[i] = leaves[i].first;
    std::size_t nextLeaf = 0, nextNode = nl, made = nl;
    auto take = [&]() -> std::size_t {
      if (nextLeaf < nl && (nextNode >= made || weight[nextLeaf] <= weight[nextNode])) return nextLeaf++;
      return nextNode++;
    };
    while (made < 2 * nl - 1) {
      const std::size_t a = take(), b = take();
      weight[made] = weight[a] + weight[b];
      parent[a] = parent[b] = int(made);
      ++made;
    }
    std::vector<int> depth(2 * nl - 1, 0);
    int deepest = 0;
    for (std::size_t i = 2 * nl - 1; i-- > 0;) {
      if (parent[i] >= 0) depth[i] = depth[std::size_t(parent[i])] + 1;
      deepest = std::max(deepest, depth[i]);
    }
    if (deepest <= maxBits) {
      for (std::size_t i = 0; i < nl; ++i) lengths[leaves[i].second] = std::uint8_t(depth[i]);
      return;
    }
    for (auto& [w, s] : leaves) w = (w + 1) / 2;
  }
}

// Canonical codes for LENGTHS, bit-reversed so BitWriter can send them as they are.
void BuildCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes) {
  std::array<int, kMaxBits + 2> count{};
  for (int s = 0; s < n; ++s) ++count[lengths[s]];
  count[0] = 0;
  std::array<std::uint32_t, kMaxBits + 2> next{};
  std::uint32_t code = 0;
  for (int bits = 1; bits <= kMaxBits; ++bits) {
    code = (code + std::uint32_t(count[std::size_t(bits) - 1])) << 1;
    next[std::size_t(bits)] = code;
  }
  for (int s = 0; s < n; ++s) {
    const int len = lengths[s];
    codes[s] = 0;
    if (!len) continue;
    std::uint32_t c = next[std::size_t(len)]++, r = 0;
    for (int i = 0; i < len; ++i, c >>= 1) r = (r << 1) | (c & 1);
    codes[s] = std::uint16_t(r);
  }
}

// The fixed code assigns lengths to 288 literal/length symbols (two never used), and those
// two count when the canonical codes are numbered.
constexpr int kFixedLitLenCodes = 288;

struct Code {
  std::array<std::uint8_t, kFixedLitLenCodes> LitLenBits{};
  std::array<std::uint16_t, kFixedLitLenCodes> LitLen{};
  std::array<std::uint8_t, kDistCodes> DistBits{};
  std::array<std::uint16_t, kDistCodes> Dist{};
};

const Code& FixedCode() {
  static const Code code = [] {
    Code c;
    for (int s = 0; s < kFixedLitLenCodes; ++s) c.LitLenBits[std::size_t(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    c.DistBits.fill(5);
    BuildCodes(c.LitLenBits.data(), kFixedLitLenCodes, c.LitLen.data());
    BuildCodes(c.DistBits.data(), kDistCodes, c.Dist.data());
    return c;
  }();
  return code;
}

// One step of the run-length coding of code lengths: SYM 0..18 with its repeat bits.
struct LenRun {
  std::uint8_t Sym;
  std::uint8_t Extra;
};

std::vector<LenRun> RunLengths(const std::uint8_t* lens, int n) {
  std::vector<LenRun> runs;
  for (int i = 0; i < n;) {
    const std::uint8_t v = lens[i];
    int run = 1;
    while (i + run < n && lens[i + run] == v) ++run;
    i += run;
    if (v == 0) {
      while (run >= 11) {
        const int k = std::min(run, 138);
        runs.push_back({18, std::uint8_t(k - 11)});
        run -= k;
      }
      if (run >= 3) {
        runs.push_back({17, std::uint8_t(run - 3)});
        run = 0;
      }
    } else {
      runs.push_back({v, 0});
      --run;
      while (run >= 3) {
        const int k = std::min(run, 6);
        runs.push_back({16, std::uint8_t(k - 3)});
        run -= k;
      }
    }
    for (; run > 0; --run) runs.push_back({v, 0});
  }
  return runs;
}

class Encoder {
 public:
  Encoder(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out)
      : FData(data), FBits(out), FHead(std::size_t(1) << kHashBits, -1), FPrev(kWindow, -1) {
    FSymbols.reserve(kBlockSymbols + 1);
  }

  void Run() {
    const std::uint8_t* d = FData.data();
    const std::size_t n = FData.size();
    std::size_t blockStart = 0;
    std::size_t pos = 0;
    Match carried;
    bool haveCarried = false;
    while (pos < n) {
      const Match m = haveCarried ? carried : Find(pos);
      haveCarried = false;
      Insert(pos);
      if (m.Len < kMinMatch) {
        Emit({d[pos], 0});
        ++pos;
      } else {
        // One byte later may start a longer match; then this byte goes out as a literal.
        if (m.Len < kMaxLazy && pos + 1 < n) {
          const Match next = Find(pos + 1);
          if (next.Len > m.Len) {
            Emit({d[pos], 0});
            ++pos;
            carried = next;
            haveCarried = true;
            continue;
          }
        }
        Emit({std::uint16_t(m.Len), std::uint16_t(m.Dist)});
        for (std::size_t p = pos + 1; p < pos + std::size_t(m.Len); ++p) Insert(p);
        pos += std::size_t(m.Len);
      }
      if (FSymbols.size() >= kBlockSymbols) {
        WriteBlock(blockStart, pos, false);
        blockStart = pos;
      }
    }
    WriteBlock(blockStart, n, true);
    FBits.AlignToByte();
  }

 private:
  struct Match {
    int Len = 0;
    int Dist = 0;
  };

  // Positions are chained by their next four bytes, not three: in pixel data three-byte
  // matches rarely pay, and the longer key keeps chains short and the search fast.
  std::size_t Hash(std::size_t p) const {
    const std::uint8_t* d = FData.data() + p;
    const std::uint32_t v = d[0] | (std::uint32_t(d[1]) << 8) | (std::uint32_t(d[2]) << 16) | (std::uint32_t(d[3]) << 24);
    return (v * 0x9E3779B1u) >> (32 - kHashBits);
  }

  void Insert(std::size_t p) {
    if (p + kHashBytes > FData.size()) return;
    const std::size_t h = Hash(p);
    FPrev[p & (kWindow - 1)] = FHead[h];
    FHead[h] = std::int32_t(p);
  }

  // The longest earlier match for the bytes at P; positions before P must be inserted, P not.
  Match Find(std::size_t p) const {
    Match best;
    const std::size_t avail = FData.size() - p;
    if (avail < kHashBytes) return best;
    const int maxLen = int(std::min<std::size_t>(avail, kMaxMatch));
    const std::uint8_t* d = FData.data();
    const std::uint8_t* here = d + p;
    int chain = kMaxChain;
    std::int64_t cand = FHead[Hash(p)];
    while (cand >= 0 && std::int64_t(p) - cand <= kWindow && chain-- > 0) {
      const std::uint8_t* there = d + cand;
      if (there[best.Len] == here[best.Len] && there[0] == here[0]) {
        const int len = MatchLength(there, here, maxLen);
        if (len > best.Len) {
          best.Len = len;
          best.Dist = int(std::int64_t(p) - cand);
          if (len >= kNiceMatch || len == maxLen) break;
          if (len >= kGoodMatch) chain = std::min(chain, kMaxChain / 4);
        }
      }
      const std::int64_t next = FPrev[std::size_t(cand) & (kWindow - 1)];
      if (next >= cand) break;  // the slot was reused: the chain ends here
      cand = next;
    }
    if (best.Len < kMinMatch) best = {};
    return best;
  }

  static int MatchLength(const std::uint8_t* a, const std::uint8_t* b, int maxLen) {
    int len = 0;
    while (len + 8 <= maxLen) {
      std::uint64_t x, y;
      std::memcpy(&x, a + len, 8);
      std::memcpy(&y, b + len, 8);
      if (x != y) {
        if constexpr (std::endian::native == std::endian::little) return len + std::countr_zero(x ^ y) / 8;
        break;
      }
      len += 8;
    }
    while (len < maxLen && a[len] == b[len]) ++len;
    return len;
  }

  void Emit(Symbol s) { FSymbols.push_back(s); }

  // Writes the collected symbols, which encode the input bytes BEGIN..END, as one block in the
  // cheapest of the three forms.
  void WriteBlock(std::size_t begin, std::size_t end, bool last) {
    std::array<std::uint32_t, kLitLenCodes> litFreq{};
    std::array<std::uint32_t, kDistCodes> distFreq{};
    for (const Symbol& s : FSymbols) {
      if (s.Dist == 0) {
        ++litFreq[s.LitOrLen];
      } else {
        ++litFreq[257 + std::size_t(kLengthIndex[s.LitOrLen])];
        ++distFreq[std::size_t(DistCode(s.Dist))];
      }
    }
    ++litFreq[256];

    // Every code gets at least two symbols, so each is a complete code every decoder takes.
    auto atLeastTwo = [](std::uint32_t* f, int count) {
      int used = 0;
      for (int i = 0; i < count; ++i) used += f[i] != 0;
      for (int i = 0; used < 2; ++i)
        if (!f[i]) {
          f[i] = 1;
          ++used;
        }
    };
    std::array<std::uint32_t, kLitLenCodes> litFreqTree = litFreq;
    std::array<std::uint32_t, kDistCodes> distFreqTree = distFreq;
    atLeastTwo(litFreqTree.data(), kLitLenCodes);
    atLeastTwo(distFreqTree.data(), kDistCodes);

    Code dyn;
    BuildLengths(litFreqTree.data(), kLitLenCodes, kMaxBits, dyn.LitLenBits.data());
    BuildLengths(distFreqTree.data(), kDistCodes, kMaxBits, dyn.DistBits.data());
    BuildCodes(dyn.LitLenBits.data(), kLitLenCodes, dyn.LitLen.data());
    BuildCodes(dyn.DistBits.data(), kDistCodes, dyn.Dist.data());

    int hlit = kLitLenCodes, hdist = kDistCodes;
    while (hlit > 257 && dyn.LitLenBits[std::size_t(hlit) - 1] == 0) --hlit;
    while (hdist > 1 && dyn.DistBits[std::size_t(hdist) - 1] == 0) --hdist;
    std::array<std::uint8_t, kLitLenCodes + kDistCodes> allLens{};
    std::copy_n(dyn.LitLenBits.begin(), hlit, allLens.begin());
    std::copy_n(dyn.DistBits.begin(), hdist, allLens.begin() + hlit);
    const std::vector<LenRun> runs = RunLengths(allLens.data(), hlit + hdist);
    std::array<std::uint32_t, kCodeLenCodes> clFreq{};
    for (const LenRun& r : runs) ++clFreq[r.Sym];
    atLeastTwo(clFreq.data(), kCodeLenCodes);
    std::array<std::uint8_t, kCodeLenCodes> clBits{};
    std::array<std::uint16_t, kCodeLenCodes> clCode{};
    BuildLengths(clFreq.data(), kCodeLenCodes, kMaxCodeLenBits, clBits.data());
    BuildCodes(clBits.data(), kCodeLenCodes, clCode.data());
    int hclen = kCodeLenCodes;
    while (hclen > 4 && clBits[kCodeLenOrder[std::size_t(hclen) - 1]] == 0) --hclen;

    auto dataBits = [&](const Code& c) {
      std::uint64_t bits = 0;
      for (int s = 0; s < kLitLenCodes; ++s) {
        bits += std::uint64_t(litFreq[std::size_t(s)]) * c.LitLenBits[std::size_t(s)];
        if (s >= 257) bits += std::uint64_t(litFreq[std::size_t(s)]) * kLengthExtra[std::size_t(s) - 257];
      }
      for (int s = 0; s < kDistCodes; ++s)
        bits += std::uint64_t(distFreq[std::size_t(s)]) * (c.DistBits[std::size_t(s)] + kDistExtra[std::size_t(s)]);
      return bits;
    };
    std::uint64_t dynBits = 3 + 5 + 5 + 4 + 3 * std::uint64_t(hclen) + dataBits(dyn);
    for (const LenRun& r : runs) dynBits += clBits[r.Sym] + (r.Sym == 16 ? 2 : r.Sym == 17 ? 3 : r.Sym == 18 ? 7 : 0);
    const std::uint64_t fixedBits = 3 + dataBits(FixedCode());
    const std::size_t rawLen = end - begin;
    const std::uint64_t storedBits = (std::max<std::size_t>(1, (rawLen + 65534) / 65535)) * (3 + 7 + 32) + 8 * std::uint64_t(rawLen);

    if (storedBits < dynBits && storedBits < fixedBits) {
      WriteStored(begin, end, last);
    } else if (fixedBits <= dynBits) {
      FBits.Put(last ? 1 : 0, 1);
      FBits.Put(1, 2);
      WriteSymbols(FixedCode());
    } else {
      FBits.Put(last ? 1 : 0, 1);
      FBits.Put(2, 2);
      FBits.Put(std::uint32_t(hlit - 257), 5);
      FBits.Put(std::uint32_t(hdist - 1), 5);
      FBits.Put(std::uint32_t(hclen - 4), 4);
      for (int i = 0; i < hclen; ++i) FBits.Put(clBits[kCodeLenOrder[std::size_t(i)]], 3);
      for (const LenRun& r : runs) {
        FBits.Put(clCode[r.Sym], clBits[r.Sym]);
        if (r.Sym == 16) FBits.Put(r.Extra, 2);
        if (r.Sym == 17) FBits.Put(r.Extra, 3);
        if (r.Sym == 18) FBits.Put(r.Extra, 7);
      }
      WriteSymbols(dyn);
    }
    FSymbols.clear();
  }

  void WriteSymbols(const Code& c) {
    for (const Symbol& s : FSymbols) {
      if (s.Dist == 0) {
        FBits.Put(c.LitLen[s.LitOrLen], c.LitLenBits[s.LitOrLen]);
        continue;
      }
      const std::size_t li = kLengthIndex[s.LitOrLen];
      FBits.Put(c.LitLen[257 + li], c.LitLenBits[257 + li]);
      if (kLengthExtra[li]) FBits.Put(std::uint32_t(s.LitOrLen - kLengthBase[li]), kLengthExtra[li]);
      const std::size_t dc = std::size_t(DistCode(s.Dist));
      FBits.Put(c.Dist[dc], c.DistBits[dc]);
      if (kDistExtra[dc]) FBits.Put(std::uint32_t(s.Dist - kDistBase[dc]), kDistExtra[dc]);
    }
    FBits.Put(c.LitLen[256], c.LitLenBits[256]);
  }

  void WriteStored(std::size_t begin, std::size_t end, bool last) {
    do {
      const std::size_t len = std::min<std::size_t>(65535, end - begin);
      const bool final = last && begin + len == end;
      FBits.Put(final ? 1 : 0, 1);
      FBits.Put(0, 2);
      FBits.AlignToByte();
      std::vector<std::uint8_t>& out = FBits.Out();
      out.push_back(std::uint8_t(len));
      out.push_back(std::uint8_t(len >> 8));
      out.push_back(std::uint8_t(~len));
      out.push_back(std::uint8_t(~len >> 8));
      out.insert(out.end(), FData.begin() + std::ptrdiff_t(begin), FData.begin() + std::ptrdiff_t(begin + len));
      begin += len;
    } while (begin < end);
  }

  std::span<const std::uint8_t> FData;
  BitWriter FBits;
  std::vector<std::int32_t> FHead;
  std::vector<std::int32_t> FPrev;
  std::vector<Symbol> FSymbols;
};

}  // namespace

void HuffmanCodeLengths(std::span<const std::uint32_t> freq, int maxBits, std::span<std::uint8_t> lengths) {
  if (lengths.size() != freq.size()) throw std::invalid_argument("one code length per symbol is needed");
  if (maxBits < 1 || maxBits > kMaxBits) throw std::invalid_argument("code lengths are limited to 1 to 15 bits");
  const auto used = std::size_t(std::count_if(freq.begin(), freq.end(), [](std::uint32_t f) { return f != 0; }));
  if (used > (std::size_t(1) << maxBits))
    throw std::invalid_argument(std::to_string(used) + " symbols do not fit in codes of " + std::to_string(maxBits) + " bits");
  BuildLengths(freq.data(), int(freq.size()), maxBits, lengths.data());
}

std::uint32_t Adler32(std::span<const std::uint8_t> data, std::uint32_t sum) {
  constexpr std::uint32_t kMod = 65521;
  // 5552 bytes is the most that can be summed before the 32-bit sums could overflow.
  constexpr std::size_t kChunk = 5552;
  std::uint32_t a = sum & 0xFFFF, b = sum >> 16;
  std::size_t i = 0;
  while (i < data.size()) {
    const std::size_t stop = std::min(data.size(), i + kChunk);
    for (; i < stop; ++i) {
      a += data[i];
      b += a;
    }
    a %= kMod;
    b %= kMod;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> data) {
  // Positions in the match chains are 32-bit.
  if (data.size() > std::size_t(INT32_MAX)) throw std::length_error("too much data for one compressed stream");
  std::vector<std::uint8_t> out;
  out.reserve(data.size() / 4 + 64);
  out.push_back(0x78);  // deflate, 32 KiB window
  out.push_back(0x9C);  // default effort, no preset dictionary; 0x789C is a multiple of 31
  Encoder(data, out).Run();
  const std::uint32_t adler = Adler32(data);
  for (int i = 3; i >= 0; --i) out.push_back(std::uint8_t(adler >> (8 * i)));
  return out;
}

}  // namespace gfx
