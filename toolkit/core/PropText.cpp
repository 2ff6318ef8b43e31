#include "toolkit/core/PropText.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace PropText {

std::string Int(long long value) { return std::to_string(value); }

std::string Double(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  std::array<char, 64> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), res.ptr);
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Color(TColor value) { return std::to_string(value); }

std::string Enum(int value, std::initializer_list<const char*> names) {
  if (value >= 0 && std::size_t(value) < names.size()) return *(names.begin() + value);
  return std::to_string(value);
}

bool Is(std::string_view name, std::string_view property) {
  if (name.size() != property.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(property[i])))
      return false;
  return true;
}

std::string Align(TAlign value) {
  return Enum(value, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
}
std::string BorderStyle(TBorderStyle value) {
  return Enum(value, {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
}
std::string FormStyle(TFormStyle value) { return Enum(value, {"fsNormal", "fsStayOnTop"}); }
std::string Alignment(TAlignment value) { return Enum(value, {"taLeftJustify", "taRightJustify", "taCenter"}); }
std::string Position(TPosition value) {
  return Enum(value, {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                      "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
}
std::string WindowState(TWindowState value) { return Enum(value, {"wsNormal", "wsMinimized", "wsMaximized"}); }

}  // namespace PropText
