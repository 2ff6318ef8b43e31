// Keys: key preview, swallowing, typed characters, focus, Tab order, dialog keys.
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "toolkit/core/TCustomControl.h"

namespace {

class TField : public TCustomControl {
 public:
  explicit TField(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

// Answers Enter as a dialog key, as a default button does.
class TDefaultButton : public TCustomControl {
 public:
  explicit TDefaultButton(TComponent* owner) : TCustomControl(owner) {}
  int Pressed = 0;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_DIALOGKEY && m.WParam == plat::VK_RETURN) {
      ++Pressed;
      m.Result = 1;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

using Log = std::vector<std::string>;

void RecordKeys(TWinControl* c, Log& log) {
  const std::string n = c->Name();
  c->OnKeyDown = [&log, n](TObject*, int& key, TShiftState s) {
    log.push_back(n + " down " + std::to_string(key) + ((s & ssShift) ? " shift" : ""));
  };
  c->OnKeyUp = [&log, n](TObject*, int& key, TShiftState) { log.push_back(n + " up " + std::to_string(key)); };
  c->OnKeyPress = [&log, n](TObject*, char& key) { log.push_back(n + " press " + std::string(1, key)); };
  c->OnEnter = [&log, n](TObject*) { log.push_back(n + " enter"); };
  c->OnExit = [&log, n](TObject*) { log.push_back(n + " exit"); };
}

}  // namespace

TEST_F(CoreTest, KeyPreviewLetsTheFormSeeKeysFirstAndSwallowThem) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100), bsNone, "F");
  TField* e1 = TComponent::Create<TField>(f);
  e1->SetName("e1");
  e1->SetParent(f);
  Log log;
  RecordKeys(f, log);
  RecordKeys(e1, log);
  e1->SetFocus();
  Settle();
  ASSERT_TRUE(e1->Focused());
  EXPECT_EQ(Screen->ActiveControl(), e1);
  log.clear();

  Desk.InjectKey('A');
  Settle();
  EXPECT_EQ(log, (Log{"e1 down 65", "e1 press a", "e1 up 65"}));  // no preview: the form hears nothing

  log.clear();
  f->SetKeyPreview(true);
  Desk.InjectKey(plat::VK_RIGHT, ssShift);
  Desk.InjectText("x");
  Settle();
  EXPECT_EQ(log, (Log{"F down 16 shift", "e1 down 16 shift", "F down 39 shift", "e1 down 39 shift", "F up 39",
                      "e1 up 39", "F up 16", "e1 up 16", "F press x", "e1 press x"}));

  // The form swallows a key by setting it to 0.
  log.clear();
  f->OnKeyDown = [&](TObject*, int& key, TShiftState) {
    log.push_back("F down " + std::to_string(key));
    if (key == plat::VK_LEFT) key = 0;
  };
  f->OnKeyPress = [&](TObject*, char& key) {
    if (key == 'q') key = 0;
  };
  Desk.InjectKeyDown(plat::VK_LEFT);
  Desk.InjectKeyDown(plat::VK_UP);
  Desk.InjectText("qw");
  Settle();
  EXPECT_EQ(log, (Log{"F down 37", "F down 38", "e1 down 38", "e1 press w"}));

  // With nothing focused the keys go to the form itself, once.
  log.clear();
  f->SetActiveControl(nullptr);
  log.clear();
  Desk.InjectKeyDown(plat::VK_UP);
  Settle();
  EXPECT_EQ(log, (Log{"F down 38"}));
}

TEST_F(CoreTest, FocusAndTabOrder) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 100), bsNone, "F");
  auto make = [&](const char* name, TWinControl* parent) {
    TField* e = TComponent::Create<TField>(f);
    e->SetName(name);
    e->SetParent(parent);
    return e;
  };
  TField* a = make("a", f);
  TField* box = make("box", f);
  box->SetTabStop(false);  // a container: its children take part
  TField* b = make("b", box);
  TField* c = make("c", f);
  TField* d = make("d", f);
  d->SetEnabled(false);
  TField* e = make("e", f);
  e->SetVisible(false);
  Log log;
  for (TField* x : {a, b, c}) RecordKeys(x, log);
  a->SetFocus();
  Settle();
  log.clear();

  Desk.InjectKey(plat::VK_TAB);
  Settle();
  EXPECT_EQ(f->ActiveControl(), b);
  Desk.InjectKey(plat::VK_TAB);
  Settle();
  EXPECT_EQ(f->ActiveControl(), c);
  Desk.InjectKey(plat::VK_TAB);  // d disabled, e hidden: round to a
  Settle();
  EXPECT_EQ(f->ActiveControl(), a);
  Desk.InjectKey(plat::VK_TAB, ssShift);
  Settle();
  EXPECT_EQ(f->ActiveControl(), c);
  // The Tab key itself reaches the focused control first; the focus moves afterwards.
  EXPECT_EQ(log, (Log{"a down 9", "a exit", "b enter", "b up 9", "b down 9", "b exit", "c enter", "c up 9",
                      "c down 9", "c exit", "a enter", "a up 9", "a down 16 shift", "a down 9 shift", "a exit",
                      "c enter", "c up 9", "c up 16"}));

  // The focused control hears when its window loses and regains the keyboard.
  std::vector<unsigned> focusMsgs;
  TWndMethod saved = c->WindowProc();
  c->SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) focusMsgs.push_back(m.Msg);
    saved(m);
  });
  TForm* other = ShowForm(Rect::FromXYWH(400, 0, 50, 50));
  EXPECT_FALSE(c->Focused());
  EXPECT_EQ(f->ActiveControl(), c);
  f->SetFocus();
  Settle();
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(focusMsgs, (std::vector<unsigned>{WM_KILLFOCUS, WM_SETFOCUS}));
  c->SetWindowProc(saved);
  (void)other;

  // Tab order can be changed without touching the stacking.
  c->SetTabOrder(0);
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(f->FindNextControl(c, true, true), a);
  EXPECT_EQ(f->FindNextControl(nullptr, true, true), c);
  // Hiding or disabling the focused control takes the focus away from it.
  c->Hide();
  EXPECT_EQ(f->ActiveControl(), nullptr);
  EXPECT_FALSE(c->CanFocus());
  EXPECT_TRUE(a->CanFocus());
  // A hidden form's controls cannot take the focus.
  f->Hide();
  EXPECT_FALSE(a->CanFocus());
}

TEST_F(CoreTest, DialogKeysReachTheControlsThatAnswerThem) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 300, 100), bsNone, "F");
  TField* e = TComponent::Create<TField>(f);
  e->SetParent(f);
  TDefaultButton* ok = TComponent::Create<TDefaultButton>(f);
  ok->SetParent(f);
  e->SetFocus();
  int seen = 0;
  e->OnKeyDown = [&](TObject*, int& key, TShiftState) {
    ++seen;
    if (key == plat::VK_ESCAPE) key = 0;
  };
  Desk.InjectKey(plat::VK_RETURN);
  Desk.InjectKey(plat::VK_ESCAPE);
  Settle();
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(ok->Pressed, 1);
}
