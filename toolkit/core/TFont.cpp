#include "toolkit/core/TFont.h"

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetData(const gfx::Font& data) {
  if (data == FData) return;
  FData = data;
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (value == FData.Name) return;
  FData.Name = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == FData.Height) return;
  FData.Height = value;
  Changed();
}

void TFont::SetSize(int points) {
  gfx::Font f = FData;
  f.SetSize(points);
  SetData(f);
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FData.Style) return;
  FData.Style = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FData.Color) return;
  FData.Color = value;
  Changed();
}

void TFont::SetEscapement(int value) {
  if (value == FData.Escapement && value == FData.Orientation) return;
  FData.Escapement = value;
  FData.Orientation = value;
  Changed();
}
