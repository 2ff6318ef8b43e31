#include "platform/sound/CanberraSound.h"

#include <cstdint>
#include <utility>

#ifdef VANTREL_HAVE_CANBERRA
#include <canberra.h>

#include "graphics/LazyLibrary.h"
#endif

namespace plat {

CanberraSound::CanberraSound(std::string x11Display)
    : FX11Display(std::move(x11Display)),
#ifdef VANTREL_HAVE_CANBERRA
      FState(State::Unopened)
#else
      FState(State::Unavailable)
#endif
{
}

CanberraSound::~CanberraSound() { Close(); }

std::string_view CanberraSound::EventId(std::string_view systemSound) {
  if (systemSound == "MenuPopup") return "menu-popup";
  if (systemSound == "MenuCommand") return "menu-click";
  return {};
}

void CanberraSound::PlayNamed(std::string_view systemSound, const std::string& theme) {
  const std::string_view id = EventId(systemSound);
  if (id.empty()) return;
  Play(id, systemSound == "MenuPopup" ? "Menu opened" : "Menu command chosen", theme);
}

#ifdef VANTREL_HAVE_CANBERRA

namespace {

// libcanberra and the codecs it pulls in are loaded at the first sound, not at start: most
// sessions never play one, and the libraries would only weigh on start-up and memory.
struct Canberra {
  int (*Create)(ca_context**) = nullptr;
  int (*ChangeProps)(ca_context*, ...) = nullptr;
  int (*Open)(ca_context*) = nullptr;
  int (*Play)(ca_context*, std::uint32_t, ...) = nullptr;
  int (*Destroy)(ca_context*) = nullptr;

  // Null when the library or one of its calls cannot be found.
  static const Canberra* Load() {
    static const Canberra* loaded = [] () -> const Canberra* {
      static constinit gfx::LazyLibrary lib("libcanberra.so.0", RTLD_LAZY);
      static Canberra c;
      c.Create = lib.Resolve<decltype(c.Create)>("ca_context_create");
      c.ChangeProps = lib.Resolve<decltype(c.ChangeProps)>("ca_context_change_props");
      c.Open = lib.Resolve<decltype(c.Open)>("ca_context_open");
      c.Play = lib.Resolve<decltype(c.Play)>("ca_context_play");
      c.Destroy = lib.Resolve<decltype(c.Destroy)>("ca_context_destroy");
      if (!c.Create || !c.ChangeProps || !c.Open || !c.Play || !c.Destroy) return nullptr;
      return &c;  // the library stays loaded for the life of the program
    }();
    return loaded;
  }
};

}  // namespace

bool CanberraSound::OpenContext() {
  if (FState == State::Ready) return true;
  if (FState != State::Unopened) return false;
  FState = State::Failed;  // unless everything below works
  const Canberra* ca = Canberra::Load();
  if (!ca) return false;
  if (ca->Create(&FContext) != CA_SUCCESS) {
    FContext = nullptr;
    return false;
  }
  ca->ChangeProps(FContext, CA_PROP_APPLICATION_NAME, "Vantrel", CA_PROP_APPLICATION_ID, "vantrel",
                  CA_PROP_APPLICATION_ICON_NAME, "vantrel", nullptr);
  if (!FX11Display.empty()) ca->ChangeProps(FContext, CA_PROP_WINDOW_X11_DISPLAY, FX11Display.c_str(), nullptr);
  if (ca->Open(FContext) != CA_SUCCESS) {
    Close();
    FState = State::Failed;
    return false;
  }
  FState = State::Ready;
  return true;
}

void CanberraSound::Close() {
  // A context exists only once the library was loaded.
  if (FContext) Canberra::Load()->Destroy(FContext);
  FContext = nullptr;
}

void CanberraSound::Play(std::string_view event, const char* description, const std::string& theme) {
  if (event.empty()) return;
  FLastEvent = event;
  if (FState == State::Failed) return;
  const std::string key = theme + "/" + FLastEvent;
  if (FMissing.count(key)) return;  // looked up once already: the theme has no such sound
  if (!OpenContext()) return;
  const int r = Canberra::Load()->Play(FContext, 0, CA_PROP_EVENT_ID, FLastEvent.c_str(), CA_PROP_EVENT_DESCRIPTION,
                                       description, CA_PROP_CANBERRA_XDG_THEME_NAME, theme.c_str(),
                                       CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
  switch (r) {
    case CA_SUCCESS:
    case CA_ERROR_CANCELED:
    case CA_ERROR_DISABLED:
      break;
    case CA_ERROR_NOTFOUND:
      FMissing.insert(key);
      break;
    default:
      // The device or the sound server failed: stay silent from now on rather than trying
      // again at every click.
      Close();
      FState = State::Failed;
      break;
  }
}

#else

bool CanberraSound::OpenContext() { return false; }
void CanberraSound::Close() {}
void CanberraSound::Play(std::string_view event, const char*, const std::string&) {
  if (!event.empty()) FLastEvent = event;
}

#endif

}  // namespace plat
