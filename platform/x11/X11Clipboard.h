#pragma once
// Owns the CLIPBOARD selection for a bitmap, served as image/png and image/bmp (encoded when
// first asked for), or for text, served as UTF8_STRING and text/plain (and STRING when it is
// plain ASCII); data larger than one request goes out with INCR. Reads another owner's text
// as UTF8_STRING (INCR included).
#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "platform/x11/X11EventSink.h"

namespace plat {

class X11Display;

class X11Clipboard final : public X11EventSink {
 public:
  explicit X11Clipboard(X11Display& display);
  ~X11Clipboard() override;
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  ::Window Handle() const { return FWindow; }
  void SetBitmap(const gfx::Bitmap& bmp);
  void SetText(const std::string& utf8);
  // The clipboard's text: our own copy while we own it, else the owner's, converted to
  // UTF8_STRING within TIMEOUTMS (other events wait meanwhile); nullopt when there is none,
  // the owner refuses, or it does not answer in time.
  std::optional<std::string> Text(int timeoutMs);
  bool Owned() const { return FOwned; }
  std::size_t ChunkSize() const { return FChunk; }

  // Offers our copy to the clipboard manager (if one runs) so it outlives the program, and
  // serves its requests for at most TIMEOUTMS; true when the manager confirmed.
  bool HandOver(int timeoutMs);

  void HandleEvent(XEvent& ev) override;  // events for our selection window
  // Property deletions on requestor windows drive INCR transfers; true when it was one.
  bool HandleRequestorEvent(XEvent& ev);

 private:
  using Bytes = std::shared_ptr<const std::vector<std::uint8_t>>;
  struct Transfer {
    ::Window Requestor = None;
    Atom Property = None;
    Atom Type = None;
    Bytes Data;
    std::size_t Offset = 0;
    std::uint64_t LastActivityMs = 0;
  };

  void OnRequest(const XSelectionRequestEvent& req);
  // Waits until DEADLINE (ms) for an event of TYPE on our window that MATCHES; others of that
  // type are dropped, events of other types stay queued.
  bool WaitForEvent(int type, std::uint64_t deadline, XEvent& ev, const std::function<bool(const XEvent&)>& matches);
  // Takes the received property off our window: its type and bytes.
  std::string TakeProperty(Atom& type);
  Bytes Encoded(Atom target);
  void DropStaleTransfers();
  bool TakeOwnership();
  void Clear();
  std::vector<Atom> Offered() const;  // the data targets for what we hold

  X11Display& FDisplay;
  Display* FDpy;
  ::Window FWindow = None;
  std::size_t FChunk = 0;
  bool FOwned = false;
  Time FOwnedSince = CurrentTime;
  std::optional<gfx::Bitmap> FBitmap;
  Bytes FPng, FBmp;
  std::optional<std::string> FText;
  std::vector<Transfer> FTransfers;
};

}  // namespace plat
