// The owner tree: ownership, names, lookup, destruction order and removal notices; property
// text formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/PropText.h"
#include "toolkit/core/TComponent.h"
#include "toolkit/core/TTimer.h"

namespace {

// Records its own destruction and the removal notices it hears.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), FLog(log) {}
  ~TProbe() override { FLog->push_back("~" + Name()); }
  void BeforeDestruction() override {
    FLog->push_back("before " + Name());
    TComponent::BeforeDestruction();
  }
  void AfterConstruction() override { Constructed = true; }
  TComponent* Watched = nullptr;
  bool Constructed = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == Watched) {
      FLog->push_back(Name() + " lost " + c->Name());
      Watched = nullptr;
    }
  }

 private:
  std::vector<std::string>* FLog;
};

}  // namespace

TEST(CoreComponent, OwnerTreeNamesAndDestructionOrder) {
  std::vector<std::string> log;
  auto root = TComponent::Make<TProbe>(nullptr, &log);
  root->SetName("Root");
  EXPECT_TRUE(root->Constructed);

  TProbe* a = TComponent::Create<TProbe>(root.get(), &log);
  a->SetName("A");
  TProbe* b = TComponent::Create<TProbe>(root.get(), &log);
  b->SetName("B");
  TProbe* a1 = TComponent::Create<TProbe>(a, &log);
  a1->SetName("A1");
  EXPECT_TRUE(a->Constructed);
  EXPECT_EQ(a->Owner(), root.get());
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(root->Components(1), b);
  EXPECT_EQ(root->Components(2), nullptr);
  EXPECT_EQ(b->ComponentIndex(), 1);

  // Lookup ignores case and only searches the owner's own components.
  EXPECT_EQ(root->FindComponent("a"), a);
  EXPECT_EQ(root->FindComponent("B"), b);
  EXPECT_EQ(root->FindComponent("A1"), nullptr);
  EXPECT_EQ(a->FindComponent("a1"), a1);
  EXPECT_EQ(root->FindComponent(""), nullptr);

  // Names are identifiers, unique among siblings.
  EXPECT_THROW(b->SetName("a"), std::invalid_argument);
  EXPECT_THROW(b->SetName("1abc"), std::invalid_argument);
  EXPECT_THROW(b->SetName("has space"), std::invalid_argument);
  EXPECT_EQ(b->Name(), "B");
  a1->SetName("B");  // another owner's child may share it
  EXPECT_THROW(TComponent::Create<TProbe>(nullptr, &log), std::invalid_argument);

  // Destroying the tree destroys the last created first, depth first, and BeforeDestruction
  // runs before each owned component's destructor while the object is whole. (The root is
  // held in a unique_ptr: plain delete, so its own destructor body runs first.)
  root.reset();
  std::vector<std::string> expected = {"~Root", "before B", "~B", "before A", "before B", "~B", "~A"};
  EXPECT_EQ(log, expected);
}

TEST(CoreComponent, RemovalNoticesAndTransfer) {
  std::vector<std::string> log;
  auto owner = TComponent::Make<TProbe>(nullptr, &log);
  auto other = TComponent::Make<TProbe>(nullptr, &log);
  TProbe* menu = TComponent::Create<TProbe>(other.get(), &log);
  menu->SetName("Menu");
  TProbe* icon = TComponent::Create<TProbe>(owner.get(), &log);
  icon->SetName("Icon");
  TProbe* sibling = TComponent::Create<TProbe>(owner.get(), &log);
  sibling->SetName("Sibling");

  // A reference across owners needs FreeNotification; siblings hear of each other anyway.
  icon->Watched = menu;
  icon->FreeNotification(menu);
  sibling->Watched = icon;
  other->DestroyComponent(menu);
  EXPECT_EQ(icon->Watched, nullptr);
  owner->DestroyComponent(icon);
  EXPECT_EQ(sibling->Watched, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_NE(std::find(log.begin(), log.end(), "Icon lost Menu"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "Sibling lost Icon"), log.end());

  // Handing a component over to another owner.
  std::unique_ptr<TComponent> taken = owner->RemoveComponent(sibling);
  ASSERT_EQ(taken.get(), sibling);
  EXPECT_EQ(sibling->Owner(), nullptr);
  other->InsertComponent(std::move(taken));
  EXPECT_EQ(sibling->Owner(), other.get());
  EXPECT_EQ(other->FindComponent("sibling"), sibling);
  // A stranger is not destroyed by DestroyComponent.
  owner->DestroyComponent(sibling);
  EXPECT_EQ(other->ComponentCount(), 1);
}

TEST(CoreComponent, PropertyTextFormats) {
  using namespace PropText;
  EXPECT_EQ(Int(-42), "-42");
  EXPECT_EQ(Double(0.1), "0.1");
  EXPECT_EQ(Double(-31.95), "-31.95");
  EXPECT_EQ(Double(2.0), "2");
  EXPECT_EQ(Double(0.05 + 0.05 + 0.05), "0.15000000000000002");  // reads back exactly
  EXPECT_EQ(std::stod(Double(1.0 / 3.0)), 1.0 / 3.0);
  EXPECT_EQ(Bool(true), "true");
  EXPECT_EQ(Bool(false), "false");
  EXPECT_EQ(Color(0x80FFFF), "8454143");
  EXPECT_EQ(Color(clBtnFace), "2147483663");
  EXPECT_EQ(Enum(1, {"orHoriz", "orVert"}), "orVert");
  EXPECT_EQ(Enum(7, {"orHoriz", "orVert"}), "7");
  EXPECT_EQ(Align(alClient), "alClient");
  EXPECT_EQ(BorderStyle(bsNone), "bsNone");
  EXPECT_EQ(BorderStyle(bsSizeToolWin), "bsSizeToolWin");
  EXPECT_EQ(FormStyle(fsStayOnTop), "fsStayOnTop");
  EXPECT_TRUE(Is("caption", "Caption"));
  EXPECT_FALSE(Is("Captions", "Caption"));

  auto owner = TComponent::Make<TComponent>(nullptr);
  TTimer* t = TComponent::Create<TTimer>(owner.get());
  t->SetName("Timer1");
  t->SetInterval(55);
  t->SetTag(-3);
  EXPECT_EQ(t->GetPropText("Interval"), "55");
  EXPECT_EQ(t->GetPropText("Enabled"), "true");
  EXPECT_EQ(t->GetPropText("Name"), "Timer1");
  EXPECT_EQ(t->GetPropText("Tag"), "-3");
  EXPECT_EQ(t->GetPropText("NoSuchThing"), std::nullopt);
  EXPECT_EQ(t->ClassName(), "TTimer");
}
