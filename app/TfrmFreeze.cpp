#include "app/TfrmFreeze.h"

#include "graphics/Canvas.h"

TfrmFreeze::TfrmFreeze(TComponent* AOwner, const gfx::Rect& monitor, const gfx::Bitmap& desktop) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  // Clicked, it may take the focus (it hands it back); it never gets a task-bar button.
  SetWindowKind(plat::WindowKind::Tool);
  SetCaption("Vantrel: frozen screen");
  SetBounds(monitor.left, monitor.top, monitor.Width(), monitor.Height());

  Image1 = TComponent::Create<TImage>(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetAlign(alClient);
  gfx::Bitmap picture(monitor.Width(), monitor.Height(), 0);
  gfx::Canvas canvas(picture);
  canvas.BitBlt(0, 0, monitor.Width(), monitor.Height(), desktop, monitor.left, monitor.top);
  canvas.Brush.Color = kFrozenFrameColor;
  for (int i = 0; i < kFrozenFrameWidth; ++i) canvas.FrameRect(gfx::Rect{i, i, monitor.Width() - i, monitor.Height() - i});
  Image1->SetPicture(std::move(picture));
  Image1->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    if (OnPicturePressed) OnPicturePressed();
  };
}
