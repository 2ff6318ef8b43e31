#include "resources/Resources.h"

#include <utility>

namespace res {

extern const std::pair<std::string_view, std::string_view> kResourceTable[];
extern const int kResourceCount;

std::string_view Find(std::string_view name) {
  for (int i = 0; i < kResourceCount; ++i)
    if (kResourceTable[i].first == name) return kResourceTable[i].second;
  return {};
}

}  // namespace res
