#pragma once
// A desktop with nobody in front of it (the virtual desktop) answers the program's dialogs from
// a script and keeps a journal of what they showed, so tests and scenarios can run them. The
// real window systems have no such thing: the dialogs ask Current() and get nullptr there.
#include <optional>
#include <string>

namespace plat {

enum class DialogKind { SaveFile, Color, Message, Input };

class DialogScript {
 public:
  virtual ~DialogScript() = default;

  // The current platform's script, or nullptr when the platform has none (or none is set).
  static DialogScript* Current();

  // The scripted answer for the next dialog of KIND: "cancel", a path, "0xBBGGRR",
  // "ok"/"yes"/"no"/"cancel", the text typed into an input dialog.
  virtual std::optional<std::string> TakeScriptedAnswer(DialogKind kind) = 0;
  // Records a line in the journal (e.g. "message TEXT").
  virtual void Journal(const std::string& line) = 0;
};

}  // namespace plat
