#include "toolkit/dialogs/TInputDialog.h"

#include <algorithm>

#include "platform/DialogScript.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/dialogs/RunDialog.h"

TInputDialog::TInputDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TInputDialog::Execute() {
  if (auto* script = plat::DialogScript::Current()) {
    script->Journal("input " + FPrompt + " " + FText);
    if (auto answer = script->TakeScriptedAnswer(plat::DialogKind::Input)) {
      if (*answer == "cancel") return false;
      FText = *answer;
      return true;
    }
  }
  if (!Application) return false;

  auto form = TComponent::Make<TForm>(nullptr);
  form->SetName("dlgInput");
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetCaption(FTitle.empty() ? Application->Title() : FTitle);
  form->SetColor(clBtnFace);

  auto* lblPrompt = TComponent::Create<TLabel>(form.get());
  lblPrompt->SetName("lblPrompt");
  lblPrompt->SetParent(form.get());
  lblPrompt->SetShowAccelChar(false);
  lblPrompt->SetCaption(FPrompt);
  lblPrompt->SetLeft(8);
  lblPrompt->SetTop(10);
  // Wide enough for the prompt, and never narrower than the two buttons need.
  const int width = std::max(260, lblPrompt->Width() + 16);
  form->SetClientWidth(width);
  form->SetClientHeight(96);

  auto* edtText = TComponent::Create<TEdit>(form.get());
  edtText->SetName("edtText");
  edtText->SetParent(form.get());
  edtText->SetBounds(8, 28, width - 16, 21);
  edtText->SetText(FText);

  auto button = [&](const char* name, const char* caption, int left, TModalResult result) {
    auto* b = TComponent::Create<TButton>(form.get());
    b->SetName(name);
    b->SetParent(form.get());
    b->SetCaption(caption);
    b->SetBounds(left, 62, 75, 25);
    b->SetModalResult(result);
    return b;
  };
  TButton* btnOK = button("btnOK", "OK", width - 8 - 75 - 6 - 75, mrOk);
  btnOK->SetDefault(true);
  TButton* btnCancel = button("btnCancel", "Cancel", width - 8 - 75, mrCancel);
  btnCancel->SetCancel(true);

  form->SetActiveControl(edtText);
  edtText->SelectAll();
  if (RunDialog(*form, FForm) != mrOk) return false;
  FText = edtText->Text();
  return true;
}
