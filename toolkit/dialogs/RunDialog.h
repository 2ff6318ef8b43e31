#pragma once
// Runs a dialog's form modally while a pointer to it is published in SLOT (the dialog's Form(),
// through which tests and scripts reach its controls), and clears SLOT however it ends.
#include "toolkit/core/TForm.h"

inline TModalResult RunDialog(TForm& form, TForm*& slot) {
  struct Clear {
    TForm*& Slot;
    ~Clear() { Slot = nullptr; }
  } clear{slot};
  slot = &form;
  return form.ShowModal();
}
