#include "graphics/Deflate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include "tests/graphics/InflateTestSupport.h"

using namespace gfx;
using inflate_test::Bytes;
using inflate_test::Inflate;
using inflate_test::Inflated;

namespace {

Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& v : b) v = std::uint8_t(rng());
  return b;
}

// Words from a small vocabulary with spaces and line breaks: skewed letters, many repeats.
Bytes TextLike(std::size_t n) {
  static const char* const kWords[] = {"ruler", "pixel", "the", "screen", "of", "measure", "window", "and",
                                       "a", "guide", "cursor", "colour", "zoom", "edge", "to", "inch"};
  std::mt19937 rng(11);
  std::string s;
  while (s.size() < n) {
    s += kWords[rng() % 16];
    s += rng() % 9 == 0 ? '\n' : ' ';
  }
  s.resize(n);
  return Bytes(s.begin(), s.end());
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Compresses and reads back, failing the test with the reader's complaint if the stream is bad.
Inflated RoundTrip(const Bytes& data, const std::string& what) {
  const Bytes z = ZlibCompress(data);
  try {
    Inflated r = Inflate(z);
    EXPECT_EQ(r.Data.size(), data.size()) << what;
    EXPECT_TRUE(r.Data == data) << what;
    return r;
  } catch (const std::exception& e) {
    ADD_FAILURE() << what << ": " << e.what();
    return {};
  }
}

}  // namespace

TEST(Deflate, RoundTripsVariedInputs) {
  RoundTrip({}, "empty");
  RoundTrip({42}, "one byte");
  RoundTrip({1, 2}, "two bytes");
  RoundTrip({7, 7, 7}, "three equal bytes");
  RoundTrip({1, 2, 3, 1, 2, 3, 1, 2}, "short period");
  RoundTrip(Bytes(1000000, 0xAB), "long run");
  RoundTrip(Bytes(258 * 3 + 2, 0), "runs at the longest match length");
  RoundTrip(RandomBytes(100000, 1), "random bytes");
  RoundTrip(TextLike(200000), "text");
  // Every byte value, in rising runs of every length around the match limits.
  Bytes ramps;
  for (int len = 1; len < 300; ++len) ramps.insert(ramps.end(), std::size_t(len), std::uint8_t(len));
  RoundTrip(ramps, "ramps");
  // Random stretches between runs and repeats: blocks change character midway.
  Bytes mixed;
  std::mt19937 rng(5);
  for (int i = 0; i < 200; ++i) {
    const Bytes r = RandomBytes(rng() % 3000, rng());
    mixed.insert(mixed.end(), r.begin(), r.end());
    mixed.insert(mixed.end(), rng() % 2000, std::uint8_t(rng()));
    if (mixed.size() > 5000) {
      const std::size_t from = rng() % (mixed.size() - 4000);
      const Bytes copy(mixed.begin() + std::ptrdiff_t(from), mixed.begin() + std::ptrdiff_t(from + rng() % 4000));
      mixed.insert(mixed.end(), copy.begin(), copy.end());
    }
  }
  ASSERT_GT(mixed.size(), 65536u);
  RoundTrip(mixed, "mixed");
}

TEST(Deflate, ReachesBackAcrossTheWholeWindowButNoFurther) {
  // A repeat 32768 bytes back, the farthest deflate can reach, is found and coded as a copy.
  const Bytes a = RandomBytes(32768, 2);
  const Inflated far = RoundTrip(Concat({a, a}), "repeat at 32768");
  EXPECT_EQ(far.LongestDistance, 32768);
  EXPECT_LT(ZlibCompress(Concat({a, a})).size(), a.size() + a.size() / 20);

  // Repeats 30000 bytes back, over a block boundary in the middle of random data.
  const Bytes b = RandomBytes(30000, 3), c = RandomBytes(2000, 4);
  const Inflated mid = RoundTrip(Concat({b, c, b, c, b}), "repeats at 32000");
  EXPECT_EQ(mid.LongestDistance, 32000);
  EXPECT_LT(ZlibCompress(Concat({b, c, b, c, b})).size(), 34000u);

  // One byte farther is out of reach: the stream stays valid and the repeat is sent again.
  const Bytes d = RandomBytes(32769, 6);
  const Inflated beyond = RoundTrip(Concat({d, d}), "repeat at 32769");
  EXPECT_LE(beyond.LongestDistance, 32768);
  EXPECT_GT(ZlibCompress(Concat({d, d})).size(), 2 * d.size() - 100);
}

TEST(Deflate, PicksTheCheapestBlockKind) {
  // Random bytes do not compress: stored blocks, barely larger than the input.
  const Bytes noise = RandomBytes(200000, 7);
  const Inflated n = RoundTrip(noise, "noise");
  EXPECT_GT(n.StoredBlocks, 0);
  EXPECT_EQ(n.FixedBlocks + n.DynamicBlocks, 0);
  EXPECT_LE(ZlibCompress(noise).size(), noise.size() + noise.size() / 1000 + 16);

  // Text has a skewed alphabet: codes of its own beat the fixed ones.
  const Bytes text = TextLike(100000);
  const Inflated t = RoundTrip(text, "text");
  EXPECT_GT(t.DynamicBlocks, 0);
  EXPECT_LT(ZlibCompress(text).size(), text.size() / 3);

  // A tiny input is not worth a code table. These use literals from every fixed code range
  // (8 and 9 bits) and long lengths (8-bit codes), so the fixed code is checked throughout.
  for (const Bytes& tiny : {Bytes{'h', 'e', 'l', 'l', 'o'}, Bytes{0, 143, 144, 200, 255, 254},
                            Concat({Bytes{200, 1}, Bytes(200, 0xF0), Bytes{255}, Bytes(20, 7)})}) {
    const Inflated t = RoundTrip(tiny, "tiny");
    EXPECT_EQ(t.FixedBlocks, 1);
    EXPECT_EQ(t.DynamicBlocks + t.StoredBlocks, 0);
  }

  // A long run shrinks to almost nothing: one byte plus copies of 258.
  EXPECT_LT(ZlibCompress(Bytes(1 << 20, 0)).size(), 2000u);
}

TEST(Deflate, Adler32) {
  const std::string wiki = "Wikipedia";
  EXPECT_EQ(Adler32(Bytes(wiki.begin(), wiki.end())), 0x11E60398u);
  EXPECT_EQ(Adler32(Bytes{}), 1u);
  // Long runs of 0xFF push both sums to their limits between reductions.
  const Bytes ff(300000, 0xFF);
  EXPECT_EQ(Adler32(ff), inflate_test::Adler(ff));
  // Continuing from a partial sum gives the sum of the whole.
  const Bytes r = RandomBytes(20000, 9);
  const std::uint32_t half = Adler32(std::span(r).first(7777));
  EXPECT_EQ(Adler32(std::span(r).subspan(7777), half), Adler32(r));
}

namespace {

// Kraft sum scaled by 2^15: exactly 2^15 for a complete code.
std::uint32_t KraftSum(const std::vector<std::uint8_t>& lengths) {
  std::uint32_t sum = 0;
  for (const std::uint8_t len : lengths)
    if (len) sum += 1u << (15 - len);
  return sum;
}

}  // namespace

TEST(Deflate, HuffmanCodeLengths) {
  // A small case worked by hand.
  std::vector<std::uint8_t> lens(5);
  HuffmanCodeLengths(std::vector<std::uint32_t>{3, 0, 1, 1, 2}, 15, lens);
  EXPECT_EQ(lens, (std::vector<std::uint8_t>{1, 0, 3, 3, 2}));

  // Fibonacci counts make the deepest possible tree: a plain code would need 28 bits.
  std::vector<std::uint32_t> fib = {1, 1};
  while (fib.size() < 30) fib.push_back(fib[fib.size() - 1] + fib[fib.size() - 2]);
  for (const int maxBits : {15, 9, 5}) {
    lens.assign(fib.size(), 0);
    HuffmanCodeLengths(fib, maxBits, lens);
    EXPECT_EQ(KraftSum(lens), 1u << 15) << maxBits << " bits: the code must be complete";
    for (std::size_t s = 0; s < fib.size(); ++s) {
      EXPECT_GE(lens[s], 1) << s;
      EXPECT_LE(lens[s], maxBits) << s;
      if (s > 0) {
        EXPECT_LE(lens[s], lens[s - 1]) << "a more frequent symbol never gets a longer code";
      }
    }
  }
  // The code length code: 19 symbols in at most 7 bits.
  std::vector<std::uint32_t> skewed(19);
  for (std::size_t s = 0; s < skewed.size(); ++s) skewed[s] = 1u << s;
  lens.assign(19, 0);
  HuffmanCodeLengths(skewed, 7, lens);
  EXPECT_EQ(KraftSum(lens), 1u << 15);
  EXPECT_EQ(*std::max_element(lens.begin(), lens.end()), 7);

  // One used symbol still gets a code; none gets nothing.
  lens.assign(4, 9);
  HuffmanCodeLengths(std::vector<std::uint32_t>{0, 0, 5, 0}, 15, lens);
  EXPECT_EQ(lens, (std::vector<std::uint8_t>{0, 0, 1, 0}));
  HuffmanCodeLengths(std::vector<std::uint32_t>(4, 0), 15, lens);
  EXPECT_EQ(lens, (std::vector<std::uint8_t>(4, 0)));

  // Requests that cannot be met are refused, not looped on.
  EXPECT_THROW(HuffmanCodeLengths(std::vector<std::uint32_t>(5, 1), 2, lens), std::invalid_argument);
  lens.resize(5);
  EXPECT_THROW(HuffmanCodeLengths(std::vector<std::uint32_t>(5, 1), 2, lens), std::invalid_argument);
  EXPECT_THROW(HuffmanCodeLengths(std::vector<std::uint32_t>(5, 1), 16, lens), std::invalid_argument);
}

TEST(Deflate, TheCheckingReaderNoticesDamage) {
  // The round trips above are only worth something if the reader refuses broken streams.
  const Bytes text = TextLike(5000);
  const Bytes good = ZlibCompress(text);
  ASSERT_EQ(Inflate(good).Data, text);
  Bytes badSum = good;
  badSum.back() ^= 1;
  EXPECT_THROW(Inflate(badSum), std::runtime_error);
  Bytes badHeader = good;
  badHeader[1] ^= 1;
  EXPECT_THROW(Inflate(badHeader), std::runtime_error);
  EXPECT_THROW(Inflate(Bytes(good.begin(), good.end() - 6)), std::runtime_error);
  // A flipped bit in the coded data changes the output, the codes or the framing.
  int tried = 0, caught = 0;
  for (std::size_t i = 2; i + 4 < good.size(); i += 7) {
    ++tried;
    Bytes flipped = good;
    flipped[i] ^= 0x10;
    try {
      caught += Inflate(flipped).Data != text;
    } catch (const std::runtime_error&) {
      ++caught;
    }
  }
  EXPECT_EQ(caught, tried);
}
