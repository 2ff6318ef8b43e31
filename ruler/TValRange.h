#pragma once
// The limits a roll of the ruler's scale stops at. Four plain values without side effects:
// callers change them in place on the ruler's own object.
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/core/TObject.h"

class TValRange : public TObject {
 public:
  bool MinValid() const { return FMinValid; }
  void SetMinValid(bool value) { FMinValid = value; }
  double Min() const { return FMin; }
  void SetMin(double value) { FMin = value; }
  bool MaxValid() const { return FMaxValid; }
  void SetMaxValid(bool value) { FMaxValid = value; }
  double Max() const { return FMax; }
  void SetMax(double value) { FMax = value; }

  void Assign(const TValRange& source);

  // MinValid, Min, MaxValid or Max as text, or nullopt for another name.
  std::optional<std::string> GetPropText(std::string_view name) const;

 private:
  bool FMinValid = false;
  double FMin = 0.0;
  bool FMaxValid = false;
  double FMax = 100.0;
};
