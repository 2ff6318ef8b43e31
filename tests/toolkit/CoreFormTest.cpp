// Forms: creation events, stacking bands, closing, the drawn frame and title-bar dragging.
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "toolkit/core/TGraphicControl.h"
#include "toolkit/core/TTimer.h"

namespace {

class TLoadProbe : public TComponent {
 public:
  explicit TLoadProbe(TComponent* owner) : TComponent(owner) {}
  void Loaded() override { WasLoaded = true; }
  bool WasLoaded = false;
};

// A form as the program writes them: controls built in the constructor, handlers bound there.
class TfrmSample : public TForm {
 public:
  explicit TfrmSample(TComponent* owner, const char* name = "frmSample") : TForm(owner) {
    SetName(name);
    SetBorderStyle(bsDialog);
    SetBounds(40, 30, 200, 120);
    Probe = TComponent::Create<TLoadProbe>(this);
    Probe->SetName("Probe");
    OnCreate = [this](TObject*) { FormCreate(); };
  }
  void FormCreate() { ProbeLoadedAtCreate = Probe->WasLoaded; ++Creates; }
  TLoadProbe* Probe;
  bool ProbeLoadedAtCreate = false;
  int Creates = 0;
};

}  // namespace

TEST_F(CoreTest, FormCreationGeometryAndProperties) {
  TfrmSample* f = App->CreateForm<TfrmSample>();
  EXPECT_EQ(App->MainForm(), f);
  EXPECT_EQ(f->Creates, 1);
  EXPECT_TRUE(f->ProbeLoadedAtCreate);  // components are loaded before OnCreate
  EXPECT_FALSE(f->Visible());           // forms start hidden
  EXPECT_FALSE(f->NativeWindow()->Visible());
  EXPECT_EQ(f->NativeWindow()->Bounds(), Rect::FromXYWH(40, 30, 200, 120));

  // A dialog frame is 3 pixels wide with a 19-pixel caption (bar and line).
  EXPECT_EQ(f->ClientRectInWindow(), (Rect{3, 22, 197, 117}));
  EXPECT_EQ(f->ClientWidth(), 194);
  EXPECT_EQ(f->ClientHeight(), 95);
  f->SetClientWidth(300);
  f->SetClientHeight(100);
  EXPECT_EQ(f->Width(), 306);
  EXPECT_EQ(f->Height(), 125);
  EXPECT_EQ(f->ClientOrigin(), (Point{43, 52}));
  f->SetBorderStyle(bsNone);
  EXPECT_EQ(f->ClientRect(), (Rect{0, 0, 306, 125}));

  // Default look of a form.
  EXPECT_EQ(f->Color(), clBtnFace);
  EXPECT_EQ(f->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(f->Font().Height(), -11);
  EXPECT_EQ(f->Font().Size(), 8);

  f->SetCaption("Vantrel 1.0");
  EXPECT_EQ(WindowOf(f)->Title(), "Vantrel 1.0");
  EXPECT_EQ(f->GetPropText("Caption"), "Vantrel 1.0");
  EXPECT_EQ(f->GetPropText("BorderStyle"), "bsNone");
  EXPECT_EQ(f->GetPropText("FormStyle"), "fsNormal");
  EXPECT_EQ(f->GetPropText("Visible"), "false");
  EXPECT_EQ(f->GetPropText("Width"), "306");
  EXPECT_EQ(f->GetPropText("Color"), "2147483663");
  EXPECT_EQ(f->GetPropText("KeyPreview"), "false");
  EXPECT_EQ(f->GetPropText("Name"), "frmSample");
  EXPECT_EQ(App->FindComponent("frmsample"), f);

  // A second form does not replace the main form; Screen lists both in creation order.
  TfrmSample* g = App->CreateForm<TfrmSample>("frmOther");
  (void)g;
  EXPECT_EQ(App->MainForm(), f);
  ASSERT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(1), g);
}

TEST_F(CoreTest, StayOnTopFormsLiveInTheTopmostBand) {
  TForm* a = ShowForm(Rect::FromXYWH(0, 0, 100, 100), bsNone, "A");
  a->SetColor(clRed);
  TForm* b = ShowForm(Rect::FromXYWH(50, 50, 100, 100), bsNone, "B");
  b->SetColor(clBlue);
  Settle();
  EXPECT_EQ(Pixel(75, 75), gfx::clBlue);  // B was shown last

  a->SetFormStyle(fsStayOnTop);
  Settle();
  EXPECT_TRUE(a->NativeWindow()->TopMost());
  EXPECT_EQ(Pixel(75, 75), gfx::clRed);
  // Activating B does not lift it above the topmost band.
  b->SetFocus();
  Settle();
  EXPECT_EQ(Pixel(75, 75), gfx::clRed);
  EXPECT_EQ(Desk.Windows().front(), WindowOf(a));

  a->SetFormStyle(fsNormal);  // to the top of the normal band
  Settle();
  EXPECT_FALSE(a->NativeWindow()->TopMost());
  EXPECT_EQ(Pixel(75, 75), gfx::clRed);
  b->SetFocus();
  Settle();
  EXPECT_EQ(Pixel(75, 75), gfx::clBlue);

  // Show on a visible form brings it to the front; a band chosen through the native window
  // (SetWindowPos-like) survives hiding and showing.
  a->Show();
  Settle();
  EXPECT_EQ(Pixel(75, 75), gfx::clRed);
  EXPECT_TRUE(a->Active());
  b->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  b->Hide();
  b->Show();
  Settle();
  EXPECT_TRUE(b->NativeWindow()->TopMost());
  EXPECT_EQ(Pixel(75, 75), gfx::clBlue);

  // A form created stay-on-top starts in the band.
  TForm* c = TComponent::Create<TForm>(App.get());
  c->SetFormStyle(fsStayOnTop);
  c->SetBoundsRect(Rect::FromXYWH(0, 0, 10, 10));
  c->Show();
  Settle();
  EXPECT_TRUE(c->NativeWindow()->TopMost());
}

TEST_F(CoreTest, CloseActionsAndTheMainFormEndingRun) {
  TForm* main = TComponent::Create<TForm>(App.get());
  App->SetMainForm(main);
  TForm* other = ShowForm(Rect::FromXYWH(200, 200, 100, 100));
  std::vector<std::string> log;
  TCloseAction next = caHide;
  other->OnClose = [&](TObject*, TCloseAction& a) {
    log.push_back("close");
    a = next;
  };
  other->OnHide = [&](TObject*) { log.push_back("hide"); };
  bool allow = true;
  other->OnCloseQuery = [&](TObject*, bool& can) {
    log.push_back("query");
    can = allow;
  };

  next = caNone;
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = false;
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  next = caHide;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(other->NativeWindow()->Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"query", "close", "query", "query", "close", "hide"}));

  // caFree destroys the form once the message is done.
  other->Show();
  next = caFree;
  bool destroyed = false;
  other->OnDestroy = [&](TObject*) { destroyed = true; };
  other->Close();
  Settle();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 1);

  // Run shows the main form and returns once a close request has closed it.
  bool closed = false;
  main->OnClose = [&](TObject*, TCloseAction& a) {
    closed = true;
    EXPECT_EQ(a, caHide);
  };
  main->SetBoundsRect(Rect::FromXYWH(10, 10, 50, 50));
  int waits = 0;
  Desk.SetWaitHandler([&] {
    ++waits;
    if (waits == 1) {
      EXPECT_TRUE(main->Visible());
      Desk.InjectCloseRequest(WindowOf(main));
    }
    return waits < 100;
  });
  App->Run();
  EXPECT_TRUE(closed);
  EXPECT_TRUE(App->Terminated());
  EXPECT_LT(waits, 5);
}

TEST_F(CoreTest, DialogFrameIsDrawnAndItsTitleBarDragsTheForm) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 150), bsDialog, "Dlg");
  f->SetColor(clWhite);
  Settle();
  ASSERT_TRUE(f->Active());
  const auto rgb = [](TColor c) { return gfx::ColorToRGB(c); };
  // Raised edge: light outside on the top and left, white inside; black and grey opposite.
  EXPECT_EQ(Pixel(100, 100), rgb(cl3DLight));
  EXPECT_EQ(Pixel(101, 101), rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(299, 249), rgb(cl3DDkShadow));
  EXPECT_EQ(Pixel(298, 248), rgb(clBtnShadow));
  EXPECT_EQ(Pixel(102, 150), rgb(clBtnFace));
  // The caption bar (rows 3..20) in the active caption colour, the line under it face
  // coloured, the client area below.
  EXPECT_EQ(Pixel(103, 103), rgb(clActiveCaption));
  EXPECT_EQ(Pixel(250, 120), rgb(clActiveCaption));
  EXPECT_EQ(Pixel(150, 121), rgb(clBtnFace));
  EXPECT_EQ(Pixel(150, 122), gfx::clWhite);
  // The close button at the right end of the bar: a raised face with a black cross.
  Rect close = f->CloseButtonRect().Offset(100, 100);
  EXPECT_EQ(Pixel(close.left + 2, close.top + 2), rgb(clBtnFace));
  int black = 0;
  for (int y = close.top; y < close.bottom; ++y)
    for (int x = close.left + 2; x < close.right - 2; ++x) black += Pixel(x, y) == gfx::clBlack;
  EXPECT_GE(black, 10);

  // Inactive: the bar turns to the inactive caption colour.
  TForm* other = ShowForm(Rect::FromXYWH(600, 600, 50, 50));
  (void)other;
  EXPECT_FALSE(f->Active());
  EXPECT_EQ(Pixel(250, 110), rgb(clInactiveCaption));

  // Dragging the title bar moves the form with the pointer.
  Desk.InjectMouseMove(150, 110);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(180, 130);
  Desk.InjectMouseMove(190, 140);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(f->BoundsRect(), Rect::FromXYWH(140, 130, 200, 150));
  EXPECT_EQ(f->NativeWindow()->Bounds(), Rect::FromXYWH(140, 130, 200, 150));
  EXPECT_TRUE(f->Active());
  EXPECT_EQ(Pixel(140, 130), rgb(cl3DLight));
  EXPECT_EQ(Pixel(250, 140), rgb(clActiveCaption));

  // The close button closes it on release over the button only.
  close = f->CloseButtonRect().Offset(140, 130);
  Desk.InjectMouseMove(close.left + 3, close.top + 3);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(close.left - 20, close.top + 3);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_TRUE(f->Visible());
  Desk.InjectMouseMove(close.left + 3, close.top + 3);
  Desk.InjectClick();
  Settle();
  EXPECT_FALSE(f->Visible());
}

TEST_F(CoreTest, SizeableFrameDragsResizeTheForm) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 150), bsSizeToolWin);
  EXPECT_EQ(f->ClientRectInWindow(), (Rect{4, 20, 196, 146}));
  EXPECT_EQ(f->HitTest({199, 80}), HTRIGHT);
  EXPECT_EQ(f->HitTest({199, 149}), HTBOTTOMRIGHT);
  EXPECT_EQ(f->HitTest({1, 1}), HTTOPLEFT);
  EXPECT_EQ(f->HitTest({50, 10}), HTCAPTION);
  EXPECT_EQ(f->HitTest({50, 50}), HTCLIENT);
  int resizes = 0;
  f->OnResize = [&](TObject*) { ++resizes; };
  Desk.InjectMouseMove(299, 180);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(349, 190);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(f->BoundsRect(), Rect::FromXYWH(100, 100, 250, 150));
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(Desk.Screen().Get(349, 180), gfx::ColorToRGB(cl3DDkShadow));
}

TEST_F(CoreTest, ACaptionPainterChainsInFrontOfTheFormsFramePainting) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 150), bsSizeable, "Dlg");
  // What a gradient caption bar does: paint the title bar itself, let the form paint the
  // rest of the frame with the title left out, track activation and answer the sizing cursor.
  bool active = true;
  int cursorAsks = 0;
  TWndMethod saved = f->WindowProc();
  f->SetWindowProc([&](TMessage& m) {
    switch (m.Msg) {
      case WM_NCPAINT: {
        auto* canvas = reinterpret_cast<TCanvas*>(m.LParam);
        const gfx::Region* region = reinterpret_cast<const gfx::Region*>(m.WParam);
        ASSERT_NE(canvas, nullptr);
        ASSERT_NE(region, nullptr);
        Rect title = f->CaptionRect();
        canvas->SetClipRegion(*region);
        canvas->Brush = gfx::Brush{active ? clLime : clOlive, gfx::BrushStyle::Solid, {}};
        canvas->FillRect(title);
        gfx::Region rest = region->Subtract(gfx::Region(title));
        m.WParam = reinterpret_cast<std::intptr_t>(&rest);
        saved(m);
        return;
      }
      case WM_NCACTIVATE:
        active = m.WParam != 0;
        f->RedrawFrame();
        m.Result = 1;
        return;
      case WM_SETCURSOR:
        if (m.LParam >= HTLEFT && m.LParam <= HTBOTTOMRIGHT) {
          ++cursorAsks;
          plat::CursorLook look;
          look.Standard = plat::StdCursor::Cross;
          f->NativeWindow()->SetCursor(look);
          m.Result = 1;
          return;
        }
        saved(m);
        return;
      default:
        saved(m);
    }
  });
  f->InvalidateFrame();
  Settle();
  const auto rgb = [](TColor c) { return gfx::ColorToRGB(c); };
  EXPECT_EQ(Pixel(150, 110), gfx::clLime);         // the title bar, painted by the hook
  EXPECT_EQ(Pixel(100, 100), rgb(cl3DLight));      // the rest of the frame, by the form
  EXPECT_EQ(Pixel(299, 249), rgb(cl3DDkShadow));
  EXPECT_EQ(Pixel(102, 150), rgb(clActiveBorder));
  // Deactivation reaches the hook, which repaints the bar at once.
  TForm* other = ShowForm(Rect::FromXYWH(600, 600, 50, 50));
  (void)other;
  EXPECT_FALSE(active);
  EXPECT_EQ(Pixel(150, 110), gfx::clOlive);
  // Over a sizing border the hook chooses the cursor.
  Desk.InjectMouseMove(101, 180);
  Settle();
  EXPECT_EQ(cursorAsks, 1);
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::Cross);
  Desk.InjectMouseMove(150, 180);
  Settle();
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::Arrow);
  f->SetWindowProc(saved);
}
