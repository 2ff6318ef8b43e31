#include "platform/portal/ScreenshotPortal.h"

#include <systemd/sd-bus.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "graphics/ImageFile.h"

namespace plat {

namespace {

constexpr const char* kService = "org.freedesktop.portal.Desktop";
constexpr const char* kObject = "/org/freedesktop/portal/desktop";
constexpr unsigned kPollMs = 30;
// The desktop may ask the user for permission first: wait as long as a person might take.
constexpr std::uint64_t kDeadlineMs = 120000;

const char* kNoPortal =
    "The screen could not be frozen: this desktop offers no screenshot portal "
    "(org.freedesktop.portal.Screenshot on the session bus).";

}  // namespace

std::string PortalRequestPath(const std::string& uniqueName, const std::string& token) {
  std::string sender = uniqueName.empty() || uniqueName[0] != ':' ? uniqueName : uniqueName.substr(1);
  for (char& c : sender)
    if (c == '.') c = '_';
  return "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
}

std::string FileOfUri(const std::string& uri) {
  const std::string scheme = "file://";
  if (uri.compare(0, scheme.size(), scheme) != 0) return {};
  std::string rest = uri.substr(scheme.size());
  if (rest.empty() || rest[0] != '/') {
    // file://localhost/path; any other host is not this machine.
    if (rest.compare(0, 10, "localhost/") != 0) return {};
    rest = rest.substr(9);
  }
  std::string out;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
      out += char(std::stoi(rest.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += rest[i];
    }
  }
  if (out.find('\0') != std::string::npos) return {};
  return out;
}

bool InTemporaryFolder(const std::string& path) {
  namespace fs = std::filesystem;
  if (!fs::path(path).is_absolute()) return false;
  std::error_code ec;
  const fs::path file = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const char* folders[] = {"/tmp", std::getenv("TMPDIR"), std::getenv("XDG_RUNTIME_DIR")};
  for (const char* dir : folders) {
    if (!dir || !*dir) continue;
    const fs::path folder = fs::weakly_canonical(dir, ec);
    if (ec || folder == "/" || !folder.is_absolute()) continue;
    // Inside FOLDER: the file's path goes on from all of FOLDER's.
    const fs::path rel = file.lexically_relative(folder);
    if (!rel.empty() && *rel.begin() != ".." && rel != ".") return true;
  }
  return false;
}

struct ScreenshotPortal::Call {
  std::function<void(DesktopPicture)> Done;
  sd_bus* Bus = nullptr;
  sd_bus_slot* Signal = nullptr;
  sd_bus_slot* Reply = nullptr;
  std::string Path;  // the request object whose Response is awaited
  // The portal's unique name, from its reply: only it may answer (anyone on the bus could
  // send a Response naming a file for us to read and delete).
  std::string Portal;
  sd_bus_message* Early = nullptr;  // a Response that came before the reply
  std::uint64_t Deadline = 0;
  bool Answered = false;
  DesktopPicture Result;

  ~Call() {
    sd_bus_slot_unref(Signal);
    sd_bus_slot_unref(Reply);
    sd_bus_message_unref(Early);
    if (Bus) sd_bus_flush_close_unref(Bus);
  }
  void Fail(const std::string& message) {
    Answered = true;
    Result = DesktopPicture{{}, message};
  }
};

namespace {

int OnResponse(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto* call = static_cast<ScreenshotPortal::Call*>(userdata);
  if (call->Answered) return 0;
  const char* sender = sd_bus_message_get_sender(m);
  if (call->Portal.empty()) {
    // Judged when the reply names the portal.
    if (!call->Early) call->Early = sd_bus_message_ref(m);
    return 0;
  }
  if (!sender || call->Portal != sender) return 0;
  std::uint32_t response = 2;
  std::string uri;
  if (sd_bus_message_read(m, "u", &response) < 0) {
    call->Fail("The screen could not be frozen: the screenshot portal gave an answer that cannot be read.");
    return 0;
  }
  if (response == 1) {
    call->Fail("The screen was not frozen: the screenshot was refused or cancelled.");
    return 0;
  }
  if (response != 0) {
    call->Fail("The screen could not be frozen: the desktop could not take a screenshot.");
    return 0;
  }
  if (sd_bus_message_enter_container(m, 'a', "{sv}") > 0) {
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
      const char* key = nullptr;
      if (sd_bus_message_read(m, "s", &key) < 0) break;
      if (key && !std::strcmp(key, "uri") && sd_bus_message_enter_container(m, 'v', "s") > 0) {
        const char* value = nullptr;
        if (sd_bus_message_read(m, "s", &value) >= 0 && value) uri = value;
        sd_bus_message_exit_container(m);
      } else {
        sd_bus_message_skip(m, "v");
      }
      sd_bus_message_exit_container(m);
    }
    sd_bus_message_exit_container(m);
  }
  const std::string file = FileOfUri(uri);
  if (file.empty()) {
    call->Fail("The screen could not be frozen: the screenshot portal named no picture file (\"" + uri + "\").");
    return 0;
  }
  call->Answered = true;
  try {
    call->Result = DesktopPicture{gfx::ReadPngFile(file), {}};
  } catch (const std::exception& e) {
    call->Result = DesktopPicture{{}, "The screen could not be frozen: the screenshot " + file +
                                          " cannot be read (" + e.what() + ")."};
  }
  // The picture lives in memory only; the portal's copy goes unless it is the user's own.
  if (InTemporaryFolder(file)) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
  }
  return 0;
}

int OnReply(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto* call = static_cast<ScreenshotPortal::Call*>(userdata);
  if (call->Answered) return 0;
  if (const sd_bus_error* e = sd_bus_message_get_error(m)) {
    const bool missing = sd_bus_error_has_name(e, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
                         sd_bus_error_has_name(e, SD_BUS_ERROR_UNKNOWN_METHOD) ||
                         sd_bus_error_has_name(e, SD_BUS_ERROR_UNKNOWN_INTERFACE) ||
                         sd_bus_error_has_name(e, SD_BUS_ERROR_UNKNOWN_OBJECT);
    call->Fail(missing ? std::string(kNoPortal)
                       : "The screen could not be frozen: the screenshot portal failed (" +
                             std::string(e->message ? e->message : e->name) + ").");
    return 0;
  }
  if (const char* portal = sd_bus_message_get_sender(m)) call->Portal = portal;
  if (sd_bus_message* early = call->Early) {
    call->Early = nullptr;
    OnResponse(early, call, nullptr);
    sd_bus_message_unref(early);
    if (call->Answered) return 0;
  }
  // An older portal may choose its own request path: follow it.
  const char* path = nullptr;
  if (sd_bus_message_read(m, "o", &path) >= 0 && path && call->Path != path) {
    call->Path = path;
    sd_bus_slot_unref(call->Signal);
    call->Signal = nullptr;
    sd_bus_match_signal(call->Bus, &call->Signal, nullptr, path, "org.freedesktop.portal.Request", "Response",
                        OnResponse, call);
  }
  return 0;
}

}  // namespace

ScreenshotPortal::ScreenshotPortal(Platform& platform) : FPlatform(platform) {}

ScreenshotPortal::~ScreenshotPortal() {
  if (FTimer) FPlatform.StopTimer(FTimer);
}

void ScreenshotPortal::Request(std::function<void(DesktopPicture)> done) {
  auto call = std::make_unique<Call>();
  call->Done = std::move(done);
  call->Deadline = FPlatform.NowMs() + kDeadlineMs;
  // A failure to ask is answered from the next tick, as a late answer would be.
  [&] {
    if (sd_bus_open_user(&call->Bus) < 0) return call->Fail(kNoPortal);
    const char* unique = nullptr;
    if (sd_bus_get_unique_name(call->Bus, &unique) < 0 || !unique) return call->Fail(kNoPortal);
    const std::string token = "vantrel" + std::to_string(++FCount);
    // Subscribed before the call, so that a quick answer cannot be missed.
    call->Path = PortalRequestPath(unique, token);
    if (sd_bus_match_signal(call->Bus, &call->Signal, nullptr, call->Path.c_str(), "org.freedesktop.portal.Request",
                            "Response", OnResponse, call.get()) < 0)
      return call->Fail(kNoPortal);
    sd_bus_message* m = nullptr;
    int r = sd_bus_message_new_method_call(call->Bus, &m, kService, kObject, "org.freedesktop.portal.Screenshot",
                                           "Screenshot");
    if (r >= 0) r = sd_bus_message_append(m, "s", "");
    if (r >= 0)
      r = sd_bus_message_append(m, "a{sv}", 2, "handle_token", "s", token.c_str(), "interactive", "b", 0);
    if (r >= 0) r = sd_bus_call_async(call->Bus, &call->Reply, m, OnReply, call.get(), 0);
    sd_bus_message_unref(m);
    if (r < 0) return call->Fail(kNoPortal);
  }();
  FCalls.push_back(std::move(call));
  if (!FTimer) FTimer = FPlatform.StartTimer(kPollMs, [this] { Poll(); });
}

void ScreenshotPortal::Poll() {
  std::vector<std::unique_ptr<Call>> answered;
  for (auto it = FCalls.begin(); it != FCalls.end();) {
    Call& call = **it;
    for (int i = 0; i < 64 && !call.Answered && call.Bus; ++i) {
      const int r = sd_bus_process(call.Bus, nullptr);
      if (r < 0) call.Fail("The screen could not be frozen: the connection to the session bus was lost.");
      if (r <= 0) break;
    }
    if (!call.Answered && FPlatform.NowMs() >= call.Deadline)
      call.Fail("The screen could not be frozen: the desktop did not send the screenshot in time.");
    if (call.Answered) {
      answered.push_back(std::move(*it));
      it = FCalls.erase(it);
    } else {
      ++it;
    }
  }
  if (FCalls.empty() && FTimer) {
    FPlatform.StopTimer(FTimer);
    FTimer = 0;
  }
  // Their buses are closed before the answers, which may open a message box whose loop runs
  // the timers again.
  for (auto& call : answered) {
    auto done = std::move(call->Done);
    DesktopPicture result = std::move(call->Result);
    call.reset();
    done(std::move(result));
  }
}

}  // namespace plat
