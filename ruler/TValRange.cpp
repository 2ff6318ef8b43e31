#include "ruler/TValRange.h"

#include "toolkit/core/PropText.h"

void TValRange::Assign(const TValRange& source) {
  FMinValid = source.FMinValid;
  FMin = source.FMin;
  FMaxValid = source.FMaxValid;
  FMax = source.FMax;
}

std::optional<std::string> TValRange::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "MinValid")) return Bool(FMinValid);
  if (Is(name, "Min")) return Double(FMin);
  if (Is(name, "MaxValid")) return Bool(FMaxValid);
  if (Is(name, "Max")) return Double(FMax);
  return std::nullopt;
}
