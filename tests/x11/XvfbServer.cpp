#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace x11test {

namespace {
constexpr int kFirstDisplay = 90;
constexpr int kLastDisplay = 140;

bool Exists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0;
}

bool WaitExit(pid_t pid, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 5) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid || r < 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}
}  // namespace

bool XvfbServer::FindXvfb(std::string& path) {
  const char* env = std::getenv("PATH");
  std::stringstream dirs(env ? env : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/Xvfb";
    if (access(candidate.c_str(), X_OK) == 0) {
      path = candidate;
      return true;
    }
  }
  return false;
}

XvfbServer::XvfbServer(int width, int height) {
  std::string xvfb;
  if (!FindXvfb(xvfb)) throw std::runtime_error("Xvfb is not installed (package xvfb); the X11 tests need it");
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  for (int n = kFirstDisplay; n <= kLastDisplay; ++n) {
    if (Exists("/tmp/.X" + std::to_string(n) + "-lock") || Exists("/tmp/.X11-unix/X" + std::to_string(n))) continue;
    const std::string name = ":" + std::to_string(n);
    // Xvfb writes the display number to this pipe once it accepts connections. Only that
    // proves the server is ours: a racing test could own the number and answer instead.
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe for Xvfb");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot fork for Xvfb");
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // a killed test run takes its server with it
      const int devnull = open("/dev/null", O_RDWR);
      dup2(devnull, 1);
      dup2(devnull, 2);
      const int fd = dup(ready[1]);  // without close-on-exec
      const std::string fdText = std::to_string(fd);
      execl(xvfb.c_str(), "Xvfb", name.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
            "-displayfd", fdText.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string answer;
    pollfd p{ready[0], POLLIN, 0};
    while (answer.find('\n') == std::string::npos && poll(&p, 1, 5000) > 0) {
      char buf[16];
      const ssize_t got = read(ready[0], buf, sizeof buf);
      if (got <= 0) break;  // it exited: the number was taken
      answer.append(buf, std::size_t(got));
    }
    close(ready[0]);
    if (answer == std::to_string(n) + "\n") {
      FName = name;
      FPid = pid;
      return;
    }
    kill(pid, SIGKILL);
    WaitExit(pid, 1000);
  }
  throw std::runtime_error("no free display number for Xvfb in :90..:140");
}

XvfbServer::~XvfbServer() { Kill(); }

void XvfbServer::Kill() {
  if (FPid <= 0) return;
  kill(FPid, SIGTERM);
  if (!WaitExit(FPid, 3000)) {
    kill(FPid, SIGKILL);
    WaitExit(FPid, 3000);
  }
  FPid = -1;
}

pid_t XvfbServer::Spawn(const std::vector<std::string>& argv, const std::string& outFile) const {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", FName.c_str(), 1);
    const int out = outFile.empty() ? open("/dev/null", O_WRONLY) : open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) dup2(out, 1);
    const int err = open("/dev/null", O_WRONLY);
    if (err >= 0) dup2(err, 2);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

}  // namespace x11test
