#include "toolkit/core/ResourceLoader.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "resources/Resources.h"

namespace {

// The resource's lines without comments, blank lines and trailing spaces.
std::vector<std::string> ContentLines(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    out.emplace_back(line);
  }
  return out;
}

// The whitespace-separated integers of LINE (a leading '+' allowed, as stream input takes
// them); false when something else stands in it or a number does not fit.
bool Integers(std::string_view line, std::vector<int>& out) {
  out.clear();
  const char* p = line.data();
  const char* end = p + line.size();
  while (true) {
    while (p != end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p == end) return true;
    if (*p == '+' && end - p > 1 && (p[1] >= '0' && p[1] <= '9')) ++p;
    int v = 0;
    auto [q, ec] = std::from_chars(p, end, v);
    if (ec != std::errc()) return false;
    out.push_back(v);
    p = q;
  }
}

[[noreturn]] void Fail(std::string_view name, const std::string& what) {
  throw EResourceError("resource " + std::string(name) + ": " + what);
}

std::vector<int> Numbers(std::string_view name, const std::string& header, std::string_view kind, std::size_t count) {
  std::istringstream in(header);
  std::string word;
  in >> word;
  if (word != kind) Fail(name, "expected a " + std::string(kind) + " header");
  std::vector<int> v;
  for (int n; in >> n;) v.push_back(n);
  if (v.size() != count) Fail(name, "malformed header \"" + header + "\"");
  return v;
}

void CheckRows(std::string_view name, const std::vector<std::string>& lines, std::size_t first, int w, int h) {
  if (w <= 0 || h <= 0 || w > 1024 || h > 1024) Fail(name, "bad size");
  if (lines.size() != first + std::size_t(h)) Fail(name, "expected " + std::to_string(h) + " rows");
  for (std::size_t i = first; i < lines.size(); ++i)
    if (lines[i].size() != std::size_t(w)) Fail(name, "row " + std::to_string(i - first) + " is not " + std::to_string(w) + " wide");
}

}  // namespace

plat::CursorLook ParseCursorResource(std::string_view text, std::string_view name) {
  auto lines = ContentLines(text);
  if (lines.empty()) Fail(name, "empty");
  auto n = Numbers(name, lines[0], "cursor", 4);
  CheckRows(name, lines, 1, n[0], n[1]);
  plat::CursorLook look;
  look.IsCustom = true;
  look.Image.Width = n[0];
  look.Image.Height = n[1];
  look.Image.HotSpot = {n[2], n[3]};
  if (n[2] < 0 || n[3] < 0 || n[2] >= n[0] || n[3] >= n[1]) Fail(name, "hot spot outside the cursor");
  for (std::size_t i = 1; i < lines.size(); ++i)
    for (char c : lines[i]) {
      switch (c) {
        case '.': look.Image.Pixels.push_back(0); break;
        case 'X': look.Image.Pixels.push_back(1); break;
        case 'O': look.Image.Pixels.push_back(2); break;
        case '~': look.Image.Pixels.push_back(3); break;
        default: Fail(name, std::string("unknown pixel '") + c + "'");
      }
    }
  return look;
}

gfx::Bitmap ParseBitmapResource(std::string_view text, std::string_view name) {
  auto lines = ContentLines(text);
  if (lines.size() < 2) Fail(name, "empty");
  auto n = Numbers(name, lines[0], "bitmap", 2);
  std::array<std::optional<gfx::TColor>, 256> palette{};  // by the letter's byte
  {
    std::istringstream in(lines[1]);
    std::string word;
    in >> word;
    if (word != "palette") Fail(name, "expected a palette line");
    while (in >> word) {
      if (word.size() < 4 || word[1] != '=' || word.compare(2, 2, "0x") != 0) Fail(name, "bad palette entry " + word);
      unsigned v = 0;
      auto [p, ec] = std::from_chars(word.data() + 4, word.data() + word.size(), v, 16);
      if (ec != std::errc() || p != word.data() + word.size()) Fail(name, "bad palette entry " + word);
      palette[static_cast<unsigned char>(word[0])] = v & 0xFFFFFF;
    }
  }
  CheckRows(name, lines, 2, n[0], n[1]);
  gfx::Bitmap bmp(n[0], n[1]);
  for (int y = 0; y < n[1]; ++y)
    for (int x = 0; x < n[0]; ++x) {
      const std::optional<gfx::TColor>& c = palette[static_cast<unsigned char>(lines[2 + y][x])];
      if (!c) Fail(name, std::string("colour '") + lines[2 + y][x] + "' is not in the palette");
      bmp.At(x, y) = *c;
    }
  return bmp;
}

plat::CursorLook LoadCursorResource(std::string_view name) {
  auto text = res::Find(name);
  if (text.empty()) Fail(name, "not found");
  return ParseCursorResource(text, name);
}

gfx::Bitmap LoadBitmapResource(std::string_view name) {
  auto text = res::Find(name);
  if (text.empty()) Fail(name, "not found");
  return ParseBitmapResource(text, name);
}

std::vector<std::uint8_t> ParseRegionResource(std::string_view text, std::string_view name) {
  auto lines = ContentLines(text);
  if (lines.size() < 2) Fail(name, "empty");
  const int sizeHint = Numbers(name, lines[0], "region", 1)[0];
  std::vector<std::vector<int>> rects;
  rects.push_back(Numbers(name, lines[1], "bound", 4));
  std::vector<int> r;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    if (!Integers(lines[i], r) || r.size() != 4 || r[0] >= r[2] || r[1] >= r[3])
      Fail(name, "malformed rectangle \"" + lines[i] + "\"");
    rects.push_back(r);
  }
  const std::uint32_t count = std::uint32_t(rects.size() - 1);
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(std::uint8_t(v >> (8 * k)));
  };
  put(32 + 16 * count);
  put(32);
  put(1);
  put(count);
  put(std::uint32_t(sizeHint));
  for (const auto& r : rects)
    for (int v : r) put(std::uint32_t(v));
  return out;
}

std::vector<std::uint8_t> LoadRegionResource(std::string_view name) {
  std::string_view text = res::Find(name);
  if (text.empty()) Fail(name, "not found");
  return ParseRegionResource(text, name);
}
