#pragma once
// Gives the form it sits on a non-rectangular outline. The outline is stored region data
// ("Mask2": 4 bytes N, then N bytes of RGNDATA, N = 0 for none), read once when the form is
// built and handed to the form's window; from then on only pixels inside it belong to the
// window, on screen and for the mouse. The control pins itself to the form's top-left corner,
// and a left press on it moves the whole form with the mouse.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "toolkit/controls/TImage.h"
#include "widgets/TRegionType.h"

class TShapedForm : public TImage {
 public:
  explicit TShapedForm(TComponent* AOwner);

  TRegionType* Mask() const { return FMask.get(); }
  // A new holder replaces the old one; null is ignored.
  void SetMask(std::unique_ptr<TRegionType> value);

  // Reads the stored outline and applies it to the parent form's window. Damaged data leaves
  // the window rectangular rather than half-shaped.
  void ReadMask(std::span<const std::uint8_t> payload);
  // The outline as stored data: N and the region's RGNDATA, or 4 zero bytes without one.
  std::vector<std::uint8_t> WriteMask() const;
  // The stored bytes as last read (empty when none).
  const std::vector<std::uint8_t>& StoredMask() const { return FStored; }

  // A new picture forgets the outline; the window keeps the shape it has.
  void SetPicture(gfx::Bitmap picture);
  void MaskPictureChanged();

  void SetParent(TWinControl* value) override;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  std::unique_ptr<TRegionType> FMask;
  std::vector<std::uint8_t> FStored;
};
