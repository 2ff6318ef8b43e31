#pragma once
// How Ctrl+C and Ctrl+Shift+C put readings and colours on the clipboard, and the settings file's
// [Copy] section that keeps the choice. Pure text work, tested without starting the program.
#include <optional>
#include <string>
#include <string_view>

#include "graphics/Color.h"
#include "platform/ProfileFile.h"

enum class TReadingFormat { Number, WithUnit, Css, Template };
enum class TColourFormat { Hex, Rgb, Hsl, Template };

// What is copied: one reading along the strip, or the width and height between edges. Numbers
// are the texts the caption or the label shows ("137", "36.2").
struct TCopiedReading {
  std::string Value;                  // the reading, or the width
  std::optional<std::string> Height;  // the height, for a width and height
  std::string Unit;                   // "px", "mm", ...
  bool Vertical = false;              // a single reading along a vertical strip
};

// A template is a line of text; anything longer is a damaged file or a slip, not a format.
constexpr std::size_t kMaxCopyTemplate = 200;

struct TCopyFormats {
  TReadingFormat Reading = TReadingFormat::Number;
  std::string ReadingTemplate = "{value} {unit}";
  TColourFormat Colour = TColourFormat::Hex;
  std::string ColourTemplate = "#{hex}";

  // A missing section or unknown values give the formats above: what Ctrl+C copied before the
  // choice existed.
  static TCopyFormats Read(const plat::ProfileFile& ini);
  // Writes the section only when it differs from the defaults or the file has it already.
  void Write(plat::ProfileFile& ini) const;

  friend bool operator==(const TCopyFormats&, const TCopyFormats&) = default;
};

// "137", "137 px", "137 x 41", "width: 137px; height: 41px;", or the template with {value},
// {width}, {height} and {unit} filled in.
std::string FormatReading(const TCopyFormats& f, const TCopiedReading& r);
// "#336699", "rgb(51, 102, 153)", "hsl(210, 50%, 40%)", or the template with {hex}, {r}, {g},
// {b}, {h}, {s} and {l} filled in.
std::string FormatColour(const TCopyFormats& f, gfx::TColor c);

// The names the settings file and the dialog use, and back.
const char* ReadingFormatName(TReadingFormat f);
const char* ColourFormatName(TColourFormat f);
