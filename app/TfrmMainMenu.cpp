// The popup menu of the strip: opening it, and what follows a command or its closing.
#include "app/TfrmMain.h"

#include "app/TfrmAbout.h"
#include "toolkit/core/TApplication.h"

void TfrmMain::btnMenuClick(TObject*) {
  HideMouseLoupe();
  // Just below the menu button, wherever the caption strip lies. In the unflipped layouts the
  // caption panel sits at (1, 1) and this is (window left + button left, window top + button
  // top + button height + 2) exactly; flipped, it follows the panel to the other side instead
  // of opening over the button or the ruler.
  const int x = Left() + CaptionStrip->pnlCaption->Left() - 1 + btnMenu->Left();
  const int y = Top() + CaptionStrip->pnlCaption->Top() - 1 + btnMenu->Top() + btnMenu->Height() + 2;
  Menu->Popup(x, y);
}

void TfrmMain::MenuMenuCommand(TObject* Sender) { MenuMenuClose(Sender); }

void TfrmMain::MenuMenuClose(TObject*) {
  // Not into the picture of the screen that is about to freeze: it comes back afterwards.
  if (mnuZoom->Checked() && !FFreezePending) ShowMouseLoupe();
}

// The lens must not follow the pointer round a modal box, nor the mouse loupe float over it;
// both come back as they were, however the box ends. Meanwhile the settings file still gets
// the user's "Loupe".
void TfrmMain::RunWithMagnifiersSuspended(const std::function<void()>& modal) {
  if (mnuZoom->Checked()) HideMouseLoupe();
  FLoupeSuspended = mnuLoupe->Checked();
  mnuLoupe->SetChecked(false);
  struct Restore {
    TfrmMain& Self;
    ~Restore() {
      Self.mnuLoupe->SetChecked(*Self.FLoupeSuspended);
      Self.FLoupeSuspended.reset();
      if (Self.mnuZoom->Checked() && Application && !Application->Terminated()) Self.ShowMouseLoupe();
    }
  } restore{*this};
  modal();
}

void TfrmMain::mnuAboutClick(TObject*) {
  TfrmAbout* about = About();
  if (!about || about->Visible()) return;
  RunWithMagnifiersSuspended([about] { about->ShowModal(); });
}
