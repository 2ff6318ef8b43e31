#pragma once
// A label that paints its caption over a stack of offset copies in a highlight and a shadow
// colour (raised, sunken, shadowed and flying text), can fill the letters with a colour
// gradient, and can turn the caption to any angle: either with rotated glyphs, or with upright
// letters laid out along the angle.
//
// Setting a depth or direction makes the style esCustom; setting a highlight or shadow colour
// makes the scheme csCustom (and remembers the colour in the custom scheme). Applying a style
// or a scheme sets several of these properties at once without those side effects.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/controls/TLabel.h"

using TEffectDepth = int;  // 0 .. 10
using TAngleRange = int;   // 0 .. 360 degrees, counter-clockwise

enum TEffectDirection { edNone, edUp, edUpRight, edRight, edDownRight, edDown, edDownLeft, edLeft, edUpLeft };
enum TEffectOption { eoNormal, eoReal, eoExtrude, eoGraduated };
enum TEffectStyle { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum TColourScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum TGraduateOption { goNone, goVertical, goHorizontal };

class TEffectLabel : public TLabel {
 public:
  static constexpr TEffectDepth kMaxDepth = 10;
  static constexpr TAngleRange kMaxAngle = 360;

  struct TSchemeColours {
    TColor Highlight;
    TColor Shadow;
    TColor Face;
    friend bool operator==(const TSchemeColours&, const TSchemeColours&) = default;
  };

  explicit TEffectLabel(TComponent* AOwner);

  // Offset of one depth step in DIRECTION (x right, y down); (0, 0) for edNone or a bad value.
  static Point DirectionOffset(TEffectDirection direction);
  // The fixed colours of SCHEME (the custom row as it was at creation).
  static TSchemeColours DefaultSchemeColours(TColourScheme scheme);

  // Depths outside 0..10 are clamped.
  TEffectDepth DepthHighlight() const { return FDepthHighlight; }
  void SetDepthHighlight(TEffectDepth value);
  TEffectDepth DepthShadow() const { return FDepthShadow; }
  void SetDepthShadow(TEffectDepth value);
  // Values outside the enumeration are ignored (as are they for every enumerated property).
  TEffectDirection DirectionHighlight() const { return FDirectionHighlight; }
  void SetDirectionHighlight(TEffectDirection value);
  TEffectDirection DirectionShadow() const { return FDirectionShadow; }
  void SetDirectionShadow(TEffectDirection value);
  TColor ColourHighlight() const { return FColourHighlight; }
  void SetColourHighlight(TColor value);
  TColor ColourShadow() const { return FColourShadow; }
  void SetColourShadow(TColor value);
  TGraduateOption GraduateFace() const { return FGraduateFace; }
  void SetGraduateFace(TGraduateOption value);
  TColor GraduateFrom() const { return FGraduateFrom; }
  void SetGraduateFrom(TColor value);
  TEffectOption StyleHighlight() const { return FStyleHighlight; }
  void SetStyleHighlight(TEffectOption value);
  TEffectOption StyleShadow() const { return FStyleShadow; }
  void SetStyleShadow(TEffectOption value);
  TEffectStyle EffectStyle() const { return FEffectStyle; }
  void SetEffectStyle(TEffectStyle value);
  TColourScheme ColourScheme() const { return FColourScheme; }
  void SetColourScheme(TColourScheme value);
  bool AsButton() const { return FAsButton; }
  void SetAsButton(bool value);
  // Angles outside 0..360 are brought into range by whole turns (-90 is 270).
  TAngleRange Angle() const { return FAngle; }
  void SetAngle(TAngleRange value);
  bool KeepLettersVertical() const { return FKeepLettersVertical; }
  void SetKeepLettersVertical(bool value);

  // The current colours of SCHEME (the custom row follows direct colour writes).
  TSchemeColours SchemeColours(TColourScheme scheme) const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  // With AsButton the label acts as a push button and its own mouse events are not raised.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TEffectDepth FDepthHighlight = 1;
  TEffectDepth FDepthShadow = 1;
  TEffectDirection FDirectionHighlight = edUpLeft;
  TEffectDirection FDirectionShadow = edDownRight;
  TColor FColourHighlight = clWhite;
  TColor FColourShadow = clBlack;
  TGraduateOption FGraduateFace = goNone;
  TColor FGraduateFrom = clWindowText;
  TEffectOption FStyleHighlight = eoNormal;
  TEffectOption FStyleShadow = eoNormal;
  TEffectStyle FEffectStyle = esRaised;
  TColourScheme FColourScheme = csWindows;
  bool FAsButton = false;
  TAngleRange FAngle = 0;
  bool FKeepLettersVertical = false;

  // Set while a style (both flags) or a scheme (the second) is being applied, so the
  // properties it writes do not switch the style or scheme to custom.
  bool FApplyingStyle = false;
  bool FApplyingScheme = false;
  std::array<TSchemeColours, 6> FSchemes;
  // Of Angle, kept with the angle: cosine, sine and their squares.
  double FCos = 1, FSin = 0, FCos2 = 1, FSin2 = 0;

  void ChangeToCustomStyle();
};
