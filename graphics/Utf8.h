#pragma once
// UTF-8, the encoding of every string in the program.
#include <string>
#include <string_view>

namespace gfx {

// Code points of S. Each malformed or truncated sequence (overlong forms and surrogates
// included) reads as one U+FFFD, and decoding goes on at the next byte.
std::u32string DecodeUtf8(std::string_view s);

// Appends the encoding of CP; values past U+10FFFF append nothing.
void AppendUtf8(std::string& out, char32_t cp);
std::string EncodeUtf8(char32_t cp);

}  // namespace gfx
