#pragma once
// The message box as a toolkit form, so it looks the same everywhere: the text, and a row of
// OK / Cancel / Yes / No / Abort / Retry / Ignore buttons under it, in the classic icon-less
// layout. Execute shows one modally and answers IDOK, IDCANCEL, IDYES...
//
// Every message box writes "message TEXT" to the platform's journal (line breaks of the text
// written as blanks, as the journal has one line per entry); on the virtual desktop
// a queued scripted answer ("ok", "cancel", "yes", "no", "abort", "retry", "ignore") stands
// in for the user and no window is shown.
#include <string>
#include <vector>

#include "toolkit/controls/Forward.h"
#include "toolkit/core/TForm.h"

class TMessageBox : public TForm {
 public:
  explicit TMessageBox(TComponent* AOwner);

  // Builds the box: TEXT, the title CAPTION and the buttons of FLAGS (MB_OK, MB_YESNO...).
  void Setup(const std::string& text, const std::string& caption, unsigned flags);
  TLabel* TextLabel() const { return FText; }
  int ButtonCount() const { return int(FButtons.size()); }
  TButton* Buttons(int index) const;

  // Shows a message box and returns the answer (IDOK...).
  static int Execute(const std::string& text, const std::string& caption, unsigned flags);
  // Makes APP's message boxes (and so its default error handler) use this form.
  static void Install(TApplication& app);

  // Layout, in pixels.
  static constexpr int kMargin = 12;
  static constexpr int kButtonWidth = 75;
  static constexpr int kButtonHeight = 23;
  static constexpr int kButtonGap = 6;

 private:
  TLabel* FText = nullptr;
  std::vector<TButton*> FButtons;
  unsigned FKind = 0;
};

// A message box with the application's title: Application->MessageBox when there is an
// application, else TMessageBox::Execute.
int MessageDlg(const std::string& text, unsigned flags = 0);
