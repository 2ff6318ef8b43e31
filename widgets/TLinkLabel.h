#pragma once
// A label that shows a link: the hand cursor, link colours, an optional hover effect, and a
// click that asks the desktop to open the address (scheme prefix + caption) once.
#include <string>

#include "toolkit/controls/TLabel.h"

enum TLabelType { hmHTTP, hmMAIL, hmFTP };

class TLinkLabel : public TLabel {
 public:
  // The hand cursor's place in the screen's cursor table (image: resource LINKHAND).
  static constexpr TCursor crLinkHand = 25;

  explicit TLinkLabel(TComponent* AOwner);

  TLabelType LabelType() const { return FLabelType; }
  void SetLabelType(TLabelType value);
  TColor LinkColStd() const { return FLinkColStd; }
  void SetLinkColStd(TColor value);  // the font's colour too
  TColor LinkColPre() const { return FLinkColPre; }
  void SetLinkColPre(TColor value);
  // On: underlined and in LinkColPre only while the mouse is over it; off: always underlined.
  bool HoverEffect() const { return FHoverEffect; }
  void SetHoverEffect(bool value);

  // What a click opens for CAPTION: the scheme's prefix and the caption. A caption that
  // already names its scheme is taken as it is, and a Windows-style "scheme:\\" becomes
  // "scheme://". Empty when there is nothing to open.
  static std::string Address(TLabelType type, const std::string& caption);

  void Click() override;

 protected:
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TLabelType FLabelType = hmHTTP;
  TColor FLinkColStd = clBlue;
  TColor FLinkColPre = clRed;
  bool FHoverEffect = false;
};
