#include "toolkit/core/TScreen.h"

#include <algorithm>

#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"

TScreen* Screen = nullptr;

TScreen::TScreen() : TComponent(nullptr) {}

TScreen::~TScreen() = default;

int TScreen::Width() const {
  return plat::Platform::HasCurrent() ? plat::Platform::Current().ScreenSize().cx : 0;
}

int TScreen::Height() const {
  return plat::Platform::HasCurrent() ? plat::Platform::Current().ScreenSize().cy : 0;
}

gfx::Bitmap TScreen::CapturePixels(const gfx::Rect& r) const {
  if (!FFrozen) {
    if (!plat::Platform::HasCurrent()) return gfx::Bitmap(std::max(r.Width(), 0), std::max(r.Height(), 0));
    return plat::Platform::Current().CaptureScreen(r);
  }
  gfx::Bitmap out(std::max(r.Width(), 0), std::max(r.Height(), 0), 0);
  const gfx::Rect in = r.Intersect(gfx::Rect{0, 0, FFrozen->Width(), FFrozen->Height()});
  for (int y = in.top; y < in.bottom; ++y)
    std::copy(FFrozen->Row(y) + in.left, FFrozen->Row(y) + in.right, out.Row(y - r.top) + (in.left - r.left));
  return out;
}

bool TScreen::PixelsReadable() const {
  return FFrozen || !plat::Platform::HasCurrent() || plat::Platform::Current().ScreenReadable();
}

std::vector<plat::Monitor> TScreen::Monitors() {
  std::vector<plat::Monitor> list;
  if (plat::Platform::HasCurrent()) list = plat::Platform::Current().Monitors();
  if (list.empty()) {
    const gfx::Size s = plat::Platform::HasCurrent() ? plat::Platform::Current().ScreenSize() : gfx::Size{};
    list.push_back({gfx::Rect{0, 0, s.cx, s.cy}, 0, 0, true});
  }
  return list;
}

plat::Monitor TScreen::MonitorFromRect(const gfx::Rect& r) {
  const std::vector<plat::Monitor> list = Monitors();
  return *plat::MonitorForRect(list, r);
}

plat::Monitor TScreen::MonitorFromPoint(gfx::Point p) {
  const std::vector<plat::Monitor> list = Monitors();
  return *plat::MonitorForPoint(list, p);
}

plat::Monitor TScreen::MainFormMonitor() {
  if (TForm* main = Application ? Application->MainForm() : nullptr) return MonitorFromRect(main->BoundsRect());
  return Monitors().front();
}

gfx::Rect TScreen::WorkAreaOf(const plat::Monitor& monitor) {
  if (!plat::Platform::HasCurrent()) return monitor.Bounds;
  const gfx::Rect r = plat::Platform::Current().WorkArea().Intersect(monitor.Bounds);
  return r.IsEmpty() ? monitor.Bounds : r;
}

plat::CursorLook TScreen::Cursors(TCursor id) const {
  if (auto it = FCursors.find(id); it != FCursors.end()) return it->second;
  plat::CursorLook look;
  using plat::StdCursor;
  switch (id) {
    case crNone:
      // No cursor: a custom image with every pixel transparent.
      look.IsCustom = true;
      look.Image.Pixels.assign(std::size_t(look.Image.Width * look.Image.Height), 0);
      return look;
    case crCross: look.Standard = StdCursor::Cross; break;
    case crIBeam: look.Standard = StdCursor::IBeam; break;
    case crSizeNESW: look.Standard = StdCursor::SizeNESW; break;
    case crSizeNS: look.Standard = StdCursor::SizeNS; break;
    case crSizeNWSE: look.Standard = StdCursor::SizeNWSE; break;
    case crSizeWE: look.Standard = StdCursor::SizeWE; break;
    case crUpArrow: look.Standard = StdCursor::UpArrow; break;
    case crHourGlass: look.Standard = StdCursor::Wait; break;
    case crNo: look.Standard = StdCursor::No; break;
    case crHandPoint: look.Standard = StdCursor::Hand; break;
    case crSizeAll: look.Standard = StdCursor::SizeAll; break;
    default: look.Standard = StdCursor::Arrow; break;
  }
  return look;
}

void TScreen::SetCursorImage(TCursor id, const plat::CursorLook& look) {
  FCursors[id] = look;
  for (TForm* f : FForms) f->CursorImageChanged();
}

bool TScreen::HasCursor(TCursor id) const { return FCursors.count(id) != 0; }

void TScreen::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  for (TForm* f : FForms) f->UpdateCursor();
}

TForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) return nullptr;
  return FForms[std::size_t(index)];
}

int TScreen::IndexOf(const TForm* form) const {
  auto it = std::find(FForms.begin(), FForms.end(), form);
  return it == FForms.end() ? -1 : int(it - FForms.begin());
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

void TScreen::AddForm(TForm* form) {
  if (IndexOf(form) < 0) FForms.push_back(form);
}

void TScreen::RemoveForm(TForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FActiveForm == form) FActiveForm = nullptr;
}
