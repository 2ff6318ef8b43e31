#include "platform/ProfileFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace plat {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// "[Name]" -> Name; anything else -> nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// "Key=Value" -> (Key, Value); comments and lines without '=' -> nullopt.
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::pair{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : FPath(std::move(path)) {
  // Anything that is not a readable regular file reads as an empty profile.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FPath, ec)) return;
  std::string text;
  if (FILE* f = std::fopen(FPath.c_str(), "rb")) {
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
  }
  Parse(text);
}

ProfileFile ProfileFile::FromText(std::string path, std::string_view text) {
  ProfileFile p;
  p.FPath = std::move(path);
  p.Parse(text);
  return p;
}

void ProfileFile::Parse(std::string_view text) {
  // Byte-order marks are not part of the first line. Editors that add one without looking
  // can leave several; a mark left in place would hide the first section from every read
  // while writes went on adding a second one below it.
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  while (text.substr(0, kMark.size()) == kMark) text.remove_prefix(kMark.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    FLines.push_back(std::move(line));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
}

// A value in matching quotes is read without them, as the classic profile reader does.
std::string ProfileFile::Unquoted(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::optional<std::string> ProfileFile::ReadString(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (const std::string& line : FLines) {
    if (auto name = SectionName(line)) {
      inSection = EqualNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto kv = KeyValue(line); kv && EqualNoCase(kv->first, key)) return Unquoted(kv->second);
  }
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> ProfileFile::ReadSection(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  bool inSection = false;
  for (const std::string& line : FLines) {
    if (auto name = SectionName(line)) {
      inSection = EqualNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    auto kv = KeyValue(line);
    if (!kv) continue;
    // A key written twice reads as its first line, as ReadString reads it.
    bool seen = false;
    for (const auto& [k, v] : out) seen = seen || EqualNoCase(k, kv->first);
    if (!seen) out.emplace_back(std::string(kv->first), Unquoted(kv->second));
  }
  return out;
}

std::optional<std::int32_t> ProfileFile::ParseInteger(std::string_view text) {
  auto hex = [](std::string_view digits) -> std::optional<std::int32_t> {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
    return std::int32_t(v);
  };
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return hex(text.substr(2));
  if (!text.empty() && text[0] == '$') return hex(text.substr(1));
  std::string_view digits = text;
  if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
  if (digits.empty() || (digits[0] == '-' && text[0] == '+')) return std::nullopt;
  std::int32_t v = 0;
  auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 10);
  if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
  return v;
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  auto text = ReadString(section, key);
  if (!text) return defaultValue;
  return ParseInteger(*text).value_or(defaultValue);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string newLine = std::string(key) + "=" + std::string(value);
  // Find the section, and the key within it.
  std::optional<std::size_t> sectionLine;
  std::size_t lastInSection = 0;  // index of the last non-blank line of the section
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    if (auto name = SectionName(FLines[i])) {
      if (sectionLine) break;  // the section ended
      if (EqualNoCase(*name, section)) {
        sectionLine = i;
        lastInSection = i;
      }
      continue;
    }
    if (!sectionLine) continue;
    if (!Trim(FLines[i]).empty()) lastInSection = i;
    if (auto kv = KeyValue(FLines[i]); kv && EqualNoCase(kv->first, key)) {
      // An existing key keeps its line (and the spelling of its name).
      std::string kept = std::string(kv->first) + "=" + std::string(value);
      if (FLines[i] != kept) {
        FLines[i] = std::move(kept);
        FDirty = true;
      }
      return;
    }
  }
  if (sectionLine) {
    FLines.insert(FLines.begin() + std::ptrdiff_t(lastInSection + 1), std::move(newLine));
  } else {
    std::string header(1, '[');
    header.append(section);
    header.push_back(']');
    FLines.push_back(std::move(header));
    FLines.push_back(std::move(newLine));
  }
  FDirty = true;
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

std::string ProfileFile::Text() const {
  std::string out;
  for (const std::string& line : FLines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void ProfileFile::Save(bool force) {
  if (!FDirty && !force) return;
  const std::string tmp = FPath + ".tmp";
  const std::string text = Text();
  auto fail = [&] {
    std::remove(tmp.c_str());
    throw ProfileWriteError("Unable to write to " + FPath);
  };
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) fail();
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) fail();
  if (std::rename(tmp.c_str(), FPath.c_str()) != 0) fail();
  FDirty = false;
}

}  // namespace plat
