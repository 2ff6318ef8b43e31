#pragma once
// Screen pixels through wlroots' screencopy protocol: each output that holds part of the
// rectangle copies that part (its region only) into a shm buffer of ours, on a queue of its
// own so that no input is handled meanwhile. A compositor that refuses gives grey.
#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Bitmap.h"

struct zwlr_screencopy_manager_v1;

namespace plat {

class WaylandPlatform;
struct WaylandOutput;

class WaylandScreenCopy {
 public:
  static constexpr gfx::TColor kRefused = 0x808080;

  WaylandScreenCopy(WaylandPlatform& platform, zwlr_screencopy_manager_v1* manager);
  ~WaylandScreenCopy();
  WaylandScreenCopy(const WaylandScreenCopy&) = delete;
  WaylandScreenCopy& operator=(const WaylandScreenCopy&) = delete;

  // R in desktop coordinates; parts on no output read black.
  gfx::Bitmap Capture(const gfx::Rect& r, const std::vector<std::unique_ptr<WaylandOutput>>& outputs);
  // Whether the compositor offers no copy, or refused the last one less than kRetryMs ago: a
  // refusal may pass (an output switched off for a moment), so copies are tried again then.
  static constexpr std::uint64_t kRetryMs = 2000;
  bool Refused() const;

 private:
  // Copies PART (desktop coordinates, inside O) into OUT at PART's place relative to ORIGIN.
  bool CopyPart(const WaylandOutput& o, const gfx::Rect& part, gfx::Point origin, gfx::Bitmap& out);

  WaylandPlatform& FPlatform;
  zwlr_screencopy_manager_v1* FManager;
  wl_event_queue* FQueue;
  bool FRefused = false;
  std::uint64_t FRefusedAt = 0;
};

}  // namespace plat
