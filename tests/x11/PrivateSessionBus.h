#pragma once
// A session bus of the test's own (dbus-daemon --session), named by DBUS_SESSION_BUS_ADDRESS
// for the programs the test starts while it lives.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace x11test {

class PrivateSessionBus {
 public:
  PrivateSessionBus() {
    if (const char* old = std::getenv("DBUS_SESSION_BUS_ADDRESS")) FOld = old;
    FILE* p = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>&1", "r");
    char line[512] = {};
    if (p && std::fgets(line, sizeof line, p)) FAddress = line;
    if (p && std::fgets(line, sizeof line, p)) FPid = std::atoi(line);
    if (p) pclose(p);
    while (!FAddress.empty() && (FAddress.back() == '\n' || FAddress.back() == '\r')) FAddress.pop_back();
    if (FAddress.rfind("unix:", 0) != 0 || FPid <= 0) {
      ADD_FAILURE() << "cannot start dbus-daemon --session (package dbus): " << FAddress;
      FAddress.clear();
      return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", FAddress.c_str(), 1);
  }
  ~PrivateSessionBus() {
    if (FPid > 0) kill(FPid, SIGTERM);
    if (FOld.empty()) unsetenv("DBUS_SESSION_BUS_ADDRESS");
    else setenv("DBUS_SESSION_BUS_ADDRESS", FOld.c_str(), 1);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
  const std::string& Address() const { return FAddress; }  // empty when it did not start

 private:
  std::string FAddress, FOld;
  int FPid = -1;
};

}  // namespace x11test
