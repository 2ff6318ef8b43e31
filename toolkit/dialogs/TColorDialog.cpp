#include "toolkit/dialogs/TColorDialog.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "platform/DialogScript.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"
#include "toolkit/dialogs/RunDialog.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/core/TForm.h"
#include "toolkit/controls/TGroupBox.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TPanel.h"
#include "toolkit/controls/TShape.h"

TColorDialog::TColorDialog(TComponent* AOwner) : TComponent(AOwner) {}

const std::array<TColor, 48>& TColorDialog::BasicColors() {
  // The classic chooser's table, given as red, green, blue.
  static const std::array<TColor, 48> colors = [] {
    constexpr std::uint32_t rgb[48] = {
        0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF,
        0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF,
        0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080,
        0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF,
        0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080,
        0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x400040, 0xFFFFFF};
    std::array<TColor, 48> out{};
    for (int i = 0; i < 48; ++i) out[i] = gfx::RGB(int(rgb[i] >> 16), int((rgb[i] >> 8) & 0xFF), int(rgb[i] & 0xFF));
    return out;
  }();
  return colors;
}

std::optional<TColor> TColorDialog::ParseColor(const std::string& text) {
  std::string_view s = text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  } else if (s.size() > 1 && s[0] == '$') {
    s.remove_prefix(1);
    base = 16;
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value > 0xFFFFFF) return std::nullopt;
  return TColor(value);
}

bool TColorDialog::Execute() {
  if (auto* script = plat::DialogScript::Current()) {
    if (auto answer = script->TakeScriptedAnswer(plat::DialogKind::Color)) {
      if (*answer == "cancel") return false;
      const auto color = ParseColor(*answer);
      if (!color) throw std::invalid_argument("colour dialog: \"" + *answer + "\" is not a colour (0xBBGGRR)");
      FColor = *color;
      return true;
    }
  }
  if (!Application) return false;

  // The custom colour part can be opened unless prevented: at once with cdFullOpen, else by
  // the "Define Custom Colors >>" button.
  const bool canOpen = !(FOptions & cdPreventFullOpen);
  const bool full = canOpen && (FOptions & cdFullOpen);
  auto form = TComponent::Make<TForm>(nullptr);
  form->SetName("dlgColor");
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetCaption("Color");
  form->SetColor(clBtnFace);
  const int gridWidth = 8 * kCellWidth;
  const int gridHeight = 6 * kCellHeight;
  const int narrowWidth = gridWidth + 2 * kGridLeft, wideWidth = narrowWidth + 176;
  const int defineRow = canOpen ? 29 : 0;
  form->SetClientWidth(full ? wideWidth : narrowWidth);
  form->SetClientHeight(kGridTop + gridHeight + 48 + defineRow);

  auto* lblBasic = TComponent::Create<TLabel>(form.get());
  lblBasic->SetParent(form.get());
  lblBasic->SetBounds(kGridLeft, 6, 100, 13);
  lblBasic->SetCaption("&Basic colors:");

  TColor current = gfx::ColorToRGB(FColor);
  // The frame round the chosen swatch.
  auto* marker = TComponent::Create<TShape>(form.get());
  marker->SetName("shpMarker");
  gfx::Brush clear;
  clear.Style = gfx::BrushStyle::Clear;
  marker->SetBrush(clear);
  marker->SetPen(gfx::Pen{clBlack, 2, gfx::PenStyle::Solid});
  marker->SetVisible(false);

  TEdit* edits[3] = {nullptr, nullptr, nullptr};
  TShape* preview = nullptr;
  bool updating = false;
  auto show = [&](TColor c, bool fromEdits) {
    current = c;
    if (preview) preview->SetBrushColor(c);
    int index = -1;
    for (int i = 0; i < 48; ++i)
      if (BasicColors()[i] == c) index = i;
    marker->SetVisible(index >= 0);
    if (index >= 0)
      marker->SetBounds(kGridLeft + (index % 8) * kCellWidth, kGridTop + (index / 8) * kCellHeight, kCellWidth,
                        kCellHeight);
    if (!fromEdits && edits[0]) {
      updating = true;
      edits[0]->SetAsInteger(gfx::GetRValue(c));
      edits[1]->SetAsInteger(gfx::GetGValue(c));
      edits[2]->SetAsInteger(gfx::GetBValue(c));
      updating = false;
    }
  };

  for (int i = 0; i < 48; ++i) {
    auto* swatch = TComponent::Create<TShape>(form.get());
    swatch->SetName("shpColor" + std::to_string(i));
    swatch->SetParent(form.get());
    swatch->SetBounds(kGridLeft + (i % 8) * kCellWidth + 3, kGridTop + (i / 8) * kCellHeight + 3, kCellWidth - 6,
                      kCellHeight - 6);
    swatch->SetPen(gfx::Pen{clBtnShadow, 1, gfx::PenStyle::Solid});
    swatch->SetBrushColor(BasicColors()[i]);
    const TColor c = BasicColors()[i];
    swatch->OnMouseDown = [&show, c](TObject*, TMouseButton button, TShiftState, int, int) {
      if (button == mbLeft) show(c, false);
    };
  }
  marker->SetParent(form.get());
  marker->BringToFront();

  TGroupBox* group = nullptr;
  if (canOpen) {
    const int x0 = kGridLeft + gridWidth + 16;
    group = TComponent::Create<TGroupBox>(form.get());
    group->SetName("grpCustom");
    group->SetParent(form.get());
    group->SetBounds(x0, 6, 160, kGridTop + gridHeight - 6);
    group->SetCaption(" Custom color ");
    group->SetVisible(full);
    preview = TComponent::Create<TShape>(form.get());
    preview->SetName("shpPreview");
    preview->SetParent(group);
    preview->SetBounds(12, 22, 136, 30);
    preview->SetPen(gfx::Pen{clBlack, 1, gfx::PenStyle::Solid});
    static constexpr const char* kNames[3] = {"edtRed", "edtGreen", "edtBlue"};
    static constexpr const char* kCaptions[3] = {"&Red:", "&Green:", "Bl&ue:"};
    for (int k = 0; k < 3; ++k) {
      auto* label = TComponent::Create<TLabel>(form.get());
      label->SetParent(group);
      label->SetBounds(12, 62 + k * 24, 40, 13);
      label->SetCaption(kCaptions[k]);
      edits[k] = TComponent::Create<TEdit>(form.get());
      edits[k]->SetName(kNames[k]);
      edits[k]->SetParent(group);
      edits[k]->SetBounds(60, 58 + k * 24, 48, 21);
      edits[k]->SetMaxLength(3);
      label->SetFocusControl(edits[k]);
    }
    for (int k = 0; k < 3; ++k) {
      edits[k]->OnChange = [&](TObject*) {
        if (updating) return;
        // A field that is not a number counts as 0; values are held to 0..255.
        const int r = std::clamp(edits[0]->AsInteger(0), 0, 255);
        const int g = std::clamp(edits[1]->AsInteger(0), 0, 255);
        const int b = std::clamp(edits[2]->AsInteger(0), 0, 255);
        show(gfx::RGB(r, g, b), true);
      };
    }
  }

  const int buttonsTop = kGridTop + gridHeight + 14 + defineRow;
  if (canOpen) {
    auto* btnDefine = TComponent::Create<TButton>(form.get());
    btnDefine->SetName("btnDefine");
    btnDefine->SetParent(form.get());
    btnDefine->SetBounds(kGridLeft, buttonsTop - defineRow, gridWidth, 23);
    btnDefine->SetCaption("&Define Custom Colors >>");
    btnDefine->SetEnabled(!full);
    btnDefine->OnClick = [&, btnDefine](TObject*) {
      form->SetClientWidth(wideWidth);
      group->SetVisible(true);
      btnDefine->SetEnabled(false);
      edits[0]->SetFocus();
    };
  }
  auto* btnOK = TComponent::Create<TButton>(form.get());
  btnOK->SetName("btnOK");
  btnOK->SetParent(form.get());
  btnOK->SetBounds(kGridLeft, buttonsTop, 75, 23);
  btnOK->SetCaption("OK");
  btnOK->SetDefault(true);
  btnOK->SetModalResult(mrOk);
  auto* btnCancel = TComponent::Create<TButton>(form.get());
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(form.get());
  btnCancel->SetBounds(kGridLeft + 81, buttonsTop, 75, 23);
  btnCancel->SetCaption("Cancel");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);

  show(current, false);
  form->SetActiveControl(btnOK);
  const TModalResult result = RunDialog(*form, FForm);
  if (result != mrOk) return false;
  FColor = current;
  return true;
}

std::optional<std::string> TColorDialog::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Color")) return PropText::Color(FColor);
  return TComponent::GetPropText(name);
}
