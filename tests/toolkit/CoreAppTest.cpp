// The application: window-procedure chaining, the default error handler, modal loops with
// timers, minimise and restore, posted messages and timers.
#include <stdexcept>
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "toolkit/core/TGraphicControl.h"
#include "toolkit/core/TTimer.h"

namespace {

class TPad : public TGraphicControl {
 public:
  explicit TPad(TComponent* owner) : TGraphicControl(owner) {}
};

// A component that puts its own procedure in front of a control's, as the tray icon and the
// caption bar do, and restores the saved one when destroyed.
class THook : public TComponent {
 public:
  THook(TComponent* owner, TWinControl* target, std::vector<std::string>* log) : TComponent(owner), FTarget(target), FLog(log) {
    FSaved = target->WindowProc();
    target->SetWindowProc([this](TMessage& m) { HookProc(m); });
  }
  ~THook() override { FTarget->SetWindowProc(FSaved); }
  bool SwallowSize = false;

 private:
  void HookProc(TMessage& m) {
    FLog->push_back("hook " + std::to_string(m.Msg) + " " + std::to_string(m.WParam));
    if (SwallowSize && m.Msg == WM_SIZE) return;
    FSaved(m);
  }
  TWinControl* FTarget;
  std::vector<std::string>* FLog;
  TWndMethod FSaved;
};

bool Has(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

}  // namespace

TEST_F(CoreTest, WindowProceduresChainInFrontOfAFormAndTheApplicationWindow) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 100, 100), bsDialog, "F");
  std::vector<std::string> log;
  THook* formHook = TComponent::Create<THook>(f, f, &log);
  THook* appHook = TComponent::Create<THook>(f, App->Handle(), &log);
  bool shown = false;
  f->OnShow = [&](TObject*) { shown = true; };

  // Messages of a form pass the hook and still do their work.
  f->Hide();
  f->Show();
  Settle();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_SHOWWINDOW) + " 0"));
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_SHOWWINDOW) + " 1"));
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_WINDOWPOSCHANGED) + " 0"));
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_NCPAINT) + " " +
                           std::to_string(0)) == false);  // the frame message carries its region
  bool ncpaint = false, ncactivate = false, erase = false;
  for (const auto& l : log) {
    ncpaint |= l.rfind("hook " + std::to_string(WM_NCPAINT) + " ", 0) == 0;
    ncactivate |= l.rfind("hook " + std::to_string(WM_NCACTIVATE) + " ", 0) == 0;
    erase |= l.rfind("hook " + std::to_string(WM_ERASEBKGND) + " ", 0) == 0;
  }
  EXPECT_TRUE(ncpaint);
  EXPECT_TRUE(ncactivate);
  EXPECT_TRUE(erase);
  f->SetBounds(10, 10, 120, 100);
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_SIZE) + " 0"));

  // Posted user messages and SendMessage go through the chain too.
  log.clear();
  PostMessage(f, WM_USER + 7, 3, 0);
  EXPECT_TRUE(log.empty());
  Settle();
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_USER + 7) + " 3"));
  EXPECT_EQ(SendMessage(f, WM_APP + 1, 9, 0), 0);
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_APP + 1) + " 9"));

  // Minimise and restore arrive at the application window's procedure.
  log.clear();
  App->Minimize();
  EXPECT_TRUE(App->Minimized());
  EXPECT_TRUE(f->Visible());  // hidden with the application, still Visible
  EXPECT_FALSE(f->NativeWindow()->Visible());
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_SIZE) + " " + std::to_string(SIZE_MINIMIZED)));
  App->Restore();
  EXPECT_TRUE(f->NativeWindow()->Visible());
  EXPECT_TRUE(Has(log, "hook " + std::to_string(WM_SIZE) + " " + std::to_string(SIZE_RESTORED)));

  // Destroying the hooks puts the saved procedures back.
  f->DestroyComponent(formHook);
  f->DestroyComponent(appHook);
  log.clear();
  f->Perform(WM_USER, 0, 0);
  App->Minimize();
  App->Restore();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(App->Minimized());
}

TEST_F(CoreTest, MinimizeToTrayChainHidesTheMainFormAndRestoreBringsItBack) {
  TForm* main = TComponent::Create<TForm>(App.get());
  App->SetMainForm(main);
  main->SetBorderStyle(bsNone);
  main->SetBoundsRect(Rect::FromXYWH(0, 0, 100, 50));
  main->Show();
  TForm* other = ShowForm(Rect::FromXYWH(200, 0, 50, 50));
  // What a minimise-to-tray component does in front of the application window.
  TWndMethod saved = App->Handle()->WindowProc();
  App->Handle()->SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED) {
      main->SetVisible(false);
      App->ShowAppWindow(false);
    }
    saved(m);
  });
  // The main form's minimise command minimises the application.
  main->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Settle();
  EXPECT_TRUE(App->Minimized());
  EXPECT_FALSE(main->Visible());
  EXPECT_FALSE(other->NativeWindow()->Visible());
  EXPECT_TRUE(other->Visible());
  EXPECT_FALSE(App->AppWindowVisible());
  App->Restore();
  main->Show();
  Settle();
  EXPECT_TRUE(main->NativeWindow()->Visible());
  EXPECT_TRUE(other->NativeWindow()->Visible());
  EXPECT_EQ(Pixel(10, 10), gfx::ColorToRGB(clBtnFace));
  App->Handle()->SetWindowProc(saved);
}

TEST_F(CoreTest, ExceptionsInHandlersAreShownAndTheProgramGoesOn) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 100, 100));
  TPad* pad = TComponent::Create<TPad>(f);
  pad->SetParent(f);
  pad->SetBounds(0, 0, 50, 50);
  int clicks = 0;
  pad->OnClick = [&](TObject*) {
    ++clicks;
    throw std::runtime_error("Unable to write to /tmp/x/Vantrel.ini");
  };
  Desk.TakeLog();
  Desk.InjectMouseMove(10, 10);
  Desk.InjectClick();
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(clicks, 2);
  auto log = Desk.TakeLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "message Unable to write to /tmp/x/Vantrel.ini"), 2);
  // The capture was not left behind by the failing handler.
  EXPECT_FALSE(pad->MouseCapture());

  // Timers and posted messages are guarded as well; OnException replaces the message box.
  std::vector<std::string> seen;
  App->OnException = [&](TObject* sender, const std::exception& e) {
    seen.push_back(std::string(e.what()) + (sender ? " from " + static_cast<TComponent*>(sender)->Name() : ""));
  };
  TTimer* t = TComponent::Create<TTimer>(f);
  t->SetName("tmr");
  t->SetInterval(10);
  t->SetOnTimer([&](TObject*) { throw std::runtime_error("tick"); });
  Desk.AdvanceClock(25);
  EXPECT_EQ(seen, (std::vector<std::string>{"tick from tmr", "tick from tmr"}));
  App->OnException = nullptr;

  // The message box hook, when set, shows the error.
  std::string shown;
  App->MessageBoxHook = [&](const std::string& text, const std::string&, unsigned) {
    shown = text;
    return IDOK;
  };
  t->SetEnabled(false);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(shown, "Unable to write to /tmp/x/Vantrel.ini");
  // The help file opens through the platform's help viewer.
  EXPECT_FALSE(App->HelpCommand(HELP_CONTENTS));  // no help file yet
  App->SetHelpFile("/opt/vantrel/Vantrel.hlp");
  Desk.TakeLog();
  EXPECT_TRUE(App->HelpCommand(HELP_CONTENTS));
  EXPECT_TRUE(App->HelpCommand(HELP_COMMAND, "JumpID(\"\",\"About\")"));
  EXPECT_EQ(Desk.TakeLog(), (std::vector<std::string>{"help /opt/vantrel/Vantrel.hlp contents",
                                                       "help /opt/vantrel/Vantrel.hlp JumpID(\"\",\"About\")"}));
  // A scripted answer decides a question box.
  App->MessageBoxHook = nullptr;
  Desk.QueueAnswer(plat::DialogKind::Message, "no");
  EXPECT_EQ(App->MessageBox("Overwrite?", "Save", MB_YESNO), IDNO);
  EXPECT_EQ(App->MessageBox("Overwrite?", "Save", MB_YESNO), IDYES);
}

TEST_F(CoreTest, ShowModalRunsANestedLoopWithTimersAndBlocksOtherForms) {
  TForm* main = ShowForm(Rect::FromXYWH(0, 0, 200, 100), bsNone, "Main");
  int mainClicks = 0, mainKeys = 0;
  main->OnClick = [&](TObject*) { ++mainClicks; };
  main->OnKeyDown = [&](TObject*, int&, TShiftState) { ++mainKeys; };
  int ticks = 0;
  TTimer* t = TComponent::Create<TTimer>(main);
  t->SetInterval(55);
  t->SetOnTimer([&](TObject*) { ++ticks; });

  TForm* dlg = TComponent::Create<TForm>(App.get());
  dlg->SetBorderStyle(bsDialog);
  dlg->SetBoundsRect(Rect::FromXYWH(300, 300, 150, 100));
  TPad* okButton = TComponent::Create<TPad>(dlg);
  okButton->SetParent(dlg);
  okButton->SetBounds(10, 10, 40, 20);
  okButton->OnClick = [&](TObject*) { dlg->SetModalResult(mrOk); };
  int dlgCloses = 0;
  dlg->OnClose = [&](TObject*, TCloseAction&) { ++dlgCloses; };

  // The script the user follows while the dialog is up, one step each time the loop waits.
  int step = 0;
  int ticksInside = 0;
  Desk.SetWaitHandler([&] {
    switch (step++) {
      case 0:
        EXPECT_TRUE(dlg->Visible());
        EXPECT_TRUE(dlg->Modal());
        Desk.AdvanceClock(200);  // the main form's timer keeps ticking
        ticksInside = ticks;
        break;
      case 1:
        Desk.InjectMouseMove(50, 50);  // the main form takes no input meanwhile
        Desk.InjectClick();
        Desk.InjectKey('A');
        break;
      case 2:
        Desk.InjectMouseMove(300 + 3 + 20, 300 + 22 + 15);
        Desk.InjectClick();
        break;
      default:
        return false;
    }
    return true;
  });
  TModalResult r = dlg->ShowModal();
  Desk.SetWaitHandler(nullptr);
  EXPECT_EQ(r, mrOk);
  EXPECT_EQ(step, 3);
  EXPECT_EQ(ticksInside, 3);
  EXPECT_EQ(mainClicks, 0);
  EXPECT_EQ(mainKeys, 0);
  EXPECT_EQ(dlgCloses, 1);
  EXPECT_FALSE(dlg->Visible());
  EXPECT_FALSE(dlg->Modal());
  EXPECT_THROW({ dlg->Show(); dlg->ShowModal(); }, std::logic_error);
  dlg->Hide();

  // After the dialog, the main form takes input again.
  Desk.InjectMouseMove(50, 50);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(mainClicks, 1);

  // Closing a modal form (its close button, Escape handlers...) ends it with mrCancel.
  step = 0;
  Desk.SetWaitHandler([&] {
    if (step++ == 0) dlg->Close();
    return step < 10;
  });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  Desk.SetWaitHandler(nullptr);
}

TEST_F(CoreTest, TimersAndPostedMessages) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 50, 50));
  std::vector<std::string> log;
  TTimer* t = TComponent::Create<TTimer>(f);
  t->SetInterval(100);
  Desk.AdvanceClock(150);
  EXPECT_EQ(Desk.TimerCount(), 0u);  // no handler, no platform timer
  t->SetOnTimer([&](TObject*) { log.push_back("tick " + std::to_string(Desk.NowMs())); });
  Desk.AdvanceClock(250);
  EXPECT_EQ(log, (std::vector<std::string>{"tick 250", "tick 350"}));
  t->SetEnabled(false);
  Desk.AdvanceClock(300);
  EXPECT_EQ(log.size(), 2u);
  t->SetEnabled(true);
  t->SetInterval(0);
  Desk.AdvanceClock(300);
  EXPECT_EQ(log.size(), 2u);
  t->SetInterval(40);
  // A tick that disables its own timer is its last.
  t->SetOnTimer([&](TObject* s) {
    log.push_back("last");
    static_cast<TTimer*>(s)->SetEnabled(false);
  });
  Desk.AdvanceClock(200);
  EXPECT_EQ(log.back(), "last");
  EXPECT_EQ(log.size(), 3u);
  // Destroying the timer stops it.
  t->SetEnabled(true);
  f->DestroyComponent(t);
  EXPECT_EQ(Desk.TimerCount(), 0u);

  // Posted messages arrive in order, later; those for a destroyed control are dropped.
  TForm* g = ShowForm(Rect::FromXYWH(100, 0, 50, 50));
  std::vector<unsigned> got;
  f->SetWindowProc([&](TMessage& m) { if (m.Msg >= WM_USER) got.push_back(m.Msg); });
  PostMessage(f, WM_USER + 1);
  PostMessage(g, WM_USER + 2);
  PostMessage(f, WM_USER + 3);
  App->DestroyComponent(g);
  EXPECT_TRUE(got.empty());
  Settle();
  EXPECT_EQ(got, (std::vector<unsigned>{WM_USER + 1, WM_USER + 3}));
  f->SetWindowProc(nullptr);  // back to the default procedure
  EXPECT_EQ(f->Perform(WM_USER + 5), 0);
}

namespace {

class TWatchedForm : public TForm {
 public:
  TWatchedForm(TComponent* owner, std::vector<std::string>* log) : TForm(owner), FLog(log) {}

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_DESTROY) FLog->push_back("WM_DESTROY");
    if (m.Msg == WM_USER) FLog->push_back("WM_USER");
    TForm::WndProc(m);
  }

 private:
  std::vector<std::string>* FLog;
};

class TNoisy : public TComponent {
 public:
  TNoisy(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), FLog(log) {}
  ~TNoisy() override { FLog->push_back("~" + Name()); }

 private:
  std::vector<std::string>* FLog;
};

}  // namespace

TEST_F(CoreTest, DestroyingAFormRunsOnDestroyThenItsComponentsThenWmDestroy) {
  std::vector<std::string> log;
  auto* f = App->CreateForm<TWatchedForm>(&log);
  f->SetName("frmMain");
  auto* first = TComponent::Create<TNoisy>(f, &log);
  first->SetName("first");
  auto* second = TComponent::Create<TNoisy>(f, &log);
  second->SetName("second");
  // Hooks left in place until the form goes: they restore the procedures themselves.
  std::vector<std::string> hookLog;
  TComponent::Create<THook>(f, f, &hookLog);
  TComponent::Create<THook>(f, App->Handle(), &hookLog);
  f->OnDestroy = [&](TObject*) {
    log.push_back(std::string("OnDestroy, components: ") + std::to_string(f->ComponentCount()));
  };
  f->Show();
  Settle();
  PostMessage(f, WM_USER);
  App->DestroyComponent(f);
  EXPECT_EQ(log, (std::vector<std::string>{"OnDestroy, components: 4", "~second", "~first", "WM_DESTROY"}));
  EXPECT_EQ(App->MainForm(), nullptr);
  EXPECT_EQ(Screen->FormCount(), 0);
  Settle();  // the posted message died with the form
  EXPECT_EQ(log.size(), 4u);
  hookLog.clear();
  App->Minimize();
  App->Restore();
  EXPECT_TRUE(hookLog.empty());
  EXPECT_TRUE(Desk.Windows().empty());
}
