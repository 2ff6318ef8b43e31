#include "tools/scenario/DemoProgram.h"

#include <fstream>

#include "toolkit/core/TApplication.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/core/TForm.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/core/TTimer.h"

namespace scenario {

namespace {

class TfrmDemo : public TForm {
 public:
  explicit TfrmDemo(TComponent* owner) : TForm(owner) {
    SetName("frmDemo");
    SetBorderStyle(bsDialog);
    SetCaption("Demo");
    SetBounds(40, 30, 240, 120);
    btnCount = TComponent::Create<TButton>(this);
    btnCount->SetName("btnCount");
    btnCount->SetParent(this);
    btnCount->SetBounds(10, 10, 90, 25);
    btnCount->SetCaption("Count");
    btnCount->OnClick = [this](TObject*) {
      ++FClicks;
      lblTicks->SetCaption(std::to_string(FTicks) + " ticks, " + std::to_string(FClicks) + " clicks");
      if (FClicks == 3) throw std::runtime_error("three is too many");
    };
    lblTicks = TComponent::Create<TLabel>(this);
    lblTicks->SetName("lblTicks");
    lblTicks->SetParent(this);
    lblTicks->SetBounds(10, 50, 200, 14);
    lblTicks->SetCaption("0 ticks");
    tmrTick = TComponent::Create<TTimer>(this);
    tmrTick->SetName("tmrTick");
    tmrTick->SetInterval(100);
    tmrTick->SetOnTimer([this](TObject*) {
      ++FTicks;
      lblTicks->SetCaption(std::to_string(FTicks) + " ticks");
    });
    OnClose = [](TObject*, TCloseAction&) {
      std::ofstream(plat::Platform::Current().ExecutableDir() + "demo.txt", std::ios::binary) << "closed\r\n";
    };
  }
  TButton* btnCount;
  TLabel* lblTicks;
  TTimer* tmrTick;

 private:
  int FTicks = 0;
  int FClicks = 0;
};

class TfrmFloat : public TForm {
 public:
  explicit TfrmFloat(TComponent* owner) : TForm(owner) {
    SetName("frmFloat");
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetBounds(300, 200, 50, 40);
    SetColor(clRed);
  }
};

}  // namespace

int DemoProgramMain() {
  TApplication app;
  app.CreateForm<TfrmDemo>();
  TForm* floating = app.CreateForm<TfrmFloat>();
  floating->Show();
  app.Run();
  return 0;
}

}  // namespace scenario
