#include "magnifier/TfrmInfo.h"

#include <cstdio>

#include "graphics/Contrast.h"
#include "toolkit/core/ResourceLoader.h"

namespace {

constexpr int kHeight = 69;
constexpr int kContrastRowsHeight = 24;  // two more rows of labels, 12 pixels apart

// The best grade a contrast ratio earns: "AAA", "AA" or "fail".
const char* Grade(bool aaa, bool aa) { return aaa ? "AAA" : aa ? "AA" : "fail"; }

TImage* Glyph(TfrmInfo* form, TWinControl* parent, const char* name, int left, int top, const char* resource) {
  auto* i = TComponent::Create<TImage>(form);
  i->SetName(name);
  i->SetParent(parent);
  i->SetBounds(left, top, 8, 8);
  i->SetTransparent(true);
  i->SetPicture(LoadBitmapResource(resource));
  return i;
}

TLabel* Label(TfrmInfo* form, TWinControl* parent, const char* name, int left, int top) {
  auto* l = TComponent::Create<TLabel>(form);
  l->SetName(name);
  l->SetParent(parent);
  l->SetAutoSize(true);
  gfx::Font f;
  f.Name = "Small Fonts";
  f.Height = -9;
  f.Color = clWindowText;
  l->Font().SetData(f);
  l->SetLeft(left);
  l->SetTop(top);
  l->SetCaption("9999");
  return l;
}

TShape* Swatch(TfrmInfo* form, TWinControl* parent, const char* name, int left, int top, TColor color) {
  auto* s = TComponent::Create<TShape>(form);
  s->SetName(name);
  s->SetParent(parent);
  s->SetBounds(left, top, 8, 8);
  s->SetBrushColor(color);
  return s;
}

}  // namespace

TfrmInfo::TfrmInfo(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  SetName("frmInfo");
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  // It floats beside the loupe and must never take the keyboard focus from the strip.
  SetWindowKind(plat::WindowKind::Popup);
  SetClientHeight(kHeight);
  SetClientWidth(108);

  Panel1 = TComponent::Create<TPanel>(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(alClient);
  Panel1->SetCaption("");

  Image1 = Glyph(this, Panel1, "Image1", 4, 6, "INFOX");
  lblX = Label(this, Panel1, "lblX", 14, 5);
  Shape1 = Swatch(this, Panel1, "Shape1", 38, 5, 0x0000FF);
  lblRed = Label(this, Panel1, "lblRed", 48, 4);
  Image2 = Glyph(this, Panel1, "Image2", 4, 18, "INFOY");
  lblY = Label(this, Panel1, "lblY", 14, 17);
  Shape2 = Swatch(this, Panel1, "Shape2", 38, 18, 0x00FF00);
  lblGreen = Label(this, Panel1, "lblGreen", 48, 17);
  Image3 = Glyph(this, Panel1, "Image3", 4, 30, "INFODX");
  lblDX = Label(this, Panel1, "lblDX", 15, 29);
  Shape3 = Swatch(this, Panel1, "Shape3", 38, 31, 0xFF0000);
  lblBlue = Label(this, Panel1, "lblBlue", 48, 30);
  Image4 = Glyph(this, Panel1, "Image4", 4, 42, "INFODY");
  lblDY = Label(this, Panel1, "lblDY", 15, 41);
  Image6 = Glyph(this, Panel1, "Image6", 38, 43, "INFOAREA");
  lblOpp = Label(this, Panel1, "lblOpp", 48, 41);
  Image5 = Glyph(this, Panel1, "Image5", 4, 54, "INFODXY");
  lblDXY = Label(this, Panel1, "lblDXY", 15, 53);
  Image7 = Glyph(this, Panel1, "Image7", 38, 55, "INFOHALF");
  lblHalfOpp = Label(this, Panel1, "lblHalfOpp", 48, 53);
  shpBackground = Swatch(this, Panel1, "shpBackground", 4, 67, clWhite);
  lblContrast = Label(this, Panel1, "lblContrast", 15, 65);
  lblLarge = Label(this, Panel1, "lblLarge", 15, 77);
  ShowContrastRows(std::nullopt);

  OnClose = std::bind(&TfrmInfo::FormClose, this, _1, _2);
}

// Only the loupe shows and hides the panel.
void TfrmInfo::FormClose(TObject*, TCloseAction& Action) { Action = caNone; }

void TfrmInfo::ShowContrastRows(std::optional<gfx::TColor> background) {
  shpBackground->SetVisible(background.has_value());
  lblContrast->SetVisible(background.has_value());
  lblLarge->SetVisible(background.has_value());
  if (background) shpBackground->SetBrushColor(*background);
  SetClientHeight(kHeight + (background ? kContrastRowsHeight : 0));
}

// Graded on the exact ratio, as the guidelines ask: 4.499 fails AA although it shows as 4.50.
void TfrmInfo::ShowContrast(gfx::TColor fore) {
  if (!lblContrast->Visible()) return;
  const double ratio = gfx::ContrastRatio(fore, shpBackground->Brush().Color);
  const gfx::ContrastGrades g = gfx::GradeContrast(ratio);
  char text[48];
  std::snprintf(text, sizeof text, "%.2f:1 text %s", ratio, Grade(g.AAANormal, g.AANormal));
  lblContrast->SetCaption(text);
  lblLarge->SetCaption(std::string("large text ") + Grade(g.AAALarge, g.AALarge));
}
