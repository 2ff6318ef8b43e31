#include "toolkit/core/TApplication.h"

#include <algorithm>
#include <stdexcept>

#include "platform/DialogScript.h"
#include "platform/Platform.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"

TApplication* Application = nullptr;

namespace {
// Bounds the work of one ProcessMessages call, so a message that keeps re-posting itself
// cannot hang the caller.
constexpr int kMaxProcessRounds = 10000;
}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
  if (Application) throw std::logic_error("there is already an application object");
  if (!plat::Platform::HasCurrent()) throw std::logic_error("the application needs a platform (plat::Platform::SetCurrent)");
  Application = this;
  FScreen = std::make_unique<TScreen>();
  Screen = FScreen.get();
  FHandle = std::make_unique<TWinControl>(nullptr);
  FHandle->SetWindowProc([this](TMessage& m) { AppWndProc(m); });
}

TApplication::~TApplication() {
  BeforeDestruction();  // the forms go while the application is whole
  FHandle.reset();
  FPosted.clear();
  Screen = nullptr;
  FScreen.reset();
  Application = nullptr;
}

void TApplication::Run() {
  FRunning = true;
  struct Done {
    bool& Flag;
    ~Done() { Flag = false; }
  } done{FRunning};
  if (FMainForm && FShowMainForm && !FTerminated) Guard(FMainForm, [&] { FMainForm->Show(); });
  while (!FTerminated) HandleMessage();
}

void TApplication::HandleMessage() {
  DestroyReleasedForms();
  if (DispatchOnePosted()) return;
  if (PaintDirtyForms()) return;
  bool idleDone = Idle();
  if (FTerminated) return;
  if (!plat::Platform::Current().ProcessEvents(idleDone)) Terminate();
}

void TApplication::ProcessMessages() {
  for (int round = 0; round < kMaxProcessRounds; ++round) {
    DestroyReleasedForms();
    bool any = false;
    while (DispatchOnePosted()) any = true;
    if (PaintDirtyForms()) any = true;
    if (!plat::Platform::Current().ProcessEvents(false)) {
      Terminate();
      return;
    }
    if (!any && FPosted.empty() && FReleased.empty()) {
      bool dirty = false;
      if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
          TForm* f = Screen->Forms(i);
          if (f->Visible() && f->NativeWindow() && f->NativeWindow()->Visible() && f->NeedsPaint()) dirty = true;
        }
      if (!dirty) return;
    }
  }
}

void TApplication::ProcessIdleWork() {
  for (int round = 0; round < kMaxProcessRounds; ++round) {
    DestroyReleasedForms();
    bool any = false;
    while (DispatchOnePosted()) any = true;
    if (PaintDirtyForms()) any = true;
    if (!any && FPosted.empty() && FReleased.empty()) return;
  }
}

bool TApplication::DispatchOnePosted() {
  if (FPosted.empty()) return false;
  Posted p = FPosted.front();
  FPosted.pop_front();
  TWinControl* target = p.Target;
  Guard(target, [&] {
    TWndMethod proc = target->WindowProc();
    proc(p.Message);
  });
  return true;
}

bool TApplication::Idle() {
  bool done = true;
  if (OnIdle) Guard(this, [&] { OnIdle(this, done); });
  return done;
}

void TApplication::PostMessage(HWND target, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  if (!target) return;
  FPosted.push_back(Posted{target, TMessage{msg, wParam, lParam, 0}});
}

void TApplication::RemovePostedMessages(const TWinControl* target) {
  FPosted.erase(std::remove_if(FPosted.begin(), FPosted.end(), [&](const Posted& p) { return p.Target == target; }),
                FPosted.end());
}

int TApplication::AddMessageHook(TMessageEvent hook) {
  const int id = FNextHookId++;
  FHooks.push_back(Hook{id, std::move(hook)});
  return id;
}

void TApplication::RemoveMessageHook(int id) {
  FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [id](const Hook& h) { return h.Id == id; }), FHooks.end());
}

bool TApplication::FilterMessage(TMsg& msg) {
  bool handled = false;
  // Newest hook first (the innermost popup watches before the outer ones); a hook may remove
  // itself while it runs.
  std::vector<Hook> hooks = FHooks;
  for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it) {
    auto still = std::find_if(FHooks.begin(), FHooks.end(), [&](const Hook& h) { return h.Id == it->Id; });
    if (still == FHooks.end()) continue;
    TMessageEvent fn = it->Fn;
    fn(msg, handled);
  }
  if (!handled && OnMessage) OnMessage(msg, handled);
  return handled;
}

void TApplication::AppWndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SYSCOMMAND:
      switch (unsigned(message.WParam) & 0xFFF0u) {
        case SC_MINIMIZE: DoMinimize(); break;
        case SC_RESTORE: DoRestore(); break;
        case SC_CLOSE:
          if (FMainForm) FMainForm->Close();
          break;
        default: break;
      }
      return;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    default:
      return;
  }
}

void TApplication::Minimize() {
  if (FMinimized) return;
  FHandle->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TApplication::Restore() {
  if (!FMinimized) return;
  FHandle->Perform(WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TApplication::DoMinimize() {
  if (FMinimized) return;
  FMinimized = true;
  // Minimising the application takes its forms off the screen; their Visible stays.
  FHiddenByMinimize.clear();
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TForm* f = Screen->Forms(i);
      if (f->NativeWindow() && f->NativeWindow()->Visible()) {
        f->NativeHide();
        FHiddenByMinimize.push_back(f);
      }
    }
  FHandle->Perform(WM_SIZE, SIZE_MINIMIZED, 0);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::DoRestore() {
  if (!FMinimized) return;
  FMinimized = false;
  FAppWindowVisible = true;
  std::vector<TForm*> forms = std::move(FHiddenByMinimize);
  FHiddenByMinimize.clear();
  for (TForm* f : forms)
    if (Screen && Screen->IndexOf(f) >= 0 && f->Visible() && f->NativeWindow() && !f->NativeWindow()->Visible())
      f->NativeShow();
  FHandle->Perform(WM_SIZE, SIZE_RESTORED, 0);
  if (OnRestore) OnRestore(this);
}

bool TApplication::HelpCommand(unsigned command, const std::string& data) {
  if (FHelpFile.empty()) return false;
  std::string text;
  switch (command) {
    case HELP_CONTENTS: text = "contents"; break;
    case HELP_COMMAND: text = data; break;
    case HELP_CONTEXT: text = "context " + data; break;
    case HELP_QUIT: text = "quit"; break;
    default: text = std::to_string(command) + (data.empty() ? "" : " " + data); break;
  }
  plat::Platform::Current().ShowHelp(FHelpFile, text);
  return true;
}

void TApplication::HandleException(TObject* sender, const std::exception& e) {
  if (FInHandleException) {
    // An error while showing an error: record it and give up on it rather than recursing.
    if (auto* script = plat::DialogScript::Current()) script->Journal(std::string("message ") + e.what());
    return;
  }
  FInHandleException = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FInHandleException};
  try {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  } catch (const std::exception& inner) {
    if (auto* script = plat::DialogScript::Current()) script->Journal(std::string("message ") + inner.what());
  } catch (...) {
  }
}

void TApplication::HandleException(TObject* sender) {
  std::runtime_error unknown("An unknown error occurred");
  HandleException(sender, unknown);
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  MessageBox(text, FTitle, MB_OK | MB_ICONERROR);
}

void TApplication::Guard(TObject* sender, const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    HandleException(sender, e);
  } catch (...) {
    HandleException(sender);
  }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  const unsigned kind = flags & 0xF;
  auto* script = plat::DialogScript::Current();
  if (script) script->Journal("message " + text);
  if (auto answer = script ? script->TakeScriptedAnswer(plat::DialogKind::Message) : std::nullopt) {
    if (*answer == "ok") return IDOK;
    if (*answer == "cancel") return IDCANCEL;
    if (*answer == "yes") return IDYES;
    if (*answer == "no") return IDNO;
    if (*answer == "abort") return IDABORT;
    if (*answer == "retry") return IDRETRY;
    if (*answer == "ignore") return IDIGNORE;
  }
  if (kind == MB_YESNO || kind == MB_YESNOCANCEL) return IDYES;
  if (kind == MB_ABORTRETRYIGNORE) return IDABORT;
  if (kind == MB_RETRYCANCEL) return IDRETRY;
  return IDOK;
}

bool TApplication::PaintDirtyForms() {
  if (!Screen) return false;
  bool any = false;
  std::vector<TForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
  for (TForm* f : forms) {
    if (Screen->IndexOf(f) < 0) continue;
    if (!f->Visible() || !f->NativeWindow() || !f->NativeWindow()->Visible() || !f->NeedsPaint()) continue;
    Guard(f, [&] { f->PaintNow(); });
    any = true;
  }
  return any;
}

void TApplication::DestroyReleasedForms() {
  while (!FReleased.empty()) {
    TForm* f = FReleased.back();
    FReleased.pop_back();
    if (f->Owner() == this) DestroyComponent(f);
    else if (f->Owner()) f->Owner()->DestroyComponent(f);
  }
}

void TApplication::ModalEnds(TForm* form) {
  FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), form), FModalForms.end());
}

void TApplication::FormGone(TForm* form) {
  if (FMainForm == form) FMainForm = nullptr;
  FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), form), FModalForms.end());
  FHiddenByMinimize.erase(std::remove(FHiddenByMinimize.begin(), FHiddenByMinimize.end(), form), FHiddenByMinimize.end());
  FReleased.erase(std::remove(FReleased.begin(), FReleased.end(), form), FReleased.end());
  RemovePostedMessages(form);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

void PostMessage(HWND target, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  if (Application) Application->PostMessage(target, msg, wParam, lParam);
}

std::intptr_t SendMessage(HWND target, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  return target ? target->Perform(msg, wParam, lParam) : 0;
}
