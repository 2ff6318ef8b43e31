#include "WaylandProgramFixture.h"

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "graphics/ImageFile.h"
#include "tools/scenario/ProgramEntry.h"
#include "tools/scenario/Runner.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace wltest {

using gfx::Rect;

namespace {
constexpr int kScreenW = 1024, kScreenH = 768;

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
}  // namespace

void WaylandProgram::SetUp() {
  for (const char* tool : {"grim", "wl-paste", "wtype"})
    if (!InPath(tool)) FAIL() << tool << " is not installed (scripts/deps.sh installs it); the Wayland tests need it";
  try {
    Server = std::make_unique<SwayServer>(kScreenW, kScreenH);
  } catch (const std::exception& e) {
    FAIL() << e.what();
  }
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  Dir = std::filesystem::temp_directory_path() / ("vantrel-wl-" + std::to_string(getpid()) + "-" + info->name());
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  const std::filesystem::path built = std::filesystem::path(VANTREL_BINARY_DIR) / "vantrel";
  ASSERT_TRUE(std::filesystem::exists(built)) << built << " is missing: build the target vantrel first";
  std::filesystem::copy_file(built, Dir / "vantrel");
  if (DevicesAtStart) ConnectDevices();
}

void WaylandProgram::KillProgram() {
  if (FPid <= 0) return;
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
  FPid = -1;
}

void WaylandProgram::TearDown() {
  KillProgram();
  if (FHeldKeyboard > 0) {
    kill(FHeldKeyboard, SIGKILL);
    waitpid(FHeldKeyboard, nullptr, 0);
  }
  if (FPointer) zwlr_virtual_pointer_v1_destroy(FPointer);
  if (FPointers) zwlr_virtual_pointer_manager_v1_destroy(FPointers);
  if (FClient) wl_display_disconnect(FClient);
  Server.reset();
  if (HasFailure())
    std::cerr << "kept " << Dir << " for inspection\n";
  else if (!Dir.empty())
    std::filesystem::remove_all(Dir);
}

void WaylandProgram::WriteSettings(const std::string& lines) {
  std::string text;
  for (char c : lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::ofstream(Dir / "Vantrel.ini", std::ios::binary) << text << "\r\n";
}

std::string WaylandProgram::Setting(const std::string& key) const {
  std::istringstream in(ReadWhole(Dir / "Vantrel.ini"));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
}

void WaylandProgram::StartProgram(const std::vector<std::string>& args, const std::string& display) {
  ASSERT_LT(FPid, 0) << "the program is already running";
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    setenv("WAYLAND_DISPLAY", (ProgramSocket.empty() ? Server->Socket() : ProgramSocket).c_str(), 1);
    if (display.empty()) unsetenv("DISPLAY");  // Wayland is chosen by itself, not for want of X11
    else setenv("DISPLAY", display.c_str(), 1);
    if (chdir(Dir.c_str()) != 0) _exit(126);
    const int out = open((Dir / "output.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(out, 2);
    std::vector<char*> argv{const_cast<char*>("vantrel")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv((Dir / "vantrel").c_str(), argv.data());
    _exit(127);
  }
  FPid = pid;
}

int WaylandProgram::WaitExit(int timeoutMs) {
  if (FPid <= 0) return -2;
  int status = 0;
  if (!PollUntil([&] { return waitpid(FPid, &status, WNOHANG) == FPid; }, timeoutMs)) return -2;
  FPid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string WaylandProgram::ProgramOutput() const { return ReadWhole(Dir / "output.txt"); }

void WaylandProgram::ConnectDevices() {
  // The seat gets its pointer (ours) and a keyboard (a wtype that waits for an hour) before
  // the program starts: keys a short-lived wtype sends reach only clients that already hold
  // a keyboard, and the first moves only clients that hold a pointer.
  FClient = wl_display_connect(Server->Socket().c_str());
  ASSERT_NE(FClient, nullptr) << "cannot connect to sway";
  struct Globals {
    zwlr_virtual_pointer_manager_v1* Pointers = nullptr;
    wl_seat* Seat = nullptr;
    std::uint32_t Caps = 0;
  } g;
  wl_registry* registry = wl_display_get_registry(FClient);
  static const wl_registry_listener kRegistry{
      [](void* d, wl_registry* r, std::uint32_t name, const char* iface, std::uint32_t) {
        auto* g = static_cast<Globals*>(d);
        if (std::string(iface) == zwlr_virtual_pointer_manager_v1_interface.name)
          g->Pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
              wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
        if (std::string(iface) == wl_seat_interface.name && !g->Seat) {
          g->Seat = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
          static const wl_seat_listener kSeat{[](void* d, wl_seat*, std::uint32_t caps) { *static_cast<std::uint32_t*>(d) = caps; },
                                              [](void*, wl_seat*, const char*) {}};
          wl_seat_add_listener(g->Seat, &kSeat, &g->Caps);
        }
      },
      [](void*, wl_registry*, std::uint32_t) {}};
  wl_registry_add_listener(registry, &kRegistry, &g);
  wl_display_roundtrip(FClient);
  wl_registry_destroy(registry);
  ASSERT_NE(g.Pointers, nullptr) << "sway offers no virtual pointer";
  ASSERT_NE(g.Seat, nullptr) << "sway has no seat";
  FPointers = g.Pointers;
  FPointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(FPointers, g.Seat);
  FHeldKeyboard = fork();
  if (FHeldKeyboard == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    setenv("WAYLAND_DISPLAY", Server->Socket().c_str(), 1);
    execlp("wtype", "wtype", "-s", "3600000", "-k", "Shift_L", static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool both = PollUntil([&] {
    wl_display_roundtrip(FClient);
    return (g.Caps & (WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD)) ==
           (WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD);
  });
  wl_seat_destroy(g.Seat);
  ASSERT_TRUE(both) << "the seat has no pointer and keyboard";
}

void WaylandProgram::MoveTo(int x, int y) {
  ASSERT_NE(FPointer, nullptr);
  FPointerAt = {x, y};
  zwlr_virtual_pointer_v1_motion_absolute(FPointer, FTime += 10, std::uint32_t(x), std::uint32_t(y),
                                          std::uint32_t(Desk.cx), std::uint32_t(Desk.cy));
  zwlr_virtual_pointer_v1_frame(FPointer);
  ASSERT_GE(wl_display_roundtrip(FClient), 0);
}

void WaylandProgram::Button(bool down, bool left) {
  ASSERT_NE(FPointer, nullptr) << "move the pointer first";
  zwlr_virtual_pointer_v1_button(FPointer, FTime += 10, left ? BTN_LEFT : BTN_RIGHT,
                                 down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
  zwlr_virtual_pointer_v1_frame(FPointer);
  ASSERT_GE(wl_display_roundtrip(FClient), 0);
}

void WaylandProgram::Click(int x, int y) {
  MoveTo(x, y);
  Button(true);
  Button(false);
}

void WaylandProgram::ClickAndMoveOn(int x, int y, int toX, int toY) {
  ASSERT_NE(FPointer, nullptr);
  const auto move = [&](int px, int py) {
    zwlr_virtual_pointer_v1_motion_absolute(FPointer, FTime += 10, std::uint32_t(px), std::uint32_t(py),
                                            std::uint32_t(Desk.cx), std::uint32_t(Desk.cy));
    zwlr_virtual_pointer_v1_frame(FPointer);
  };
  move(x, y);
  for (const auto state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
    zwlr_virtual_pointer_v1_button(FPointer, FTime += 10, BTN_LEFT, state);
    zwlr_virtual_pointer_v1_frame(FPointer);
  }
  move(toX, toY);
  FPointerAt = {toX, toY};
  ASSERT_GE(wl_display_roundtrip(FClient), 0);
}

void WaylandProgram::Type(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"wtype"};
  argv.insert(argv.end(), args.begin(), args.end());
  ASSERT_EQ(Server->Run(argv), 0) << "wtype failed";
}

std::string WaylandProgram::Paste() {
  std::string text;
  return Server->Run({"wl-paste", "--no-newline"}, &text) == 0 ? text : "(nothing)";
}

gfx::Bitmap WaylandProgram::Capture(const gfx::Rect& r) {
  gfx::Bitmap out(r.Width(), r.Height());
  std::string ppm;
  const std::string geometry = std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) +
                               "x" + std::to_string(r.Height());
  if (Server->Run({"grim", "-t", "ppm", "-g", geometry, "-"}, &ppm) != 0) return out;
  // P6, width, height, 255, then RGB triples.
  std::istringstream in(ppm);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w != r.Width() || h != r.Height() || max != 255) return out;
  const std::size_t start = std::size_t(in.tellg());
  if (ppm.size() < start + std::size_t(w) * std::size_t(h) * 3) return out;
  const auto* p = reinterpret_cast<const unsigned char*>(ppm.data() + start);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x, p += 3) out.At(x, y) = gfx::TColor(p[0] | p[1] << 8 | p[2] << 16);
  return out;
}

bool WaylandProgram::StartClickedStrip() {
  WriteSettings(kClickedStrip);
  const gfx::Rect left = gfx::Rect::FromXYWH(100, 120, 300, 58);
  MoveTo(400, 128);
  StartProgram();
  if (!WaitForPixels(left, ShotVirtual(kClickedStrip, "mouse 400 128\nwait 55\n", left))) {
    ADD_FAILURE() << "the strip does not show " << ProgramOutput();
    return false;
  }
  Click(400, 128);
  return true;
}

bool WaylandProgram::WaitForPixels(const gfx::Rect& r, const gfx::Bitmap& expected, int timeoutMs) {
  // The compositor draws the cursor into the screen (no cursor plane when headless): the
  // pixels around the pointer are left out of the comparison, on both sides.
  const Rect cursor = Rect::FromXYWH(FPointerAt.x - 40 - r.left, FPointerAt.y - 40 - r.top, 80, 80);
  auto masked = [&](gfx::Bitmap b) {
    if (FTime == 0) return b;  // no move yet: no cursor shown
    const Rect m = cursor.Intersect(b.Bounds());
    for (int y = m.top; y < m.bottom; ++y)
      for (int x = m.left; x < m.right; ++x) b.At(x, y) = 0;
    return b;
  };
  const gfx::Bitmap want = masked(expected);
  gfx::Bitmap last;
  if (PollUntil([&] { return masked(last = Capture(r)) == want; }, timeoutMs)) return true;
  // What was seen and what was expected, side by side, for whoever looks into the failure.
  gfx::WritePngFile((Dir / ("seen-" + std::to_string(++FRuns) + ".png")).string(), last);
  gfx::WritePngFile((Dir / ("expected-" + std::to_string(FRuns) + ".png")).string(), expected);
  return false;
}

std::string WaylandProgram::RunVirtual(const std::string& settings, const std::string& commands) {
  const std::filesystem::path dir = Dir / ("virtual-" + std::to_string(++FRuns));
  std::filesystem::create_directories(dir);
  std::string script;
  if (!settings.empty()) script += "file Vantrel.ini <<<\n" + settings + "\n>>>\n";
  script += VirtualMonitors + "start\n" + commands;
  std::ostringstream out, err;
  scenario::Runner runner(scenario::ProgramMain, dir.string(), out, err);
  EXPECT_EQ(runner.Run(script), 0) << err.str();
  return out.str();
}

gfx::Bitmap WaylandProgram::ShotVirtual(const std::string& settings, const std::string& commands, const gfx::Rect& r) {
  const std::filesystem::path shot = Dir / ("shot-" + std::to_string(FRuns + 1) + ".bmp");
  RunVirtual(settings, commands + testtools::ShotCommand(shot, r));
  return testtools::ReadShot(shot, r);
}

bool WaylandProgram::PollUntil(const std::function<bool()>& pred, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string Difference(const gfx::Bitmap& actual, const gfx::Bitmap& expected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) return "sizes differ";
  int count = 0;
  std::string first;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y) && count++ == 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d,%d: 0x%06X != 0x%06X", x, y, unsigned(actual.At(x, y)), unsigned(expected.At(x, y)));
        first = buf;
      }
  return count ? first + " (" + std::to_string(count) + " pixels differ)" : "";
}

}  // namespace wltest
