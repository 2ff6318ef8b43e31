#pragma once
// The application object: creates the forms (the first becomes the main form), runs the
// message loop, owns the application window (a hidden windowed control whose WindowProc
// receives WM_SIZE SIZE_MINIMIZED / SIZE_RESTORED and WM_SYSCOMMAND, so a component can chain
// in front of it), minimises and restores the program, knows the help file, and catches any
// exception that escapes an event handler: the default handler shows its message in a message
// box and the program keeps running.
//
// The loop, per step (HandleMessage): one posted message if any; else paint the dirty forms;
// else OnIdle (which may say it is not done), then Platform::ProcessEvents(wait = Done).
// On the virtual desktop ProcessEvents never sleeps, so tests and the scenario runner drive
// nested loops through OnIdle.
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/TComponent.h"
#include "toolkit/core/TWinControl.h"

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

class TApplication : public TComponent {
 public:
  // Needs a current platform (plat::Platform::SetCurrent). Sets the global Application and
  // creates the global Screen; there is one application at a time.
  TApplication();
  ~TApplication() override;

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T, class... A>
  T* CreateForm(A&&... args) {
    T* form = TComponent::Create<T>(this, std::forward<A>(args)...);
    if (!FMainForm) FMainForm = form;
    return form;
  }
  TForm* MainForm() const { return FMainForm; }
  void SetMainForm(TForm* form) { FMainForm = form; }

  // Shows the main form (unless ShowMainForm is false) and runs the loop until the main form
  // closes or Terminate() is called.
  void Run();
  void ProcessMessages();  // handles everything pending, without waiting
  void HandleMessage();    // one step of the loop (waits when there is nothing to do)
  // Delivers the posted messages and paints the dirty forms, without touching the platform's
  // event queue: what the virtual desktop's idle processor should run between events.
  void ProcessIdleWork();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool value) { FShowMainForm = value; }
  bool Running() const { return FRunning; }

  // Posted messages: delivered by the loop to TARGET's WindowProc, in order. Messages for a
  // control that is destroyed meanwhile are dropped.
  void PostMessage(HWND target, unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
  bool HasPostedMessages() const { return !FPosted.empty(); }
  void RemovePostedMessages(const TWinControl* target);

  // Input hooks: see every mouse and key message before it is dispatched (the popup menu's
  // keyboard and mouse watch). A hook answering Handled = true swallows the message.
  TMessageEvent OnMessage;
  int AddMessageHook(TMessageEvent hook);  // returns an id for RemoveMessageHook
  void RemoveMessageHook(int id);
  // Runs the hooks and OnMessage; true when the message was swallowed.
  bool FilterMessage(TMsg& msg);

  // The application window.
  HWND Handle() const { return FHandle.get(); }
  void Minimize();
  void Restore();
  bool Minimized() const { return FMinimized; }
  // Shows or hides the application window itself (it is never drawn; the program has no
  // task-bar entry when it is hidden).
  void ShowAppWindow(bool show) { FAppWindowVisible = show; }
  bool AppWindowVisible() const { return FAppWindowVisible; }

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  const std::string& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const std::string& value) { FHelpFile = value; }
  // Opens the help file: HELP_CONTENTS, HELP_COMMAND (DATA is the macro), HELP_CONTEXT (DATA
  // is the number). False without a help file.
  bool HelpCommand(unsigned command, const std::string& data = {});
  bool HelpContext(int context) { return HelpCommand(HELP_CONTEXT, std::to_string(context)); }

  // Error handling. HandleException is called from the catch blocks around every handler:
  // OnException if assigned, else ShowException.
  TExceptionEvent OnException;
  void HandleException(TObject* sender, const std::exception& e);
  void HandleException(TObject* sender);  // for a non-standard exception
  void ShowException(const std::exception& e);
  // Runs FN and hands any exception escaping it to HandleException.
  void Guard(TObject* sender, const std::function<void()>& fn);

  // Message box: MessageBoxHook when set (the toolkit's message box form), else the journal
  // line "message TEXT" and a scripted answer of the dialog script (or IDOK / IDYES).
  using TMessageBoxHook = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
  TMessageBoxHook MessageBoxHook;
  int MessageBox(const std::string& text, const std::string& caption = {}, unsigned flags = MB_OK);

  TIdleEvent OnIdle;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // Modal forms, innermost last (used by input blocking).
  const std::vector<TForm*>& ModalForms() const { return FModalForms; }

  // What forms tell the application: a modal loop begins or ends, a released form is to be
  // destroyed once the current message is done, a form is going away.
  void ModalBegins(TForm* form) { FModalForms.push_back(form); }
  void ModalEnds(TForm* form);
  void ScheduleRelease(TForm* form) { FReleased.push_back(form); }
  void FormGone(TForm* form);

  // Paints every form with a dirty region; true when anything was painted.
  bool PaintDirtyForms();

 private:
  struct Posted {
    HWND Target;
    TMessage Message;
  };
  struct Hook {
    int Id;
    TMessageEvent Fn;
  };
  void AppWndProc(TMessage& message);
  bool Idle();
  void DoMinimize();
  void DoRestore();
  void DestroyReleasedForms();
  bool DispatchOnePosted();
  void Notification(TComponent* component, TOperation operation) override;

  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FRunning = false;
  bool FShowMainForm = true;
  bool FMinimized = false;
  bool FAppWindowVisible = true;
  bool FInHandleException = false;
  std::string FTitle;
  std::string FHelpFile;
  std::unique_ptr<TWinControl> FHandle;
  std::unique_ptr<TScreen> FScreen;
  std::deque<Posted> FPosted;
  std::vector<Hook> FHooks;
  int FNextHookId = 1;
  std::vector<TForm*> FModalForms;
  std::vector<TForm*> FHiddenByMinimize;
  std::vector<TForm*> FReleased;
};

// The application object; nullptr when none exists.
extern TApplication* Application;

// The classic calls, routed through the toolkit.
void PostMessage(HWND target, unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
std::intptr_t SendMessage(HWND target, unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
