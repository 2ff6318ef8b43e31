#include "toolkit/controls/TCustomEdit.h"

#include "graphics/Utf8.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "graphics/Bitmap.h"
#include "graphics/CanvasStateSaver.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || std::isalnum(u) || c == '_';
}


std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  return s;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetControlStyle(ControlStyle() & ~csSetCaption);
}

void TCustomEdit::SetText(const std::string& value) {
  FCanUndo = false;
  FCaret = FAnchor = 0;
  FScroll = 0;
  TCustomControl::SetText(value);
  Invalidate();
  Change();
}

void TCustomEdit::SetMaxLength(int value) { FMaxLength = std::max(0, value); }

void TCustomEdit::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  value = value == bsNone ? bsNone : bsSingle;
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TCustomEdit::Undo() {
  if (!FCanUndo || FReadOnly) return;
  std::string redo = Text();
  const int redoCaret = FCaret;
  TCustomControl::SetText(FUndoText);
  FUndoText = std::move(redo);
  FCaret = FAnchor = std::clamp(FUndoCaret, 0, int(Text().size()));
  FUndoCaret = redoCaret;
  FModified = true;
  ScrollToCaret();
  Invalidate();
  Change();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  Invalidate();
}

int TCustomEdit::SelStart() const { return std::min(FCaret, FAnchor); }
int TCustomEdit::SelLength() const { return std::abs(FCaret - FAnchor); }

void TCustomEdit::SetSelStart(int value) {
  const int len = int(Text().size());
  value = std::clamp(value, 0, len);
  while (value > 0 && value < len && IsContinuation(Text()[value])) --value;
  MoveCaret(value, false);
}

void TCustomEdit::SetSelLength(int value) {
  const int start = SelStart();
  int end = std::clamp(start + std::max(0, value), 0, int(Text().size()));
  while (end < int(Text().size()) && end > start && IsContinuation(Text()[end])) ++end;
  FAnchor = start;
  MoveCaret(end, true);
}

std::string TCustomEdit::SelText() const { return Text().substr(SelStart(), SelLength()); }

void TCustomEdit::SetSelText(const std::string& value) {
  ReplaceRange(SelStart(), SelStart() + SelLength(), value);
}

void TCustomEdit::SelectAll() {
  FAnchor = 0;
  MoveCaret(int(Text().size()), true);
}

void TCustomEdit::ClearSelection() {
  if (SelLength() == 0) return;
  ReplaceRange(SelStart(), SelStart() + SelLength(), "");
}

std::string TCustomEdit::ClipboardText() {
  if (!plat::Platform::HasCurrent()) return {};
  return plat::Platform::Current().ClipboardText().value_or("");
}

void TCustomEdit::SetClipboardText(const std::string& text) {
  if (plat::Platform::HasCurrent()) plat::Platform::Current().SetClipboardText(text);
}

void TCustomEdit::CopyToClipboard() {
  if (SelLength() > 0) SetClipboardText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (FReadOnly || SelLength() == 0) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (FReadOnly || !plat::Platform::HasCurrent()) return;
  const std::optional<std::string> text = plat::Platform::Current().ClipboardText();
  if (!text) return;  // a picture or nothing: the field stays as it is
  // A single-line field keeps the first line of what is pasted.
  TypeText(text->substr(0, text->find_first_of("\r\n")));
}

int TCustomEdit::AsInteger(int fallback) const {
  const std::string_view s = Trim(Text());
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return fallback;
  return value;
}

void TCustomEdit::SetAsInteger(int value) { SetText(std::to_string(value)); }

double TCustomEdit::AsFloat(double fallback) const {
  const std::string_view s = Trim(Text());
  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return fallback;
  return value;
}

void TCustomEdit::SetAsFloat(double value) { SetText(PropText::Double(value)); }

int TCustomEdit::PrevPos(int pos) const {
  const std::string& t = Text();
  if (pos <= 0) return 0;
  --pos;
  while (pos > 0 && IsContinuation(t[pos])) --pos;
  return pos;
}

int TCustomEdit::NextPos(int pos) const {
  const std::string& t = Text();
  const int len = int(t.size());
  if (pos >= len) return len;
  ++pos;
  while (pos < len && IsContinuation(t[pos])) ++pos;
  return pos;
}

// Ctrl+Left: to the start of the word at or before the caret.
int TCustomEdit::WordLeft(int pos) const {
  const std::string& t = Text();
  while (pos > 0 && !IsWordChar(t[pos - 1])) --pos;
  while (pos > 0 && IsWordChar(t[pos - 1])) --pos;
  return pos;
}

// Ctrl+Right: past the word and the blanks after it.
int TCustomEdit::WordRight(int pos) const {
  const std::string& t = Text();
  const int len = int(t.size());
  while (pos < len && IsWordChar(t[pos])) ++pos;
  while (pos < len && !IsWordChar(t[pos])) ++pos;
  return pos;
}

int TCustomEdit::TextWidthOf(std::string_view s) {
  if (s.empty()) return 0;
  gfx::Bitmap scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.SelectFont(Font().Data());
  return canvas.TextWidth(s);
}

// Right-justified or centred text is moved in while it fits.
int TCustomEdit::AlignOffset() {
  if (FAlignment == taLeftJustify) return 0;
  const int room = TextRect().Width() - 1 - TextWidthOf(Text());
  if (room <= 0) return 0;
  return FAlignment == taRightJustify ? room : room / 2;
}

int TCustomEdit::BorderInset() const { return FBorderStyle == bsSingle ? 2 : 0; }

Rect TCustomEdit::TextRect() const {
  const int b = BorderInset();
  return Rect{b + 1, b + 1, Width() - b - 1, Height() - b - 1};
}

int TCustomEdit::XFromPos(int pos) {
  pos = std::clamp(pos, 0, int(Text().size()));
  return TextRect().left + AlignOffset() - FScroll + TextWidthOf(std::string_view(Text()).substr(0, pos));
}

int TCustomEdit::PosFromX(int x) {
  const std::string& t = Text();
  const int target = x - TextRect().left - AlignOffset() + FScroll;
  int prev = 0;
  int prevWidth = 0;
  for (int pos = NextPos(0); pos > prev; prev = pos, pos = NextPos(pos)) {
    const int w = TextWidthOf(std::string_view(t).substr(0, pos));
    if (w >= target) return (target - prevWidth) < (w - target) ? prev : pos;
    prevWidth = w;
    if (pos == int(t.size())) return pos;
  }
  return prev;
}

void TCustomEdit::ScrollToCaret() {
  // A caret at the start always shows the text from its start: nothing to measure.
  if (FCaret == 0) {
    FScroll = 0;
    return;
  }
  const Rect tr = TextRect();
  const int visible = std::max(1, tr.Width());
  const int caretX = TextWidthOf(std::string_view(Text()).substr(0, FCaret));
  const int total = TextWidthOf(Text());
  if (caretX - FScroll > visible - 1) FScroll = caretX - visible + 1;
  if (caretX < FScroll) FScroll = std::max(0, caretX - visible / 4);
  // Never leave blank room at the right while text is scrolled out at the left.
  if (total - FScroll < visible - 1) FScroll = std::max(0, total - visible + 1);
}

void TCustomEdit::MoveCaret(int pos, bool extend) {
  FCaret = std::clamp(pos, 0, int(Text().size()));
  if (!extend) FAnchor = FCaret;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::ReplaceRange(int from, int to, const std::string& insert) {
  const std::string& t = Text();
  from = std::clamp(from, 0, int(t.size()));
  to = std::clamp(to, from, int(t.size()));
  std::string piece = insert;
  if (FMaxLength > 0) {
    const int room = FMaxLength - (int(t.size()) - (to - from));
    if (room <= 0) {
      piece.clear();
    } else if (int(piece.size()) > room) {
      int cut = room;
      while (cut > 0 && IsContinuation(piece[cut])) --cut;
      piece.resize(cut);
    }
  }
  if (piece.empty() && from == to) return;
  std::string next = t.substr(0, from) + piece + t.substr(to);
  FUndoText = t;
  FUndoCaret = FCaret;
  FCanUndo = true;
  TCustomControl::SetText(next);
  FCaret = FAnchor = from + int(piece.size());
  FModified = true;
  ScrollToCaret();
  Invalidate();
  Change();
}

void TCustomEdit::TypeText(const std::string& text) {
  if (FReadOnly) return;
  ReplaceRange(SelStart(), SelStart() + SelLength(), text);
}

void TCustomEdit::Change() {
  // A handler that writes the text again must not recurse without end.
  if (FChanging) return;
  FChanging = true;
  try {
    if (OnChange) OnChange(this);
  } catch (...) {
    FChanging = false;
    throw;
  }
  FChanging = false;
}

bool TCustomEdit::WantsKey(int key) const {
  switch (key) {
    case plat::VK_LEFT:
    case plat::VK_RIGHT:
    case plat::VK_UP:
    case plat::VK_DOWN:
    case plat::VK_HOME:
    case plat::VK_END:
    case plat::VK_DELETE:
    case plat::VK_BACK:
      return true;
    default:
      return false;
  }
}

void TCustomEdit::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool sh = (shift & ssShift) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  const bool alt = (shift & ssAlt) != 0;
  if (alt) {
    if (key == plat::VK_BACK && !ctrl && !sh) Undo();
    return;
  }
  switch (key) {
    case plat::VK_LEFT:
      if (!sh && SelLength() > 0 && !ctrl) MoveCaret(SelStart(), false);
      else MoveCaret(ctrl ? WordLeft(FCaret) : PrevPos(FCaret), sh);
      break;
    case plat::VK_RIGHT:
      if (!sh && SelLength() > 0 && !ctrl) MoveCaret(SelStart() + SelLength(), false);
      else MoveCaret(ctrl ? WordRight(FCaret) : NextPos(FCaret), sh);
      break;
    case plat::VK_HOME:
      MoveCaret(0, sh);
      break;
    case plat::VK_END:
      MoveCaret(int(Text().size()), sh);
      break;
    case plat::VK_DELETE:
      if (sh) {
        CutToClipboard();
      } else if (!FReadOnly) {
        if (SelLength() > 0) ClearSelection();
        else ReplaceRange(FCaret, NextPos(FCaret), "");
      }
      break;
    case plat::VK_BACK:
      if (!FReadOnly) {
        if (SelLength() > 0) ClearSelection();
        else if (FCaret > 0) ReplaceRange(ctrl ? WordLeft(FCaret) : PrevPos(FCaret), FCaret, "");
      }
      break;
    case 'Z':
      if (ctrl && !sh) Undo();
      break;
    case plat::VK_INSERT:
      if (ctrl && !sh) CopyToClipboard();
      else if (sh && !ctrl) PasteFromClipboard();
      break;
    case 'A':
      if (ctrl && !sh) SelectAll();
      break;
    case 'C':
      if (ctrl && !sh) CopyToClipboard();
      break;
    case 'X':
      if (ctrl && !sh) CutToClipboard();
      break;
    case 'V':
      if (ctrl && !sh) PasteFromClipboard();
      break;
    default:
      break;
  }
}

void TCustomEdit::KeyPress(char& key) {
  TCustomControl::KeyPress(key);
  const auto u = static_cast<unsigned char>(key);
  // Control characters (Backspace, Ctrl+letters, Enter, Escape, Tab) are keys, not text.
  if (u < 0x20 || u == 0x7F) return;
  TypeText(std::string(1, key));
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  // The second press of a double click keeps the word DblClick selected.
  if (button != mbLeft || (shift & ssDouble)) return;
  if (CanFocus() && !Focused()) SetFocus();
  MoveCaret(PosFromX(x), (shift & ssShift) != 0);
  FSelecting = true;
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FSelecting) MoveCaret(PosFromX(x), true);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) FSelecting = false;
}

void TCustomEdit::DblClick() {
  TCustomControl::DblClick();
  // A double click selects the word under the caret.
  const std::string& t = Text();
  int from = FCaret;
  int to = FCaret;
  while (from > 0 && IsWordChar(t[from - 1])) --from;
  while (to < int(t.size()) && IsWordChar(t[to])) ++to;
  FSelecting = false;
  FAnchor = from;
  MoveCaret(to, true);
}

void TCustomEdit::DoEnter() {
  TCustomControl::DoEnter();
  // Tabbing into the field selects it all; a click places the caret instead.
  if (FAutoSelect && !(ControlState() & csLButtonDown)) SelectAll();
  Invalidate();
}

void TCustomEdit::DoExit() {
  TCustomControl::DoExit();
  FSelecting = false;
  Invalidate();
}

void TCustomEdit::WndProc(TMessage& message) {
  if (message.Msg == WM_CHAR && message.WParam >= 0x80) {
    // Characters beyond ASCII do not fit KeyPress's char; they are typed as UTF-8.
    if (!FReadOnly && Enabled()) TypeText(gfx::EncodeUtf8(char32_t(message.WParam)));
    return;
  }
  TCustomControl::WndProc(message);
  switch (message.Msg) {
    case CM_FONTCHANGED:
      ScrollToCaret();
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:  // also when the form is activated again: caret and selection return
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
}

void TCustomEdit::PaintBorder(TCanvas& canvas, Rect& r) {
  if (FBorderStyle == bsSingle) canvas.DrawEdge(r, gfx::EDGE_SUNKEN, gfx::BF_RECT | gfx::BF_ADJUST);
}

void TCustomEdit::Paint() {
  TCanvas& canvas = Canvas();
  Rect r = ClientRect();
  PaintBorder(canvas, r);
  canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
  canvas.FillRect(r);

  const Rect tr = TextRect();
  const gfx::CanvasStateSaver saved(canvas);
  canvas.IntersectClipRect(tr);
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  if (!Enabled()) canvas.TextColor = clGrayText;
  const std::string& t = Text();
  const int x0 = tr.left + AlignOffset() - FScroll;
  canvas.TextOut(x0, tr.top, t);
  const int lineHeight = canvas.GetTextMetrics().Height;

  const bool focused = Focused();
  if (SelLength() > 0 && (focused || !FHideSelection)) {
    const int sx = XFromPos(SelStart());
    const int ex = XFromPos(SelStart() + SelLength());
    canvas.Brush.Color = clHighlight;
    canvas.FillRect(Rect{sx, tr.top, ex, tr.top + lineHeight});
    canvas.TextColor = clHighlightText;
    canvas.TextOut(sx, tr.top, std::string_view(t).substr(SelStart(), SelLength()));
  }
  if (focused && Enabled()) {
    const int cx = XFromPos(FCaret);
    canvas.Pen = gfx::Pen{clWindowText, 1, gfx::PenStyle::Solid};
    canvas.MoveTo(cx, tr.top);
    canvas.LineTo(cx, tr.top + lineHeight);
  }
}

std::optional<std::string> TCustomEdit::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "MaxLength")) return PropText::Int(FMaxLength);
  if (PropText::Is(name, "ReadOnly")) return PropText::Bool(FReadOnly);
  if (PropText::Is(name, "AutoSelect")) return PropText::Bool(FAutoSelect);
  if (PropText::Is(name, "HideSelection")) return PropText::Bool(FHideSelection);
  if (PropText::Is(name, "BorderStyle")) return PropText::BorderStyle(FBorderStyle);
  if (PropText::Is(name, "SelStart")) return PropText::Int(SelStart());
  if (PropText::Is(name, "SelLength")) return PropText::Int(SelLength());
  if (PropText::Is(name, "SelText")) return SelText();
  if (PropText::Is(name, "Modified")) return PropText::Bool(FModified);
  if (PropText::Is(name, "Alignment")) return PropText::Alignment(FAlignment);
  return TCustomControl::GetPropText(name);
}
