#include "toolkit/core/TComponent.h"

#include <algorithm>
#include <cctype>

#include "toolkit/core/PropText.h"

namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool IsIdent(std::string_view s) {
  if (s.empty()) return false;
  auto first = static_cast<unsigned char>(s[0]);
  if (!(std::isalpha(first) || first == '_')) return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u == '_';
  });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  DestroyComponents();
  // Tell everybody who asked, and forget the links both ways.
  auto links = std::move(FFreeNotifies);
  FFreeNotifies.clear();
  for (TComponent* other : links) {
    auto& v = other->FFreeNotifies;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    other->Notification(this, opRemove);
  }
  // A component destroyed by someone else than its owner (it was never inserted, or its
  // owner is handing it out) leaves no dangling entry behind.
  if (FOwner) {
    auto& list = FOwner->FComponents;
    for (auto& p : list)
      if (p.get() == this) (void)p.release();
    list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
  }
}

void TComponent::SetName(const std::string& value) {
  if (value == FName) return;
  if (!value.empty() && !IsIdent(value)) throw std::invalid_argument("\"" + value + "\" is not a valid component name");
  if (!value.empty() && FOwner) {
    TComponent* other = FOwner->FindComponent(value);
    if (other && other != this) throw std::invalid_argument("A component named " + value + " already exists");
  }
  FName = value;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) return nullptr;
  return FComponents[std::size_t(index)].get();
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& list = FOwner->FComponents;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == this) return int(i);
  return -1;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : FComponents)
    if (c && SameText(c->FName, name)) return c.get();
  return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  if (!component) return;
  TComponent* c = component.get();
  if (c->FOwner && c->FOwner != this) (void)c->FOwner->RemoveComponent(c).release();
  if (!c->FName.empty()) {
    TComponent* other = FindComponent(c->FName);
    if (other && other != c) throw std::invalid_argument("A component named " + c->FName + " already exists");
  }
  c->FOwner = this;
  FComponents.push_back(std::move(component));
  Notification(c, opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  for (auto it = FComponents.begin(); it != FComponents.end(); ++it) {
    if (it->get() != component) continue;
    std::unique_ptr<TComponent> out = std::move(*it);
    FComponents.erase(it);
    Notification(component, opRemove);
    out->FOwner = nullptr;
    return out;
  }
  return nullptr;
}

void TComponent::DestroyComponent(TComponent* component) {
  for (auto it = FComponents.begin(); it != FComponents.end(); ++it) {
    if (it->get() != component) continue;
    component->BeforeDestruction();
    // Find it again: destroying its own components may not touch our list, but handlers might.
    auto again = std::find_if(FComponents.begin(), FComponents.end(), [&](const auto& p) { return p.get() == component; });
    if (again == FComponents.end()) return;
    std::unique_ptr<TComponent> doomed = std::move(*again);
    FComponents.erase(again);
    Notification(component, opRemove);
    doomed->FOwner = nullptr;
    doomed.reset();
    return;
  }
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back().get();
    if (!last) {
      FComponents.pop_back();
      continue;
    }
    DestroyComponent(last);
  }
}

void TComponent::BeforeDestruction() {
  if (FComponentState & csDestroying) return;
  FComponentState |= csDestroying;
  DestroyComponents();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  auto& theirs = component->FFreeNotifies;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
  auto& theirs = component->FFreeNotifies;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // Owned components hear about their siblings leaving, so references between them clear.
  if (operation == opRemove && component)
    for (const auto& c : FComponents)
      if (c && c.get() != component) c->Notification(component, opRemove);
}

std::optional<std::string> TComponent::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Name")) return FName;
  if (PropText::Is(name, "Tag")) return PropText::Int(FTag);
  return std::nullopt;
}
