#pragma once
// Paints its form's title bar: a horizontal colour gradient in NumColors bands, and the title
// as up to three parts (company, application, caption), each with its own font and colours.
// Parts are dropped from the left when the bar is too narrow. The form's own window text is
// kept equal to the visible parts joined by spaces, so the window system shows the same title.
//
// The owner must be a form: the component chains in front of its window procedure and
// restores it when destroyed. The form's own frame painting still draws the borders and the
// caption buttons; only the title area is ours.
#include <functional>
#include <memory>
#include <string>

#include "graphics/Font.h"
#include "toolkit/core/TComponent.h"
#include "toolkit/core/Types.h"

#include "toolkit/core/Forward.h"
class TForm;
class TGradientCaption;

enum TFontKind { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };
enum TGradEnabled { geAlways, geNever, geWhenActive, geSmart };
enum TJustification { jAuto, jLeft, jCenter, jRight };

using TOnDrawCaption = std::function<void(TObject* Sender, TCanvas& Canvas, Rect R)>;

// One part of the title. TAppNameText and TCaptionText are the same with another place.
class TCompanyText {
 public:
  explicit TCompanyText(TGradientCaption* owner);
  virtual ~TCompanyText() = default;

  virtual std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  TColor ColorActive() const { return FColorActive; }
  void SetColorActive(TColor value) { FColorActive = value; }
  TColor ColorInactive() const { return FColorInactive; }
  void SetColorInactive(TColor value) { FColorInactive = value; }
  const gfx::Font& Font() const { return FFont; }
  // Assigning a font makes the kind fkCustom, except that fkAutoHeight re-adjusts its height.
  void SetFont(const gfx::Font& value);
  TFontKind FontKind() const { return FFontKind; }
  void SetFontKind(TFontKind value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);

  // Re-derives the font from the caption font for the system kinds.
  void ApplyFontKind();

 protected:
  friend class TGradientCaption;
  TGradientCaption* FOwner;
  std::string FCaption;

 private:
  TColor FColorActive = clCaptionText;
  TColor FColorInactive = clInactiveCaptionText;
  gfx::Font FFont;
  TFontKind FFontKind = fkSystem;
  bool FVisible = true;
};

class TAppNameText : public TCompanyText {
 public:
  using TCompanyText::TCompanyText;
};

// The right part follows the form's caption: what remains of the window text after the
// visible company and application parts.
class TCaptionText : public TAppNameText {
 public:
  using TAppNameText::TAppNameText;
  std::string Caption() const override;
};

class TGradientCaption : public TComponent {
 public:
  explicit TGradientCaption(TComponent* AOwner);  // AOwner must be a TForm
  ~TGradientCaption() override;

  TCompanyText& CompanyText() { return *FCompanyText; }
  TAppNameText& AppNameText() { return *FAppNameText; }
  TCaptionText& CaptionText() { return *FCaptionText; }

  TColor ColorLeftActive() const { return FColorLeftActive; }
  void SetColorLeftActive(TColor value) { FColorLeftActive = value; }
  TColor ColorLeftInActive() const { return FColorLeftInActive; }
  void SetColorLeftInActive(TColor value) { FColorLeftInActive = value; }
  TColor ColorRightActive() const { return FColorRightActive; }
  void SetColorRightActive(TColor value) { FColorRightActive = value; }
  TColor ColorRightInActive() const { return FColorRightInActive; }
  void SetColorRightInActive(TColor value) { FColorRightInActive = value; }
  TGradEnabled Enabled() const { return FEnabled; }
  void SetEnabled(TGradEnabled value) { FEnabled = value; }
  TJustification Justification() const { return FJustification; }
  void SetJustification(TJustification value) { FJustification = value; }
  // 1..256 bands; more is stored as 256, zero or less is ignored.
  int NumColors() const { return FNumColors; }
  void SetNumColors(int value);

  TOnDrawCaption OnDrawCaption;

  TForm* Form() const { return FForm; }
  // The caption font of the desktop (the one the toolkit's own title bars use).
  static gfx::Font SystemCaptionFont();
  // The title area: the bar less the caption buttons (window pixels; empty without a bar).
  Rect TitleRect() const;
  // The colour of band I of N between LEFT and RIGHT: each channel left + MulDiv(i, right -
  // left, n - 1), modulo 256; LEFT alone when N is 1.
  static TColor BandColor(TColor left, TColor right, int i, int n);

  // Rebuilds the form's window text from the parts.
  void UpdateFormText();

 private:
  void FormWndProc(TMessage& message);
  void PaintTitleBar(TCanvas& canvas);
  bool IsActive() const;

  TForm* FForm = nullptr;
  TWndMethod FSavedProc;
  bool FHooked = false;
  bool FActiveKnown = false;
  bool FActive = false;
  std::unique_ptr<TCompanyText> FCompanyText;
  std::unique_ptr<TAppNameText> FAppNameText;
  std::unique_ptr<TCaptionText> FCaptionText;
  TColor FColorLeftActive = clBlack;
  TColor FColorLeftInActive = clBlack;
  TColor FColorRightActive = clActiveCaption;
  TColor FColorRightInActive = clInactiveCaption;
  TGradEnabled FEnabled = geSmart;
  TJustification FJustification = jAuto;
  int FNumColors = 64;
};
