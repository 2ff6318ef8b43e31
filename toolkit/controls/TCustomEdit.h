#pragma once
// A single-line text field: caret, selection (shift with the arrows, Home and End, or the
// mouse), Backspace and Delete, the clipboard keys (Ctrl+C / Ctrl+X / Ctrl+V, Ctrl+Insert,
// Shift+Insert, Shift+Delete), Ctrl+A, MaxLength, ReadOnly and OnChange. Text is UTF-8; the
// caret and the selection count bytes and always sit between whole characters.
//
// Cut, copy and paste go through the desktop's text clipboard (the platform's), so text
// moves between these fields and other programs both ways.
#include <string>

#include "toolkit/core/TCustomControl.h"

class TCustomEdit : public TCustomControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);

  // The text; setting it from code puts the caret at the start and raises OnChange (MaxLength
  // limits typing only, as in the classic edit).
  void SetText(const std::string& value) override;

  int MaxLength() const { return FMaxLength; }  // bytes; 0: no limit
  void SetMaxLength(int value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);  // bsSingle (sunken 3D edge) or bsNone
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  // Where text that fits is placed in the field; longer text scrolls from the left.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }

  // Selection: SelStart is where it begins, SelLength how long it is; the caret is at one of
  // its ends (where the last extension went).
  int SelStart() const;
  void SetSelStart(int value);  // collapses the selection there
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  void SetSelText(const std::string& value);  // replaces the selection (ignores ReadOnly)
  int CaretPos() const { return FCaret; }
  void SelectAll();
  void ClearSelection();  // deletes the selected text
  // One level of undo (Ctrl+Z, Alt+Backspace): the text before the last edit; undoing again
  // redoes it.
  bool CanUndo() const { return FCanUndo; }
  void Undo();

  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // The desktop's clipboard text ("" when it holds none), and putting TEXT there.
  static std::string ClipboardText();
  static void SetClipboardText(const std::string& text);

  // Numbers: the text read as a (trimmed) decimal integer or floating value, or FALLBACK
  // when it is not one; the setters write the plain decimal text.
  int AsInteger(int fallback) const;
  void SetAsInteger(int value);
  double AsFloat(double fallback) const;
  void SetAsFloat(double value);

  // The byte position nearest to X (client pixels), and the client x of byte position POS.
  int PosFromX(int x);
  int XFromPos(int pos);
  // The rectangle the text is drawn in (client pixels).
  virtual Rect TextRect() const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  // Draws the border and shrinks R to what is inside it; the base draws the sunken edge.
  virtual void PaintBorder(TCanvas& canvas, Rect& r);
  // Pixels the border takes on each side.
  virtual int BorderInset() const;
  virtual void Change();
  void WndProc(TMessage& message) override;
  void KeyDown(int& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  bool WantsKey(int key) const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;

 private:
  // Replaces [from, to) with INSERT, clipped to MaxLength; the caret ends after the insert.
  void ReplaceRange(int from, int to, const std::string& insert);
  void TypeText(const std::string& text);
  void MoveCaret(int pos, bool extend);
  void ScrollToCaret();
  int PrevPos(int pos) const;
  int NextPos(int pos) const;
  int WordLeft(int pos) const;
  int WordRight(int pos) const;
  int TextWidthOf(std::string_view s);
  int AlignOffset();

  int FMaxLength = 0;
  bool FReadOnly = false;
  TBorderStyle FBorderStyle = bsSingle;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FModified = false;
  int FCaret = 0;   // byte position of the caret
  int FAnchor = 0;  // the other end of the selection
  int FScroll = 0;  // pixels of text scrolled out at the left
  bool FSelecting = false;
  bool FChanging = false;
  TAlignment FAlignment = taLeftJustify;
  bool FCanUndo = false;
  std::string FUndoText;
  int FUndoCaret = 0;
};
