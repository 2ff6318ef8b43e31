#include "SwayServer.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace wltest {

namespace {
constexpr const char* kUser = "vantrel-wl";  // sway's own user when the tests run as root

bool WaitPid(pid_t pid, int timeoutMs, int* status) {
  for (int waited = 0; waited <= timeoutMs; waited += 5) {
    if (waitpid(pid, status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}
}  // namespace

SwayServer::SwayServer(int width, int height, const std::string& transform) {
  if (!InPath("sway")) throw std::runtime_error("sway is not installed (package sway); the Wayland tests need it");
  uid_t uid = getuid();
  gid_t gid = getgid();
  if (uid == 0) {
    // Tests running side by side may race to create it: one of them succeeds.
    if (!getpwnam(kUser))
      (void)std::system((std::string("useradd --system --no-create-home --shell /usr/sbin/nologin ") + kUser).c_str());
    const passwd* pw = getpwnam(kUser);
    if (!pw) throw std::runtime_error(std::string("cannot create the system user ") + kUser + " for sway (useradd)");
    uid = pw->pw_uid;
    gid = pw->pw_gid;
  }
  char tmpl[] = "/tmp/vantrel-sway-XXXXXX";
  if (!mkdtemp(tmpl)) throw std::runtime_error("cannot create a folder for sway");
  FDir = tmpl;
  chmod(FDir.c_str(), 0755);
  const std::string run = FDir + "/run";
  mkdir(run.c_str(), 0700);
  if (chown(run.c_str(), uid, gid) != 0) throw std::runtime_error("cannot hand " + run + " to sway's user");
  // One output of the given size, no bar, no wallpaper: the screen is plain.
  std::ofstream(FDir + "/config") << "output HEADLESS-1 resolution " << width << "x" << height << " position 0 0 transform "
                                  << transform << "\n"
                                  << "output * background #203040 solid_color\n"
                                  << "default_border none\nfocus_follows_mouse no\n";
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot fork for sway");
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a killed test run takes its compositor with it
    const int log = open((FDir + "/sway.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
      dup2(log, 1);
      dup2(log, 2);
    }
    if (getuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(126);
    clearenv();
    setenv("PATH", "/usr/bin:/bin", 1);
    setenv("HOME", FDir.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    setenv("WLR_BACKENDS", "headless", 1);
    setenv("WLR_RENDERER", "pixman", 1);
    setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
    execlp("sway", "sway", "-c", (FDir + "/config").c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  FPid = pid;
  // Ready once its socket is there and a client gets an answer through it.
  for (int waited = 0; waited < 15000 && FSocket.empty(); waited += 20) {
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) {
      FPid = -1;
      std::ifstream in(FDir + "/sway.log");
      std::stringstream ss;
      ss << in.rdbuf();
      throw std::runtime_error("sway ended at start:\n" + ss.str());
    }
    for (const auto& e : std::filesystem::directory_iterator(run)) {
      const std::string name = e.path().filename();
      if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos) FSocket = e.path();
    }
    if (FSocket.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (FSocket.empty() || Run({"wl-paste", "--list-types"}) < 0)
    throw std::runtime_error("sway did not open its socket in " + run);
}

SwayServer::~SwayServer() {
  if (FPid > 0) {
    kill(FPid, SIGTERM);
    int status = 0;
    if (!WaitPid(FPid, 3000, &status)) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(FDir, ec);
}

int SwayServer::Command(const std::string& command) const {
  for (const auto& e : std::filesystem::directory_iterator(FDir + "/run"))
    if (e.path().filename().string().rfind("sway-ipc.", 0) == 0) return Run({"swaymsg", "-s", e.path(), command});
  return -1;
}

int SwayServer::Run(const std::vector<std::string>& argv, std::string* out) const {
  int pipes[2];
  if (pipe2(pipes, O_CLOEXEC) != 0) return -1;
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    setenv("WAYLAND_DISPLAY", FSocket.c_str(), 1);
    unsetenv("DISPLAY");
    dup2(pipes[1], 1);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(pipes[1]);
  std::string text;
  char buf[4096];
  fcntl(pipes[0], F_SETFL, O_NONBLOCK);
  int status = 0;
  bool ended = false;
  for (int waited = 0; waited < 10000 && !ended; waited += 5) {
    for (ssize_t n; (n = read(pipes[0], buf, sizeof buf)) > 0;) text.append(buf, std::size_t(n));
    ended = waitpid(pid, &status, WNOHANG) == pid;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (ssize_t n; (n = read(pipes[0], buf, sizeof buf)) > 0;) text.append(buf, std::size_t(n));
  close(pipes[0]);
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace wltest

namespace wltest {

std::string SwayServer::XDisplay() const {
  // Asked of sway itself: a program it starts writes its DISPLAY where sway's user may write.
  const std::string file = FDir + "/run/display";
  std::remove(file.c_str());
  // XWayland admits sway's own user only: root is let in by a client of sway's.
  if (Command("exec 'xhost +si:localuser:root && printenv DISPLAY > " + file + "'") != 0) return "";
  std::string display;
  for (int waited = 0; waited < 5000 && display.empty(); waited += 20) {
    std::ifstream in(file);
    std::getline(in, display);
    if (display.empty()) usleep(20 * 1000);
  }
  return display;
}

}  // namespace wltest
