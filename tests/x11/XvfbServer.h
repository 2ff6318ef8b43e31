#pragma once
// A private Xvfb for one test: started on a free display number, stopped in the destructor.
#include <sys/types.h>

#include <string>
#include <vector>

namespace x11test {

class XvfbServer {
 public:
  // Throws std::runtime_error with the reason when no server could be started (Xvfb missing
  // included): tests must fail, not skip, on a machine that cannot run them.
  explicit XvfbServer(int width = 1024, int height = 768);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  const std::string& Name() const { return FName; }  // ":93"
  void Kill();  // ends the server now (for connection-loss tests)

  // Starts ARGV with DISPLAY set to this server; stdout goes to OUTFILE when given.
  pid_t Spawn(const std::vector<std::string>& argv, const std::string& outFile = "") const;

  static bool FindXvfb(std::string& path);

 private:
  std::string FName;
  pid_t FPid = -1;
};

}  // namespace x11test
