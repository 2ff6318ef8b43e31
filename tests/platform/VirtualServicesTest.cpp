// Shell services of the virtual desktop: the log, clipboard, tray icons, scripted answers and
// the executable's folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/virtual/VirtualDesktop.h"

namespace {

using plat::DialogKind;
using plat::MouseButton;
using plat::VirtualDesktop;
using Lines = std::vector<std::string>;

TEST(VirtualServices, LogRecordsServicesInOrder) {
  VirtualDesktop d;
  plat::Platform::SetCurrent(&d);
  plat::Platform& p = plat::Platform::Current();
  p.Beep();
  p.PlaySystemSound("MenuPopup");
  p.ShellOpen("https://example.org/ruler");
  gfx::Bitmap shot(30, 20, gfx::clRed);
  p.SetClipboardBitmap(shot);
  p.ShowHelp("/opt/vantrel/Vantrel.hlp", "JI(`',`About')");
  p.ShowHelp("Vantrel.hlp", "");
  // The journal belongs to the dialog script, which only the virtual desktop offers.
  plat::DialogScript* script = plat::DialogScript::Current();
  ASSERT_EQ(script, static_cast<plat::DialogScript*>(&d));
  script->Journal("message Unable to write to x.ini");
  EXPECT_EQ(d.Log().size(), 7u);
  EXPECT_EQ(d.TakeLog(), (Lines{"beep", "sound MenuPopup", "open https://example.org/ruler", "clipboard bitmap 30x20",
                                "help /opt/vantrel/Vantrel.hlp JI(`',`About')", "help Vantrel.hlp",
                                "message Unable to write to x.ini"}));
  EXPECT_TRUE(d.TakeLog().empty());
  ASSERT_TRUE(d.HasClipboardBitmap());
  EXPECT_EQ(d.ClipboardBitmap(), shot);
  // The clipboard keeps its own copy.
  shot.Fill(gfx::clBlue);
  EXPECT_EQ(d.ClipboardBitmap().Get(0, 0), gfx::clRed);
  plat::Platform::SetCurrent(nullptr);
}

TEST(VirtualServices, ScriptedAnswersPerKind) {
  plat::Platform::SetCurrent(nullptr);
  EXPECT_EQ(plat::DialogScript::Current(), nullptr);  // no platform, no script
  VirtualDesktop d;
  EXPECT_FALSE(d.TakeScriptedAnswer(DialogKind::Message).has_value());
  d.QueueAnswer(DialogKind::SaveFile, "/tmp/a.bmp");
  d.QueueAnswer(DialogKind::Message, "yes");
  d.QueueAnswer(DialogKind::SaveFile, "cancel");
  d.QueueAnswer(DialogKind::Color, "0x00FF00");
  EXPECT_EQ(d.PendingAnswers(DialogKind::SaveFile), 2u);
  EXPECT_EQ(d.TakeScriptedAnswer(DialogKind::SaveFile), "/tmp/a.bmp");
  EXPECT_EQ(d.TakeScriptedAnswer(DialogKind::Color), "0x00FF00");
  EXPECT_FALSE(d.TakeScriptedAnswer(DialogKind::Color).has_value());
  EXPECT_EQ(d.TakeScriptedAnswer(DialogKind::SaveFile), "cancel");
  EXPECT_EQ(d.TakeScriptedAnswer(DialogKind::Message), "yes");
  EXPECT_EQ(d.PendingAnswers(DialogKind::SaveFile), 0u);
}

class TrayRecorder : public plat::TrayIconListener {
 public:
  Lines Heard;
  void OnTrayMouseDown(MouseButton b, gfx::Point p) override { Add("down", b, p); }
  void OnTrayMouseUp(MouseButton b, gfx::Point p) override { Add("up", b, p); }
  void OnTrayDoubleClick(MouseButton b, gfx::Point p) override { Add("double", b, p); }
  void OnTrayMouseMove(gfx::Point p) override { Heard.push_back("move " + Pt(p)); }

 private:
  static std::string Pt(gfx::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  void Add(const char* what, MouseButton b, gfx::Point p) {
    Heard.push_back(std::string(what) + (b == MouseButton::Right ? " right " : " left ") + Pt(p));
  }
};

TEST(VirtualServices, TrayIconsFollowAvailability) {
  VirtualDesktop d;
  TrayRecorder rec;
  // No tray: no icon, and messages go nowhere.
  d.SetTrayAvailable(false);
  EXPECT_FALSE(d.TrayAvailable());
  EXPECT_EQ(d.CreateTrayIcon(&rec), nullptr);
  d.InjectTrayMouse(MouseButton::Left, plat::TrayMouseKind::Down);
  d.Flush();
  EXPECT_TRUE(rec.Heard.empty());

  d.SetTrayAvailable(true);
  auto icon = d.CreateTrayIcon(&rec);
  ASSERT_NE(icon, nullptr);
  ASSERT_EQ(d.TrayIcons().size(), 1u);
  plat::VirtualTrayIcon* vi = d.TrayIcons()[0];
  EXPECT_TRUE(icon->Visible());
  icon->SetTip("Vantrel");
  gfx::Bitmap pic(16, 16, gfx::clYellow);
  icon->SetIcon(pic);
  EXPECT_EQ(vi->Tip(), "Vantrel");
  EXPECT_EQ(vi->Icon(), pic);
  EXPECT_EQ(vi->IconChanges(), 1);

  // Messages arrive at the pointer's place, in order.
  d.InjectMouseMove(1000, 760);
  d.InjectTrayMouse(MouseButton::Left, plat::TrayMouseKind::Move);
  d.InjectTrayMouse(MouseButton::Right, plat::TrayMouseKind::Down);
  d.InjectTrayMouse(MouseButton::Right, plat::TrayMouseKind::Up);
  d.InjectTrayMouse(MouseButton::Left, plat::TrayMouseKind::DoubleClick, vi);
  d.Flush();
  EXPECT_EQ(rec.Heard, (Lines{"move 1000,760", "down right 1000,760", "up right 1000,760", "double left 1000,760"}));

  // The tray going away hides the icon; removing the icon takes it off the list, and
  // messages queued for it are dropped.
  d.SetTrayAvailable(false);
  EXPECT_FALSE(icon->Visible());
  d.SetTrayAvailable(true);
  rec.Heard.clear();
  d.InjectTrayMouse(MouseButton::Left, plat::TrayMouseKind::Down);
  icon.reset();
  EXPECT_TRUE(d.TrayIcons().empty());
  d.Flush();
  EXPECT_TRUE(rec.Heard.empty());
  // An icon without a listener is fine.
  auto quiet = d.CreateTrayIcon(nullptr);
  d.InjectTrayMouse(MouseButton::Left, plat::TrayMouseKind::Down);
  d.Flush();
}

TEST(VirtualServices, ExecutableDir) {
  VirtualDesktop d;
  std::string dir = d.ExecutableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(dir.front(), '/');  // the test program's own folder, absolute
  d.SetExecutableDir("/opt/vantrel");
  EXPECT_EQ(d.ExecutableDir(), "/opt/vantrel/");
  d.SetExecutableDir("/srv/");
  EXPECT_EQ(d.ExecutableDir(), "/srv/");
}

}  // namespace
