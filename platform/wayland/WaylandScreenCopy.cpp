#include "platform/wayland/WaylandScreenCopy.h"

#include "platform/wayland/WaylandPlatform.h"
#include "platform/wayland/WaylandShmBuffer.h"
#include "platform/wayland/WaylandProtocols.h"
#include "platform/x11/X11TimerQueue.h"

namespace plat {

namespace {
struct FrameState {
  WaylandScreenCopy* Owner = nullptr;
  wl_shm* Shm = nullptr;
  std::uint32_t Format = 0;
  int Width = 0, Height = 0, Stride = 0;
  bool HaveShm = false;
  bool YInvert = false;
  bool Done = false, Failed = false;
  std::unique_ptr<WaylandShmBuffer> Buffer;
  zwlr_screencopy_frame_v1* Frame = nullptr;
};

bool Supported(std::uint32_t f) {
  return f == WL_SHM_FORMAT_ARGB8888 || f == WL_SHM_FORMAT_XRGB8888 || f == WL_SHM_FORMAT_ABGR8888 ||
         f == WL_SHM_FORMAT_XBGR8888;
}

// The buffer the compositor described, made and handed over for the copy.
void StartCopy(FrameState& s) {
  if (!s.HaveShm || s.Buffer || s.Failed) return;
  if (!Supported(s.Format) || s.Stride != s.Width * 4) {
    s.Failed = true;
    return;
  }
  s.Buffer = std::make_unique<WaylandShmBuffer>(s.Shm, s.Width, s.Height, s.Format);
  if (!s.Buffer->Buffer()) {
    s.Failed = true;
    return;
  }
  zwlr_screencopy_frame_v1_copy(s.Frame, s.Buffer->Buffer());
}
}  // namespace

WaylandScreenCopy::WaylandScreenCopy(WaylandPlatform& platform, zwlr_screencopy_manager_v1* manager)
    : FPlatform(platform), FManager(manager), FQueue(wl_display_create_queue(platform.Display())) {}

WaylandScreenCopy::~WaylandScreenCopy() { wl_event_queue_destroy(FQueue); }

bool WaylandScreenCopy::Refused() const {
  return !FManager || (FRefused && X11TimerQueue::NowMs() - FRefusedAt < kRetryMs);
}

gfx::Bitmap WaylandScreenCopy::Capture(const gfx::Rect& r, const std::vector<std::unique_ptr<WaylandOutput>>& outputs) {
  gfx::Bitmap out(std::max(0, r.Width()), std::max(0, r.Height()));
  if (out.IsEmpty()) return out;
  bool tried = false, refused = false;
  for (const auto& o : outputs) {
    const gfx::Rect part = r.Intersect(o->Logical);
    if (part.IsEmpty()) continue;
    tried = true;
    if (!FManager || !CopyPart(*o, part, {r.left, r.top}, out)) {
      refused = true;
      for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) out.At(x - r.left, y - r.top) = kRefused;
    }
  }
  // One output refused is enough: a copy that another output then makes must not pass the
  // grey part off as the screen.
  if (tried) FRefused = refused;
  if (refused) FRefusedAt = X11TimerQueue::NowMs();
  return out;
}

bool WaylandScreenCopy::CopyPart(const WaylandOutput& o, const gfx::Rect& part, gfx::Point origin, gfx::Bitmap& out) {
  wl_display* display = FPlatform.Display();
  FrameState s;
  s.Owner = this;
  s.Shm = FPlatform.Shm();
  // On an output turned a quarter, wlroots 0.15 copies another region than the one asked
  // for: the whole output is copied there, and PART cut from it.
  const gfx::Rect grab = o.Transform & 1 ? o.Logical : part;
  if (o.Transform & 1)
    s.Frame = zwlr_screencopy_manager_v1_capture_output(FManager, 0, o.Output);
  else
    s.Frame = zwlr_screencopy_manager_v1_capture_output_region(FManager, 0, o.Output, part.left - o.Logical.left,
                                                                part.top - o.Logical.top, part.Width(), part.Height());
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(s.Frame), FQueue);
  static const zwlr_screencopy_frame_v1_listener kFrame{
      [](void* d, zwlr_screencopy_frame_v1* f, std::uint32_t format, std::uint32_t w, std::uint32_t h, std::uint32_t stride) {
        auto& st = *static_cast<FrameState*>(d);
        st.Format = format;
        st.Width = int(w);
        st.Height = int(h);
        st.Stride = int(stride);
        st.HaveShm = true;
        // Before version 3 no list of buffer types follows: copy at once.
        if (zwlr_screencopy_frame_v1_get_version(f) < 3) StartCopy(st);
      },
      [](void* d, zwlr_screencopy_frame_v1*, std::uint32_t flags) {
        static_cast<FrameState*>(d)->YInvert = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
      },
      [](void* d, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {
        static_cast<FrameState*>(d)->Done = true;
      },
      [](void* d, zwlr_screencopy_frame_v1*) { static_cast<FrameState*>(d)->Failed = true; },
      [](void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
      [](void*, zwlr_screencopy_frame_v1*, std::uint32_t, std::uint32_t, std::uint32_t) {},
      [](void* d, zwlr_screencopy_frame_v1*) { StartCopy(*static_cast<FrameState*>(d)); }};
  zwlr_screencopy_frame_v1_add_listener(s.Frame, &kFrame, &s);
  wl_display_flush(display);
  while (!s.Done && !s.Failed)
    if (wl_display_dispatch_queue(display, FQueue) < 0) s.Failed = true;
  zwlr_screencopy_frame_v1_destroy(s.Frame);
  if (s.Failed || !s.Buffer) return false;

  // The copy of GRAB is in the output's buffer orientation and scale: each desktop pixel of
  // PART is looked up there through the output's transform (and y-inversion).
  const int pw = grab.Width(), ph = grab.Height(), bw = s.Width, bh = s.Height;
  const int t = o.Transform & 3;
  const bool flipped = o.Transform & 4;
  for (int y = part.top - grab.top; y < part.bottom - grab.top; ++y) {
    for (int x = part.left - grab.left; x < part.right - grab.left; ++x) {
      // In the unrotated picture, then its rotation undone.
      int u = flipped ? pw - 1 - x : x, v = y, w = pw, h = ph;
      int bx = u, by = v;
      switch (t) {
        case 1: bx = v; by = w - 1 - u; std::swap(w, h); break;
        case 2: bx = w - 1 - u; by = h - 1 - v; break;
        case 3: bx = h - 1 - v; by = u; std::swap(w, h); break;
        default: break;
      }
      bx = bx * bw / w;
      by = by * bh / h;
      if (s.YInvert) by = bh - 1 - by;
      const std::uint32_t p = s.Buffer->Row(by)[bx];
      gfx::TColor c;
      if (s.Format == WL_SHM_FORMAT_ABGR8888 || s.Format == WL_SHM_FORMAT_XBGR8888)
        c = p & 0xFFFFFFu;
      else
        c = (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
      out.At(grab.left - origin.x + x, grab.top - origin.y + y) = c;
    }
  }
  return true;
}

}  // namespace plat
