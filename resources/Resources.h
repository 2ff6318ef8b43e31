#pragma once
// The program's built-in resources: text files from resources/*.res compiled into the binary.
#include <string_view>

namespace res {

// The text of the resource NAME (file name without ".res"), or an empty view when there is none.
std::string_view Find(std::string_view name);

}  // namespace res
