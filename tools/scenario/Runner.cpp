#include "tools/scenario/Runner.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <sstream>

#include "graphics/ImageFile.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"
#include "toolkit/controls/TSpeedButton.h"
#include "toolkit/menus/TPopupMenu.h"

namespace scenario {

namespace {

std::string Lower(std::string s) {
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(std::string(a)) == Lower(std::string(b)); }

const std::map<std::string, int>& KeyNames() {
  static const std::map<std::string, int> names = [] {
    std::map<std::string, int> m{
        {"left", plat::VK_LEFT},     {"right", plat::VK_RIGHT},    {"up", plat::VK_UP},
        {"down", plat::VK_DOWN},     {"pageup", plat::VK_PRIOR},   {"pagedown", plat::VK_NEXT},
        {"home", plat::VK_HOME},     {"end", plat::VK_END},        {"enter", plat::VK_RETURN},
        {"escape", plat::VK_ESCAPE}, {"space", plat::VK_SPACE},    {"tab", plat::VK_TAB},
        {"backspace", plat::VK_BACK}, {"delete", plat::VK_DELETE}, {"shift", plat::VK_SHIFT},
        {"ctrl", plat::VK_CONTROL},  {"alt", plat::VK_MENU}};
    for (char c = 'a'; c <= 'z'; ++c) m[std::string(1, c)] = 'A' + (c - 'a');
    for (char c = '0'; c <= '9'; ++c) m[std::string(1, c)] = c;
    for (int i = 1; i <= 12; ++i) m["f" + std::to_string(i)] = plat::VK_F1 + i - 1;
    return m;
  }();
  return names;
}

}  // namespace

Runner::Runner(ProgramEntry entry, std::string dir, std::ostream& out, std::ostream& err)
    : FEntry(std::move(entry)), FDir(std::move(dir)), FOut(out), FErr(err) {
  if (!FDir.empty() && FDir.back() != '/') FDir += '/';
  FDesktop.SetExecutableDir(FDir);
}

int Runner::Run(std::string_view scriptText) {
  std::vector<Command> script;
  try {
    script = ParseScript(scriptText);
  } catch (const ScriptError& e) {
    FErr << e.what() << "\n";
    return 2;
  }
  return Run(script);
}

int Runner::Run(const std::vector<Command>& script) {
  FScript = &script;
  FNext = 0;
  FPhase = Phase::BeforeStart;
  FFailed = false;
  FMonitors.clear();
  // Commands before `start` and after the program's end run here; while the program runs,
  // its loop pulls the commands through Step.
  while (!FFailed && FNext < script.size()) {
    const Command& c = script[FNext++];
    if (c.Name == "start" && FPhase == Phase::BeforeStart) {
      plat::Platform::SetCurrent(&FDesktop);
      FDesktop.SetWaitHandler([this] { return Step(); });
      FDesktop.SetIdleProcessor([] {
        if (Application) Application->ProcessIdleWork();
      });
      FPhase = Phase::Running;
      try {
        FEntry();
      } catch (const std::exception& e) {
        FErr << "line " << c.Line << ": the program failed: " << e.what() << "\n";
        FFailed = true;
      }
      FDesktop.SetWaitHandler(nullptr);
      FDesktop.SetIdleProcessor(nullptr);
      FPhase = Phase::Ended;
      continue;
    }
    ExecuteGuarded(c);
  }
  FOut.flush();
  return FFailed ? 2 : 0;
}

bool Runner::ExecuteGuarded(const Command& c) {
  try {
      return Execute(c);
  } catch (const ScriptError& e) {
    FErr << e.what() << "\n";
  } catch (const std::exception& e) {
    FErr << "line " << c.Line << ": " << e.what() << "\n";
  }
  FFailed = true;
  return false;
}

bool Runner::Step() {
  while (!FFailed && FScript && FNext < FScript->size()) {
    const Command& c = (*FScript)[FNext++];
    if (ExecuteGuarded(c)) return true;
  }
  return false;  // the script is over (or failed): the program's loop ends
}

void Runner::Require(const Command& c, std::size_t minArgs, std::size_t maxArgs) const {
  if (c.Args.size() < minArgs || c.Args.size() > maxArgs)
    throw ScriptError(c.Line, "wrong number of arguments for " + c.Name);
}

void Runner::RequireRunning(const Command& c) const {
  if (FPhase == Phase::BeforeStart) throw ScriptError(c.Line, c.Name + " before start");
  if (FPhase == Phase::Ended) throw ScriptError(c.Line, c.Name + " after the program has ended");
}

int Runner::Number(const Command& c, const std::string& text) const {
  int v = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || p != text.data() + text.size()) throw ScriptError(c.Line, "not a number: " + text);
  return v;
}

plat::MouseButton Runner::Button(const Command& c, const std::string& name) const {
  if (name == "left") return plat::MouseButton::Left;
  if (name == "right") return plat::MouseButton::Right;
  if (name == "middle") return plat::MouseButton::Middle;
  throw ScriptError(c.Line, "unknown button: " + name);
}

int Runner::Key(const Command& c, const std::string& name) const {
  auto it = KeyNames().find(name);
  if (it == KeyNames().end()) throw ScriptError(c.Line, "unknown key: " + name);
  return it->second;
}

plat::ShiftState Runner::Modifiers(const Command& c, std::size_t first) const {
  plat::ShiftState s = 0;
  for (std::size_t i = first; i < c.Args.size(); ++i) {
    if (c.Args[i] == "shift") s |= plat::ssShift;
    else if (c.Args[i] == "ctrl") s |= plat::ssCtrl;
    else if (c.Args[i] == "alt") s |= plat::ssAlt;
    else throw ScriptError(c.Line, "unknown modifier: " + c.Args[i]);
  }
  return s;
}

std::string Runner::PathIn(const std::string& name) const {
  if (!name.empty() && name[0] == '/') return name;
  return FDir + name;
}

// The command table: each command's names, whether it needs the running program, what it does,
// and its lines in --help, in the order --help lists them. Parser and help come from one place.
const std::vector<Runner::CommandEntry>& Runner::Commands() {
  static const std::vector<CommandEntry> table{
      {{"screen"}, false, &Runner::DoScreen,
       "  screen W H                  screen size, before start (default 1024 768): one monitor\n"},
      {{"monitor"}, false, &Runner::DoMonitor,
       "  monitor X Y W H [WMM HMM]   one monitor of the desktop, before start; one line each, the\n"
       "                              first is the primary. The screen reaches from 0 0 to their far\n"
       "                              corner; between monitors of different sizes lies dead area\n"
       "                              (black, the pointer cannot go there). WMM HMM: its physical size\n"
       "                              in millimetres (0 0: it does not tell); without them, 96 pixels\n"
       "                              per inch. Not together with screen\n"},
      {{"wallpaper"}, false, &Runner::DoWallpaper,
       "  wallpaper FILE              show the picture FILE (PNG, or BMP if it ends in .bmp; in DIR\n"
       "                              unless absolute) on the desktop from its top-left corner, the\n"
       "                              wallpaper colour beyond it; before start or at any time after\n"},
      {{"file"}, false, &Runner::DoFile,
       "  file NAME <<<               write the lines up to a line '>>>' to NAME in DIR,\n"
       "  ...                         joined and ended with CR LF\n"
       "  >>>\n"},
      {{"start"}, false, &Runner::DoStart,
       "  start                       run the program until no message is pending (the clock stays)\n"},
      {{"wait"}, true, &Runner::DoWait, "  wait MS                     advance the clock MS ms, firing due timers in order\n"},
      {{"mouse"}, true, &Runner::DoMouse, "  mouse X Y                   move the pointer to screen X, Y\n"},
      {{"down", "up", "click", "dblclick"}, true, &Runner::DoButton,
       "  down B | up B | click B | dblclick B\n"
       "                              mouse button B (left, right, middle) at the pointer\n"},
      {{"wheel"}, true, &Runner::DoWheel,
       "  wheel N                     turn the wheel N notches at the pointer (up positive)\n"},
      {{"key", "keydown", "keyup"}, true, &Runner::DoKey,
       "  key K [shift] [ctrl] [alt]  press and release key K with the modifiers held\n"
       "  keydown K [mods...] | keyup K [mods...]\n"
       "                              K: a-z 0-9 f1-f12 left right up down pageup pagedown home end\n"
       "                              enter escape space tab backspace delete shift ctrl alt\n"},
      {{"type"}, true, &Runner::DoType, "  type TEXT                   type the rest of the line\n"},
      {{"answer"}, false, &Runner::DoAnswer,
       "  answer KIND VALUE           answer the next dialog: savefile PATH | savefile cancel |\n"
       "                              color 0xBBGGRR | color cancel | message ok|cancel|yes|no;\n"
       "                              a savefile PATH acts as the name typed into the dialog, so its\n"
       "                              default extension applies (.../lens saves .../lens.bmp) and\n"
       "                              its overwrite question is asked (answer it with message)\n"
       "  answer input [TEXT]         answer the next input dialog with OK and TEXT typed (the rest\n"
       "                              of the line after one blank; nothing for an empty field);\n"
       "                              'answer input cancel' cancels it\n"},
      {{"menu"}, true, &Runner::DoMenu,
       "  menu FORM.ITEM              choose menu item ITEM (its component name) as a user does: a\n"
       "                              popup menu is opened as its button opens it, then the item is\n"
       "                              released on; a main menu's item is clicked. A separator or a\n"
       "                              disabled item does nothing; the pointer stays where it is\n"},
      {{"manage"}, true, &Runner::DoManage,
       "  manage X Y W H              a window manager forces the main window to X Y W H\n"},
      {{"windows"}, true, &Runner::DoWindows,
       "  windows                     NAME X Y W H visible=0/1 topmost=0/1 per window, top first\n"
       "                              (an open popup menu is MenuWindow)\n"},
      {{"prop"}, true, &Runner::DoProp,
       "  prop PATH                   PATH = VALUE for Form.Property or Form.Component.Property\n"},
      {{"pixel"}, true, &Runner::DoPixel, "  pixel X Y                   pixel X Y 0xBBGGRR of the screen\n"},
      {{"shot"}, true, &Runner::DoShot,
       "  shot FILE [X Y W H]         PNG of the screen or a rectangle of it (BMP if FILE ends in .bmp)\n"},
      {{"clipboard"}, true, &Runner::DoClipboard,
       "  clipboard FILE              the clipboard's picture to FILE, PNG or BMP as for shot; with\n"
       "                              no picture on the clipboard: 'clipboard empty'\n"},
      {{"cliptext"}, false, &Runner::DoClipText,
       "  cliptext TEXT               another program copies TEXT (the rest of the line) to the\n"
       "                              clipboard, replacing what was there\n"},
      {{"cat"}, false, &Runner::DoCat, "  cat NAME                    the bytes of file NAME in DIR\n"},
      {{"log"}, false, &Runner::DoLog,
       "  log                         what the program did since the last log: beep, sound NAME,\n"
       "                              open TARGET, message TEXT, clipboard bitmap WxH,\n"
       "                              clipboard text TEXT, help FILE COMMAND, input PROMPT TEXT\n"
       "                              (an input dialog and the text it offered)\n"},
      {{"tray"}, false, &Runner::DoTray,
       "  tray                        tray icons=N: the program's icons in the notification area (0 or\n"
       "                              1); also after close\n"
       "  tray click B | tray dblclick B | tray down B | tray up B\n"
       "                              mouse button B on the program's tray icon, the pointer staying\n"
       "                              where it is; with no icon shown: 'line N: no tray icon'\n"},
      {{"close"}, true, &Runner::DoClose,
       "  close                       close the main form as its close button does, and run until\n"
       "                              the program ends\n"},
  };
  return table;
}

std::string Runner::CommandHelp() {
  std::string help = "  # ...                       comment (blank lines are ignored too)\n";
  for (const CommandEntry& entry : Commands()) help += entry.Help;
  return help;
}

bool Runner::Execute(const Command& c) {
  for (const CommandEntry& entry : Commands())
    for (const char* name : entry.Names)
      if (c.Name == name) {
        if (entry.NeedsProgram) RequireRunning(c);
        return (this->*entry.Run)(c);
      }
  throw ScriptError(c.Line, "unknown command: " + c.Name);
}

bool Runner::DoScreen(const Command& c) {
  Require(c, 2, 2);
  if (FPhase != Phase::BeforeStart) throw ScriptError(c.Line, "screen after start");
  int w = Number(c, c.Args[0]), h = Number(c, c.Args[1]);
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) throw ScriptError(c.Line, "bad screen size");
  if (!FMonitors.empty()) throw ScriptError(c.Line, "screen after monitor lines (the monitors make the screen)");
  FDesktop.SetScreenSize({w, h});
  return false;
}

bool Runner::DoMonitor(const Command& c) {
  Require(c, 4, 6);
  if (c.Args.size() == 5) throw ScriptError(c.Line, "monitor takes X Y W H or X Y W H WMM HMM");
  if (FPhase != Phase::BeforeStart) throw ScriptError(c.Line, "monitor after start");
  const int x = Number(c, c.Args[0]), y = Number(c, c.Args[1]), w = Number(c, c.Args[2]), h = Number(c, c.Args[3]);
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || w > 16384 - x || h > 16384 - y)
    throw ScriptError(c.Line, "bad monitor: it must lie within 0 0 16384 16384");
  // Without a size given, 96 pixels per inch.
  auto mm = [](int px) { return int((std::int64_t(px) * 254 + 480) / 960); };
  int wmm = mm(w), hmm = mm(h);
  if (c.Args.size() == 6) {
    wmm = Number(c, c.Args[4]);
    hmm = Number(c, c.Args[5]);
    if (wmm < 0 || hmm < 0) throw ScriptError(c.Line, "bad monitor size in millimetres");
  }
  FMonitors.push_back(plat::Monitor{gfx::Rect::FromXYWH(x, y, w, h), wmm, hmm, FMonitors.empty()});
  FDesktop.SetMonitors(FMonitors);
  return false;
}

bool Runner::DoFile(const Command& c) {
  Require(c, 1, 1);
  std::ofstream f(PathIn(c.Args[0]), std::ios::binary);
  if (!(f << c.Body) || !f.flush()) throw ScriptError(c.Line, "cannot write " + c.Args[0]);
  return false;
}

bool Runner::DoWallpaper(const Command& c) {
  // Before start or while the program runs: the desktop's pixels change under it.
  Require(c, 1, 1);
  const std::string& file = c.Args[0];
  const bool bmp = file.size() >= 4 && file.compare(file.size() - 4, 4, ".bmp") == 0;
  try {
    FDesktop.SetWallpaper(bmp ? gfx::ReadBmpFile(PathIn(file)) : gfx::ReadPngFile(PathIn(file)));
  } catch (const std::exception& e) {
    throw ScriptError(c.Line, "cannot read the wallpaper " + file + ": " + e.what());
  }
  return false;
}

bool Runner::DoCat(const Command& c) {
  Require(c, 1, 1);
  std::ifstream f(PathIn(c.Args[0]), std::ios::binary);
  if (!f) throw ScriptError(c.Line, "no file " + c.Args[0]);
  FOut << std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  FOut.flush();
  return false;
}

bool Runner::DoAnswer(const Command& c) {
  // The text typed into an input dialog is the rest of the line, blanks and all (or nothing).
  if (!c.Args.empty() && c.Args[0] == "input") {
    const std::size_t at = c.Rest.find("input") + 5;
    std::string text = c.Rest.substr(at);
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
    FDesktop.QueueAnswer(plat::DialogKind::Input, text);
    return false;
  }
  Require(c, 2, 2);
  static const std::map<std::string, plat::DialogKind> kinds{
      {"savefile", plat::DialogKind::SaveFile}, {"color", plat::DialogKind::Color}, {"message", plat::DialogKind::Message}};
  auto it = kinds.find(c.Args[0]);
  if (it == kinds.end()) throw ScriptError(c.Line, "unknown dialog: " + c.Args[0]);
  const std::string& v = c.Args[1];
  if (it->second == plat::DialogKind::Message && v != "ok" && v != "cancel" && v != "yes" && v != "no")
    throw ScriptError(c.Line, "unknown message answer: " + v);
  if (it->second == plat::DialogKind::Color && v != "cancel" && !(v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')))
    throw ScriptError(c.Line, "colour answers are 0xBBGGRR or cancel");
  FDesktop.QueueAnswer(it->second, v);
  return false;
}

bool Runner::DoClipText(const Command& c) {
  // The text is the rest of the line, blanks and all, as for type.
  FDesktop.InjectClipboardText(c.Rest);
  return false;
}

bool Runner::DoLog(const Command& c) {
  Require(c, 0, 0);
  for (const std::string& line : FDesktop.TakeLog()) FOut << line << "\n";
  return false;
}

bool Runner::DoTray(const Command& c) {
  // The icon count stays readable after the program has ended (no icon may be left).
  if (FPhase == Phase::BeforeStart) throw ScriptError(c.Line, "tray before start");
  if (c.Args.empty()) {
    FOut << "tray icons=" << FDesktop.TrayIcons().size() << "\n";
    return false;
  }
  Require(c, 2, 2);
  const std::string& what = c.Args[0];
  if (what != "click" && what != "dblclick" && what != "down" && what != "up")
    throw ScriptError(c.Line, "unknown tray input: " + what);
  plat::MouseButton b = Button(c, c.Args[1]);
  if (FDesktop.TrayIcons().empty()) throw ScriptError(c.Line, "no tray icon");
  using K = plat::TrayMouseKind;
  // As the desktop reports them: the second press of a double click comes as its own message.
  if (what == "down" || what == "click" || what == "dblclick") FDesktop.InjectTrayMouse(b, K::Down);
  if (what == "up" || what == "click" || what == "dblclick") FDesktop.InjectTrayMouse(b, K::Up);
  if (what == "dblclick") {
    FDesktop.InjectTrayMouse(b, K::DoubleClick);
    FDesktop.InjectTrayMouse(b, K::Up);
  }
  return FPhase == Phase::Running;
}

bool Runner::DoWait(const Command& c) {
  Require(c, 1, 1);
  int ms = Number(c, c.Args[0]);
  if (ms < 0) throw ScriptError(c.Line, "negative wait");
  FDesktop.AdvanceClock(std::uint64_t(ms));
  return true;
}

bool Runner::DoMouse(const Command& c) {
  Require(c, 2, 2);
  FDesktop.InjectMouseMove(Number(c, c.Args[0]), Number(c, c.Args[1]));
  return true;
}

bool Runner::DoWheel(const Command& c) {
  Require(c, 1, 1);
  FDesktop.InjectWheel(Number(c, c.Args[0]) * 120);
  return true;
}

bool Runner::DoButton(const Command& c) {
  const std::string& n = c.Name;
  Require(c, 1, 1);
  plat::MouseButton b = Button(c, c.Args[0]);
  if (n == "down") FDesktop.InjectButtonDown(b);
  else if (n == "up") FDesktop.InjectButtonUp(b);
  else if (n == "click") FDesktop.InjectClick(b);
  else FDesktop.InjectDoubleClick(b);
  return true;
}

bool Runner::DoKey(const Command& c) {
  const std::string& n = c.Name;
  if (c.Args.empty()) throw ScriptError(c.Line, n + " needs a key");
  int vk = Key(c, c.Args[0]);
  plat::ShiftState mods = Modifiers(c, 1);
  const std::pair<plat::ShiftState, int> modKeys[] = {
      {plat::ssShift, plat::VK_SHIFT}, {plat::ssCtrl, plat::VK_CONTROL}, {plat::ssAlt, plat::VK_MENU}};
  if (n == "key") {
    FDesktop.InjectKey(vk, mods);
  } else if (n == "keydown") {
    for (auto [flag, mk] : modKeys)
      if (mods & flag) FDesktop.InjectKeyDown(mk);
    FDesktop.InjectKeyDown(vk);
  } else {
    FDesktop.InjectKeyUp(vk);
    for (auto [flag, mk] : modKeys)
      if (mods & flag) FDesktop.InjectKeyUp(mk);
  }
  return true;
}

bool Runner::DoType(const Command& c) {
  FDesktop.InjectText(c.Rest);
  return true;
}

bool Runner::DoClose(const Command& c) {
  Require(c, 0, 0);
  if (!Application || !Application->MainForm()) throw ScriptError(c.Line, "the program has no main form");
  TForm* main = Application->MainForm();
  Application->Guard(main, [main] { main->Close(); });
  return true;
}

bool Runner::DoMenu(const Command& c) {
  Require(c, 1, 1);
  ChooseMenuItem(c);
  return true;
}

bool Runner::DoManage(const Command& c) {
  Require(c, 4, 4);
  if (!Application || !Application->MainForm()) throw ScriptError(c.Line, "the program has no main form");
  const auto* w = dynamic_cast<const plat::VirtualWindow*>(Application->MainForm()->NativeWindow());
  FDesktop.InjectManagerBounds(w, gfx::Rect::FromXYWH(Number(c, c.Args[0]), Number(c, c.Args[1]), Number(c, c.Args[2]),
                                                       Number(c, c.Args[3])));
  return true;
}

bool Runner::DoWindows(const Command& c) {
  Require(c, 0, 0);
  QueryWindows();
  return false;
}

bool Runner::DoProp(const Command& c) {
  Require(c, 1, 1);
  QueryProp(c);
  return false;
}

bool Runner::DoPixel(const Command& c) {
  Require(c, 2, 2);
  int x = Number(c, c.Args[0]), y = Number(c, c.Args[1]);
  gfx::TColor color = FDesktop.CaptureScreen(gfx::Rect::FromXYWH(x, y, 1, 1)).At(0, 0);
  std::ostringstream s;
  s << "pixel " << x << " " << y << " 0x" << std::uppercase << std::hex << std::setw(6) << std::setfill('0') << (color & 0xFFFFFF);
  FOut << s.str() << "\n";
  return false;
}

bool Runner::DoClipboard(const Command& c) {
  Require(c, 1, 1);
  if (!FDesktop.HasClipboardBitmap()) {
    FOut << "clipboard empty\n";
    return false;
  }
  WriteImage(c, c.Args[0], FDesktop.ClipboardBitmap());
  return false;
}

bool Runner::DoShot(const Command& c) {
  if (c.Args.size() != 1 && c.Args.size() != 5) throw ScriptError(c.Line, "shot takes FILE or FILE X Y W H");
  gfx::Rect r{0, 0, FDesktop.ScreenSize().cx, FDesktop.ScreenSize().cy};
  if (c.Args.size() == 5) {
    r = gfx::Rect::FromXYWH(Number(c, c.Args[1]), Number(c, c.Args[2]), Number(c, c.Args[3]), Number(c, c.Args[4]));
    if (r.Width() <= 0 || r.Height() <= 0) throw ScriptError(c.Line, "empty shot rectangle");
  }
  WriteImage(c, c.Args[0], FDesktop.CaptureScreen(r));
  return false;
}

bool Runner::DoStart(const Command& c) {
  // The first start is the run's own (Run); any other comes too late.
  throw ScriptError(c.Line, "the program has already been started");
}

void Runner::WriteImage(const Command& c, const std::string& file, const gfx::Bitmap& picture) const {
  try {
    const bool bmp = file.size() > 4 && Lower(file.substr(file.size() - 4)) == ".bmp";
    if (bmp) gfx::WriteBmpFile(file, picture, 24);
    else gfx::WritePngFile(file, picture);
  } catch (const std::exception& e) {
    throw ScriptError(c.Line, e.what());
  }
}

TForm* Runner::FindForm(const Command& c, const std::string& name) const {
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (TForm* f = Screen->Forms(i); f && SameName(f->Name(), name)) return f;
  throw ScriptError(c.Line, "unknown form: " + name);
}

void Runner::ChooseMenuItem(const Command& c) {
  const std::string& path = c.Args[0];
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos || path.find('.', dot + 1) != std::string::npos)
    throw ScriptError(c.Line, "menu needs FORM.ITEM");
  TForm* form = FindForm(c, path.substr(0, dot));
  auto* item = dynamic_cast<TMenuItem*>(form->FindComponent(path.substr(dot + 1)));
  TMenu* menu = item ? item->Menu() : nullptr;
  if (!menu) throw ScriptError(c.Line, "unknown menu item: " + path);
  if (!Application) return;
  auto* popup = dynamic_cast<TPopupMenu*>(menu);
  if (!popup) {
    // A main menu, shown or hidden: the item's click, if a user could click it.
    if (!item->IsLine() && item->Count() == 0 && item->EffectivelyEnabled())
      Application->Guard(item, [item] { item->Click(); });
    return;
  }
  // Open the popup menu as its button does (at the pointer when it has none), then choose the
  // item as a release over it does; the menu may be gone after either step.
  if (!popup->IsOpen()) {
    if (auto* opener = dynamic_cast<TSpeedButton*>(popup->PopupComponent())) {
      Application->Guard(opener, [opener] { opener->Click(); });
    } else {
      gfx::Point p;
      FDesktop.GetCursorPos(p);
      Application->Guard(popup, [popup, p] { popup->Popup(p.x, p.y); });
    }
  }
  // Whatever ran may have destroyed the form and its menu: look them up again.
  form = nullptr;
  if (Screen)
    for (int i = 0; i < Screen->FormCount() && !form; ++i)
      if (TForm* f = Screen->Forms(i); f && SameName(f->Name(), path.substr(0, dot))) form = f;
  item = form ? dynamic_cast<TMenuItem*>(form->FindComponent(path.substr(dot + 1))) : nullptr;
  popup = item ? dynamic_cast<TPopupMenu*>(item->Menu()) : nullptr;
  if (popup && popup->IsOpen()) Application->Guard(popup, [popup, item] { popup->ChooseItem(item); });
}

void Runner::QueryWindows() {
  for (plat::VirtualWindow* w : FDesktop.Windows()) {
    std::string name = "?";
    if (Screen)
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (TForm* f = Screen->Forms(i); f && f->NativeWindow() == w) {
          name = f->Name().empty() ? f->ClassName() : f->Name();
          break;
        }
    gfx::Rect b = w->Bounds();
    FOut << name << " " << b.left << " " << b.top << " " << b.Width() << " " << b.Height()
         << " visible=" << (w->Visible() ? 1 : 0) << " topmost=" << (w->TopMost() ? 1 : 0) << "\n";
  }
}

void Runner::QueryProp(const Command& c) {
  const std::string& path = c.Args[0];
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    std::size_t dot = path.find('.', start);
    parts.push_back(path.substr(start, dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (parts.size() < 2) throw ScriptError(c.Line, "prop needs Form.Property or Form.Component.Property");
  TComponent* target = nullptr;
  if (Screen)
    for (int i = 0; i < Screen->FormCount() && !target; ++i)
      if (TForm* f = Screen->Forms(i); f && SameName(f->Name(), parts[0])) target = f;
  if (!target) throw ScriptError(c.Line, "unknown form: " + parts[0]);
  // Components as far as they go; the rest names the property, which may itself have parts
  // (Ruler.RollLimits.Min).
  std::size_t i = 1;
  for (; i + 1 < parts.size(); ++i) {
    TComponent* next = target->FindComponent(parts[i]);
    if (!next) break;
    target = next;
  }
  std::string property = parts[i];
  for (std::size_t k = i + 1; k < parts.size(); ++k) property += "." + parts[k];
  auto value = target->GetPropText(property);
  if (!value) {
    if (i + 1 < parts.size()) throw ScriptError(c.Line, "unknown component: " + parts[i] + " in " + path);
    throw ScriptError(c.Line, "unknown property: " + path);
  }
  FOut << path << " = " << *value << "\n";
}

}  // namespace scenario
