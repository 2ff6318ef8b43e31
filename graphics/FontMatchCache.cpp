#include "graphics/FontMatchCache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace gfx {

namespace {

constexpr const char* kHeader = "vantrel font matches 1";

// What fontconfig reads from the environment: its own variables, where a user's files live,
// and the language, which picks among faces of one family.
constexpr const char* kEnvironment[] = {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT",
                                        "HOME",            "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                        "XDG_CACHE_HOME",  "LANG",            "LANGUAGE",
                                        "LC_ALL",          "LC_CTYPE",        "LC_MESSAGES"};

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool Clean(const std::string& s) { return s.find_first_of("\t\n") == std::string::npos; }

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

std::string EnvLine(const char* name) {
  const char* v = std::getenv(name);
  return std::string("env\t") + name + "\t" + (v ? std::string("=") + v : std::string("-"));
}

// A path as it stands now: modification time to the nanosecond and size, or absent.
std::string StatLine(const std::string& path) {
  struct stat st {};
  std::string line = "stat\t" + path + "\t";
  if (stat(path.c_str(), &st) != 0) return line + "-";
  return line + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + "\t" +
         std::to_string(st.st_size);
}

std::string Parent(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

void AddAll(FcStrList* list, std::set<std::string>& out) {
  if (!list) return;
  while (FcChar8* s = FcStrListNext(list)) out.insert(reinterpret_cast<const char*>(s));
  FcStrListDone(list);
}

}  // namespace

std::string FontMatchCache::DefaultPath() {
  std::string base = Env("XDG_CACHE_HOME");
  if (base.empty() || base[0] != '/') {
    const std::string home = Env("HOME");
    if (home.empty()) return {};
    base = home + "/.cache";
  }
  return base + "/vantrel/font-matches";
}

std::string FontMatchCache::Stamp(FcConfig* config) const {
  if (!Clean(FRules)) return {};
  std::string stamp = "rules\t" + FRules + "\n";
  for (const char* name : kEnvironment) stamp += EnvLine(name) + "\n";
  std::set<std::string> paths;
  std::set<std::string> files;
  AddAll(FcConfigGetConfigFiles(config), files);
  for (const std::string& f : files) {
    paths.insert(f);
    paths.insert(Parent(f));  // a file added beside them (local.conf) changes the folder
  }
  AddAll(FcConfigGetConfigDirs(config), paths);
  AddAll(FcConfigGetFontDirs(config), paths);  // subfolders included
  // Where a user's own configuration and fonts would go, present or not yet.
  std::string userConfig = Env("XDG_CONFIG_HOME");
  const std::string home = Env("HOME");
  if (userConfig.empty() && !home.empty()) userConfig = home + "/.config";
  if (!userConfig.empty()) {
    paths.insert(userConfig + "/fontconfig");
    paths.insert(userConfig + "/fontconfig/fonts.conf");
    paths.insert(userConfig + "/fontconfig/conf.d");
  }
  if (!home.empty()) {
    paths.insert(home + "/.fonts.conf");
    paths.insert(home + "/.fonts.conf.d");
    paths.insert(home + "/.fonts");
  }
  std::string data = Env("XDG_DATA_HOME");
  if (data.empty() && !home.empty()) data = home + "/.local/share";
  if (!data.empty()) paths.insert(data + "/fonts");
  for (const std::string& p : paths) {
    if (!Clean(p)) return {};  // cannot be written down: keep nothing
    stamp += StatLine(p) + "\n";
  }
  return stamp;
}

void FontMatchCache::Load() {
  FLoaded = true;
  if (FPath.empty()) return;
  std::ifstream in(FPath);
  std::string line;
  if (!in || !std::getline(in, line) || line != kHeader) return;
  std::string stamp;
  std::map<Key, FontMatch> matches;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = Split(line);
    if (f[0] == "rules" && f.size() == 2) {
      if (f[1] != FRules) return;  // another version of our own matching
      stamp += line + "\n";
    } else if (f[0] == "env" && f.size() == 3) {
      if (line != EnvLine(f[1].c_str())) return;
      stamp += line + "\n";
    } else if (f[0] == "stat" && (f.size() == 3 || f.size() == 4)) {
      if (line != StatLine(f[1])) return;  // changed since: every answer may differ
      stamp += line + "\n";
    } else if (f[0] == "match" && f.size() == 8) {
      FontMatch m;
      m.File = f[4];
      m.Index = std::atoi(f[5].c_str());
      m.SynthBold = f[6] == "1";
      m.SynthItalic = f[7] == "1";
      matches[Key{f[1], f[2] == "1", f[3] == "1"}] = m;
    } else {
      return;  // damaged: ignored whole
    }
  }
  // Matches with no stamp, or without our rules, would never be checked.
  if (stamp.rfind("rules\t", 0) != 0) return;
  FStamp = std::move(stamp);
  FMatches = std::move(matches);
}

std::optional<FontMatch> FontMatchCache::Find(const std::string& lowerName, bool bold, bool italic) {
  if (!FLoaded) Load();
  auto it = FMatches.find(Key{lowerName, bold, italic});
  if (it == FMatches.end()) return std::nullopt;
  return it->second;
}

void FontMatchCache::Record(FcConfig* config, const std::string& lowerName, bool bold, bool italic,
                            const FontMatch& m) {
  if (FPath.empty() || !config || !Clean(lowerName) || !Clean(m.File)) return;
  if (!FLoaded) Load();
  if (FStampedConfig != config) {
    // Taken once, right after the configuration was loaded: what it saw.
    FStampedConfig = config;
    const std::string stamp = Stamp(config);
    if (stamp != FStamp) FMatches.clear();  // answers recorded under another configuration
    FStamp = stamp;
  }
  if (FStamp.empty()) return;
  FMatches[Key{lowerName, bold, italic}] = m;

  std::ostringstream out;
  out << kHeader << "\n" << FStamp;
  for (const auto& [key, match] : FMatches)
    out << "match\t" << std::get<0>(key) << "\t" << std::get<1>(key) << "\t" << std::get<2>(key) << "\t"
        << match.File << "\t" << match.Index << "\t" << match.SynthBold << "\t" << match.SynthItalic << "\n";
  // The folder may not exist yet; a cache that cannot be written is simply not kept.
  const std::string dir = Parent(FPath);
  mkdir(Parent(dir).c_str(), 0700);
  mkdir(dir.c_str(), 0700);
  const std::string temp = FPath + ".tmp" + std::to_string(getpid());
  {
    std::ofstream file(temp, std::ios::trunc);
    if (!(file << out.str()) || !file.flush()) {
      file.close();
      std::remove(temp.c_str());
      return;
    }
  }
  if (std::rename(temp.c_str(), FPath.c_str()) != 0) std::remove(temp.c_str());
}

}  // namespace gfx
