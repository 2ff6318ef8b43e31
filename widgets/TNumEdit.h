#pragma once
// A flat edit that holds a number: Value is kept as a double and shown in DisplayFormat with
// Decimal digits; MinValue..MaxValue clamps it (with a beep) unless the two are equal.
//
// The text is read as a plain decimal number (sign, digits, a point, an exponent); anything
// else ("nan", "inf", hex, text too long to be a number) reads as MinValue.
#include <optional>
#include <string>

#include "widgets/TPlusEdit.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

class TNumEdit : public TPlusEdit {
 public:
  explicit TNumEdit(TComponent* AOwner);

  // The number the text shows (not clamped); MinValue when the text is not a number.
  double Value() const;
  // Clamps VALUE into the range (beeping when it had to) and shows it.
  void SetValue(double value);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double value) { FMinValue = value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double value) { FMaxValue = value; }
  TFloatFormat DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(TFloatFormat value);
  int Decimal() const { return FDecimal; }
  void SetDecimal(int value);  // 0..255

  // Value rounded to the nearest integer (halves to even), saturating at the int range.
  int RoundedValue() const;

  // VALUE as DISPLAYFORMAT shows it with 15 significant digits and DIGITS digits
  // (decimals; the exponent's least digits for ffExponent).
  static std::string FormatFloat(double value, TFloatFormat format, int digits);
  // TEXT as a plain decimal number, or nullopt.
  static std::optional<double> ParseNumber(const std::string& text);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  // Leaving the field puts the value in use back into the text, clamped.
  void DoExit() override;
  double Clamp(double value) const;
  void Beep() const;

 private:
  double FValue = 0;
  double FMinValue = 0;
  double FMaxValue = 0;
  TFloatFormat FDisplayFormat = ffGeneral;
  int FDecimal = 0;
};
