// vantrel-scenario: runs Vantrel on the virtual desktop, driven by a script.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/scenario/ProgramEntry.h"
#include "tools/scenario/Runner.h"

namespace {

const char* kHelp = R"(usage: vantrel-scenario [--dir DIR] SCRIPT
Runs the program on a virtual desktop (no display needed), driven by SCRIPT ('-' reads
standard input). DIR is the program's folder, where its files live; without --dir a fresh
temporary folder is used and removed afterwards.

Commands, one a line (output: one line per query, on standard output):
  # ...                       comment (blank lines are ignored too)
  screen W H                  screen size, before start (default 1024 768): one monitor
  monitor X Y W H [WMM HMM]   one monitor of the desktop, before start; one line each, the
                              first is the primary. The screen reaches from 0 0 to their far
                              corner; between monitors of different sizes lies dead area
                              (black, the pointer cannot go there). WMM HMM: its physical size
                              in millimetres (0 0: it does not tell); without them, 96 pixels
                              per inch. Not together with screen
  wallpaper FILE              show the picture FILE (PNG, or BMP if it ends in .bmp; in DIR
                              unless absolute) on the desktop from its top-left corner, the
                              wallpaper colour beyond it; before start or at any time after
  file NAME <<<               write the lines up to a line '>>>' to NAME in DIR,
  ...                         joined and ended with CR LF
  >>>
  start                       run the program until no message is pending (the clock stays)
  wait MS                     advance the clock MS ms, firing due timers in order
  mouse X Y                   move the pointer to screen X, Y
  down B | up B | click B | dblclick B
                              mouse button B (left, right, middle) at the pointer
  wheel N                     turn the wheel N notches at the pointer (up positive)
  key K [shift] [ctrl] [alt]  press and release key K with the modifiers held
  keydown K [mods...] | keyup K [mods...]
                              K: a-z 0-9 f1-f12 left right up down pageup pagedown home end
                              enter escape space tab backspace delete shift ctrl alt
  type TEXT                   type the rest of the line
  answer KIND VALUE           answer the next dialog: savefile PATH | savefile cancel |
                              color 0xBBGGRR | color cancel | message ok|cancel|yes|no;
                              a savefile PATH acts as the name typed into the dialog, so its
                              default extension applies (.../lens saves .../lens.bmp) and
                              its overwrite question is asked (answer it with message)
  answer input [TEXT]         answer the next input dialog with OK and TEXT typed (the rest
                              of the line after one blank; nothing for an empty field);
                              'answer input cancel' cancels it
  menu FORM.ITEM              choose menu item ITEM (its component name) as a user does: a
                              popup menu is opened as its button opens it, then the item is
                              released on; a main menu's item is clicked. A separator or a
                              disabled item does nothing; the pointer stays where it is
  manage X Y W H              a window manager forces the main window to X Y W H
  windows                     NAME X Y W H visible=0/1 topmost=0/1 per window, top first
                              (an open popup menu is MenuWindow)
  prop PATH                   PATH = VALUE for Form.Property or Form.Component.Property
  pixel X Y                   pixel X Y 0xBBGGRR of the screen
  shot FILE [X Y W H]         PNG of the screen or a rectangle of it (BMP if FILE ends in .bmp)
  clipboard FILE              the clipboard's picture to FILE, PNG or BMP as for shot; with
                              no picture on the clipboard: 'clipboard empty'
  cliptext TEXT               another program copies TEXT (the rest of the line) to the
                              clipboard, replacing what was there
  cat NAME                    the bytes of file NAME in DIR
  log                         what the program did since the last log: beep, sound NAME,
                              open TARGET, message TEXT, clipboard bitmap WxH,
                              clipboard text TEXT, help FILE COMMAND, input PROMPT TEXT
                              (an input dialog and the text it offered)
  tray                        tray icons=N: the program's icons in the notification area (0 or
                              1); also after close
  tray click B | tray dblclick B | tray down B | tray up B
                              mouse button B on the program's tray icon, the pointer staying
                              where it is; with no icon shown: 'line N: no tray icon'
  close                       close the main form as its close button does, and run until
                              the program ends
An unknown command, a malformed line or an unknown path stops the run with 'line N: ...' on
standard error and exit status 2.
)";

}  // namespace

int main(int argc, char** argv) {
  std::string dir, scriptPath;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::cout << kHelp;
      return 0;
    }
    if (!std::strcmp(argv[i], "--dir") && i + 1 < argc) {
      dir = argv[++i];
    } else if (scriptPath.empty()) {
      scriptPath = argv[i];
    } else {
      std::cerr << "vantrel-scenario: too many arguments (see --help)\n";
      return 2;
    }
  }
  if (scriptPath.empty()) {
    std::cerr << "vantrel-scenario: no script given (see --help)\n";
    return 2;
  }
  std::string text;
  if (scriptPath == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
      std::cerr << "vantrel-scenario: cannot read " << scriptPath << "\n";
      return 2;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool temporary = dir.empty();
  if (temporary) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vantrel-scenario-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
      std::cerr << "vantrel-scenario: cannot make a temporary folder\n";
      return 2;
    }
    dir = tmpl;
  } else if (!std::filesystem::is_directory(dir)) {
    std::cerr << "vantrel-scenario: no folder " << dir << "\n";
    return 2;
  }

  int status;
  {
    scenario::Runner runner(scenario::ProgramMain, dir, std::cout, std::cerr);
    status = runner.Run(text);
  }
  if (temporary) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  return status;
}
