#include "ProgramFixture.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "graphics/ImageFile.h"
#include "platform/x11/X11ErrorTrap.h"
#include "tests/support/TestTools.h"
#include "tools/scenario/ProgramEntry.h"
#include "tools/scenario/Runner.h"

namespace x11test {

namespace {

using testtools::InPath;

bool Poll(const std::function<bool()>& pred, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Status of a finished child: its exit code, or -1 when a signal ended it.
int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// Waits for PID; its exit code, or -2 when it is still running after TIMEOUTMS.
int WaitChild(pid_t pid, int timeoutMs) {
  int status = 0;
  pid_t r = 0;
  if (!Poll([&] { return (r = waitpid(pid, &status, WNOHANG)) != 0; }, timeoutMs)) return -2;
  return r == pid ? ExitCode(status) : -1;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Hex(gfx::TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06X", unsigned(c));
  return buf;
}

}  // namespace

void X11Program::SetUp() {
  if (!InPath("xdotool")) FAIL() << "xdotool is not installed (package xdotool); the program tests need it";
  try {
    Server = std::make_unique<XvfbServer>();
  } catch (const std::exception& e) {
    FAIL() << e.what();
  }
  plat::X11ErrorTrap::InstallHandler();  // a window that vanishes while we look must not end the tests
  Peer = XOpenDisplay(Server->Name().c_str());
  ASSERT_NE(Peer, nullptr) << "cannot connect to " << Server->Name();
  fcntl(ConnectionNumber(Peer), F_SETFD, FD_CLOEXEC);  // not for the program we start

  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  Dir = std::filesystem::temp_directory_path() /
        ("vantrel-x11prog-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  const std::filesystem::path built = std::filesystem::path(VANTREL_BINARY_DIR) / "vantrel";
  ASSERT_TRUE(std::filesystem::exists(built)) << built << " is missing: build the target vantrel first";
  std::filesystem::copy_file(built, Dir / "vantrel");
  std::filesystem::permissions(Dir / "vantrel", std::filesystem::perms::owner_all);
}

void X11Program::TearDown() {
  KillProgram();
  if (FManagerPid > 0) {
    kill(FManagerPid, SIGTERM);
    if (WaitChild(FManagerPid, 3000) == -2) {
      kill(FManagerPid, SIGKILL);
      waitpid(FManagerPid, nullptr, 0);
    }
    FManagerPid = -1;
  }
  if (Peer) XCloseDisplay(Peer);
  Peer = nullptr;
  Server.reset();
  // A failed test leaves its folder (program output, settings, screenshots) to look at.
  if (Dir.empty()) return;
  if (HasFailure())
    std::cerr << "kept " << Dir << " for inspection\n";
  else
    std::filesystem::remove_all(Dir);
}

void X11Program::WriteSettings(const std::string& lines) {
  std::string text;
  for (char c : lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::ofstream(Dir / "Vantrel.ini", std::ios::binary) << text << "\r\n";
}

std::string X11Program::ReadSettings() const { return ReadWhole(Dir / "Vantrel.ini"); }

std::string X11Program::Setting(const std::string& key) const {
  std::istringstream in(ReadSettings());
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
}

void X11Program::StartWindowManager(const std::string& name) {
  ASSERT_TRUE(InPath(name)) << name << " is not installed (package " << (name == "i3" ? "i3-wm" : name)
                            << "); the window manager tests need it";
  std::vector<std::string> argv;
  if (name == "i3") {
    // No bar, no start-up programs: the defaults a new user meets for placing and framing.
    const std::filesystem::path config = Dir / "i3.config";
    std::ofstream(config) << "# i3 config file (v4)\nfont pango:monospace 8\n";
    argv = {"i3", "-c", config.string()};
  } else {
    argv = {name, "--sm-disable"};
  }
  FManagerPid = Server->Spawn(argv, (Dir / (name + ".txt")).string());
  ASSERT_GT(FManagerPid, 0);
  // A manager announces itself with a check window named on the root.
  const Atom check = XInternAtom(Peer, "_NET_SUPPORTING_WM_CHECK", False);
  const bool running = PollUntil([&] {
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(Peer, DefaultRootWindow(Peer), check, 0, 1, False, AnyPropertyType, &type,
                                          &format, &n, &after, &data) == Success && n == 1;
    if (data) XFree(data);
    return found || WaitChild(FManagerPid, 0) != -2;
  }, 10000);
  ASSERT_TRUE(running) << name << " did not start";
  ASSERT_EQ(WaitChild(FManagerPid, 0), -2) << name << " ended at start";
  // It names itself before it handles requests: wait until it has mapped a window of ours.
  // A request that reached it while it was starting may wait in its queue until some other
  // message wakes it, so it is sent harmless ones (frame extents of the probe) meanwhile.
  const ::Window probe = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 0, 0, 10, 10, 0, 0, 0);
  XMapWindow(Peer, probe);
  XSync(Peer, False);
  XEvent nudge{};
  nudge.xclient.type = ClientMessage;
  nudge.xclient.window = probe;
  nudge.xclient.message_type = XInternAtom(Peer, "_NET_REQUEST_FRAME_EXTENTS", False);
  nudge.xclient.format = 32;
  int polls = 0;
  const bool managing = PollUntil([&] {
    XWindowAttributes a{};
    if (XGetWindowAttributes(Peer, probe, &a) && a.map_state == IsViewable) return true;
    if (++polls % 10 == 0) {
      XSendEvent(Peer, DefaultRootWindow(Peer), False, SubstructureRedirectMask | SubstructureNotifyMask, &nudge);
      XFlush(Peer);
    }
    return false;
  }, 10000);
  XDestroyWindow(Peer, probe);
  XSync(Peer, False);
  ASSERT_TRUE(managing) << name << " does not map windows";
}

void X11Program::StartProgram() { StartProgramOn(Server->Name()); }

void X11Program::StartProgramOn(const std::string& displayName) {
  ASSERT_LT(FPid, 0) << "the program is already running";
  const std::string exe = (Dir / "vantrel").string();
  const std::string log = (Dir / "output.txt").string();
  const pid_t pid = fork();
  ASSERT_GE(pid, 0) << "cannot fork";
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test run that is killed takes the program with it
    unsetenv("WAYLAND_DISPLAY");  // run from a Wayland session, the program would go there
    if (displayName.empty())
      unsetenv("DISPLAY");
    else
      setenv("DISPLAY", displayName.c_str(), 1);
    if (chdir(Dir.c_str()) != 0) _exit(126);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    execl(exe.c_str(), "vantrel", static_cast<char*>(nullptr));
    _exit(127);
  }
  FPid = pid;
}

::Window X11Program::WaitForStrip(int timeoutMs) {
  std::vector<ShownWindow> shown;
  bool alive = true;
  PollUntil([&] {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) {
      alive = false;
      FPid = -1;
      return true;
    }
    shown = ShownWindows();
    return !shown.empty();
  }, timeoutMs);
  EXPECT_TRUE(alive) << "the program ended at start:\n" << ProgramOutput();
  std::string seen;
  for (const ShownWindow& w : shown)
    seen += " " + std::to_string(w.Bounds.left) + "," + std::to_string(w.Bounds.top) + " " +
            std::to_string(w.Bounds.Width()) + "x" + std::to_string(w.Bounds.Height());
  EXPECT_EQ(shown.size(), 1u) << "the strip alone is shown at start; shown:" << seen;
  return shown.empty() ? None : shown.front().Id;
}

long X11Program::ProgramSleeps() const {
  if (FPid <= 0) return -1;
  std::ifstream status("/proc/" + std::to_string(FPid) + "/status");
  const std::string key = "voluntary_ctxt_switches:";
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  return -1;
}

int X11Program::ProgramChildren() const {
  if (FPid <= 0) return -1;
  std::ifstream list("/proc/" + std::to_string(FPid) + "/task/" + std::to_string(FPid) + "/children");
  if (!list) return -1;
  int n = 0;
  for (pid_t child; list >> child;) ++n;
  return n;
}

void X11Program::ListenForBell() {
  int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  ASSERT_TRUE(XkbQueryExtension(Peer, &opcode, &FXkbEvent, &error, &major, &minor));
  ASSERT_TRUE(XkbSelectEvents(Peer, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask));
  XSync(Peer, False);
}

bool X11Program::WaitForBell(int timeoutMs) {
  EXPECT_GE(FXkbEvent, 0) << "ListenForBell first";
  return PollUntil([&] {
    XSync(Peer, False);
    bool rung = false;
    while (!rung && XPending(Peer) > 0) {
      XEvent ev;
      XNextEvent(Peer, &ev);
      rung = ev.type == FXkbEvent && reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbBellNotify;
    }
    return rung;
  }, timeoutMs);
}

int X11Program::WaitExit(int timeoutMs) {
  if (FPid <= 0) return -2;
  const int code = WaitChild(FPid, timeoutMs);
  if (code != -2) FPid = -1;
  return code;
}

void X11Program::KillProgram() {
  if (FPid <= 0) return;
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
  FPid = -1;
  // The server tears the windows down when it notices the lost connection, a moment later:
  // a program started next must not find the old strip still on the screen.
  if (Peer) {
    EXPECT_TRUE(PollUntil([&] { return ShownWindows().empty(); })) << "the killed program's windows stay";
  }
}

void X11Program::KillServer() {
  // A plain Xlib connection would end this process when its server goes away.
  if (Peer) XCloseDisplay(Peer);
  Peer = nullptr;
  Server->Kill();
}

std::string X11Program::ProgramOutput() const { return ReadWhole(Dir / "output.txt"); }

int X11Program::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = Server->Spawn(argv);
  const int code = WaitChild(pid, 10000);
  if (code == -2) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return code;
}

std::vector<ShownWindow> X11Program::ShownWindows() {
  std::vector<ShownWindow> shown;
  plat::X11ErrorTrap trap(Peer);
  auto ours = [&](::Window w) {
    XClassHint hint{};
    if (!XGetClassHint(Peer, w, &hint)) return false;
    const bool vantrel = hint.res_class && std::string(hint.res_class) == "Vantrel";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return vantrel;
  };
  // A window manager puts each managed window into a frame (or two) of its own.
  std::function<void(::Window, int)> visit = [&](::Window w, int depth) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(Peer, w, &a) || a.map_state != IsViewable) return;
    // A window of no size (X makes it 1 x 1) shows nothing: the mouse loupe before it is built.
    if (a.width <= 1 && a.height <= 1) return;
    if (ours(w)) {
      // A window being reparented can be met twice: under the root, then in its new frame.
      if (std::none_of(shown.begin(), shown.end(), [w](const ShownWindow& s) { return s.Id == w; }))
        shown.push_back({w, Geometry(w)});
      return;
    }
    if (depth == 0) return;
    ::Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(Peer, w, &root, &parent, &children, &count)) return;
    for (unsigned i = 0; i < count; ++i) visit(children[i], depth - 1);
    if (children) XFree(children);
  };
  for (::Window w : StackingOrder()) visit(w, 2);
  return shown;
}

gfx::Rect X11Program::Geometry(::Window w) {
  plat::X11ErrorTrap trap(Peer);
  XWindowAttributes a{};
  if (!XGetWindowAttributes(Peer, w, &a)) return {};
  int x = 0, y = 0;
  ::Window child = None;
  XTranslateCoordinates(Peer, w, DefaultRootWindow(Peer), 0, 0, &x, &y, &child);
  return gfx::Rect::FromXYWH(x, y, a.width, a.height);
}

::Window X11Program::TopLevel(::Window w) {
  plat::X11ErrorTrap trap(Peer);
  for (;;) {
    ::Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(Peer, w, &root, &parent, &children, &count)) return w;
    if (children) XFree(children);
    if (parent == root || parent == None) return w;
    w = parent;
  }
}

std::vector<::Window> X11Program::StackingOrder() {
  std::vector<::Window> order;
  ::Window root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(Peer, DefaultRootWindow(Peer), &root, &parent, &children, &count)) return order;
  order.assign(children, children + count);
  if (children) XFree(children);
  return order;
}

gfx::Bitmap X11Program::Capture(const gfx::Rect& r) {
  gfx::Bitmap out(r.Width(), r.Height());
  XImage* img = XGetImage(Peer, DefaultRootWindow(Peer), r.left, r.top, unsigned(r.Width()), unsigned(r.Height()),
                          AllPlanes, ZPixmap);
  if (!img) return out;
  // Each channel scaled from its mask to 8 bits.
  auto channel = [](unsigned long pixel, unsigned long mask) -> unsigned {
    if (!mask) return 0;
    const unsigned long v = (pixel & mask) >> std::countr_zero(mask);
    const unsigned long max = mask >> std::countr_zero(mask);
    return unsigned(v * 255 / max);
  };
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const unsigned long p = XGetPixel(img, x, y);
      out.At(x, y) = channel(p, img->red_mask) | channel(p, img->green_mask) << 8 | channel(p, img->blue_mask) << 16;
    }
  XDestroyImage(img);
  return out;
}

std::filesystem::path X11Program::RunVirtual(const std::string& settings, const std::string& commands) {
  const std::filesystem::path dir = Dir / ("virtual-" + std::to_string(++FVirtualRuns));
  std::filesystem::create_directories(dir);
  std::string script;
  if (!settings.empty()) script += "file Vantrel.ini <<<\n" + settings + "\n>>>\n";
  script += "start\n" + commands;
  std::ostringstream out, err;
  scenario::Runner runner(scenario::ProgramMain, dir.string(), out, err);
  EXPECT_EQ(runner.Run(script), 0) << err.str();
  return dir;
}

gfx::Bitmap X11Program::ShotVirtual(const std::string& settings, const std::string& commands, const gfx::Rect& r) {
  // Screenshots go where the command says, not into the program's folder.
  const std::filesystem::path shot = Dir / ("shot-" + std::to_string(FVirtualRuns + 1) + ".bmp");
  RunVirtual(settings, commands + testtools::ShotCommand(shot, r));
  return testtools::ReadShot(shot, r);
}

std::string X11Program::PointerAt(gfx::Point p) {
  return "mouse " + std::to_string(p.x) + " " + std::to_string(p.y) + "\nwait 55\n";
}

bool X11Program::PollUntil(const std::function<bool()>& pred, int timeoutMs) { return Poll(pred, timeoutMs); }

bool X11Program::WaitForPixels(const gfx::Rect& r, const gfx::Bitmap& expected, int timeoutMs) {
  return PollUntil([&] { return Capture(r) == expected; }, timeoutMs);
}

std::string Difference(const gfx::Bitmap& actual, const gfx::Bitmap& expected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
    return "sizes differ: " + std::to_string(actual.Width()) + "x" + std::to_string(actual.Height()) + " and " +
           std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
  std::string first;
  int count = 0;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y) && count++ == 0)
        first = std::to_string(x) + "," + std::to_string(y) + ": " + Hex(actual.At(x, y)) + " != " + Hex(expected.At(x, y));
  return count ? first + " (" + std::to_string(count) + " pixels differ)" : "";
}

}  // namespace x11test
