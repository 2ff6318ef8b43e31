// The message box, the save-file dialog and the colour chooser: scripted answers, the forms
// themselves driven by input, and the default error handler's message box.
#include <filesystem>
#include <fstream>

#include "CtlFixture.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/dialogs/TColorDialog.h"
#include "toolkit/dialogs/TInputDialog.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/controls/TGroupBox.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TListBox.h"
#include "toolkit/dialogs/TMessageBox.h"
#include "toolkit/dialogs/TSaveDialog.h"
#include "toolkit/controls/TShape.h"

namespace fs = std::filesystem;
using namespace plat;

namespace {

class DialogTest : public CtlTest {
 protected:
  DialogTest() {
    Main = ShowForm(Rect::FromXYWH(0, 0, 100, 50), bsNone, "frmMain");
    TMessageBox::Install(*App);
    Dir = fs::temp_directory_path() / ("vt-ctl-dialogs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir / "sub");
    std::ofstream(Dir / "old.bmp") << "x";
    std::ofstream(Dir / "notes.txt") << "x";
  }
  ~DialogTest() override {
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }
  // Clicks the middle of CONTROL (on screen).
  void ClickOn(TControl* c) {
    const Point o = c->ClientOrigin();
    ClickAt(o.x + c->Width() / 2, o.y + c->Height() / 2);
  }
  template <class T>
  T* Find(TForm* f, const char* name) {
    return dynamic_cast<T*>(f->FindComponent(name));
  }
  TForm* Main;
  fs::path Dir;
};

}  // namespace

TEST_F(DialogTest, MessageBoxScriptedAnswersAndJournal) {
  Desk.TakeLog();
  Desk.QueueAnswer(DialogKind::Message, "no");
  EXPECT_EQ(App->MessageBox("Replace it?", "Save", MB_YESNO), IDNO);
  Desk.QueueAnswer(DialogKind::Message, "cancel");
  EXPECT_EQ(MessageDlg("Go on?", MB_OKCANCEL), IDCANCEL);
  Desk.QueueAnswer(DialogKind::Message, "yes");
  EXPECT_EQ(TMessageBox::Execute("Sure?", "", MB_YESNOCANCEL), IDYES);
  Desk.QueueAnswer(DialogKind::Message, "whatever");
  EXPECT_EQ(TMessageBox::Execute("Odd", "", MB_YESNO), IDNO);  // read as closing the box
  EXPECT_EQ(Desk.TakeLog(), (std::vector<std::string>{"message Replace it?", "message Go on?", "message Sure?",
                                                       "message Odd"}));
  EXPECT_EQ(StepsExhausted, 0);
}

TEST_F(DialogTest, MessageBoxFormLayoutAndButtons) {
  TMessageBox* shown = nullptr;
  Then([&] {
    shown = dynamic_cast<TMessageBox*>(Screen->ActiveForm());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Caption(), "Question");
    EXPECT_EQ(shown->BorderStyle(), bsDialog);
    ASSERT_EQ(shown->ButtonCount(), 3);
    EXPECT_EQ(shown->Buttons(0)->Caption(), "&Yes");
    EXPECT_EQ(shown->Buttons(2)->Caption(), "Cancel");
    EXPECT_TRUE(shown->Buttons(0)->Focused());
    EXPECT_EQ(shown->TextLabel()->Caption(), "Save changes & quit?");
    // The buttons sit in a centred row under the text.
    const int row = shown->Buttons(2)->Left() + shown->Buttons(2)->Width() - shown->Buttons(0)->Left();
    EXPECT_EQ(row, 3 * TMessageBox::kButtonWidth + 2 * TMessageBox::kButtonGap);
    EXPECT_NEAR(shown->Buttons(0)->Left(), shown->ClientWidth() - (shown->Buttons(2)->Left() + 75), 1);
    EXPECT_GT(shown->Buttons(0)->Top(), shown->TextLabel()->Top() + shown->TextLabel()->Height());
    // It is centred on the screen.
    EXPECT_NEAR(shown->Left() + shown->Width() / 2, 512, 1);
    ClickOn(shown->Buttons(1));
  });
  EXPECT_EQ(TMessageBox::Execute("Save changes & quit?", "Question", MB_YESNOCANCEL), IDNO);
  // Escape answers Cancel; Enter the focused first button.
  Then([&] { Key(VK_ESCAPE); });
  EXPECT_EQ(TMessageBox::Execute("Go?", "Q", MB_OKCANCEL), IDCANCEL);
  Then([&] { Key(VK_RETURN); });
  EXPECT_EQ(TMessageBox::Execute("Go?", "Q", MB_OKCANCEL), IDOK);
  // A plain box closed by its close button answers OK; a yes/no box answers No.
  Then([&] { Desk.InjectCloseRequest(static_cast<VirtualWindow*>(Screen->ActiveForm()->NativeWindow())); });
  EXPECT_EQ(TMessageBox::Execute("Note", "Q", MB_OK), IDOK);
  Then([&] { Desk.InjectCloseRequest(static_cast<VirtualWindow*>(Screen->ActiveForm()->NativeWindow())); });
  EXPECT_EQ(TMessageBox::Execute("Note", "Q", MB_YESNO), IDNO);
  // Long text wraps within half the screen.
  Then([&] {
    auto* box = dynamic_cast<TMessageBox*>(Screen->ActiveForm());
    ASSERT_NE(box, nullptr);
    EXPECT_LE(box->TextLabel()->Width(), 512);
    EXPECT_GE(box->TextLabel()->Height(), 20);
    Key(VK_RETURN);
  });
  std::string words;
  for (int i = 0; i < 60; ++i) words += "word ";
  EXPECT_EQ(TMessageBox::Execute(words, "Q", MB_OK), IDOK);
  EXPECT_EQ(StepsExhausted, 0);
}

TEST_F(DialogTest, DefaultErrorHandlerShowsTheMessageBox) {
  Desk.TakeLog();
  auto* b = Add<TButton>(Main, Rect::FromXYWH(0, 0, 50, 20), "btnFail");
  b->OnClick = [](TObject*) { throw std::runtime_error("Unable to write to /x/Vantrel.ini"); };
  Desk.QueueAnswer(DialogKind::Message, "ok");
  ClickAt(10, 10);
  Settle();
  EXPECT_EQ(Desk.TakeLog(), (std::vector<std::string>{"message Unable to write to /x/Vantrel.ini"}));
  EXPECT_TRUE(Main->Visible());
}

TEST_F(DialogTest, SaveDialogScriptedAnswersAndOverwriteQuestion) {
  auto* dlg = TComponent::Create<TSaveDialog>(Main);
  dlg->SetDefaultExt("bmp");
  dlg->SetFilter("Bitmap files (*.bmp)|*.bmp|All files|*.*");
  dlg->SetInitialDir(Dir.string());
  dlg->SetOptions(dlg->Options() | ofOverwritePrompt);

  Desk.QueueAnswer(DialogKind::SaveFile, "cancel");
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), "");
  // A new name gets the default extension; relative names are in the initial folder.
  Desk.QueueAnswer(DialogKind::SaveFile, "picture");
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (Dir / "picture.bmp").string());
  Desk.QueueAnswer(DialogKind::SaveFile, (Dir / "x.png").string());
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (Dir / "x.png").string());
  // An existing file asks first: "no" abandons, "yes" goes on.
  Desk.TakeLog();
  Desk.QueueAnswer(DialogKind::SaveFile, "old");
  Desk.QueueAnswer(DialogKind::Message, "no");
  EXPECT_FALSE(dlg->Execute());
  Desk.QueueAnswer(DialogKind::SaveFile, "old.bmp");
  Desk.QueueAnswer(DialogKind::Message, "yes");
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (Dir / "old.bmp").string());
  const auto log = Desk.TakeLog();
  ASSERT_EQ(log.size(), 2u);
  // The question's two lines make one journal line.
  EXPECT_EQ(log[0], "message " + (Dir / "old.bmp").string() + " already exists. Do you want to replace it?");
  // Without the option there is no question.
  dlg->SetOptions(0);
  Desk.QueueAnswer(DialogKind::SaveFile, "old");
  EXPECT_TRUE(dlg->Execute());
  EXPECT_TRUE(Desk.TakeLog().empty());
  EXPECT_EQ(dlg->GetPropText("DefaultExt"), "bmp");
}

TEST_F(DialogTest, SaveDialogFiltersAndMasks) {
  const auto f = TSaveDialog::ParseFilter("Bitmap files (*.bmp)|*.bmp;*.DIB|All files|*.*|Dangling");
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].second, "*.bmp;*.DIB");
  EXPECT_EQ(f[1].first, "All files");
  EXPECT_EQ(f[2].second, "*");
  EXPECT_TRUE(TSaveDialog::ParseFilter("").empty());
  EXPECT_TRUE(TSaveDialog::MatchesMask("Photo.BMP", "*.bmp"));
  EXPECT_TRUE(TSaveDialog::MatchesMask("a.dib", "*.bmp;*.dib"));
  EXPECT_FALSE(TSaveDialog::MatchesMask("a.bmpx", "*.bmp"));
  EXPECT_TRUE(TSaveDialog::MatchesMask("README", "*.*"));
  EXPECT_TRUE(TSaveDialog::MatchesMask("ab1.txt", "a?1*"));
  EXPECT_FALSE(TSaveDialog::MatchesMask("anything", ""));
  TSaveDialog d(nullptr);
  d.SetDefaultExt(".bmp");
  EXPECT_EQ(d.DefaultExt(), "bmp");
  EXPECT_EQ(d.CompletePath("/a/b", "c"), "/a/b/c.bmp");
  EXPECT_EQ(d.CompletePath("/a/b", "../c.txt"), "/a/c.txt");
  EXPECT_EQ(d.CompletePath("/a/b", "/x/y"), "/x/y.bmp");
}

TEST_F(DialogTest, SaveDialogFormListsNavigatesAndSaves) {
  auto* dlg = TComponent::Create<TSaveDialog>(Main);
  dlg->SetDefaultExt("bmp");
  dlg->SetFilter("Bitmap files (*.bmp)|*.bmp|All files|*.*");
  dlg->SetInitialDir(Dir.string());
  dlg->SetOptions(ofOverwritePrompt);
  Then([&] {
    TForm* f = dlg->Form();
    ASSERT_NE(f, nullptr);
    auto* files = Find<TListBox>(f, "lstFiles");
    ASSERT_NE(files, nullptr);
    // Folders first, then what the filter lets through.
    EXPECT_EQ(files->Items(), (std::vector<std::string>{"[sub]", "old.bmp"}));
    EXPECT_TRUE(Find<TEdit>(f, "edtFileName")->Focused());
    // The second filter shows every file.
    Find<TListBox>(f, "lstFilter")->SetFocus();
    Key(VK_DOWN);
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TListBox>(f, "lstFiles")->Items(), (std::vector<std::string>{"[sub]", "notes.txt", "old.bmp"}));
    // Into the sub-folder by typing its name, and back up with the button.
    Find<TEdit>(f, "edtFileName")->SetFocus();
    Desk.InjectText("sub");
    Key(VK_RETURN);
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TLabel>(f, "lblFolder")->Caption(), (Dir / "sub").string());
    EXPECT_TRUE(Find<TListBox>(f, "lstFiles")->Items().empty());
    ClickOn(Find<TButton>(f, "btnUp"));
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TLabel>(f, "lblFolder")->Caption(), Dir.string());
    // Picking a file puts its name in the field; Save on an existing file asks first.
    auto* files = Find<TListBox>(f, "lstFiles");
    files->SetFocus();
    Key(VK_END);
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TEdit>(f, "edtFileName")->Text(), "old.bmp");
    Desk.QueueAnswer(DialogKind::Message, "no");
    ClickOn(Find<TButton>(f, "btnSave"));
  });
  Then([&] {
    TForm* f = dlg->Form();
    ASSERT_NE(f, nullptr);  // still open after "no"
    auto* name = Find<TEdit>(f, "edtFileName");
    name->SetFocus();
    name->SelectAll();
    Desk.InjectText("fresh");
    Key(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (Dir / "fresh.bmp").string());
  EXPECT_EQ(dlg->FilterIndex(), 2);
  EXPECT_EQ(dlg->Form(), nullptr);
  EXPECT_EQ(StepsExhausted, 0);

  // Cancel leaves the file name alone; so does a name in a folder that does not exist.
  Then([&] {
    TForm* f = dlg->Form();
    auto* name = Find<TEdit>(f, "edtFileName");
    name->SetFocus();
    name->SelectAll();
    Desk.QueueAnswer(DialogKind::Message, "ok");
    Desk.InjectText("nowhere/x");
    Key(VK_RETURN);
  });
  Then([&] { Key(VK_ESCAPE); });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (Dir / "fresh.bmp").string());
  EXPECT_EQ(StepsExhausted, 0);
}

TEST_F(DialogTest, ColorDialogScriptedAnswers) {
  auto* dlg = TComponent::Create<TColorDialog>(Main);
  dlg->SetColor(0x80FFFF);
  Desk.QueueAnswer(DialogKind::Color, "cancel");
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), 0x80FFFFu);
  Desk.QueueAnswer(DialogKind::Color, "0x0000FF");
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), 0x0000FFu);
  EXPECT_EQ(dlg->GetPropText("Color"), "255");
  Desk.QueueAnswer(DialogKind::Color, "0xGG");
  EXPECT_THROW(dlg->Execute(), std::invalid_argument);
  EXPECT_EQ(dlg->Color(), 0x0000FFu);
  EXPECT_EQ(TColorDialog::ParseColor("$FF"), 255u);
  EXPECT_EQ(TColorDialog::ParseColor("16777215"), 0xFFFFFFu);
  EXPECT_EQ(TColorDialog::ParseColor("0x1000000"), std::nullopt);
  EXPECT_EQ(TColorDialog::ParseColor("-1"), std::nullopt);
  EXPECT_EQ(TColorDialog::ParseColor(""), std::nullopt);
  // The grid: 48 colours, pure red among them, black and white at the bottom row.
  const auto& basic = TColorDialog::BasicColors();
  EXPECT_NE(std::find(basic.begin(), basic.end(), gfx::RGB(255, 0, 0)), basic.end());
  EXPECT_EQ(basic[40], 0x000000u);
  EXPECT_EQ(basic[47], 0xFFFFFFu);
}

TEST_F(DialogTest, ColorDialogFormGridAndCustomColour) {
  auto* dlg = TComponent::Create<TColorDialog>(Main);
  dlg->SetOptions(cdFullOpen | cdAnyColor);
  dlg->SetColor(0x80FFFF);
  Then([&] {
    TForm* f = dlg->Form();
    ASSERT_NE(f, nullptr);
    // The start colour is in the fields and the preview.
    EXPECT_EQ(Find<TEdit>(f, "edtRed")->Text(), "255");
    EXPECT_EQ(Find<TEdit>(f, "edtGreen")->Text(), "255");
    EXPECT_EQ(Find<TEdit>(f, "edtBlue")->Text(), "128");
    auto* preview = Find<TShape>(f, "shpPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Brush().Color, 0x80FFFFu);
    // Its swatch shows the colour on screen.
    auto* cell = Find<TShape>(f, "shpColor9");
    const Point o = cell->ClientOrigin();
    EXPECT_EQ(Pixel(o.x + 5, o.y + 5), TColorDialog::BasicColors()[9]);
    // A click on a swatch takes its colour.
    ClickOn(Find<TShape>(f, "shpColor8"));
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TEdit>(f, "edtRed")->Text(), "255");
    EXPECT_EQ(Find<TEdit>(f, "edtGreen")->Text(), "0");
    EXPECT_TRUE(Find<TShape>(f, "shpMarker")->Visible());
    // Typing a value changes the custom colour; out-of-range values are held to 255.
    auto* green = Find<TEdit>(f, "edtGreen");
    green->SetFocus();
    green->SelectAll();
    Desk.InjectText("300");
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_EQ(Find<TShape>(f, "shpPreview")->Brush().Color, 0x00FFFFu);
    // Yellow is a basic colour (row 2, column 2): the marker moved there.
    EXPECT_TRUE(Find<TShape>(f, "shpMarker")->Visible());
    EXPECT_EQ(Find<TShape>(f, "shpMarker")->Left(), TColorDialog::kGridLeft + TColorDialog::kCellWidth);
    EXPECT_EQ(Find<TShape>(f, "shpMarker")->Top(), TColorDialog::kGridTop + TColorDialog::kCellHeight);
    Key(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), 0x00FFFFu);
  // Cancelling keeps the colour.
  Then([&] {
    ClickOn(Find<TShape>(dlg->Form(), "shpColor40"));
    Key(VK_ESCAPE);
  });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), 0x00FFFFu);
  // Without cdFullOpen the custom colour fields open with "Define Custom Colors >>", and
  // take an exact colour.
  dlg->SetOptions(0);
  int narrow = 0;
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_FALSE(Find<TGroupBox>(f, "grpCustom")->Visible());
    narrow = f->ClientWidth();
    ClickOn(Find<TButton>(f, "btnDefine"));
  });
  Then([&] {
    TForm* f = dlg->Form();
    EXPECT_TRUE(Find<TGroupBox>(f, "grpCustom")->Visible());
    EXPECT_EQ(f->ClientWidth(), narrow + 176);
    EXPECT_FALSE(Find<TButton>(f, "btnDefine")->Enabled());
    EXPECT_TRUE(Find<TEdit>(f, "edtRed")->Focused());
    Find<TEdit>(f, "edtRed")->SetText("12");
    Find<TEdit>(f, "edtGreen")->SetText("34");
    Find<TEdit>(f, "edtBlue")->SetText("56");
    Key(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), gfx::RGB(12, 34, 56));
  // cdPreventFullOpen: basic colours only.
  dlg->SetOptions(cdPreventFullOpen);
  Then([&] {
    EXPECT_EQ(dlg->Form()->FindComponent("edtRed"), nullptr);
    EXPECT_EQ(dlg->Form()->FindComponent("btnDefine"), nullptr);
    ClickOn(Find<TShape>(dlg->Form(), "shpColor40"));
    Key(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), 0x000000u);
  EXPECT_EQ(StepsExhausted, 0);
}

// Its scripted answers are tested through the program's calibration.
TEST_F(DialogTest, InputDialogFormTypedIntoConfirmedAndCancelled) {
  auto* dlg = TComponent::Create<TInputDialog>(Main);
  dlg->SetPrompt("Length:");
  // The offered text is selected, so typing replaces it; Enter is OK, Escape Cancel.
  dlg->SetText("12.5");
  Then([&] {
    TForm* f = dlg->Form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Find<TLabel>(f, "lblPrompt")->Caption(), "Length:");
    EXPECT_TRUE(Find<TEdit>(f, "edtText")->Focused());
    Desk.InjectText("85,6");
    Key(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Text(), "85,6");
  Then([&] {
    Desk.InjectText("9");
    Key(VK_ESCAPE);
  });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->Text(), "85,6");
  EXPECT_EQ(dlg->Form(), nullptr);
  EXPECT_EQ(StepsExhausted, 0);
}
