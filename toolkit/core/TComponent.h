#pragma once
// A component: a named object in an owner tree. An owner holds its components (unique_ptr) and
// destroys them, in reverse order of creation, when it is destroyed itself.
//
// Making components:
//   TButton* b = TComponent::Create<TButton>(form);     // owned by FORM, pointer not owning
//   std::unique_ptr<TForm> f = TComponent::Make<TForm>(nullptr);  // held by the caller
// Both call AfterConstruction() once the object is complete (forms fire OnCreate there), so
// constructors may build their child controls first.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/core/TObject.h"
#include "toolkit/core/Types.h"

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  template <class T, class... A>
  static T* Create(TComponent* owner, A&&... args) {
    if (!owner) throw std::invalid_argument("TComponent::Create needs an owner; use Make for an unowned component");
    auto obj = std::make_unique<T>(owner, std::forward<A>(args)...);
    T* raw = obj.get();
    owner->InsertComponent(std::move(obj));
    raw->AfterConstruction();
    return raw;
  }
  template <class T, class... A>
  static std::unique_ptr<T> Make(A&&... args) {
    auto obj = std::make_unique<T>(std::forward<A>(args)...);
    obj->AfterConstruction();
    return obj;
  }

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Throws std::invalid_argument for a name that is not an identifier or that a sibling
  // (another component of the same owner) already has, compared without case.
  virtual void SetName(const std::string& value);
  int Tag() const { return FTag; }
  void SetTag(int value) { FTag = value; }

  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int index) const;  // nullptr when out of range
  int ComponentIndex() const;                // position in the owner's list, -1 without owner
  // The owned component named NAME (without case), or nullptr.
  TComponent* FindComponent(std::string_view name) const;

  // Ownership transfer. InsertComponent makes this the component's owner; RemoveComponent
  // hands the component back to the caller (its Owner becomes nullptr).
  void InsertComponent(std::unique_ptr<TComponent> component);
  std::unique_ptr<TComponent> RemoveComponent(TComponent* component);
  // Destroys an owned component now (BeforeDestruction first); ignored for a stranger.
  void DestroyComponent(TComponent* component);
  // Destroys every owned component, the last created first.
  void DestroyComponents();

  TComponentState ComponentState() const { return FComponentState; }
  bool Destroying() const { return (FComponentState & csDestroying) != 0; }

  // Asks to be told (Notification with opRemove) when COMPONENT is destroyed, even when it
  // belongs to another owner. Owners are always told about their own components.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Runs once the object is complete (Create / Make call it).
  virtual void AfterConstruction() {}
  // Runs before the destructor while the whole object is still alive: marks the component as
  // destroying and destroys the owned components.
  virtual void BeforeDestruction();
  // Runs after the owner's own construction has finished (a form calls it for its components
  // before OnCreate), like the end of loading a stored layout.
  virtual void Loaded() {}

  // The text of the published property NAME (for the scenario runner's "prop" query), or
  // nullopt when this class has no such property. Each class answers its own properties and
  // passes the rest to its base class. Formats: see PropText.
  virtual std::optional<std::string> GetPropText(std::string_view name) const;

 protected:
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  TComponentState FComponentState = 0;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TComponent*> FFreeNotifies;  // both directions of FreeNotification links
};
