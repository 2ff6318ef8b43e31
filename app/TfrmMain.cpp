#include "app/TfrmMain.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

#include "app/SettingsLocation.h"
#include "app/TfrmPosition.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TForm1.h"
#include "magnifier/TfrmZoom.h"
#include "platform/ProfileFile.h"
#include "ruler/RulerLayout.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

TSpeedButton* GlyphButton(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                          const char* glyph) {
  auto* b = TComponent::Create<TSpeedButton>(owner);
  b->SetName(name);
  b->SetParent(parent);
  b->SetBounds(left, top, 13, 13);
  b->SetFlat(true);
  b->SetGlyph(LoadBitmapResource(glyph));
  return b;
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const char* name, const char* caption) {
  auto* m = TComponent::Create<TMenuItem>(owner);
  m->SetName(name);
  m->SetCaption(caption);
  parent->Add(m);
  return m;
}

gfx::Font ArialFont(int points, gfx::FontStyles style = 0) {
  gfx::Font f;
  f.Name = "Arial";
  f.SetSize(points);
  f.Style = style;
  f.Color = clBlack;
  return f;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner) {
  using namespace std::placeholders;
  FUserBounds = BoundsRect();
  SetName("frmMain");
  SetBorderStyle(bsNone);
  SetKeyPreview(true);
  gfx::Font formFont;
  formFont.Name = "MS Sans Serif";
  formFont.SetSize(8);
  Font().SetData(formFont);
  SetColor(clBtnFace);
  SetCaption("Vantrel 1.0");
  SetBounds(265, 339, 705, 150);

  Ruler = TComponent::Create<TRuler>(this);
  Ruler->SetName("Ruler");
  Ruler->SetParent(this);
  Ruler->SetBounds(0, 18, 643, 41);
  Ruler->SetCaptionAlign(caTopLeft);
  Ruler->SetCaptionIndent1(0);
  Ruler->SetCaptionIndent2(0);
  Ruler->SetColor(0x80FFFF);
  Ruler->SetFont(ArialFont(7));
  Ruler->Font().SetHeight(-9);
  Ruler->SetFontRotation(fr0);
  Ruler->SetNumberAlign(naCenter);
  Ruler->SetNumberIndent(4);
  Ruler->SetOrientation(orHoriz);
  Ruler->SetRollEnabled(true);
  Ruler->SetTickAlign(taBottomRight);
  Ruler->SetTickColor(clBlack);
  Ruler->SetTickSizeBig(50);
  Ruler->SetTickSizeMiddle(40);
  Ruler->SetTickSizeSmall(25);
  Ruler->SetUnitSize(20.0);
  Ruler->SetUnitPrice(20.0);
  Ruler->SetUnitPrecision(0);
  Ruler->OnMouseDown = std::bind(&TfrmMain::RulerMouseDown, this, _1, _2, _3, _4, _5);
  Ruler->OnMouseMove = std::bind(&TfrmMain::RulerMouseMove, this, _1, _2, _3, _4);
  Ruler->OnMouseUp = std::bind(&TfrmMain::RulerMouseUp, this, _1, _2, _3, _4, _5);

  shpResize = TComponent::Create<TShape>(this);
  shpResize->SetName("shpResize");
  shpResize->SetParent(this);
  shpResize->SetBounds(0, 0, 644, 19);
  gfx::Brush clear;
  clear.Style = gfx::BrushStyle::Clear;
  shpResize->SetBrush(clear);

  pnlCaption = TComponent::Create<TPanel>(this);
  pnlCaption->SetName("pnlCaption");
  pnlCaption->SetParent(this);
  pnlCaption->SetBounds(1, 1, 642, 17);
  pnlCaption->SetBevelOuter(bvRaised);
  pnlCaption->SetCaption("");
  pnlCaption->Font().SetData(ArialFont(8, gfx::fsBold));

  btnClose = GlyphButton(this, pnlCaption, "btnClose", 2, 2, "GLYPHCLOSE");
  btnMinimize = GlyphButton(this, pnlCaption, "btnMinimize", 17, 2, "GLYPHMINIMIZE");
  btnMenu = GlyphButton(this, pnlCaption, "btnMenu", 38, 2, "GLYPHMENU");
  btnFlip = GlyphButton(this, pnlCaption, "btnFlip", 58, 2, "GLYPHFLIP");

  auto makeLabel = [this](const char* name, int left, int width, const char* caption) {
    auto* l = TComponent::Create<TEffectLabel>(this);
    l->SetName(name);
    l->SetParent(pnlCaption);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetEffectStyle(esNone);
    l->SetDepthHighlight(0);
    l->SetDepthShadow(0);
    l->SetDirectionHighlight(edNone);
    l->SetDirectionShadow(edNone);
    l->SetEffectStyle(esNone);
    l->Font().SetData(ArialFont(8));
    l->SetBounds(left, 2, width, 12);
    l->SetCaption(caption);
    return l;
  };
  lblMsatPx = makeLabel("lblMsatPx", 78, 72, "Mouse at pixel:");
  lblMsPos = makeLabel("lblMsPos", 153, 66, "0");
  lblMsPos->SetKeepLettersVertical(true);

  btnResize = GlyphButton(this, pnlCaption, "btnResize", 627, 2, "GLYPHRESIZE");
  btnResize->SetCursor(crSizeWE);
  btnResize2 = GlyphButton(this, pnlCaption, "btnResize2", 612, 2, "GLYPHRESIZE2");
  btnResize2->SetCursor(crSizeNS);
  btnResize2->SetVisible(false);

  for (TControl* c : {static_cast<TControl*>(shpResize), static_cast<TControl*>(pnlCaption),
                      static_cast<TControl*>(lblMsatPx), static_cast<TControl*>(lblMsPos)}) {
    c->OnMouseDown = std::bind(&TfrmMain::shpResizeMouseDown, this, _1, _2, _3, _4, _5);
    c->OnMouseMove = std::bind(&TfrmMain::shpResizeMouseMove, this, _1, _2, _3, _4);
    c->OnMouseUp = std::bind(&TfrmMain::shpResizeMouseUp, this, _1, _2, _3, _4, _5);
  }
  for (TSpeedButton* grip : {btnResize, btnResize2}) {
    grip->OnMouseDown = std::bind(&TfrmMain::btnResizeMouseDown, this, _1, _2, _3, _4, _5);
    grip->OnMouseMove = std::bind(&TfrmMain::btnResizeMouseMove, this, _1, _2, _3, _4);
    grip->OnMouseUp = std::bind(&TfrmMain::btnResizeMouseUp, this, _1, _2, _3, _4, _5);
  }
  btnClose->OnClick = std::bind(&TfrmMain::btnCloseClick, this, _1);
  btnMinimize->OnClick = std::bind(&TfrmMain::mnuMinimizeClick, this, _1);
  btnMenu->OnClick = std::bind(&TfrmMain::btnMenuClick, this, _1);
  btnFlip->OnClick = std::bind(&TfrmMain::btnFlipClick, this, _1);

  Timer1 = TComponent::Create<TTimer>(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(55);
  // A still pointer gives the tick nothing to do, and input or a move wakes it at once.
  Timer1->SetIdleTolerance(1000);
  Timer1->SetOnTimer(std::bind(&TfrmMain::Timer1Timer, this, _1));
  Timer1->SetEnabled(true);

  // Lets the magnifiers leave the screen before the picture is taken.
  tmrFreeze = TComponent::Create<TTimer>(this);
  tmrFreeze->SetName("tmrFreeze");
  tmrFreeze->SetEnabled(false);
  tmrFreeze->SetInterval(100);
  tmrFreeze->SetOnTimer([this](TObject*) {
    tmrFreeze->SetEnabled(false);
    RequestFreeze();
  });

  Menu = TComponent::Create<TAnimatedPopupMenu>(this);
  Menu->SetName("Menu");
  Menu->SetStatusBarIndex(0);
  Menu->Options().OpenAnimation = anUnfold;
  Menu->SetShowHint(false);
  // Opened from the menu button: near the bottom of the screen it opens above the button.
  Menu->SetPopupComponent(btnMenu);
  Menu->OnMenuCommand = std::bind(&TfrmMain::MenuMenuCommand, this, _1);
  Menu->OnMenuClose = std::bind(&TfrmMain::MenuMenuClose, this, _1);
  TMenuItem* items = Menu->Items();
  mnuAbout = Item(this, items, "mnuAbout", "About Vantrel..");
  mnuHelp = Item(this, items, "mnuHelp", "Help");
  mnuRulerProperties = Item(this, items, "mnuRulerProperties", "Ruler Properties");
  N1 = Item(this, items, "N1", "-");
  mnuSetBegin0 = Item(this, items, "mnuSetBegin0", "Set begin to 0");
  mnuSetEnd0 = Item(this, items, "mnuSetEnd0", "Set end to 0");
  N5 = Item(this, items, "N5", "-");
  mnuRulerFlip = Item(this, items, "mnuRulerFlip", "Ruler Flip");
  mnuFlip = Item(this, items, "mnuFlip", "Flip");
  mnuCrossRuler = Item(this, items, "mnuCrossRuler", "Cross Ruler");
  // Only where the desktop shows the program the pointer over its own windows alone.
  mnuMeasureAnywhere = plat::Platform::Current().CanMeasureAnywhere()
                           ? Item(this, items, "mnuMeasureAnywhere", "Measure anywhere")
                           : nullptr;
  N3 = Item(this, items, "N3", "-");
  mnuLoupe = Item(this, items, "mnuLoupe", "Loupe");
  mnuZoom = Item(this, items, "mnuZoom", "Mouse loupe");
  mnuMeasureEdges = Item(this, items, "mnuMeasureEdges", "Measure edges");
  mnuFreeze = Item(this, items, "mnuFreeze", "Freeze screen");
  N2 = Item(this, items, "N2", "-");
  mnuAlwaysTop = Item(this, items, "mnuAlwaysTop", "Always on top");
  mnuMinimize = Item(this, items, "mnuMinimize", "Minimize to tray");
  N4 = Item(this, items, "N4", "-");
  mnuExit = Item(this, items, "mnuExit", "Exit");
  mnuAbout->OnClick = std::bind(&TfrmMain::mnuAboutClick, this, _1);
  mnuHelp->OnClick = std::bind(&TfrmMain::mnuHelpClick, this, _1);
  mnuRulerProperties->OnClick = std::bind(&TfrmMain::mnuRulerPropertiesClick, this, _1);
  mnuSetBegin0->OnClick = std::bind(&TfrmMain::mnuSetBegin0Click, this, _1);
  mnuSetEnd0->OnClick = std::bind(&TfrmMain::mnuSetEnd0Click, this, _1);
  mnuRulerFlip->OnClick = std::bind(&TfrmMain::mnuRulerFlipClick, this, _1);
  mnuFlip->OnClick = std::bind(&TfrmMain::mnuFlipClick, this, _1);
  mnuCrossRuler->OnClick = std::bind(&TfrmMain::mnuCrossRulerClick, this, _1);
  if (mnuMeasureAnywhere) mnuMeasureAnywhere->OnClick = std::bind(&TfrmMain::mnuMeasureAnywhereClick, this, _1);
  mnuLoupe->OnClick = std::bind(&TfrmMain::mnuLoupeClick, this, _1);
  mnuZoom->OnClick = std::bind(&TfrmMain::mnuZoomClick, this, _1);
  mnuMeasureEdges->OnClick = std::bind(&TfrmMain::mnuMeasureEdgesClick, this, _1);
  mnuFreeze->OnClick = std::bind(&TfrmMain::mnuFreezeClick, this, _1);
  mnuAlwaysTop->OnClick = std::bind(&TfrmMain::mnuAlwaysTopClick, this, _1);
  mnuMinimize->OnClick = std::bind(&TfrmMain::mnuMinimizeClick, this, _1);
  mnuExit->OnClick = std::bind(&TfrmMain::Exit1Click, this, _1);

  auto itemBitmap = [this](const char* name, TMenuItem* item, const char* picture) {
    auto* b = TComponent::Create<TMenuItemBitmaps>(this);
    b->SetName(name);
    b->SetUncheckedBmpResource(picture);
    b->SetMenuItem(item);
    return b;
  };
  mnubmpAbout = itemBitmap("mnubmpAbout", mnuAbout, "MNUABOUT");
  mnubmpRulerProp = itemBitmap("mnubmpRulerProp", mnuRulerProperties, "MNURULERPROP");
  mnubmpBegin0 = itemBitmap("mnubmpBegin0", mnuSetBegin0, "MNUBEGIN0");
  mnubmpSetEnd0 = itemBitmap("mnubmpSetEnd0", mnuSetEnd0, "MNUSETEND0");
  mnubmpRulerFlip = itemBitmap("mnubmpRulerFlip", mnuRulerFlip, "MNURULERFLIP");
  mnubmpFlip = itemBitmap("mnubmpFlip", mnuFlip, "MNUFLIP");
  mnubmpLoupe = itemBitmap("mnubmpLoupe", mnuLoupe, "MNULOUPE");
  mnubmpZoom = itemBitmap("mnubmpZoom", mnuZoom, "MNUZOOM");
  mnubmpOntop = itemBitmap("mnubmpOntop", mnuAlwaysTop, "MNUONTOP");
  mnubmpMinimize = itemBitmap("mnubmpMinimize", mnuMinimize, "MNUMINIMIZE");
  mnubmpExit = itemBitmap("mnubmpExit", mnuExit, "MNUEXIT");
  // Absent while the strip is on screen: minimising the application hides the strip (and with
  // it every other window of the program) and shows the icon; a click brings them back.
  tryIcon = TComponent::Create<TTrayIcon>(this);
  tryIcon->SetName("tryIcon");
  tryIcon->SetCycleInterval(0);
  tryIcon->SetShowHint(false);
  tryIcon->SetIcon(LoadBitmapResource("ICONVANTREL"));
  tryIcon->SetIconVisible(false);
  tryIcon->SetIconIndex(0);
  tryIcon->SetMinimizeToTray(true);
  tryIcon->OnClick = std::bind(&TfrmMain::tryIconClick, this, _1);

  OnCreate = std::bind(&TfrmMain::FormCreate, this, _1);
  OnShow = std::bind(&TfrmMain::FormShow, this, _1);
  OnActivate = std::bind(&TfrmMain::FormActivate, this, _1);
  OnClose = std::bind(&TfrmMain::FormClose, this, _1, _2);
  OnKeyDown = std::bind(&TfrmMain::FormKeyDown, this, _1, _2, _3);
  OnKeyUp = std::bind(&TfrmMain::FormKeyUp, this, _1, _2, _3);
}

void TfrmMain::FormCreate(TObject*) {
  FResizing = false;
  FMoving = false;
  Screen->SetCursorImage(crArrowV, LoadCursorResource("ARROWV"));
  Screen->SetCursorImage(crArrowH, LoadCursorResource("ARROWH"));
  Screen->SetCursorImage(crArrowW, LoadCursorResource("ARROWW"));
  Screen->SetCursorImage(crArrowI, LoadCursorResource("ARROWI"));
  Ruler->SetCursor(crArrowV);
  Ruler->DrawFrame = true;
  // The program has no task-bar button: it lives in its strip and in the tray.
  Application->ShowAppWindow(false);
  InitProgram();
}

void TfrmMain::InitProgram() {
  FSettingsPath = SettingsFilePath(plat::Platform::Current().ExecutableDir());
  // The file is read once; what concerns the other windows waits in FStartSettings for the
  // first activation.
  const TSettings s = TSettings::Read(plat::ProfileFile(FSettingsPath));
  FStartSettings = s;
  SetTop(s.Top);
  SetLeft(s.Left);
  // A strip shorter than a drag can make it could be neither read nor lengthened again.
  if (!s.Vertical) {
    SetWidth(std::max(s.Length, MinimumLength()));
    LayoutForLength();
  } else {
    TurnStrip();
    SetHeight(std::max(s.Length, MinimumLength()));
    LayoutForLength();
  }
  if (s.RulerFlip) SetRulerFlip(true);
  FPgDnGap = s.PgDnGap;
  FPgUpGap = s.PgUpGap;
  mnuLoupe->SetChecked(s.Loupe);
  Ruler->SetStartValue(s.MeasureStart);
  Ruler->SetColor(TColor(s.Color));
  Ruler->SetTickSizeBig(s.TickBig);
  Ruler->SetTickSizeMiddle(s.TickMiddle);
  Ruler->SetTickSizeSmall(s.TickSmall);
  Ruler->SetTickColor(TColor(s.TickColor));
  Ruler->Font().SetColor(TColor(s.FontColor));
  Ruler->SetRollEnabled(s.Roll);
  Ruler->SetFontRotation(s.FontRotation);
  Ruler->SetNumberAlign(s.NumberAlign);
  FLarge = s.Large;
  ApplyRulerLayout();
  // MeasureStart counts pixel units: a real unit takes the scale over from there.
  FCopyFormats = s.Copy;
  FUnits = s.Units;
  FUnits.Unit = TMeasureUnit::Pixel;
  if (s.Units.Unit != TMeasureUnit::Pixel) SetMeasureUnit(s.Units.Unit);
}

void TfrmMain::FormShow(TObject*) {
  if (!mnuZoom->Checked()) return;
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe) return;
  Point p;
  if (plat::Platform::Current().GetCursorPos(p)) loupe->SetBounds(p.x, p.y, loupe->Width(), loupe->Height());
  ShowMouseLoupe();
}

void TfrmMain::FormActivate(TObject*) {
  if (!FFirstActivation) return;
  InitProgramRest();
  FFirstActivation = false;
  Timer1->SetEnabled(true);
}

void TfrmMain::InitProgramRest() {
  const TSettings& s = FStartSettings;
  mnuLoupe->SetChecked(s.Loupe);
  mnuZoom->SetChecked(s.MouseLoupe);
  mnuAlwaysTop->SetChecked(s.OnTop);
  NativeWindow()->SetZOrder(mnuAlwaysTop->Checked() ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
  FMagnification = s.Magnification;
  ApplyMagnification();
  ApplyRulerLayout();
}

void TfrmMain::ApplyMagnification() {
  if (TfrmZoom* loupe = MouseLoupe()) loupe->changezoomfactor(FMagnification);
  if (TForm1* lens = Lens()) lens->changezoomfactor(FMagnification);
}

void TfrmMain::FormClose(TObject*, TCloseAction&) {
  try {
    WriteSettings();
  } catch (const plat::ProfileWriteError& e) {
    // The user asked to close: say why the settings were not kept, then close all the same,
    // since a strip that cannot be quit is worse. The old file is left as it was.
    Application->HandleException(this, e);
  }
}

TSettings TfrmMain::CurrentSettings() const {
  TSettings s;
  s.Vertical = Ruler->Orientation() == orVert;
  // The user's place and length, not a window manager's.
  s.Top = FUserBounds.top;
  s.Left = FUserBounds.left;
  s.Length = UserLength();
  s.RulerFlip = mnuRulerFlip->Checked();
  s.Loupe = FLoupeSuspended.value_or(mnuLoupe->Checked());
  s.MouseLoupe = mnuZoom->Checked();
  s.OnTop = mnuAlwaysTop->Checked();
  // Kept in pixel units whatever the unit, so the file reads the same in every version.
  s.MeasureStart = Ruler->StartValue();
  if (FUnits.Unit != TMeasureUnit::Pixel) s.MeasureStart = Ruler->StartValue() * Ruler->UnitSize() / UnitPixels();
  s.PgDnGap = FPgDnGap;
  s.PgUpGap = FPgUpGap;
  s.Magnification = FMagnification;
  s.Color = Ruler->Color();
  s.TickBig = Ruler->TickSizeBig();
  s.TickMiddle = Ruler->TickSizeMiddle();
  s.TickSmall = Ruler->TickSizeSmall();
  s.TickColor = Ruler->TickColor();
  s.FontColor = Ruler->Font().Color();
  s.Roll = Ruler->RollEnabled();
  s.FontRotation = Ruler->FontRotation();
  s.NumberAlign = Ruler->NumberAlign();
  s.Large = FLarge;
  s.Units = FUnits;
  s.Copy = FCopyFormats;
  return s;
}

void TfrmMain::WriteSettings() {
  plat::ProfileFile ini(FSettingsPath);
  CurrentSettings().Write(ini);
  ini.Save(true);
}

std::int64_t TfrmMain::ZeroOffset() const {
  // Rolling and Shift+arrows can carry the start value anywhere: far beyond any screen the
  // offset saturates instead of overflowing, and the readings built on it stay exact.
  const double v = RoundHalfEven(PixelsPerRulerUnit() * Ruler->StartValue());
  if (std::isnan(v)) return 0;
  return std::int64_t(std::clamp(v, -0x1p60, 0x1p60));
}

// The help file's contents, then its "About" topic; the platform's help service shows them
// (on X11 the HTML help document, opened once at its About section) or says why it cannot.
void TfrmMain::mnuHelpClick(TObject*) {
  Application->SetHelpFile(plat::Platform::Current().ExecutableDir() + "Vantrel.hlp");
  if (Application->HelpCommand(HELP_CONTENTS)) Application->HelpCommand(HELP_COMMAND, "JumpID(\"\",\"About\")");
}

// Both move the zero: the cross ruler follows at once.
void TfrmMain::mnuSetBegin0Click(TObject*) {
  Ruler->SetStartValue(0);
  ZeroPositionText();
}

void TfrmMain::mnuSetEnd0Click(TObject*) {
  const double length = Ruler->Orientation() == orHoriz ? Width() : Height();
  Ruler->SetStartValue(-length / PixelsPerRulerUnit());
  ZeroPositionText();
}

void TfrmMain::mnuLoupeClick(TObject*) {
  mnuLoupe->SetChecked(!mnuLoupe->Checked());
  // Left where it was, a lens that no longer follows would only be in the way.
  if (!mnuLoupe->Checked()) HideLens();
}

void TfrmMain::mnuZoomClick(TObject*) {
  if (mnuZoom->Checked()) {
    HideMouseLoupe();
    mnuZoom->SetChecked(false);
  } else {
    ShowMouseLoupe();
    mnuZoom->SetChecked(true);
  }
}

void TfrmMain::mnuAlwaysTopClick(TObject*) {
  mnuAlwaysTop->SetChecked(!mnuAlwaysTop->Checked());
  NativeWindow()->SetZOrder(mnuAlwaysTop->Checked() ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
  if (TfrmCrossRuler* cross = CrossRuler()) cross->StackWith(*this);
}

// Minimising the application takes every window of the program that is on the screen along with
// the strip and brings the same ones back on restore, so a window needs nothing of its own to
// go to the tray; tryIcon then hides the strip itself and shows the icon.
void TfrmMain::mnuMinimizeClick(TObject*) { Application->Minimize(); }

void TfrmMain::tryIconClick(TObject*) {
  Application->Restore();
  Show();
  tryIcon->SetIconVisible(false);
}

void TfrmMain::Exit1Click(TObject*) { Close(); }

void TfrmMain::btnCloseClick(TObject*) { Close(); }

std::optional<std::string> TfrmMain::GetPropText(std::string_view name) const {
  if (name == "FLarge") return PropText::Bool(FLarge);
  if (name == "FMagnification") return PropText::Int(FMagnification);
  if (name == "FPgDnGap") return PropText::Int(FPgDnGap);
  if (name == "FPgUpGap") return PropText::Int(FPgUpGap);
  if (name == "UnitPixels") return PropText::Int(UnitPixels());
  if (name == "ZeroOffset") return PropText::Int(ZeroOffset());
  if (name == "Unit") return std::string(MeasureUnitName(FUnits.Unit));
  if (name == "PixelsPerMm") return FormatNumber(StripPixelsPerMm(), 4);
  if (name == "SettingsPath") return FSettingsPath;
  return TForm::GetPropText(name);
}
