#pragma once
// A font object of a control or canvas: a gfx::Font with change notification, so a control
// repaints (and its children with ParentFont follow) when its font changes.
#include <string>

#include "graphics/Font.h"
#include "toolkit/core/TObject.h"
#include "toolkit/core/Types.h"

using TFontStyles = gfx::FontStyles;  // bits gfx::fsBold, fsItalic, fsUnderline, fsStrikeOut

class TFont : public TObject {
 public:
  TFont() = default;
  explicit TFont(const gfx::Font& data) : FData(data) {}

  const gfx::Font& Data() const { return FData; }
  void SetData(const gfx::Font& data);
  void Assign(const TFont& source) { SetData(source.FData); }

  const std::string& Name() const { return FData.Name; }
  void SetName(const std::string& value);
  int Height() const { return FData.Height; }
  void SetHeight(int value);
  int Size() const { return FData.Size(); }  // points
  void SetSize(int points);
  TFontStyles Style() const { return FData.Style; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return FData.Color; }
  void SetColor(TColor value);
  int Escapement() const { return FData.Escapement; }
  void SetEscapement(int value);  // also sets Orientation, as a rotated font's LOGFONT does

  // Fired after every change that altered the font.
  TNotifyEvent OnChange;

 private:
  void Changed();
  gfx::Font FData;
};
