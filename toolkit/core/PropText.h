#pragma once
// Formatting of published property values for GetPropText (the scenario runner's "prop"
// query): integers and colours in decimal, floating values as the shortest text that reads
// back exactly, Booleans true/false, enumerations by name, strings as they are.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "toolkit/core/Types.h"

namespace PropText {

std::string Int(long long value);
std::string Double(double value);
std::string Bool(bool value);
std::string Color(TColor value);
// NAMES[value], or the number when VALUE is outside the list.
std::string Enum(int value, std::initializer_list<const char*> names);
// Property names compare without case, as the classic streaming does.
bool Is(std::string_view name, std::string_view property);

std::string Align(TAlign value);
std::string BorderStyle(TBorderStyle value);
std::string FormStyle(TFormStyle value);
std::string Alignment(TAlignment value);
std::string Position(TPosition value);
std::string WindowState(TWindowState value);

}  // namespace PropText
