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
#include "toolkit/core/NewChild.h"
#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"
#include "widgets/ArialFont.h"

namespace {

TSpeedButton* GlyphButton(TComponent* owner, TWinControl* parent, const char* name, int left, const char* glyph) {
  auto* b = NewChild<TSpeedButton>(owner, parent, name, Rect::FromXYWH(left, 2, 13, 13));
  b->SetFlat(true);
  b->SetGlyph(LoadBitmapResource(glyph));
  return b;
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
  Ruler->SetFont(ArialFont(-9));
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

  CaptionStrip = TComponent::Create<TCaptionStrip>(this, this, 66);
  btnClose = GlyphButton(this, CaptionStrip->pnlCaption, "btnClose", 2, "GLYPHCLOSE");
  btnMinimize = GlyphButton(this, CaptionStrip->pnlCaption, "btnMinimize", 17, "GLYPHMINIMIZE");
  btnMenu = GlyphButton(this, CaptionStrip->pnlCaption, "btnMenu", 38, "GLYPHMENU");
  btnFlip = GlyphButton(this, CaptionStrip->pnlCaption, "btnFlip", 58, "GLYPHFLIP");
  CaptionStrip->SetHoldEvents(std::bind(&TfrmMain::shpResizeMouseDown, this, _1, _2, _3, _4, _5),
                              std::bind(&TfrmMain::shpResizeMouseMove, this, _1, _2, _3, _4),
                              std::bind(&TfrmMain::shpResizeMouseUp, this, _1, _2, _3, _4, _5));
  CaptionStrip->SetGripEvents(std::bind(&TfrmMain::btnResizeMouseDown, this, _1, _2, _3, _4, _5),
                              std::bind(&TfrmMain::btnResizeMouseMove, this, _1, _2, _3, _4),
                              std::bind(&TfrmMain::btnResizeMouseUp, this, _1, _2, _3, _4, _5));
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
  auto on = [this](void (TfrmMain::*handler)(TObject*)) { return TNotifyEvent(std::bind(handler, this, _1)); };
  mnuAbout = items->NewItem("mnuAbout", "About Vantrel..", on(&TfrmMain::mnuAboutClick));
  mnuHelp = items->NewItem("mnuHelp", "Help", on(&TfrmMain::mnuHelpClick));
  mnuRulerProperties = items->NewItem("mnuRulerProperties", "Ruler Properties", on(&TfrmMain::mnuRulerPropertiesClick));
  N1 = items->NewItem("N1", "-");
  mnuSetBegin0 = items->NewItem("mnuSetBegin0", "Set begin to 0", on(&TfrmMain::mnuSetBegin0Click));
  mnuSetEnd0 = items->NewItem("mnuSetEnd0", "Set end to 0", on(&TfrmMain::mnuSetEnd0Click));
  N5 = items->NewItem("N5", "-");
  mnuRulerFlip = items->NewItem("mnuRulerFlip", "Ruler Flip", on(&TfrmMain::mnuRulerFlipClick));
  mnuFlip = items->NewItem("mnuFlip", "Flip", on(&TfrmMain::mnuFlipClick));
  mnuCrossRuler = items->NewItem("mnuCrossRuler", "Cross Ruler", on(&TfrmMain::mnuCrossRulerClick));
  // Only where the desktop shows the program the pointer over its own windows alone.
  mnuMeasureAnywhere =
      plat::Platform::Current().CanMeasureAnywhere()
          ? items->NewItem("mnuMeasureAnywhere", "Measure anywhere", on(&TfrmMain::mnuMeasureAnywhereClick))
          : nullptr;
  N3 = items->NewItem("N3", "-");
  mnuLoupe = items->NewItem("mnuLoupe", "Loupe", on(&TfrmMain::mnuLoupeClick));
  mnuZoom = items->NewItem("mnuZoom", "Mouse loupe", on(&TfrmMain::mnuZoomClick));
  mnuMeasureEdges = items->NewItem("mnuMeasureEdges", "Measure edges", on(&TfrmMain::mnuMeasureEdgesClick));
  mnuFreeze = items->NewItem("mnuFreeze", "Freeze screen", on(&TfrmMain::mnuFreezeClick));
  N2 = items->NewItem("N2", "-");
  mnuAlwaysTop = items->NewItem("mnuAlwaysTop", "Always on top", on(&TfrmMain::mnuAlwaysTopClick));
  mnuMinimize = items->NewItem("mnuMinimize", "Minimize to tray", on(&TfrmMain::mnuMinimizeClick));
  N4 = items->NewItem("N4", "-");
  mnuExit = items->NewItem("mnuExit", "Exit", on(&TfrmMain::Exit1Click));

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
  RegisterRulerCursors();
  Ruler->SetCursor(crArrowV);
  Ruler->DrawFrame = true;
  // The program has no task-bar button: it lives in its strip and in the tray.
  Application->ShowAppWindow(false);
  InitProgram();
}

void TfrmMain::InitProgram() {
  FSettingsPath = SettingsFilePath(plat::Platform::Current().ExecutableDir());
  // The file is read once; what concerns the other windows waits in FSettings for the first
  // activation.
  FSettings = TSettings::Read(plat::ProfileFile(FSettingsPath));
  const TSettings& s = FSettings;
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
  mnuLoupe->SetChecked(s.Loupe);
  Ruler->SetStartValue(s.MeasureStart);
  Ruler->SetLook(s.Look);
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
  const TSettings& s = FSettings;
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
  TSettings s = FSettings;  // the page gaps as start-up read them; the rest as it is now
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
  s.Magnification = FMagnification;
  s.Look = Ruler->Look();
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
  if (name == "FPgDnGap") return PropText::Int(FSettings.PgDnGap);
  if (name == "FPgUpGap") return PropText::Int(FSettings.PgUpGap);
  if (name == "UnitPixels") return PropText::Int(UnitPixels());
  if (name == "ZeroOffset") return PropText::Int(ZeroOffset());
  if (name == "Unit") return std::string(MeasureUnitName(FUnits.Unit));
  if (name == "PixelsPerMm") return FormatNumber(StripPixelsPerMm(), 4);
  if (name == "SettingsPath") return FSettingsPath;
  return TForm::GetPropText(name);
}
