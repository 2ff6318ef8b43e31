#pragma once
// A window listener that writes every call it receives into a shared journal, one line each,
// prefixed with the window's name, so tests can compare whole event sequences.
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vtest {

using Journal = std::vector<std::string>;

inline std::string ShiftText(plat::ShiftState s) {
  std::string t;
  if (s & plat::ssShift) t += "S";
  if (s & plat::ssAlt) t += "A";
  if (s & plat::ssCtrl) t += "C";
  if (s & plat::ssLeft) t += "L";
  if (s & plat::ssRight) t += "R";
  if (s & plat::ssMiddle) t += "M";
  if (s & plat::ssDouble) t += "D";
  return t.empty() ? "-" : t;
}

inline const char* ButtonText(plat::MouseButton b) {
  switch (b) {
    case plat::MouseButton::Left: return "left";
    case plat::MouseButton::Right: return "right";
    case plat::MouseButton::Middle: return "middle";
  }
  return "?";
}

class TestListener : public plat::WindowListener {
 public:
  TestListener(std::string name, Journal& journal) : FName(std::move(name)), FJournal(journal) {}

  // Optional extra work after a call is recorded (e.g. run a nested loop).
  std::function<void(const plat::MouseEvent&)> OnDown;
  std::function<void(const plat::MouseEvent&)> OnMove;
  std::function<void(const plat::KeyEvent&)> OnKey;

  void OnMouseMove(const plat::MouseEvent& e) override {
    Add("move " + Pt(e.Pos) + " screen " + Pt(e.ScreenPos) + " " + ShiftText(e.Shift));
    if (OnMove) OnMove(e);
  }
  void OnMouseDown(const plat::MouseEvent& e) override {
    Add(std::string("down ") + ButtonText(e.Button) + " " + Pt(e.Pos) + " " + ShiftText(e.Shift) +
        (e.DoubleClick ? " double" : ""));
    if (OnDown) OnDown(e);
  }
  void OnMouseUp(const plat::MouseEvent& e) override {
    Add(std::string("up ") + ButtonText(e.Button) + " " + Pt(e.Pos) + " " + ShiftText(e.Shift));
  }
  void OnMouseWheel(const plat::MouseEvent& e, int delta) override {
    Add("wheel " + std::to_string(delta) + " " + Pt(e.Pos));
  }
  void OnMouseLeave() override { Add("leave"); }
  void OnKeyDown(const plat::KeyEvent& e) override {
    Add("keydown " + std::to_string(e.Key) + " " + ShiftText(e.Shift) + (e.Repeat ? " repeat" : ""));
    if (OnKey) OnKey(e);
  }
  void OnKeyUp(const plat::KeyEvent& e) override { Add("keyup " + std::to_string(e.Key) + " " + ShiftText(e.Shift)); }
  void OnChar(std::string_view utf8) override { Add("char " + Escape(utf8)); }
  void OnActivate(bool active) override { Add(active ? "activate" : "deactivate"); }
  void OnCloseRequest() override { Add("close"); }
  void OnMoved(const gfx::Rect& b) override {
    Add("moved " + std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
        std::to_string(b.bottom));
  }
  void OnCaptureLost() override { Add("capturelost"); }

 private:
  static std::string Pt(gfx::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  static std::string Escape(std::string_view s) {
    std::string out;
    for (char c : s) {
      auto u = static_cast<unsigned char>(c);
      if (u < 0x20) {
        static const char* hex = "0123456789abcdef";
        out += "\\x";
        out += hex[u >> 4];
        out += hex[u & 15];
      } else {
        out += c;
      }
    }
    return out;
  }
  void Add(const std::string& line) { FJournal.push_back(FName + " " + line); }

  std::string FName;
  Journal& FJournal;
};

}  // namespace vtest
