#pragma once
// A private-profile (INI) file: "[Section]" lines open sections, "Key=Value" lines hold values.
//
// The file is read whole when opened and written whole by Save(): the new text goes to a
// temporary file beside the old one, which is then renamed over it, so a failed or interrupted
// write never leaves a half-written or empty settings file. Writing keeps every line it does
// not change (other sections, other keys, comments); an existing key keeps its line, a new key
// goes to the end of its section, a new section to the end of the file. Lines end with CR LF.
// Section and key names match without regard to ASCII case.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat {

// Raised by Save() when the file cannot be written; the message is "Unable to write to PATH".
class ProfileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ProfileFile {
 public:
  // Reads PATH if it exists; a missing or unreadable file is an empty profile.
  explicit ProfileFile(std::string path);
  // A profile holding TEXT as if read from PATH (which is not touched until Save).
  static ProfileFile FromText(std::string path, std::string_view text);

  const std::string& Path() const { return FPath; }

  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // Every key of SECTION with its value, in the file's order (each key once, as ReadString
  // reads it).
  std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;
  // The integer rules of the settings file: "0x"/"0X" followed by hexadecimal digits (more than
  // two characters in all), "$" followed by hexadecimal digits, or a signed decimal integer.
  // Hexadecimal values of up to 8 digits are taken as 32-bit patterns (0xFFFFFFFF is -1);
  // anything else, an overflow included, gives DEFAULTVALUE.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  // Writes the file if anything changed (or if FORCE); throws ProfileWriteError on failure,
  // leaving the old file as it was.
  void Save(bool force = false);

  // The text Save() would write.
  std::string Text() const;

  // Parses an integer value text with the rules of ReadInteger.
  static std::optional<std::int32_t> ParseInteger(std::string_view text);

 private:
  ProfileFile() = default;
  void Parse(std::string_view text);
  static std::string Unquoted(std::string_view value);

  std::string FPath;
  std::vector<std::string> FLines;
  bool FDirty = false;
};

}  // namespace plat
