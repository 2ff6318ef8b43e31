#include "graphics/Utf8.h"

namespace gfx {

namespace {
constexpr char32_t kReplacement = 0xFFFD;
}

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += char32_t(b);
      ++i;
      continue;
    }
    int len;
    char32_t cp;
    if ((b & 0xE0) == 0xC0) {
      len = 2;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
      cp = b & 0x07;
    } else {
      out += kReplacement;
      ++i;
      continue;
    }
    bool ok = i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (c & 0x3F);
    }
    if (ok) {
      const char32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
      ok = cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    }
    if (!ok) {
      // One replacement per bad lead byte; resynchronise on the next byte.
      out += kReplacement;
      ++i;
      continue;
    }
    out += cp;
    i += std::size_t(len);
  }
  return out;
}

void AppendUtf8(std::string& s, char32_t cp) {
  if (cp < 0x80) {
    s += char(cp);
  } else if (cp < 0x800) {
    s += char(0xC0 | (cp >> 6));
    s += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += char(0xE0 | (cp >> 12));
    s += char(0x80 | ((cp >> 6) & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x110000) {
    s += char(0xF0 | (cp >> 18));
    s += char(0x80 | ((cp >> 12) & 0x3F));
    s += char(0x80 | ((cp >> 6) & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  }
}

std::string EncodeUtf8(char32_t cp) {
  std::string s;
  AppendUtf8(s, cp);
  return s;
}

}  // namespace gfx
