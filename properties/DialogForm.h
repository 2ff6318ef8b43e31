#pragma once
// The frame both property dialogs share: a fixed dialog border with only a close box, centred
// on the screen at each opening, in the classic dialog font and face colour.
#include <string>

#include "toolkit/core/TForm.h"

inline void MakeDialogForm(TForm& form, const char* name, const std::string& caption, int clientWidth,
                           int clientHeight) {
  form.SetName(name);
  form.SetBorderStyle(bsDialog);
  form.SetBorderIcons(biSystemMenu);
  form.SetCaption(caption);
  form.SetPosition(poScreenCenter);
  gfx::Font font;
  font.Name = "MS Sans Serif";
  font.SetSize(8);
  form.Font().SetData(font);
  form.SetColor(clBtnFace);
  form.SetClientWidth(clientWidth);
  form.SetClientHeight(clientHeight);
}
