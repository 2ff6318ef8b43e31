#include "graphics/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsAndMalformedInput) {
  for (char32_t cp : {U'A', U'\u00E9', U'\u20AC', U'\U0001F600', U'\u07FF', U'\uFFFF'})
    EXPECT_EQ(gfx::DecodeUtf8(gfx::EncodeUtf8(cp)), std::u32string(1, cp));
  EXPECT_EQ(gfx::EncodeUtf8(0x110000), "");
  // A lone continuation, an overlong form, a surrogate and a truncated sequence each read as
  // one replacement per bad byte, and what follows is read again.
  EXPECT_EQ(gfx::DecodeUtf8("a\x80" "b"), U"a\uFFFDb");
  EXPECT_EQ(gfx::DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
  EXPECT_EQ(gfx::DecodeUtf8("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(gfx::DecodeUtf8("x\xE2\x82"), U"x\uFFFD\uFFFD");
  EXPECT_EQ(gfx::DecodeUtf8(""), U"");
}
