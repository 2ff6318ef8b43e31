#include "toolkit/core/TWinControl.h"

#include <algorithm>

#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
}

TWinControl::~TWinControl() {
  // Owned components go first, while this object is still whole; children owned by others
  // are only let go (they outlive us parentless).
  if (!Destroying()) DestroyComponents();
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
  if (Application) Application->RemovePostedMessages(this);
  if (Parent()) SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return FControls[std::size_t(index)];
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return;
  if (control->Parent() != this) {
    control->SetParent(this);  // comes back here with the parent set
    return;
  }
  FControls.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) FTabList.push_back(w);
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), control), FTabList.end());
  if (TForm* f = ParentForm()) f->ControlRemoved(control);
  if (control->Parent() == this) control->FParent = nullptr;
}

TControl* TWinControl::ControlAtPos(Point p, bool allowDisabled) {
  if (!ClientRect().Contains(p)) return nullptr;
  auto usable = [&](TControl* c) {
    return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p);
  };
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowed() || !usable(c)) continue;
    auto* w = static_cast<TWinControl*>(c);
    TControl* inner = w->ControlAtPos(Point{p.x - c->Left(), p.y - c->Top()}, allowDisabled);
    return inner ? inner : w;
  }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowed() && usable(c)) return c;
  }
  return this;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control ? control->Parent() : nullptr; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  TForm* f = ParentForm();
  return f && f->Visible() && f->Enabled();
}

bool TWinControl::Focused() const {
  TForm* f = ParentForm();
  if (!f) return false;
  if (f == this) return f->Active() && !f->ActiveControl();
  return f->ActiveControl() == this && f->Active();
}

void TWinControl::SetFocus() {
  TForm* f = ParentForm();
  if (!f || f == this) return;
  f->FocusControl(this);
  if (!f->Active() && f->Visible() && f->WindowKind() != plat::WindowKind::Popup && f->NativeWindow())
    f->NativeWindow()->Activate();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  value = std::clamp(value, 0, int(list.size()));
  list.insert(list.begin() + value, this);
}

namespace {
void CollectTabOrder(const std::vector<TWinControl*>& list, std::vector<TWinControl*>& out,
                     const std::function<const std::vector<TWinControl*>&(TWinControl*)>& children) {
  for (TWinControl* w : list) {
    out.push_back(w);
    CollectTabOrder(children(w), out, children);
  }
}
}  // namespace

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) {
  std::vector<TWinControl*> order;
  CollectTabOrder(FTabList, order, [](TWinControl* w) -> const std::vector<TWinControl*>& { return w->FTabList; });
  if (order.empty()) return nullptr;
  const int n = int(order.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (order[std::size_t(i)] == current) start = i;
  for (int step = 1; step <= n; ++step) {
    int i = start < 0 ? (goForward ? step - 1 : n - step)
                      : ((start + (goForward ? step : -step)) % n + n) % n;
    TWinControl* c = order[std::size_t(i)];
    if (c == current) continue;
    if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop)) next->SetFocus();
}

void TWinControl::Realign() {
  if (FAligning) return;
  // Without aligned children there is nothing to place, and the room to place them in (which
  // may need a caption measured) is not needed.
  if (std::none_of(FControls.begin(), FControls.end(),
                   [](const TControl* c) { return c->Align() != alNone && c->Visible(); }))
    return;
  FAligning = true;
  Rect r = AlignRect();
  try {
    AlignControls(r);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AlignControls(Rect& rect) {
  auto place = [&](TAlign kind) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    // Aligned controls keep their relative order along the side they stick to.
    std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
      switch (kind) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      switch (kind) {
        case alTop:
          c->SetBounds(rect.left, rect.top, rect.Width(), c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), rect.Width(), c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), rect.Height());
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), rect.Height());
          rect.right -= c->Width();
          break;
        case alClient:
          c->SetBounds(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
          break;
        default:
          break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
}

void TWinControl::BoundsChanged(const Rect& oldBounds) {
  if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) Realign();
}

void TWinControl::ForEachChild(const std::function<void(TControl*)>& callback) const {
  std::vector<TControl*> copy = FControls;
  for (TControl* c : copy) {
    callback(c);
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->ForEachChild(callback);
  }
}

std::intptr_t TWinControl::Broadcast(TMessage& message) {
  std::vector<TControl*> copy = FControls;
  for (TControl* c : copy) {
    TWndMethod proc = c->WindowProc();
    proc(message);
    if (message.Result != 0) return message.Result;
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->Broadcast(message) != 0) return message.Result;
  }
  return 0;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      int key = int(message.WParam);
      if (DoKeyDown(key, TShiftState(message.LParam & 0xFF))) message.Result = 1;
      message.WParam = key;
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      int key = int(message.WParam);
      if (DoKeyUp(key, TShiftState(message.LParam & 0xFF))) message.Result = 1;
      message.WParam = key;
      return;
    }
    case WM_CHAR: {
      char key = message.WParam < 256 ? char(message.WParam) : '?';
      if (DoKeyPress(key)) message.Result = 1;
      message.WParam = static_cast<unsigned char>(key);
      return;
    }
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case WM_ERASEBKGND:
      if (message.WParam) EraseBackground(*reinterpret_cast<TCanvas*>(message.WParam));
      message.Result = 1;
      return;
    case WM_MOUSEWHEEL: {
      Point p = LParamToPoint(message.LParam);
      Point packed = LParamToPoint(message.WParam);
      bool handled = false;
      if (OnMouseWheel) OnMouseWheel(this, TShiftState(packed.x), packed.y, ClientToScreen(p), handled);
      if (!handled) handled = DoMouseWheel(TShiftState(packed.x), packed.y, p);
      message.Result = handled ? 1 : 0;
      return;
    }
    case CM_FONTCHANGED:
      TControl::WndProc(message);
      for (TControl* c : std::vector<TControl*>(FControls)) c->ParentFontChanged();
      return;
    case CM_COLORCHANGED:
      TControl::WndProc(message);
      for (TControl* c : std::vector<TControl*>(FControls)) c->ParentColorChanged();
      return;
    case CM_VISIBLECHANGED:
      TControl::WndProc(message);
      return;
    default:
      TControl::WndProc(message);
      return;
  }
}

bool TWinControl::DoKeyDown(int& key, TShiftState shift) {
  TForm* f = ParentForm();
  if (f && f != this && f->KeyPreview() && static_cast<TWinControl*>(f)->DoKeyDown(key, shift)) return true;
  if (key == 0) return true;
  KeyDown(key, shift);
  return key == 0;
}

bool TWinControl::DoKeyUp(int& key, TShiftState shift) {
  TForm* f = ParentForm();
  if (f && f != this && f->KeyPreview() && static_cast<TWinControl*>(f)->DoKeyUp(key, shift)) return true;
  if (key == 0) return true;
  KeyUp(key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
  TForm* f = ParentForm();
  if (f && f != this && f->KeyPreview() && static_cast<TWinControl*>(f)->DoKeyPress(key)) return true;
  if (key == 0) return true;
  KeyPress(key);
  return key == 0;
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::EraseBackground(TCanvas& canvas) {
  canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
  canvas.FillRect(ClientRect());
}

std::optional<std::string> TWinControl::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "TabStop")) return Bool(FTabStop);
  if (Is(name, "TabOrder")) return Int(TabOrder());
  return TControl::GetPropText(name);
}
