#include "widgets/TPlusEdit.h"

#include <cctype>

#include "platform/Platform.h"

TPlusEdit::TPlusEdit(TComponent* AOwner) : TFlatEdit(AOwner) {}

void TPlusEdit::SetMouseBehaviour(TBehaviour value) {
  if (value == FMouseBehaviour) return;
  FMouseBehaviour = value;
  RedrawBorder();
}

void TPlusEdit::SetEditorEnabled(bool value) {
  if (value == FEditorEnabled) return;
  FEditorEnabled = value;
  SetCursor(value ? crIBeam : crArrow);
}

bool TPlusEdit::Admits(TKeyboardFilter filter, char key) {
  const auto u = static_cast<unsigned char>(key);
  const bool control = u < 0x20 && key != '\r';
  switch (filter) {
    case kfNumeric:
      return control || key == '+' || key == '-' || key == '.' || std::isdigit(u);
    case kfAlphabetic:
      return control || std::isalpha(u) || key == ' ';
    case kfNone:
    case kfAll:
    default:
      return true;
  }
}

bool TPlusEdit::Hot() const {
  if (FMouseBehaviour == mbEasyStyle && !(ComponentState() & csDesigning)) return Focused() || MouseInControl();
  return TFlatEdit::Hot();
}

void TPlusEdit::KeyPress(char& key) {
  if (!Admits(FKeyboardFilter, key)) {
    key = 0;
    if (plat::Platform::HasCurrent()) plat::Platform::Current().Beep();
    return;
  }
  TFlatEdit::KeyPress(key);
}
