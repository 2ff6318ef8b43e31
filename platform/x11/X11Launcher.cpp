#include "platform/x11/X11Launcher.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace plat {

X11Launcher::~X11Launcher() { Reap(); }

bool X11Launcher::Spawn(const std::vector<std::string>& argv, std::string& error) {
  if (argv.empty() || argv[0].empty()) {
    error = "no program to start";
    return false;
  }
  // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  // The child reports a failed exec through this pipe; a successful exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = std::string("cannot create a pipe: ") + strerror(errno);
    return false;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    error = std::string("cannot fork: ") + strerror(errno);
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (pid == 0) {
    setsid();  // the viewer outlives us and ignores our terminal's signals
    const int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) {
      dup2(devnull, STDIN_FILENO);
      close(devnull);
    }
    execvp(args[0], args.data());
    const int err = errno;
    ssize_t ignored = write(report[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int childErr = 0;
  ssize_t n;
  do {
    n = read(report[0], &childErr, sizeof childErr);
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  if (n == ssize_t(sizeof childErr)) {
    waitpid(pid, nullptr, 0);  // it exits right after reporting
    error = "cannot start " + argv[0] + ": " + strerror(childErr);
    return false;
  }
  FChildren.push_back(pid);
  return true;
}

void X11Launcher::Reap() {
  FChildren.erase(std::remove_if(FChildren.begin(), FChildren.end(),
                                 [](pid_t pid) {
                                   int status = 0;
                                   const pid_t r = waitpid(pid, &status, WNOHANG);
                                   return r == pid || (r < 0 && errno == ECHILD);
                                 }),
                  FChildren.end());
}

}  // namespace plat
