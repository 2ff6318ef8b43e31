#pragma once
// A flat edit with text alignment, a keyboard filter and a choice of hover behaviour.
#include "toolbarkit/TFlatEdit.h"

enum TKeyboardFilter { kfNone, kfNumeric, kfAlphabetic, kfAll };
enum TBehaviour { mbFlatStyle, mbEasyStyle };

class TPlusEdit : public TFlatEdit {
 public:
  explicit TPlusEdit(TComponent* AOwner);

  static const char* Version() { return "1.0"; }

  TKeyboardFilter KeyboardFilter() const { return FKeyboardFilter; }
  void SetKeyboardFilter(TKeyboardFilter value) { FKeyboardFilter = value; }
  // mbFlatStyle: the hover look only while the focus is not in another flat edit;
  // mbEasyStyle: always.
  TBehaviour MouseBehaviour() const { return FMouseBehaviour; }
  void SetMouseBehaviour(TBehaviour value);
  // Off: the field shows the arrow cursor (the text is still kept and shown).
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool value);

  // Whether FILTER lets the typed character KEY through.
  static bool Admits(TKeyboardFilter filter, char key);

  bool Hot() const override;

 protected:
  void KeyPress(char& key) override;

 private:
  TKeyboardFilter FKeyboardFilter = kfNone;
  TBehaviour FMouseBehaviour = mbFlatStyle;
  bool FEditorEnabled = true;
};
