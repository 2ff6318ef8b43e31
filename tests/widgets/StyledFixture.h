#pragma once
// Styled check box and radio button tests: the controls on a form of a plain colour, read
// back from the virtual screen.
#include "../toolkit/CtlFixture.h"
#include "widgets/TStyledCheckBox.h"
#include "widgets/TStyledRadioButton.h"

class StyledTest : public CtlTest {
 protected:
  static constexpr TColor kForm = 0x336699;

  TForm* Form() {
    if (!FForm) {
      FForm = ShowForm(Rect::FromXYWH(0, 0, 300, 120));
      FForm->SetColor(kForm);
    }
    return FForm;
  }
  template <class T>
  T* Make(int x, int y, const std::string& caption = "") {
    T* c = Add<T>(Form(), Rect::FromXYWH(x, y, 98, 20));
    c->SetCaption(caption);
    c->Font().SetHeight(-8);
    c->Font().SetColor(clBlack);
    Settle();
    return c;
  }
  // The control's pixels as they are on the screen.
  gfx::Bitmap Shot(TControl* c) {
    Settle();
    const Point o = c->ClientOrigin();
    return Desk.Screen().Copy(Rect::FromXYWH(o.x, o.y, c->Width(), c->Height()));
  }
  // Pixels where A and B differ (same size), listed for readable failures.
  static std::string Diff(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    std::string out;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.At(x, y) != b.At(x, y) && n++ < 8)
          out += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
    return n ? std::to_string(n) + " differ: " + out : std::string();
  }

 private:
  TForm* FForm = nullptr;
};
