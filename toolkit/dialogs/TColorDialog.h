#pragma once
// The colour chooser, as a toolkit form: the classic grid of 48 basic colours and, when
// fully open, a custom colour by its red, green and blue values (three fields) with a
// preview. OK takes the previewed colour.
//
// On the virtual desktop a queued scripted answer ("0xBBGGRR" or "cancel") stands in for the
// user.
#include <array>
#include <string>

#include "toolkit/core/Forward.h"
#include "toolkit/core/TComponent.h"

using TColorDialogOptions = unsigned;
enum : TColorDialogOptions {
  cdFullOpen = 1u << 0, cdPreventFullOpen = 1u << 1, cdShowHelp = 1u << 2, cdSolidColor = 1u << 3,
  cdAnyColor = 1u << 4
};

class TColorDialog : public TComponent {
 public:
  explicit TColorDialog(TComponent* AOwner);

  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  TColorDialogOptions Options() const { return FOptions; }
  void SetOptions(TColorDialogOptions value) { FOptions = value; }

  // Runs the dialog; true when the user confirmed a colour (then in Color).
  bool Execute();
  // The dialog's form while Execute shows it, else nullptr.
  TForm* Form() const { return FForm; }

  // The 48 basic colours, row by row (8 a row).
  static const std::array<TColor, 48>& BasicColors();
  // "0xBBGGRR" (also "$BBGGRR" or decimal) as a colour; nullopt when it is not one.
  static std::optional<TColor> ParseColor(const std::string& text);

  std::optional<std::string> GetPropText(std::string_view name) const override;

  // Grid geometry (client pixels of the dialog).
  static constexpr int kGridLeft = 8;
  static constexpr int kGridTop = 24;
  static constexpr int kCellWidth = 24;
  static constexpr int kCellHeight = 20;

 private:
  TColor FColor = clBlack;
  TColorDialogOptions FOptions = 0;
  TForm* FForm = nullptr;
};
