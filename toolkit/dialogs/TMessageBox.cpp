#include "toolkit/dialogs/TMessageBox.h"

#include <algorithm>

#include "graphics/Bitmap.h"
#include "platform/DialogScript.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/core/TScreen.h"

namespace {

struct ButtonChoice {
  const char* Caption;
  int Result;
};

std::vector<ButtonChoice> ButtonsFor(unsigned kind) {
  switch (kind) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO: return {{"&Yes", IDYES}, {"&No", IDNO}};
    case MB_RETRYCANCEL: return {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    default: return {{"OK", IDOK}};
  }
}

std::optional<int> ParseAnswer(const std::string& answer) {
  if (answer == "ok") return IDOK;
  if (answer == "cancel") return IDCANCEL;
  if (answer == "yes") return IDYES;
  if (answer == "no") return IDNO;
  if (answer == "abort") return IDABORT;
  if (answer == "retry") return IDRETRY;
  if (answer == "ignore") return IDIGNORE;
  return std::nullopt;
}

// The journal has one line per entry, so line breaks of the text become blanks there.
std::string OneLine(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

// What closing the box with its close button means: Cancel where there is one.
int CloseAnswer(unsigned kind) {
  switch (kind) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
  }
}

}  // namespace

TMessageBox::TMessageBox(TComponent* AOwner) : TForm(AOwner) {
  SetName("MessageBox");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  FText = TComponent::Create<TLabel>(this);
  FText->SetParent(this);
  FText->SetName("lblText");
}

TButton* TMessageBox::Buttons(int index) const {
  return index >= 0 && index < int(FButtons.size()) ? FButtons[index] : nullptr;
}

void TMessageBox::Setup(const std::string& text, const std::string& caption, unsigned flags) {
  FKind = flags & 0xF;
  SetCaption(caption);
  // The text wraps at half the width of the monitor it shows on, as the classic box does.
  const int maxWidth = std::max(200, (Screen ? TScreen::MainFormMonitor().Bounds.Width() : 1024) / 2);
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(FText->Font().Data());
  Rect measure{0, 0, maxWidth, 0};
  const std::string shown = text.empty() ? std::string(" ") : text;
  canvas.DrawText(shown, measure, gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
  FText->SetAutoSize(false);
  FText->SetShowAccelChar(false);
  FText->SetWordWrap(true);
  FText->SetCaption(text);
  FText->SetBounds(kMargin, kMargin + 4, measure.Width(), measure.Height());

  for (TButton* b : FButtons) DestroyComponent(b);
  FButtons.clear();
  const std::vector<ButtonChoice> buttons = ButtonsFor(FKind);
  const int rowWidth = int(buttons.size()) * kButtonWidth + (int(buttons.size()) - 1) * kButtonGap;
  const int clientWidth = std::max(measure.Width(), rowWidth) + 2 * kMargin;
  const int buttonsTop = FText->Top() + measure.Height() + kMargin + 4;
  SetClientWidth(std::max(clientWidth, 160));
  SetClientHeight(buttonsTop + kButtonHeight + kMargin);
  int x = (ClientWidth() - rowWidth) / 2;
  const int cancel = CloseAnswer(FKind);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    TButton* b = TComponent::Create<TButton>(this);
    b->SetParent(this);
    b->SetCaption(buttons[i].Caption);
    b->SetModalResult(buttons[i].Result);
    b->SetBounds(x, buttonsTop, kButtonWidth, kButtonHeight);
    b->SetDefault(i == 0);
    b->SetCancel(buttons[i].Result == cancel);
    x += kButtonWidth + kButtonGap;
    FButtons.push_back(b);
  }
  SetActiveControl(FButtons.front());
}

int TMessageBox::Execute(const std::string& text, const std::string& caption, unsigned flags) {
  const unsigned kind = flags & 0xF;
  if (auto* script = plat::DialogScript::Current()) {
    script->Journal("message " + OneLine(text));
    if (auto answer = script->TakeScriptedAnswer(plat::DialogKind::Message)) {
      if (auto id = ParseAnswer(*answer)) return *id;
      // An answer the box does not know counts as closing it.
      return CloseAnswer(kind);
    }
  }
  if (!Application) return CloseAnswer(kind);
  auto box = TComponent::Make<TMessageBox>(nullptr);
  box->Setup(text, caption.empty() ? Application->Title() : caption, flags);
  const TModalResult result = box->ShowModal();
  // The close button ends the loop with mrCancel; boxes without Cancel read it their way.
  if (result == mrCancel && kind != MB_OKCANCEL && kind != MB_YESNOCANCEL && kind != MB_RETRYCANCEL)
    return CloseAnswer(kind);
  return result == mrNone ? CloseAnswer(kind) : result;
}

void TMessageBox::Install(TApplication& app) {
  app.MessageBoxHook = [](const std::string& text, const std::string& caption, unsigned flags) {
    return TMessageBox::Execute(text, caption, flags);
  };
}

int MessageDlg(const std::string& text, unsigned flags) {
  if (Application) return Application->MessageBox(text, Application->Title(), flags);
  return TMessageBox::Execute(text, {}, flags);
}
