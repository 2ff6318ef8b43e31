// The widget card: the styled check boxes and radio buttons, flat edits and buttons, spin
// edits and colour swatches in their states, on the virtual desktop, for people to look at
// when the widgets change. States that need the pointer or the focus (hot, pressed, focused)
// are set up one after another and each control's picture taken while it is in that state.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/ImageFile.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolbarkit/TFlatButton.h"
#include "toolbarkit/TFlatEdit.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "tools/testcard/CardDesk.h"
#include "widgets/TFaceButton.h"
#include "widgets/TSpinEdit.h"
#include "widgets/TStyledCheckBox.h"
#include "widgets/TStyledRadioButton.h"

int WidgetCard(const std::string& out);

namespace {

constexpr int kCardWidth = 640;
constexpr int kCardHeight = 400;

// A small arrow glyph of square 9 x 9 frames (up, disabled, down, latched), black, grey,
// navy and maroon on olive (the bottom-left pixel: transparent).
gfx::Bitmap ArrowGlyph(int frames) {
  gfx::Bitmap g(9 * frames, 9, clOlive);
  const TColor ink[] = {clBlack, clGray, clNavy, clMaroon};
  for (int f = 0; f < frames; ++f)
    for (int row = 0; row < 4; ++row)
      for (int x = row; x < 8 - row; ++x) g.Set(f * 9 + x, 3 + row, ink[f]);
  return g;
}

class Card : public CardDesk {
 public:
  Card() : CardDesk(kCardWidth, kCardHeight, clBtnFace, -12) {}

  template <class T>
  T* Add(int x, int y, int w, int h, const std::string& caption = "") {
    T* c = TComponent::Create<T>(FForm);
    c->SetParent(FForm);
    c->SetBounds(x, y, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
  }
  void Label(int x, int y, const std::string& text) {
    auto* l = Add<TLabel>(x, y, 300, 16, text);
    l->Font().SetColor(clNavy);
  }
  void Settle() {
    FDesk.Flush();
    FApp->ProcessMessages();
  }
  // Runs SETUP, takes CONTROL's picture into the card, then runs UNDO.
  void Live(TControl* control, const std::function<void()>& setup, const std::function<void()>& undo) {
    FLive.push_back({control, setup, undo});
  }
  plat::VirtualDesktop& Desk() { return FDesk; }
  Point Middle(TControl* c) const {
    const Point o = c->ClientOrigin();
    return {o.x + c->Width() / 2, o.y + c->Height() / 2};
  }

  gfx::Bitmap Take() {
    Settle();
    gfx::Bitmap card = FDesk.Screen().Copy(Rect{0, 0, kCardWidth, kCardHeight});
    for (const LiveState& s : FLive) {
      s.Setup();
      Settle();
      const Point o = s.Control->ClientOrigin();
      const Rect r = Rect::FromXYWH(o.x, o.y, s.Control->Width(), s.Control->Height());
      const gfx::Bitmap part = FDesk.Screen().Copy(r);
      gfx::Canvas c(card);
      c.BitBlt(r.left, r.top, r.Width(), r.Height(), part, 0, 0);
      s.Undo();
      FDesk.InjectMouseMove(kCardWidth - 2, kCardHeight - 2);
      FDesk.AdvanceClock(TFlatButton::kHotTrackInterval);
      Settle();
    }
    return card;
  }

 private:
  struct LiveState {
    TControl* Control;
    std::function<void()> Setup, Undo;
  };
  std::vector<LiveState> FLive;
};

}  // namespace

int WidgetCard(const std::string& out) {
  Card card;
  auto& desk = card.Desk();
  auto press = [&](TControl* c) {
    return [&desk, &card, c] {
      desk.InjectMouseMove(card.Middle(c));
      desk.InjectButtonDown();
    };
  };
  auto release = [&desk] {
    desk.InjectMouseMove(kCardWidth - 2, kCardHeight - 2);
    desk.InjectButtonUp();
  };
  auto hover = [&](TControl* c, Point at = {-1, -1}) {
    return [&desk, &card, c, at] { desk.InjectMouseMove(at.x < 0 ? card.Middle(c) : c->ClientToScreen(at)); };
  };
  auto nothing = [] {};

  // Check boxes.
  card.Label(10, 6, "Styled check boxes: raised, checked, grayed, sunken, flat, disabled, pressed");
  int x = 10;
  auto check = [&](const std::string& caption, auto setup) {
    auto* c = card.Add<TStyledCheckBox>(x, 24, 84, 20, caption);
    c->Font3d().SetActive(false);
    c->Hilight3d().SetActive(false);
    setup(c);
    x += 88;
    return c;
  };
  check("Roll", [](TStyledCheckBox*) {});
  check("Rotate", [](TStyledCheckBox* c) { c->SetChecked(true); });
  check("Grayed", [](TStyledCheckBox* c) { c->SetState(cbGrayed); });
  check("Sunken", [](TStyledCheckBox* c) {
    c->SetStyle(bxSunken);
    c->SetChecked(true);
  });
  check("Flat", [](TStyledCheckBox* c) {
    c->SetStyle(bxFlat);
    c->SetChecked(true);
  });
  check("Disabled", [](TStyledCheckBox* c) {
    c->SetChecked(true);
    c->SetEnabled(false);
  });
  auto* pressedCheck = check("Pressed", [](TStyledCheckBox*) {});
  card.Live(pressedCheck, press(pressedCheck), release);

  // 3D captions.
  card.Label(10, 50, "3D captions: default, focused halo (hsFlushing), hover raising, right box, centred");
  auto* plain3d = card.Add<TStyledCheckBox>(10, 68, 110, 20, "Font3d");
  plain3d->SetChecked(true);
  auto* halo = card.Add<TStyledCheckBox>(125, 68, 120, 20, "Focused halo");
  halo->Hilight3d().SetColor(clYellow);
  card.Live(halo, [halo] { halo->SetFocus(); }, nothing);
  auto* raising = card.Add<TStyledRadioButton>(250, 68, 120, 20, "Hover raising");
  raising->SetHilightStyle(hsRaising);
  raising->Hilight3d().SetSpacing(2);
  card.Live(raising, hover(raising), nothing);
  auto* right = card.Add<TStyledCheckBox>(375, 68, 110, 20, "Box at right");
  right->SetAlignment(taRightJustify);
  right->SetChecked(true);
  auto* centred = card.Add<TStyledRadioButton>(490, 64, 140, 28, "Centred, vaCenter");
  centred->SetTextAlignment(taCenter);
  centred->SetVerticalAlignment(vaCenter);

  // Radio buttons.
  card.Label(10, 96, "Styled radio buttons: group, checked, flat, disabled, pressed");
  x = 10;
  TStyledRadioButton* group[3];
  const char* names[] = {"Top-left", "Center", "Bottom-right"};
  for (int i = 0; i < 3; ++i) {
    group[i] = card.Add<TStyledRadioButton>(x, 114, 96, 20, names[i]);
    group[i]->Font3d().SetActive(false);
    group[i]->Hilight3d().SetActive(false);
    x += 100;
  }
  group[1]->SetChecked(true);
  auto* flatRadio = card.Add<TStyledRadioButton>(x, 114, 70, 20, "Flat");
  flatRadio->SetStyle(rxFlat);
  flatRadio->SetGroupIndex(1);
  flatRadio->SetChecked(true);
  auto* offRadio = card.Add<TStyledRadioButton>(x + 74, 114, 80, 20, "Disabled");
  offRadio->SetGroupIndex(2);
  offRadio->SetChecked(true);
  offRadio->SetEnabled(false);
  auto* pressedRadio = card.Add<TStyledRadioButton>(x + 158, 114, 80, 20, "Pressed");
  pressedRadio->SetGroupIndex(3);
  card.Live(pressedRadio, press(pressedRadio), release);

  // Flat edits and spin edits.
  card.Label(10, 142, "Flat edits: cold, focused, disabled; spin edits 49 x 21: cold, hot, focused");
  auto* coldEdit = card.Add<TFlatEdit>(10, 160, 90, 21, "cold");
  (void)coldEdit;
  auto* hotEdit = card.Add<TFlatEdit>(108, 160, 90, 21, "focused");
  card.Live(hotEdit, [hotEdit] { hotEdit->SetFocus(); }, nothing);
  auto* offEdit = card.Add<TFlatEdit>(206, 160, 90, 21, "disabled");
  offEdit->SetEnabled(false);
  TSpinEdit* spins[3];
  for (int i = 0; i < 3; ++i) {
    spins[i] = card.Add<TSpinEdit>(320 + i * 60, 160, 49, 21);
    spins[i]->SetMinValue(10);
    spins[i]->SetMaxValue(60);
    spins[i]->SetValue(i == 0 ? 50 : i == 1 ? 40 : 13.5);
  }
  card.Live(spins[1], hover(spins[1], Point{39, 6}), nothing);
  card.Live(spins[2], [s = spins[2]] { s->SetFocus(); }, nothing);

  // Flat buttons.
  card.Label(10, 190, "Flat buttons: cold, hot, pressed, latched, glyph left/right/top/bottom, disabled");
  x = 10;
  auto flat = [&](int w, int h, const std::string& caption, auto setup) {
    auto* b = card.Add<TFlatButton>(x, 208, w, h, caption);
    b->SetGlyph(ArrowGlyph(1));
    setup(b);
    x += w + 6;
    return b;
  };
  flat(22, 23, "", [](TFlatButton*) {});
  auto* hotButton = flat(22, 23, "", [](TFlatButton*) {});
  card.Live(hotButton, hover(hotButton), nothing);
  auto* pressedButton = flat(22, 23, "", [](TFlatButton*) {});
  card.Live(pressedButton, press(pressedButton), release);
  flat(22, 23, "", [](TFlatButton* b) {
    b->SetGroupIndex(1);
    b->SetDown(true);
  });
  flat(64, 23, "Left", [](TFlatButton*) {});
  flat(64, 23, "Right", [](TFlatButton* b) { b->SetLayout(blGlyphRight); });
  flat(50, 40, "Top", [](TFlatButton* b) { b->SetLayout(blGlyphTop); });
  flat(50, 40, "Bottom", [](TFlatButton* b) { b->SetLayout(blGlyphBottom); });
  flat(64, 23, "Off", [](TFlatButton* b) { b->SetEnabled(false); });
  flat(64, 23, "Raised", [](TFlatButton* b) { b->SetFlat(false); });

  // Face buttons.
  card.Label(10, 256, "Colour swatches 41 x 20: ruler, text, tick, pressed; face buttons: flat, glyph, disabled");
  const TColor swatches[] = {0x80FFFF, clBlack, clBlack, 0x80FFFF};
  for (int i = 0; i < 4; ++i) {
    auto* s = card.Add<TFaceButton>(10 + i * 48, 274, 41, 20);
    s->SetColor(swatches[i]);
    if (i == 3) card.Live(s, press(s), release);
  }
  auto* flatFace = card.Add<TFaceButton>(210, 270, 80, 28, "Flat");
  flatFace->SetFlat(true);
  flatFace->SetGlyph(ArrowGlyph(3));
  card.Live(flatFace, hover(flatFace), nothing);
  auto* glyphFace = card.Add<TFaceButton>(296, 270, 80, 28, "Glyph");
  glyphFace->SetGlyph(ArrowGlyph(3));
  auto* topFace = card.Add<TFaceButton>(382, 272, 60, 44, "Top");
  topFace->SetGlyph(ArrowGlyph(3));
  topFace->SetLayout(blGlyphTop);
  auto* offFace = card.Add<TFaceButton>(448, 270, 80, 28, "Disabled");
  offFace->SetGlyph(ArrowGlyph(3));
  offFace->SetEnabled(false);

  const gfx::Bitmap picture = card.Take();
  gfx::WritePngFile(out, picture);
  std::printf("wrote %s (%dx%d)\n", out.c_str(), picture.Width(), picture.Height());
  return 0;
}
