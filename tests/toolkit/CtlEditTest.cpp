// The single-line edit: typing, caret and selection keys, deleting, clipboard keys, limits,
// the mouse and the numeric helpers.
#include "CtlFixture.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"

using namespace plat;

namespace {

class EditTest : public CtlTest {
 protected:
  EditTest() {
    Form = ShowForm(Rect::FromXYWH(100, 100, 300, 100));
    Edit = Add<TEdit>(Form, Rect::FromXYWH(10, 10, 121, 21), "txtValue");
    Other = Add<TEdit>(Form, Rect::FromXYWH(10, 40, 121, 21), "txtOther");
    Edit->OnChange = [this](TObject*) { ++Changes; };
    Edit->SetFocus();
    Settle();
    Changes = 0;
    TCustomEdit::SetClipboardText("");
  }
  void Type(std::string_view text) {
    Desk.InjectText(text);
    Settle();
  }
  void Press(int vk, ShiftState mods = 0) {
    Desk.InjectKey(vk, mods);
    Settle();
  }
  TForm* Form;
  TEdit* Edit;
  TEdit* Other;
  int Changes = 0;
};

}  // namespace

TEST_F(EditTest, TypingMovingAndDeleting) {
  Type("hello world");
  EXPECT_EQ(Edit->Text(), "hello world");
  EXPECT_EQ(Edit->CaretPos(), 11);
  EXPECT_EQ(Changes, 11);
  EXPECT_TRUE(Edit->Modified());

  Press(VK_HOME);
  Press(VK_RIGHT);
  Type("X");
  EXPECT_EQ(Edit->Text(), "hXello world");
  Press(VK_BACK);
  EXPECT_EQ(Edit->Text(), "hello world");
  Press(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "hllo world");
  Press(VK_END);
  Press(VK_DELETE);  // nothing after the caret
  EXPECT_EQ(Edit->Text(), "hllo world");
  Press(VK_BACK, ssCtrl);  // a whole word
  EXPECT_EQ(Edit->Text(), "hllo ");
  Press(VK_LEFT, ssCtrl);
  EXPECT_EQ(Edit->CaretPos(), 0);
  Press(VK_RIGHT, ssCtrl);
  EXPECT_EQ(Edit->CaretPos(), 5);
  // Backspace at the start and keys with Alt change nothing.
  Press(VK_HOME);
  Press(VK_BACK);
  Press(VK_DELETE, ssAlt);
  EXPECT_EQ(Edit->Text(), "hllo ");

  // Characters beyond ASCII arrive whole and are deleted whole.
  Press(VK_END);
  Type("\xC3\xA9t\xC3\xA9");  // "été"
  EXPECT_EQ(Edit->Text(), "hllo \xC3\xA9t\xC3\xA9");
  Press(VK_BACK);
  EXPECT_EQ(Edit->Text(), "hllo \xC3\xA9t");
  Press(VK_LEFT);
  Press(VK_LEFT);
  EXPECT_EQ(Edit->CaretPos(), 5);
}

TEST_F(EditTest, SelectionWithShiftAndTypingOverIt) {
  Type("abcdef");
  Press(VK_LEFT, ssShift);
  Press(VK_LEFT, ssShift);
  EXPECT_EQ(Edit->SelStart(), 4);
  EXPECT_EQ(Edit->SelLength(), 2);
  EXPECT_EQ(Edit->SelText(), "ef");
  EXPECT_EQ(Edit->GetPropText("SelText"), "ef");
  Type("Z");
  EXPECT_EQ(Edit->Text(), "abcdZ");
  Press(VK_HOME, ssShift);
  EXPECT_EQ(Edit->SelLength(), 5);
  // A plain arrow collapses the selection to its end on that side.
  Press(VK_RIGHT);
  EXPECT_EQ(Edit->SelLength(), 0);
  EXPECT_EQ(Edit->CaretPos(), 5);
  Press(VK_HOME);
  Press(VK_END, ssShift);
  Press(VK_BACK);
  EXPECT_EQ(Edit->Text(), "");
  // Ctrl+A selects everything; Delete removes the selection.
  Type("12345");
  Press('A', ssCtrl);
  EXPECT_EQ(Edit->SelLength(), 5);
  Press(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "");
  // Code can set the selection; it stays on character boundaries.
  Edit->SetText("x\xC3\xA9y");
  Edit->SetSelStart(2);  // inside the two-byte character
  EXPECT_EQ(Edit->SelStart(), 1);
  Edit->SetSelLength(1);
  EXPECT_EQ(Edit->SelText(), "\xC3\xA9");
  Edit->SetSelStart(99);
  EXPECT_EQ(Edit->CaretPos(), 4);
}

TEST_F(EditTest, ClipboardKeys) {
  Type("copy me");
  Press(VK_LEFT, ssShift | ssCtrl);  // select "me"
  EXPECT_EQ(Edit->SelText(), "me");
  Press('C', ssCtrl);
  EXPECT_EQ(TCustomEdit::ClipboardText(), "me");
  EXPECT_EQ(Edit->Text(), "copy me");  // the control character from Ctrl+C types nothing
  Press('X', ssCtrl);
  EXPECT_EQ(Edit->Text(), "copy ");
  Press('V', ssCtrl);
  Press('V', ssCtrl);
  EXPECT_EQ(Edit->Text(), "copy meme");
  Press(VK_HOME);
  Press(VK_INSERT, ssShift);
  EXPECT_EQ(Edit->Text(), "mecopy meme");
  Press(VK_END, ssShift);
  Press(VK_INSERT, ssCtrl);
  EXPECT_EQ(TCustomEdit::ClipboardText(), "copy meme");
  Press(VK_DELETE, ssShift);  // cut
  EXPECT_EQ(Edit->Text(), "me");
  // Pasting keeps only the first line.
  TCustomEdit::SetClipboardText("one\r\ntwo");
  Press('V', ssCtrl);
  EXPECT_EQ(Edit->Text(), "meone");
  // Another edit shares the clipboard.
  Other->SetFocus();
  Press('V', ssCtrl);
  EXPECT_EQ(Other->Text(), "one");
}

TEST_F(EditTest, LimitsReadOnlyAndDialogKeys) {
  Edit->SetMaxLength(4);
  Type("123456");
  EXPECT_EQ(Edit->Text(), "1234");
  TCustomEdit::SetClipboardText("99");
  Press(VK_HOME);
  Press(VK_RIGHT, ssShift);
  Press('V', ssCtrl);  // replaces one character with room for one more
  EXPECT_EQ(Edit->Text(), "9234");
  // MaxLength counts bytes and never cuts a character in half.
  Edit->SetText("ab");
  Press(VK_END);
  Type("\xC3\xA9\xC3\xA9");
  EXPECT_EQ(Edit->Text(), "ab\xC3\xA9");

  Edit->SetReadOnly(true);
  Type("z");
  Press(VK_BACK);
  Press('X', ssCtrl);
  EXPECT_EQ(Edit->Text(), "ab\xC3\xA9");
  Press('A', ssCtrl);
  Press('C', ssCtrl);  // copying still works
  EXPECT_EQ(TCustomEdit::ClipboardText(), "ab\xC3\xA9");
  EXPECT_EQ(Edit->GetPropText("ReadOnly"), "true");

  // Enter is no text: it reaches the form's default button.
  auto* ok = Add<TButton>(Form, Rect::FromXYWH(150, 10, 75, 25), "btnOK");
  ok->SetDefault(true);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  Edit->SetReadOnly(false);
  Press(VK_RETURN);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Edit->Text(), "ab\xC3\xA9");
  // Tab moves on and selects the whole text of the next field.
  Other->SetText("next");
  Press(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Other->SelLength(), 4);
}

TEST_F(EditTest, NumbersAndChangeEvents) {
  Edit->SetText(" 42 ");
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Edit->CaretPos(), 0);
  EXPECT_EQ(Edit->AsInteger(-1), 42);
  Edit->SetText("+7");
  EXPECT_EQ(Edit->AsInteger(-1), 7);
  for (const char* bad : {"", "4x", "x4", "1e3", "99999999999", "-", "12 3"}) {
    Edit->SetText(bad);
    EXPECT_EQ(Edit->AsInteger(-1), -1) << bad;
  }
  Edit->SetText("-2.5");
  EXPECT_EQ(Edit->AsFloat(0), -2.5);
  EXPECT_EQ(Edit->AsInteger(3), 3);
  Edit->SetAsInteger(-31);
  EXPECT_EQ(Edit->Text(), "-31");
  Edit->SetAsFloat(0.1);
  EXPECT_EQ(Edit->Text(), "0.1");
  // A handler that writes the text back does not recurse.
  int calls = 0;
  Edit->OnChange = [&](TObject*) {
    ++calls;
    Edit->SetText("fixed");
  };
  Edit->SetText("typed");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Edit->Text(), "fixed");
}

TEST_F(EditTest, MouseCaretSelectionAndPainting) {
  Edit->SetText("abcdefghij");
  Settle();
  // Text starts 3 pixels in (2-pixel sunken edge, 1-pixel margin); 6 pixels a character.
  const int textLeft = 100 + 10 + 3;
  ClickAt(textLeft + 6 * 4 + 1, 115);
  Settle();
  EXPECT_EQ(Edit->CaretPos(), 4);
  EXPECT_EQ(Edit->SelLength(), 0);
  ClickAt(textLeft + 6 * 7 - 2, 115);  // nearer the boundary after 'g'
  Settle();
  EXPECT_EQ(Edit->CaretPos(), 7);
  // Dragging selects.
  Desk.InjectMouseMove(textLeft + 1, 115);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(textLeft + 6 * 3, 115);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_EQ(Edit->SelLength(), 3);
  // The selection is drawn in the highlight colour, the rest on the window colour.
  EXPECT_EQ(Pixel(textLeft + 1, 113), 0x800000u);
  EXPECT_EQ(Pixel(textLeft + 6 * 5, 124), 0xFFFFFFu);
  // The sunken edge.
  EXPECT_EQ(Pixel(110, 110), 0x808080u);
  EXPECT_EQ(Pixel(111, 111), 0x000000u);
  EXPECT_EQ(Pixel(230, 130), 0xFFFFFFu);
  // A double click selects the word under the pointer.
  Edit->SetText("one two three");
  Desk.InjectMouseMove(textLeft + 6 * 5, 115);
  Desk.InjectDoubleClick();
  Settle();
  EXPECT_EQ(Edit->SelText(), "two");
  // Long text scrolls to keep the caret in view.
  Edit->SetText(std::string(40, 'w'));
  Press(VK_END);
  EXPECT_GE(Edit->XFromPos(40), Edit->TextRect().left);
  EXPECT_LT(Edit->XFromPos(40), Edit->TextRect().right);
  Press(VK_HOME);
  EXPECT_EQ(Edit->XFromPos(0), Edit->TextRect().left);
}

TEST_F(EditTest, UndoAndAlignment) {
  Type("ab");
  Press(VK_BACK);
  EXPECT_EQ(Edit->Text(), "a");
  EXPECT_TRUE(Edit->CanUndo());
  Press('Z', ssCtrl);
  EXPECT_EQ(Edit->Text(), "ab");
  EXPECT_EQ(Edit->CaretPos(), 2);
  Press('Z', ssCtrl);  // undoing again redoes
  EXPECT_EQ(Edit->Text(), "a");
  Press(VK_BACK, ssAlt);
  EXPECT_EQ(Edit->Text(), "ab");
  Edit->SetText("new");  // text from code cannot be undone
  EXPECT_FALSE(Edit->CanUndo());
  Press('Z', ssCtrl);
  EXPECT_EQ(Edit->Text(), "new");

  // Right-justified text ends at the right of the field while it fits; centred sits mid-way.
  const Rect tr = Edit->TextRect();
  Edit->SetAlignment(taRightJustify);
  EXPECT_EQ(Edit->XFromPos(3), tr.right - 1);
  EXPECT_EQ(Edit->XFromPos(0), tr.right - 1 - 18);
  Edit->SetAlignment(taCenter);
  EXPECT_EQ(Edit->XFromPos(0), tr.left + (tr.Width() - 1 - 18) / 2);
  EXPECT_EQ(Edit->PosFromX(Edit->XFromPos(2)), 2);
  Edit->SetText(std::string(40, 'w'));  // too long: scrolls as left-justified text
  EXPECT_EQ(Edit->XFromPos(0), tr.left);
  EXPECT_EQ(Edit->GetPropText("Alignment"), "taCenter");
}
