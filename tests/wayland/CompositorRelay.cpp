#include "CompositorRelay.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

namespace wltest {

namespace {
int Connect(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

// One direction of one connection: bytes and passed descriptors read from FROM, whole
// messages (header: object id, then size << 16 | opcode) written to TO.
struct Direction {
  int From = -1, To = -1;
  bool ToClient = false;
  std::vector<std::uint8_t> Bytes;
  std::vector<int> Fds;
};

struct Pair {
  Direction Up, Down;        // client to compositor, compositor to client
  std::set<std::uint32_t> Registries;  // the client's wl_registry objects
  struct Global {
    std::uint32_t Registry, Name;
    std::string Interface;
  };
  std::vector<Global> Globals;  // as announced to the client
  std::set<std::uint32_t> CopyManagers, CopyFrames;  // screencopy objects of the client
  bool Closed = false;
  ~Pair() {
    close(Up.From);
    close(Up.To);
    for (int fd : Up.Fds) close(fd);
    for (int fd : Down.Fds) close(fd);
  }
};

std::uint32_t Word(const std::uint8_t* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}

// Reads what FROM has; forwards whole messages but the hidden globals, finished screen copies
// turned into refusals when REFUSE. False once closed.
bool Pump(Direction& d, Pair& pair, const std::string& hidden, bool refuse) {
  std::uint8_t buf[65536];
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 28)];
  iovec io{buf, sizeof buf};
  msghdr m{};
  m.msg_iov = &io;
  m.msg_iovlen = 1;
  m.msg_control = control;
  m.msg_controllen = sizeof control;
  const ssize_t n = recvmsg(d.From, &m, MSG_CMSG_CLOEXEC);
  if (n <= 0) return false;
  for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS)
      for (std::size_t i = 0; i < (c->cmsg_len - CMSG_LEN(0)) / sizeof(int); ++i) {
        int fd;
        std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
        d.Fds.push_back(fd);
      }
  d.Bytes.insert(d.Bytes.end(), buf, buf + n);
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  while (d.Bytes.size() - at >= 8) {
    const std::uint8_t* msg = d.Bytes.data() + at;
    const std::uint32_t object = Word(msg), size = Word(msg + 4) >> 16, opcode = Word(msg + 4) & 0xFFFF;
    if (size < 8 || d.Bytes.size() - at < size) break;
    bool keep = true;
    if (!d.ToClient && object == 1 && opcode == 1 && size >= 12) pair.Registries.insert(Word(msg + 8));  // get_registry
    // bind: name, then the interface as length and text (padded to 4), version, new id.
    if (!d.ToClient && opcode == 0 && pair.Registries.count(object) && size >= 24) {
      const std::uint32_t len = Word(msg + 12), padded = (len + 3) & ~3u;
      if (size >= 24 + padded && len == sizeof "zwlr_screencopy_manager_v1" &&
          std::memcmp(msg + 16, "zwlr_screencopy_manager_v1", len) == 0)
        pair.CopyManagers.insert(Word(msg + 16 + padded + 4));
    }
    // capture_output and capture_output_region: the frame's new id first.
    if (!d.ToClient && opcode <= 1 && pair.CopyManagers.count(object) && size >= 12) pair.CopyFrames.insert(Word(msg + 8));
    if (d.ToClient && refuse && opcode == 2 && pair.CopyFrames.count(object)) {  // ready becomes failed
      const std::uint32_t failed[2] = {object, 8u << 16 | 3u};
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(failed);
      out.insert(out.end(), bytes, bytes + sizeof failed);
      at += size;
      continue;
    }
    if (d.ToClient && opcode == 0 && pair.Registries.count(object) && size >= 16) {
      // global: name, then the interface as length and text.
      const std::uint32_t len = Word(msg + 12);
      const std::string iface = len && size >= 16 + len ? std::string(reinterpret_cast<const char*>(msg + 16), len - 1) : "";
      keep = iface.empty() || iface != hidden;
      if (keep) pair.Globals.push_back({object, Word(msg + 8), iface});
    }
    if (keep) out.insert(out.end(), msg, msg + size);
    at += size;
  }
  d.Bytes.erase(d.Bytes.begin(), d.Bytes.begin() + long(at));
  // Descriptors may go ahead of their message, never after it: all of them go now.
  std::size_t sent = 0;
  while (sent < out.size() || !d.Fds.empty()) {
    iovec o{out.data() + sent, out.size() - sent};
    msghdr s{};
    s.msg_iov = &o;
    s.msg_iovlen = 1;
    alignas(cmsghdr) char ctl[CMSG_SPACE(sizeof(int) * 28)];
    const std::size_t nfds = std::min<std::size_t>(d.Fds.size(), 28);
    if (nfds) {
      s.msg_control = ctl;
      s.msg_controllen = CMSG_SPACE(sizeof(int) * nfds);
      cmsghdr* c = CMSG_FIRSTHDR(&s);
      c->cmsg_level = SOL_SOCKET;
      c->cmsg_type = SCM_RIGHTS;
      c->cmsg_len = CMSG_LEN(sizeof(int) * nfds);
      std::memcpy(CMSG_DATA(c), d.Fds.data(), sizeof(int) * nfds);
    }
    if (o.iov_len == 0) break;  // descriptors travel with a byte: they wait for the next message
    const ssize_t w = sendmsg(d.To, &s, MSG_NOSIGNAL);
    if (w <= 0) return false;
    for (std::size_t i = 0; i < nfds; ++i) close(d.Fds[i]);
    d.Fds.erase(d.Fds.begin(), d.Fds.begin() + long(nfds));
    sent += std::size_t(w);
  }
  return true;
}
}  // namespace

CompositorRelay::CompositorRelay(const std::string& compositorSocket, const std::string& hiddenInterface)
    : FTarget(compositorSocket), FHidden(hiddenInterface), FPath(compositorSocket + "-relay") {
  FListen = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  if (FPath.size() >= sizeof a.sun_path) FPath = "/tmp/vantrel-relay-" + std::to_string(getpid());
  std::strncpy(a.sun_path, FPath.c_str(), sizeof a.sun_path - 1);
  unlink(FPath.c_str());
  if (FListen < 0 || bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(FListen, 8) != 0)
    throw std::runtime_error("cannot listen on " + FPath);
  FThread = std::thread([this] { Run(); });
}

CompositorRelay::~CompositorRelay() {
  FStop = true;
  FThread.join();
  close(FListen);
  unlink(FPath.c_str());
}

void CompositorRelay::WithdrawLast(const std::string& interface) {
  std::lock_guard<std::mutex> hold(FLock);
  FWithdraw.push_back(interface);
}

void CompositorRelay::Run() {
  std::vector<std::unique_ptr<Pair>> pairs;
  while (!FStop) {
    std::vector<std::string> withdraw;
    {
      std::lock_guard<std::mutex> hold(FLock);
      withdraw.swap(FWithdraw);
    }
    // Between whole messages (the relay forwards no other), a global_remove of our own.
    for (const std::string& iface : withdraw)
      for (auto& p : pairs)
        for (auto g = p->Globals.rbegin(); g != p->Globals.rend(); ++g)
          if (g->Interface == iface) {
            const std::uint32_t msg[3] = {g->Registry, 12u << 16 | 1u, g->Name};
            if (send(p->Down.To, msg, sizeof msg, MSG_NOSIGNAL) != ssize_t(sizeof msg)) p->Closed = true;
            p->Globals.erase(std::next(g).base());
            break;
          }
    std::vector<pollfd> fds{{FListen, POLLIN, 0}};
    for (auto& p : pairs) {
      fds.push_back({p->Up.From, POLLIN, 0});
      fds.push_back({p->Down.From, POLLIN, 0});
    }
    if (poll(fds.data(), fds.size(), 50) <= 0) continue;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      Pair& p = *pairs[i];
      if ((fds[1 + 2 * i].revents && !Pump(p.Up, p, FHidden, false)) ||
          (fds[2 + 2 * i].revents && !Pump(p.Down, p, FHidden, FRefuse)))
        p.Closed = true;
    }
    std::erase_if(pairs, [](auto& p) { return p->Closed; });
    if (fds[0].revents & POLLIN) {
      const int client = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
      const int server = client >= 0 ? Connect(FTarget) : -1;
      if (server < 0) {
        if (client >= 0) close(client);
        continue;
      }
      auto p = std::make_unique<Pair>();
      p->Up = {client, server, false, {}, {}};
      p->Down = {server, client, true, {}, {}};
      pairs.push_back(std::move(p));
    }
  }
}

}  // namespace wltest
