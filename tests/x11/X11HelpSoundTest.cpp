// Help and sounds on X11: the help document opened with the desktop's handler, the menu
// sounds and the desktop settings that allow them.
#include "X11Fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/x11/X11HelpService.h"
#include "platform/x11/X11Sound.h"
#include "platform/x11/X11XSettings.h"

using namespace x11test;

namespace {

// XSETTINGS bytes written by hand in either byte order, as a settings daemon publishes them.
struct XSettingsWriter {
  bool Big;
  std::vector<std::uint8_t> Out;
  void U8(std::uint8_t v) { Out.push_back(v); }
  void U16(std::uint16_t v) {
    if (Big) Out.insert(Out.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
    else Out.insert(Out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) Out.push_back(std::uint8_t(v >> (Big ? 24 - 8 * i : 8 * i)));
  }
  void Padded(const std::string& s) {
    Out.insert(Out.end(), s.begin(), s.end());
    while (Out.size() % 4) Out.push_back(0);
  }
  void Head(std::uint8_t type, const std::string& name) {
    U8(type);
    U8(0);
    U16(std::uint16_t(name.size()));
    Padded(name);
    U32(7);  // serial of its last change
  }
  explicit XSettingsWriter(bool big, std::uint32_t count) : Big(big) {
    U8(big ? 1 : 0);
    U8(0), U8(0), U8(0);
    U32(42);  // serial
    U32(count);
  }
  void Int(const std::string& name, std::int32_t v) {
    Head(0, name);
    U32(std::uint32_t(v));
  }
  void String(const std::string& name, const std::string& v) {
    Head(1, name);
    U32(std::uint32_t(v.size()));
    Padded(v);
  }
  void Color(const std::string& name) {
    Head(2, name);
    U16(1), U16(2), U16(3), U16(4);
  }
};

std::vector<std::uint8_t> SoundSettings(bool big, int eventSounds, int feedbackSounds) {
  XSettingsWriter w(big, 4);
  w.String("Net/SoundThemeName", "ocean");  // 5 letters: padded to 8
  w.Color("Gtk/ColorScheme");
  w.Int("Net/EnableEventSounds", eventSounds);
  w.Int("Net/EnableInputFeedbackSounds", feedbackSounds);
  return w.Out;
}

// A stand-in desktop handler in its own folder, put first on PATH: it appends each argument
// as a line to the file "args" beside it.
class StandInHandler {
 public:
  StandInHandler() : FDir(TempPath("handler")), FOldPath(getenv("PATH") ? getenv("PATH") : "") {
    std::filesystem::create_directories(FDir);
    std::ofstream(FDir + "/xdg-open") << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << Log()
                                     << "'; done\n";
    chmod((FDir + "/xdg-open").c_str(), 0700);
    setenv("PATH", (FDir + ":" + FOldPath).c_str(), 1);
  }
  ~StandInHandler() {
    setenv("PATH", FOldPath.c_str(), 1);
    std::filesystem::remove_all(FDir);
  }
  std::string Log() const { return FDir + "/args"; }

 private:
  std::string FDir, FOldPath;
};

}  // namespace

TEST(X11Sound, MenuSoundsAreTheThemesMenuEvents) {
  const std::pair<const char*, const char*> table[] = {
      {"MenuPopup", "menu-popup"}, {"MenuCommand", "menu-click"}, {"menupopup", ""}, {"", ""}, {"SystemAsterisk", ""}};
  for (auto [name, event] : table) EXPECT_EQ(plat::CanberraSound::EventId(name), event) << name;
}

TEST(X11XSettings, ReadsIntegersAndStringsInBothByteOrders) {
  for (bool big : {false, true}) {
    const std::vector<std::uint8_t> bytes = SoundSettings(big, 0, 1);
    const plat::X11XSettings s = plat::X11XSettings::Parse(bytes.data(), bytes.size());
    EXPECT_EQ(s.Count(), 3u) << big;  // the colour is skipped
    EXPECT_EQ(s.String("Net/SoundThemeName"), "ocean") << big;
    EXPECT_EQ(s.Int("Net/EnableEventSounds"), 0) << big;
    EXPECT_EQ(s.Int("Net/EnableInputFeedbackSounds"), 1) << big;
    EXPECT_FALSE(plat::X11Sound::AllowedBy(s));
    // Cut inside the last entry: what came before it stays.
    const plat::X11XSettings cut = plat::X11XSettings::Parse(bytes.data(), bytes.size() - 2);
    EXPECT_EQ(cut.Count(), 2u) << big;
    EXPECT_EQ(cut.Int("Net/EnableEventSounds"), 0) << big;
    EXPECT_FALSE(cut.Int("Net/EnableInputFeedbackSounds")) << big;
  }
  // Nothing published: sounds are on, as in GTK.
  EXPECT_TRUE(plat::X11Sound::AllowedBy(plat::X11XSettings()));
}

TEST_F(X11Fixture, MenuSoundsFollowTheDesktopsSettings) {
  plat::X11Sound& sound = Platform->Sound();
  EXPECT_TRUE(sound.Allowed());  // no settings daemon
  // A settings daemon on the second connection.
  const ::Window daemon = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(Peer, XInternAtom(Peer, "_XSETTINGS_S0", False), daemon, CurrentTime);
  const Atom settings = XInternAtom(Peer, "_XSETTINGS_SETTINGS", False);
  const std::pair<int, int> cases[] = {{0, 1}, {1, 0}, {1, 1}};
  for (auto [events, feedback] : cases) {
    const std::vector<std::uint8_t> bytes = SoundSettings(true, events, feedback);
    XChangeProperty(Peer, daemon, settings, settings, 8, PropModeReplace, bytes.data(), int(bytes.size()));
    XSync(Peer, False);
    EXPECT_EQ(sound.Allowed(), events == 1 && feedback == 1) << events << feedback;
  }
  // Playing never throws or stalls, whether or not this machine has a sound device; after a
  // first attempt the context is open or given up for good.
  Platform->PlaySystemSound("MenuPopup");
  Platform->PlaySystemSound("MenuCommand");
  Platform->PlaySystemSound("NoSuchSound");
  EXPECT_NE(sound.Current(), plat::X11Sound::State::Unopened);
  XDestroyWindow(Peer, daemon);  // the daemon goes away: back to the defaults
  XSync(Peer, False);
  EXPECT_TRUE(sound.Allowed());
}

TEST_F(X11Fixture, HelpOpensTheDocumentOnceAtItsTopic) {
  StandInHandler handler;
  plat::X11HelpService& help = Platform->Help();
  const std::string dir = TempPath("help dir");  // a blank to encode
  const std::string installed = TempPath("installed");
  std::filesystem::create_directories(dir);
  std::filesystem::create_directories(installed);
  help.SetInstalledFolders({installed + "/"});
  const std::string hlp = dir + "/Vantrel.hlp";
  auto opened = [&](std::size_t lines) {
    // The handler has run, and the contents request had its moment to open on its own.
    Pump(*Platform, 60);
    EXPECT_TRUE(PumpUntil(*Platform, [&] { return Platform->Launcher().Running() == 0; }));
    std::vector<std::string> out;
    std::istringstream in(ReadFile(handler.Log()));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    EXPECT_EQ(out.size(), lines);
    return out;
  };

  // No document anywhere: the message names it and where it was looked for; nothing starts.
  try {
    Platform->ShowHelp(hlp, "contents");
    ADD_FAILURE() << "no error for a missing document";
  } catch (const std::runtime_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("vantrel.html"), std::string::npos) << text;
    EXPECT_NE(text.find(dir + "/"), std::string::npos) << text;
    EXPECT_NE(text.find(installed + "/"), std::string::npos) << text;
  }
  opened(0);

  // Installed only: found in the documentation folder.
  std::ofstream(installed + "/vantrel.html") << "<html></html>";
  Platform->ShowHelp(hlp, "JumpID(\"\",\"About\")");
  std::vector<std::string> lines = opened(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "file://" + installed + "/vantrel.html#About");

  // Beside the program it comes first. The Help command's two requests open it once.
  std::ofstream(dir + "/vantrel.html") << "<html></html>";
  const std::string local = "file:///tmp/vantrel-x11test-" + std::to_string(getpid()) + "-help%20dir/vantrel.html";
  Platform->ShowHelp(hlp, "contents");
  Platform->ShowHelp(hlp, "JumpID(\"\",\"About\")");
  lines = opened(2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], local + "#About");
  // The contents alone open the page at its start.
  Platform->ShowHelp(hlp, "contents");
  lines = opened(3);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], local);

  // Without the handler: a message that says what is missing and where the page is.
  setenv("PATH", "/nonexistent", 1);
  try {
    Platform->ShowHelp(hlp, "contents");
    ADD_FAILURE() << "no error without xdg-open";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("xdg-open"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(dir + "/vantrel.html"), std::string::npos) << e.what();
  }
  std::filesystem::remove_all(dir);
  std::filesystem::remove_all(installed);
}
