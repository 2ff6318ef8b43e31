#include "app/VantrelMain.h"

#include <cstdio>

#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TForm1.h"
#include "magnifier/TfrmZoom.h"
#include "properties/TfrmRulerProperties.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/dialogs/TMessageBox.h"

int VantrelMain() {
  TApplication app;
  app.SetTitle("Vantrel");
  // Errors that escape a handler are shown in the toolkit's message box.
  TMessageBox::Install(app);
  // Created hidden, in this order; the main window is first and so becomes the main form. It
  // meets the others before the first activation, where it starts working with them.
  TfrmMain* strip = app.CreateForm<TfrmMain>();
  TStripCompanions companions;
  companions.Lens = app.CreateForm<TForm1>();
  companions.About = app.CreateForm<TfrmAbout>();
  companions.MouseLoupe = app.CreateForm<TfrmZoom>();
  companions.PositionReadout = app.CreateForm<TfrmPosition>();
  companions.RulerProperties = app.CreateForm<TfrmRulerProperties>();
  companions.CrossRuler = app.CreateForm<TfrmCrossRuler>();
  strip->SetCompanions(companions);
  app.Run();
  return 0;
}

void VantrelSaveSettings() {
  auto* main = Application ? dynamic_cast<TfrmMain*>(Application->MainForm()) : nullptr;
  if (!main) return;
  try {
    main->WriteSettings();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantrel: %s\n", e.what());
  }
}
