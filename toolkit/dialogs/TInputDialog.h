#pragma once
// Asks for one line of text: a title, a prompt above a field that holds the text to start
// from, and OK / Cancel. Enter is OK and Escape Cancel, as in every dialog.
//
// Every run writes "input PROMPT TEXT" to the platform's journal (TEXT as offered); on the
// virtual desktop a queued scripted answer stands in for the user: the text typed and
// confirmed, or "cancel".
#include <string>

#include "toolkit/core/Forward.h"
#include "toolkit/core/TComponent.h"

class TInputDialog : public TComponent {
 public:
  explicit TInputDialog(TComponent* AOwner);

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  const std::string& Prompt() const { return FPrompt; }
  void SetPrompt(const std::string& value) { FPrompt = value; }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& value) { FText = value; }

  // Runs the dialog; true on OK, with what the field held in Text. Cancel keeps Text.
  bool Execute();
  // The dialog's form while Execute shows it, else nullptr (tests drive it through this).
  TForm* Form() const { return FForm; }

 private:
  std::string FTitle;
  std::string FPrompt;
  std::string FText;
  TForm* FForm = nullptr;
};
