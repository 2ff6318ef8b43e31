#pragma once
// The screen: the primary monitor's size, the cursor table, the global cursor override, the
// forms that exist and the active form and control.
#include <map>
#include <vector>

#include "platform/Cursor.h"
#include "toolkit/core/TComponent.h"

class TScreen : public TComponent {
 public:
  TScreen();  // the application creates the one instance (global Screen)
  ~TScreen() override;

  int Width() const;   // primary screen, from the platform
  int Height() const;
  int PixelsPerInch() const { return 96; }

  // Cursor table: standard identifiers (crArrow...) map to the desktop's shapes; programs
  // register their own images under other identifiers. An unknown id gives the arrow.
  plat::CursorSpec Cursors(TCursor id) const;
  void SetCursorImage(TCursor id, const plat::CursorSpec& cursorSpec);
  bool HasCursor(TCursor id) const;
  // A global override (crDefault: none): shown over every form while set.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);

  int FormCount() const { return int(FForms.size()); }
  TForm* Forms(int index) const;  // in creation order; nullptr when out of range
  int IndexOf(const TForm* form) const;  // -1 when FORM does not exist (any more)
  TForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;  // the active form's focused control

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  void SetActiveForm(TForm* form) { FActiveForm = form; }

  std::map<TCursor, plat::CursorSpec> FCursors;
  TCursor FCursor = crDefault;
  std::vector<TForm*> FForms;
  TForm* FActiveForm = nullptr;
};

// The screen object; nullptr when no application exists.
extern TScreen* Screen;
