#pragma once
// A small, strict zlib reader for checking what the writers produce: stored, fixed and
// dynamic blocks, the header and the Adler-32 trailer. Throws std::runtime_error on anything
// malformed, so a test sees exactly what is wrong.
#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace inflate_test {

using Bytes = std::vector<std::uint8_t>;

struct Inflated {
  Bytes Data;
  int StoredBlocks = 0;
  int FixedBlocks = 0;
  int DynamicBlocks = 0;
  int LongestDistance = 0;
};

class BitReader {
 public:
  BitReader(const Bytes& b, std::size_t start) : FBytes(b), FPos(start) {}
  std::uint32_t Bits(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
      if (FPos >= FBytes.size()) throw std::runtime_error("deflate data runs past the end");
      v |= std::uint32_t((FBytes[FPos] >> FBit) & 1) << i;
      if (++FBit == 8) {
        FBit = 0;
        ++FPos;
      }
    }
    return v;
  }
  void AlignToByte() {
    if (FBit) {
      FBit = 0;
      ++FPos;
    }
  }
  std::size_t BytePos() const { return FPos; }
  std::uint8_t Byte() {
    if (FBit || FPos >= FBytes.size()) throw std::runtime_error("stored data runs past the end");
    return FBytes[FPos++];
  }

 private:
  const Bytes& FBytes;
  std::size_t FPos;
  int FBit = 0;
};

// A canonical Huffman code read bit by bit: at each length, codes are consecutive.
class Huffman {
 public:
  // A code the writer built itself must be complete (every bit pattern used) unless it has
  // a single symbol, as strict decoders demand; the fixed distance code is not.
  Huffman(const std::vector<int>& lengths, bool mustBeComplete) {
    int used = 0;
    for (int len : lengths) {
      if (len < 0 || len > 15) throw std::runtime_error("code length out of range");
      ++FCount[std::size_t(len)];
      used += len != 0;
    }
    FCount[0] = 0;
    int left = 1;
    for (int len = 1; len <= 15; ++len) {
      left = left * 2 - FCount[std::size_t(len)];
      if (left < 0) throw std::runtime_error("over-subscribed Huffman code");
    }
    if (mustBeComplete && left > 0 && used > 1) throw std::runtime_error("incomplete Huffman code");
    for (int len = 1; len <= 15; ++len)
      for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] == len) FSymbols.push_back(int(s));
  }
  int Decode(BitReader& in) const {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= 15; ++len) {
      code |= int(in.Bits(1));
      const int count = FCount[std::size_t(len)];
      if (code - first < count) return FSymbols[std::size_t(index + code - first)];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    throw std::runtime_error("invalid Huffman code");
  }

 private:
  std::array<int, 16> FCount{};
  std::vector<int> FSymbols;
};

inline std::uint32_t Adler(const Bytes& b) {
  std::uint32_t a = 1, s = 0;
  for (std::uint8_t c : b) {
    a = (a + c) % 65521;
    s = (s + a) % 65521;
  }
  return (s << 16) | a;
}

inline Inflated Inflate(const Bytes& z) {
  static constexpr int kLenBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                     31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr int kLenExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static constexpr int kDistBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                      33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                      1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static constexpr int kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                       6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  static constexpr int kOrder[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

  if (z.size() < 6) throw std::runtime_error("zlib stream too short");
  if ((z[0] & 0x0F) != 8 || (z[0] >> 4) > 7) throw std::runtime_error("not a deflate stream with a 32K window");
  if (((z[0] << 8) | z[1]) % 31 != 0) throw std::runtime_error("zlib header check fails");
  if (z[1] & 0x20) throw std::runtime_error("preset dictionary");

  Inflated r;
  Bytes& out = r.Data;
  BitReader in(z, 2);
  for (bool last = false; !last;) {
    last = in.Bits(1);
    const std::uint32_t type = in.Bits(2);
    if (type == 0) {
      ++r.StoredBlocks;
      in.AlignToByte();
      const int len = in.Byte() | (in.Byte() << 8);
      const int nlen = in.Byte() | (in.Byte() << 8);
      if (len != (~nlen & 0xFFFF)) throw std::runtime_error("stored block length check fails");
      for (int i = 0; i < len; ++i) out.push_back(in.Byte());
      continue;
    }
    if (type == 3) throw std::runtime_error("reserved block type");
    std::vector<int> litLens, distLens;
    if (type == 1) {
      ++r.FixedBlocks;
      for (int s = 0; s < 288; ++s) litLens.push_back(s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8);
      distLens.assign(30, 5);
    } else {
      ++r.DynamicBlocks;
      const int hlit = int(in.Bits(5)) + 257, hdist = int(in.Bits(5)) + 1, hclen = int(in.Bits(4)) + 4;
      if (hlit > 286 || hdist > 30) throw std::runtime_error("too many codes");
      std::vector<int> clLens(19, 0);
      for (int i = 0; i < hclen; ++i) clLens[std::size_t(kOrder[i])] = int(in.Bits(3));
      const Huffman cl(clLens, true);
      std::vector<int> lens;
      while (int(lens.size()) < hlit + hdist) {
        const int sym = cl.Decode(in);
        if (sym < 16) {
          lens.push_back(sym);
        } else if (sym == 16) {
          if (lens.empty()) throw std::runtime_error("repeat with no previous length");
          const int prev = lens.back();
          for (int n = 3 + int(in.Bits(2)); n > 0; --n) lens.push_back(prev);
        } else {
          for (int n = sym == 17 ? 3 + int(in.Bits(3)) : 11 + int(in.Bits(7)); n > 0; --n) lens.push_back(0);
        }
      }
      if (int(lens.size()) > hlit + hdist) throw std::runtime_error("code lengths overrun");
      if (lens[256] == 0) throw std::runtime_error("no end-of-block code");
      litLens.assign(lens.begin(), lens.begin() + hlit);
      distLens.assign(lens.begin() + hlit, lens.end());
    }
    const Huffman lit(litLens, type == 2), dist(distLens, type == 2);
    for (;;) {
      const int sym = lit.Decode(in);
      if (sym < 256) {
        out.push_back(std::uint8_t(sym));
        continue;
      }
      if (sym == 256) break;
      if (sym > 285) throw std::runtime_error("invalid length code");
      const int len = kLenBase[sym - 257] + int(in.Bits(kLenExtra[sym - 257]));
      const int dc = dist.Decode(in);
      if (dc > 29) throw std::runtime_error("invalid distance code");
      const int d = kDistBase[dc] + int(in.Bits(kDistExtra[dc]));
      if (d > 32768 || std::size_t(d) > out.size()) throw std::runtime_error("distance reaches before the data");
      r.LongestDistance = std::max(r.LongestDistance, d);
      for (int i = 0; i < len; ++i) out.push_back(out[out.size() - std::size_t(d)]);
    }
  }
  in.AlignToByte();
  const std::size_t pos = in.BytePos();
  if (pos + 4 != z.size()) throw std::runtime_error("the stream does not end with its checksum");
  const std::uint32_t want = (std::uint32_t(z[pos]) << 24) | (z[pos + 1] << 16) | (z[pos + 2] << 8) | z[pos + 3];
  if (want != Adler(out)) throw std::runtime_error("Adler-32 mismatch");
  return r;
}

}  // namespace inflate_test
