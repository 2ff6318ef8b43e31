#pragma once
// Fontconfig's answers from earlier runs, kept in a small file, so that a start whose fonts were
// all matched before draws its first frame without loading fontconfig's configuration (parsing
// its few dozen XML files costs more than everything else up to that frame).
//
// The answers are given again only while nothing that could change them has changed: the file
// records the environment fontconfig reads, and the modification time and size of every
// configuration file and folder it read, of the folders a user's own configuration would be
// read from, and of every font folder. Any difference and the file is ignored: the caller loads
// the configuration and records afresh.
//
// Internal to graphics/ (FontEngine). Single-threaded.
#include <fontconfig/fontconfig.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace gfx {

// What fontconfig chose for one face name and style.
struct FontMatch {
  std::string File;  // empty: no scalable font
  int Index = 0;
  bool SynthBold = false;
  bool SynthItalic = false;
  friend bool operator==(const FontMatch&, const FontMatch&) = default;
};

class FontMatchCache {
 public:
  // PATH: the cache file; empty keeps nothing. RULES: what the caller adds to fontconfig's
  // matching (its aliases, its pattern), recorded with the answers and checked like the files.
  FontMatchCache(std::string path, std::string rules) : FPath(std::move(path)), FRules(std::move(rules)) {}
  // $XDG_CACHE_HOME/vantrel/font-matches, else ~/.cache/vantrel/font-matches.
  static std::string DefaultPath();

  // The recorded answer for the lower-case NAME and style, while the file is still valid.
  std::optional<FontMatch> Find(const std::string& lowerName, bool bold, bool italic);
  // Records an answer just given by CONFIG and rewrites the file (replaced whole, so that a
  // reader never sees half of it).
  void Record(FcConfig* config, const std::string& lowerName, bool bold, bool italic, const FontMatch& m);

 private:
  using Key = std::tuple<std::string, bool, bool>;
  void Load();
  // Our rules, and the environment and file stamps that decide fontconfig's answers, one per
  // line.

  std::string Stamp(FcConfig* config) const;

  std::string FPath;
  std::string FRules;
  bool FLoaded = false;
  std::string FStamp;  // as read, or as taken for FStampedConfig
  FcConfig* FStampedConfig = nullptr;
  std::map<Key, FontMatch> FMatches;
};

}  // namespace gfx
