// UTF-8 decoding: every result is a valid code point; well-formed text encodes back to its
// own bytes, and decoding what was encoded changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "graphics/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::u32string cps = gfx::DecodeUtf8(text);
  if (cps.size() > size) std::abort();
  std::string encoded;
  bool replaced = false;
  for (char32_t c : cps) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) std::abort();
    replaced = replaced || c == 0xFFFD;
    gfx::AppendUtf8(encoded, c);
  }
  if (!replaced && encoded != text) std::abort();
  if (gfx::DecodeUtf8(encoded) != cps) std::abort();
  return 0;
}
