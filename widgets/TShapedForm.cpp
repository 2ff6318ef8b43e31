#include "widgets/TShapedForm.h"

#include "toolkit/core/TForm.h"

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> b) {
  return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

}  // namespace

TShapedForm::TShapedForm(TComponent* AOwner) : TImage(AOwner), FMask(std::make_unique<TRegionType>(this)) {
  SetAlign(alClient);
}

void TShapedForm::SetMask(std::unique_ptr<TRegionType> value) {
  if (!value) return;
  FMask = std::move(value);
  FMask->OwnerControl = this;
}

void TShapedForm::ReadMask(std::span<const std::uint8_t> payload) {
  FStored.clear();
  FMask->Region.reset();
  FMask->Applied = false;
  if (payload.size() < 4) return;
  const std::uint32_t n = ReadU32(payload);
  if (n == 0 || payload.size() - 4 < n) return;
  FStored.assign(payload.begin() + 4, payload.begin() + 4 + n);
  try {
    gfx::Region region = gfx::Region::FromRgnData(FStored);
    if (region.IsEmpty()) return;  // an empty outline would make the window vanish
    FMask->Region = std::move(region);
  } catch (const gfx::RegionDataError&) {
    return;
  }
  TForm* form = dynamic_cast<TForm*>(Parent());
  if (form && form->NativeWindow()) {
    form->NativeWindow()->SetRegion(*FMask->Region);
    FMask->Applied = true;
  }
}

std::vector<std::uint8_t> TShapedForm::WriteMask() const {
  std::vector<std::uint8_t> out(4, 0);
  if (!FMask->Region) return out;
  std::vector<std::uint8_t> data = FMask->Region->ToRgnData();
  const auto n = std::uint32_t(data.size());
  for (int k = 0; k < 4; ++k) out[std::size_t(k)] = std::uint8_t(n >> (8 * k));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void TShapedForm::SetPicture(gfx::Bitmap picture) {
  Picture() = std::move(picture);
  MaskPictureChanged();
}

void TShapedForm::MaskPictureChanged() {
  FMask->Region.reset();
  FMask->Applied = false;
}

void TShapedForm::SetParent(TWinControl* value) {
  TImage::SetParent(value);
  if (auto* form = dynamic_cast<TForm*>(value)) form->SetBorderStyle(bsNone);
  SetBounds(0, 0, Width(), Height());
}

void TShapedForm::SetBounds(int, int, int width, int height) { TImage::SetBounds(0, 0, width, height); }

void TShapedForm::MouseDown(TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  TForm* form = ParentForm();
  if (!form) return;
  ::ReleaseCapture();
  form->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}
