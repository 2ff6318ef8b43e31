#pragma once
// The save-file dialog, as a toolkit form: a folder listing (sub-folders first, then the files
// that match the chosen filter) with an "Up" button, a file-name field, the filter list and
// Save / Cancel. Save appends DefaultExt to a name without extension and, with
// ofOverwritePrompt, asks before replacing an existing file.
//
// On the virtual desktop a queued scripted answer (a path, or "cancel") stands in for the
// user; the overwrite question is still asked, through the message box.
#include <string>
#include <utility>
#include <vector>

#include "toolkit/core/Forward.h"
#include "toolkit/core/TComponent.h"

using TOpenOptions = unsigned;
enum : TOpenOptions {
  ofReadOnly = 1u << 0, ofOverwritePrompt = 1u << 1, ofHideReadOnly = 1u << 2, ofNoChangeDir = 1u << 3,
  ofShowHelp = 1u << 4, ofNoValidate = 1u << 5, ofAllowMultiSelect = 1u << 6, ofExtensionDifferent = 1u << 7,
  ofPathMustExist = 1u << 8, ofFileMustExist = 1u << 9, ofCreatePrompt = 1u << 10, ofNoReadOnlyReturn = 1u << 12,
  ofEnableSizing = 1u << 19
};

class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* AOwner);

  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  // "Description|pattern;pattern|Description|pattern..."
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& value) { FFilter = value; }
  int FilterIndex() const { return FFilterIndex; }  // 1-based
  void SetFilterIndex(int value) { FFilterIndex = value; }
  const std::string& DefaultExt() const { return FDefaultExt; }  // without the dot
  void SetDefaultExt(const std::string& value);
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& value) { FInitialDir = value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions value) { FOptions = value; }

  // Runs the dialog; true when the user chose a file (then in FileName).
  bool Execute();
  // The dialog's form while Execute shows it, else nullptr (tests drive it through this).
  TForm* Form() const { return FForm; }

  // The filter's (description, patterns) pairs; a dangling description gets "*".
  static std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter);
  // Whether NAME matches one of PATTERNS ("*.bmp;*.dib"; '*' and '?', without case).
  static bool MatchesMask(const std::string& name, const std::string& patterns);
  // NAME made absolute against FOLDER, with DefaultExt added when it has no extension.
  std::string CompletePath(const std::string& folder, const std::string& name) const;
  // The overwrite question when it applies; true when saving to PATH may go on.
  bool ConfirmOverwrite(const std::string& path) const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  std::string StartFolder() const;

  std::string FFileName;
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FDefaultExt;
  std::string FInitialDir;
  std::string FTitle;
  TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
  TForm* FForm = nullptr;
};
