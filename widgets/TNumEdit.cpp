#include "widgets/TNumEdit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/Platform.h"
#include "toolkit/core/PropText.h"

namespace {

// Longest text that can still be a number worth reading.
constexpr std::size_t kMaxNumberText = 64;
constexpr int kPrecision = 15;

// "1.5E+003" style exponent clean-up for the general format: "1.5E3", "1E-5".
std::string TidyExponent(std::string s, int minDigits, bool plus) {
  const auto e = s.find('E');
  if (e == std::string::npos) return s;
  std::string mant = s.substr(0, e);
  char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  if (digits == "0" && minDigits == 0) digits.clear();
  while (int(digits.size()) < minDigits) digits.insert(0, "0");
  std::string out = mant + "E";
  if (sign == '-') out += '-';
  else if (plus) out += '+';
  return out + digits;
}

// Thousands separators in the integer part of a plain "-1234.5" text.
std::string Group(const std::string& s) {
  const std::size_t start = s[0] == '-' ? 1 : 0;
  std::size_t end = s.find('.');
  if (end == std::string::npos) end = s.size();
  std::string out = s.substr(0, start);
  for (std::size_t i = start; i < end; ++i) {
    out += s[i];
    const std::size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) out += ',';
  }
  return out + s.substr(end);
}

}  // namespace

TNumEdit::TNumEdit(TComponent* AOwner) : TPlusEdit(AOwner) { TPlusEdit::SetText("0"); }

void TNumEdit::Beep() const {
  if (plat::Platform::HasCurrent()) plat::Platform::Current().Beep();
}

std::string TNumEdit::FormatFloat(double v, TFloatFormat format, int digits) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  digits = std::clamp(digits, 0, 18);
  char buf[512];
  const bool huge = v != 0 && std::fabs(v) >= 1e15;
  switch (format) {
    case ffExponent:
      std::snprintf(buf, sizeof buf, "%.*E", kPrecision - 1, v);
      return TidyExponent(buf, std::min(digits, 4), true);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (huge) break;
      std::snprintf(buf, sizeof buf, "%.*f", digits, v);
      std::string s = buf;
      if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) s.erase(0, s[0] == '-' ? 1 : 0);
      if (format == ffFixed) return s;
      s = Group(s);
      if (format == ffNumber) return s;
      return s[0] == '-' ? "-$" + s.substr(1) : "$" + s;
    }
    case ffGeneral:
    default:
      break;
  }
  std::snprintf(buf, sizeof buf, "%.*G", kPrecision, v);
  std::string s = buf;
  if (s == "-0") s = "0";
  return TidyExponent(s, 0, false);
}

std::optional<double> TNumEdit::ParseNumber(const std::string& text) {
  std::string_view s = text;
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  if (s.empty() || s.size() > kMaxNumberText) return std::nullopt;
  // sign? digits* (. digits*)? ([eE] sign? digits+)? with at least one mantissa digit.
  std::size_t i = 0;
  auto digitsAt = [&] {
    const std::size_t from = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    return i - from;
  };
  if (s[i] == '+' || s[i] == '-') ++i;
  std::size_t mantissa = digitsAt();
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissa += digitsAt();
  }
  if (mantissa == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digitsAt() == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const std::string copy(s);
  const double v = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double TNumEdit::Clamp(double v) const {
  if (FMaxValue == FMinValue) return v;
  if (v < FMinValue) return FMinValue;
  if (v > FMaxValue) return FMaxValue;
  return v;
}

double TNumEdit::Value() const {
  const std::string text = FDisplayFormat == ffCurrency ? FormatFloat(FValue, ffGeneral, 0) : Text();
  return ParseNumber(text).value_or(FMinValue);
}

void TNumEdit::SetValue(double value) {
  if (std::isnan(value)) value = FMinValue;
  const double clamped = Clamp(value);
  if (clamped != value) Beep();
  FValue = clamped;
  SetText(FormatFloat(FValue, FDisplayFormat, FDecimal));
}

int TNumEdit::RoundedValue() const {
  const double r = std::nearbyint(Value());  // the default rounding: halves to even
  if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(r);
}

void TNumEdit::SetDisplayFormat(TFloatFormat value) {
  if (value == FDisplayFormat || value < ffGeneral || value > ffCurrency) return;
  FDisplayFormat = value;
  SetText(FormatFloat(FValue, FDisplayFormat, FDecimal));
}

void TNumEdit::SetDecimal(int value) {
  value = std::clamp(value, 0, 255);
  if (value == FDecimal) return;
  FDecimal = value;
  SetText(FormatFloat(FValue, FDisplayFormat, FDecimal));
}

void TNumEdit::DoExit() {
  TPlusEdit::DoExit();
  const std::optional<double> typed = FDisplayFormat == ffCurrency ? std::optional<double>(FValue) : ParseNumber(Text());
  const double v = typed.value_or(FMinValue);
  const bool outside = FMaxValue != FMinValue && (v < FMinValue || v > FMaxValue);
  // An entry that is not a number, or out of range, is answered with a beep; the text then
  // shows the value in use.
  if (!typed || outside) Beep();
  if (!typed || outside || FormatFloat(Clamp(v), FDisplayFormat, FDecimal) != Text()) SetValue(v);
  else FValue = v;
}

std::optional<std::string> TNumEdit::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Value")) return Double(Value());
  if (Is(name, "MinValue")) return Double(FMinValue);
  if (Is(name, "MaxValue")) return Double(FMaxValue);
  if (Is(name, "Decimal")) return Int(FDecimal);
  if (Is(name, "DisplayFormat")) return Enum(FDisplayFormat, {"ffGeneral", "ffExponent", "ffFixed", "ffNumber", "ffCurrency"});
  return TPlusEdit::GetPropText(name);
}
