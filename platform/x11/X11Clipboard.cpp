#include "platform/x11/X11Clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <exception>

#include "graphics/ImageFile.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11TimerQueue.h"

namespace plat {

namespace {
// INCR chunks: small enough for any server's request limit, large enough to be quick.
constexpr std::size_t kMaxChunk = 256 * 1024;
// A requestor that stops reading (it crashed, or went away) is given up after this.
constexpr std::uint64_t kTransferTimeoutMs = 10000;
}  // namespace

X11Clipboard::X11Clipboard(X11Display& display) : FDisplay(display), FDpy(display.Dpy()) {
  XSetWindowAttributes a{};
  a.event_mask = PropertyChangeMask;
  FWindow = XCreateWindow(FDpy, display.Root(), -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                          CWEventMask, &a);
  long maxRequest = XExtendedMaxRequestSize(FDpy);
  if (maxRequest == 0) maxRequest = XMaxRequestSize(FDpy);
  // The request size is in 4-byte units; leave room for the request header.
  FChunk = std::min(kMaxChunk, std::size_t(maxRequest) * 4 - 256);
}

X11Clipboard::~X11Clipboard() {
  if (!FDisplay.ConnectionLost()) XDestroyWindow(FDpy, FWindow);
}

void X11Clipboard::SetBitmap(const gfx::Bitmap& bmp) {
  if (FDisplay.ConnectionLost()) return;
  Clear();
  FBitmap = bmp;
  if (!TakeOwnership()) Clear();
}

void X11Clipboard::SetText(const std::string& utf8) {
  if (FDisplay.ConnectionLost()) return;
  Clear();
  FText = utf8;
  if (!TakeOwnership()) Clear();
}

std::optional<std::string> X11Clipboard::Text(int timeoutMs) {
  if (FDisplay.ConnectionLost()) return std::nullopt;
  const X11Atoms& at = FDisplay.Atoms();
  const ::Window owner = XGetSelectionOwner(FDpy, at.Clipboard);
  if (owner == None) return std::nullopt;
  // Converting our own selection would wait for an answer only we can give.
  if (owner == FWindow) return FText;
  XDeleteProperty(FDpy, FWindow, at.VantrelPaste);
  XConvertSelection(FDpy, at.Clipboard, at.Utf8String, at.VantrelPaste, FWindow, CurrentTime);
  XFlush(FDpy);
  const std::uint64_t deadline = X11TimerQueue::NowMs() + std::uint64_t(std::max(0, timeoutMs));
  XEvent ev;
  const bool answered = WaitForEvent(SelectionNotify, deadline, ev, [&](const XEvent& e) {
    return e.xselection.requestor == FWindow && e.xselection.selection == at.Clipboard;
  });
  if (!answered || ev.xselection.property == None) return std::nullopt;
  Atom type = None;
  std::string text = TakeProperty(type);
  if (type != at.Incr) return type == at.Utf8String ? std::optional(text) : std::nullopt;
  // INCR: the owner sends a chunk each time we delete the property; an empty one ends it.
  text.clear();
  auto newChunk = [&](const XEvent& e) {
    return e.xproperty.atom == at.VantrelPaste && e.xproperty.state == PropertyNewValue;
  };
  while (WaitForEvent(PropertyNotify, deadline, ev, newChunk)) {
    const std::string chunk = TakeProperty(type);
    // The notice of the INCR property itself may still be queued: gone by now, it is no chunk.
    if (type == None) continue;
    if (chunk.empty()) return text;
    text += chunk;
  }
  return std::nullopt;
}

bool X11Clipboard::WaitForEvent(int type, std::uint64_t deadline, XEvent& ev,
                                const std::function<bool(const XEvent&)>& matches) {
  while (!FDisplay.ConnectionLost()) {
    while (XCheckTypedWindowEvent(FDpy, FWindow, type, &ev))
      if (matches(ev)) return true;
    const std::uint64_t now = X11TimerQueue::NowMs();
    if (now >= deadline) return false;
    pollfd p{ConnectionNumber(FDpy), POLLIN, 0};
    poll(&p, 1, int(std::min<std::uint64_t>(deadline - now, 100)));
  }
  return false;
}

std::string X11Clipboard::TakeProperty(Atom& type) {
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  type = None;
  std::string bytes;
  // Deleting it as it is read tells an INCR owner to send the next chunk.
  if (XGetWindowProperty(FDpy, FWindow, FDisplay.Atoms().VantrelPaste, 0, 0x1FFFFFFF, True, AnyPropertyType, &type,
                         &format, &count, &after, &data) == Success &&
      data && format == 8)
    bytes.assign(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return bytes;
}

void X11Clipboard::Clear() {
  FBitmap.reset();
  FText.reset();
  FPng.reset();
  FBmp.reset();
}

bool X11Clipboard::TakeOwnership() {
  FOwnedSince = FDisplay.ServerTime(FWindow);
  XSetSelectionOwner(FDpy, FDisplay.Atoms().Clipboard, FWindow, FOwnedSince);
  FOwned = XGetSelectionOwner(FDpy, FDisplay.Atoms().Clipboard) == FWindow;
  return FOwned;
}

std::vector<Atom> X11Clipboard::Offered() const {
  const X11Atoms& at = FDisplay.Atoms();
  if (FBitmap) return {at.ImagePng, at.ImageBmp};
  if (!FText) return {};
  std::vector<Atom> targets{at.Utf8String, at.TextPlainUtf8, at.TextPlain};
  // STRING is Latin-1: offered only when the text reads the same in both.
  if (std::all_of(FText->begin(), FText->end(), [](char c) { return (unsigned char)c < 0x80; }))
    targets.push_back(XA_STRING);
  return targets;
}

X11Clipboard::Bytes X11Clipboard::Encoded(Atom target) {
  const X11Atoms& at = FDisplay.Atoms();
  if (FText) {
    const std::vector<Atom> offered = Offered();
    if (std::find(offered.begin(), offered.end(), target) == offered.end()) return nullptr;
    return std::make_shared<const std::vector<std::uint8_t>>(FText->begin(), FText->end());
  }
  if (!FBitmap) return nullptr;
  try {
    if (target == at.ImagePng) {
      if (!FPng) FPng = std::make_shared<const std::vector<std::uint8_t>>(gfx::WritePng(*FBitmap));
      return FPng;
    }
    if (target == at.ImageBmp) {
      if (!FBmp) FBmp = std::make_shared<const std::vector<std::uint8_t>>(gfx::WriteBmp(*FBitmap, 24));
      return FBmp;
    }
  } catch (const std::exception&) {
    // An image we cannot encode is refused like an unknown target.
  }
  return nullptr;
}

void X11Clipboard::HandleEvent(XEvent& ev) {
  if (ev.type == SelectionRequest) {
    OnRequest(ev.xselectionrequest);
  } else if (ev.type == SelectionClear && ev.xselectionclear.selection == FDisplay.Atoms().Clipboard) {
    // Someone else copied: let our copy go (transfers in flight keep their data).
    FOwned = false;
    Clear();
  }
}

void X11Clipboard::OnRequest(const XSelectionRequestEvent& req) {
  const X11Atoms& at = FDisplay.Atoms();
  DropStaleTransfers();
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = FDpy;
  reply.requestor = req.requestor;
  reply.selection = req.selection;
  reply.target = req.target;
  reply.time = req.time;
  reply.property = None;
  // Obsolete clients pass no property and mean the target's name.
  const Atom property = req.property == None ? req.target : req.property;
  const bool valid = FOwned && req.selection == at.Clipboard &&
                     (req.time == CurrentTime || FOwnedSince == CurrentTime || req.time >= FOwnedSince);
  if (valid) {
    if (req.target == at.Targets) {
      std::vector<Atom> targets{at.Targets, at.Timestamp};
      for (Atom a : Offered()) targets.push_back(a);
      XChangeProperty(FDpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(targets.data()), int(targets.size()));
      reply.property = property;
    } else if (req.target == at.Timestamp) {
      const long t = long(FOwnedSince);
      XChangeProperty(FDpy, req.requestor, property, XA_INTEGER, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&t), 1);
      reply.property = property;
    } else if (Bytes data = Encoded(req.target)) {
      if (data->size() <= FChunk) {
        XChangeProperty(FDpy, req.requestor, property, req.target, 8, PropModeReplace, data->data(),
                        int(data->size()));
      } else {
        // INCR: announce the size, then send a chunk each time the requestor deletes the property.
        XSelectInput(FDpy, req.requestor, PropertyChangeMask);
        const long size = long(data->size());
        XChangeProperty(FDpy, req.requestor, property, at.Incr, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&size), 1);
        FTransfers.push_back({req.requestor, property, req.target, data, 0, X11TimerQueue::NowMs()});
      }
      reply.property = property;
    }
  }
  XEvent out{};
  out.xselection = reply;
  XSendEvent(FDpy, req.requestor, False, NoEventMask, &out);
  XFlush(FDpy);
}

bool X11Clipboard::HandleRequestorEvent(XEvent& ev) {
  if (ev.type != PropertyNotify || ev.xproperty.state != PropertyDelete) return false;
  auto it = std::find_if(FTransfers.begin(), FTransfers.end(), [&](const Transfer& t) {
    return t.Requestor == ev.xproperty.window && t.Property == ev.xproperty.atom;
  });
  if (it == FTransfers.end()) return false;
  Transfer& t = *it;
  const std::size_t n = std::min(FChunk, t.Data->size() - t.Offset);
  // The last chunk is empty: it tells the requestor the data is complete.
  XChangeProperty(FDpy, t.Requestor, t.Property, t.Type, 8, PropModeReplace, t.Data->data() + t.Offset, int(n));
  t.Offset += n;
  t.LastActivityMs = X11TimerQueue::NowMs();
  if (n == 0) {
    const ::Window requestor = t.Requestor;
    FTransfers.erase(it);
    const bool more = std::any_of(FTransfers.begin(), FTransfers.end(),
                                  [&](const Transfer& o) { return o.Requestor == requestor; });
    if (!more) XSelectInput(FDpy, requestor, NoEventMask);
  }
  XFlush(FDpy);
  return true;
}

bool X11Clipboard::HandOver(int timeoutMs) {
  const X11Atoms& at = FDisplay.Atoms();
  if (!FOwned || FDisplay.ConnectionLost() || XGetSelectionOwner(FDpy, at.ClipboardManager) == None) return false;
  const std::vector<Atom> wanted = Offered();
  XChangeProperty(FDpy, FWindow, at.VantrelSave, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(wanted.data()), int(wanted.size()));
  XConvertSelection(FDpy, at.ClipboardManager, at.SaveTargets, at.VantrelSave, FWindow, CurrentTime);
  XFlush(FDpy);
  // The program is ending: only the clipboard's conversation matters now, other events are
  // dropped.
  const std::uint64_t deadline = X11TimerQueue::NowMs() + std::uint64_t(timeoutMs);
  for (std::uint64_t now = X11TimerQueue::NowMs(); now < deadline && !FDisplay.ConnectionLost();
       now = X11TimerQueue::NowMs()) {
    while (!FDisplay.ConnectionLost() && XPending(FDpy) > 0) {
      XEvent ev;
      XNextEvent(FDpy, &ev);
      if (ev.type == SelectionNotify && ev.xselection.requestor == FWindow &&
          ev.xselection.selection == at.ClipboardManager)
        return ev.xselection.property != None;
      if (ev.xany.window == FWindow)
        HandleEvent(ev);
      else
        HandleRequestorEvent(ev);
    }
    pollfd p{ConnectionNumber(FDpy), POLLIN, 0};
    poll(&p, 1, int(deadline - now));
  }
  return false;
}

void X11Clipboard::DropStaleTransfers() {
  const std::uint64_t now = X11TimerQueue::NowMs();
  std::erase_if(FTransfers, [&](const Transfer& t) { return now - t.LastActivityMs > kTransferTimeoutMs; });
}

}  // namespace plat
