#include "ruler/TRuler.h"

#include "toolkit/core/PropText.h"

TRuler::TRuler(TComponent* AOwner) : TCustomControl(AOwner), FRollLimits(std::make_unique<TValRange>()) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetParentFont(false);
  gfx::Font font = Font().Data();
  font.Name = "Tahoma";
  font.Height = -9;
  Font().SetData(font);
  SetColor(0xFFFF);
  SetBounds(Left(), Top(), 200, 16);
}

void TRuler::Changed() {
  if (FEnableRepaint) Invalidate();
}

void TRuler::WndProc(TMessage& message) {
  switch (message.Msg) {
    // Caption, Color and Font changes arrive here from TControl's setters, which have already
    // compared and stored; the ruler repaints only while EnableRepaint allows it. (The windowed
    // base would also hand font and colour down to child controls; a ruler has none.)
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Changed();
      return;
    default:
      TCustomControl::WndProc(message);
  }
}

void TRuler::SetFont(const TFont& value) { SetFont(value.Data()); }

void TRuler::SetFont(const gfx::Font& value) {
  Font().SetData(value);
  Changed();  // whether or not anything differed
}

void TRuler::SetCaptionAlign(TCaptionAlign value) { Store(FCaptionAlign, value); }
void TRuler::SetCaptionIndent1(int value) { Store(FCaptionIndent1, value); }
void TRuler::SetCaptionIndent2(int value) { Store(FCaptionIndent2, value); }
void TRuler::SetFontRotation(TFontRotation value) { Store(FFontRotation, value); }
void TRuler::SetNumberAlign(TNumberAlign value) { Store(FNumberAlign, value); }
void TRuler::SetNumberIndent(int value) { Store(FNumberIndent, value); }
void TRuler::SetOrientation(TOrientation value) { Store(FOrientation, value); }
void TRuler::SetStartValue(double value) { Store(FStartValue, value); }
void TRuler::SetTickAlign(TTickAlign value) { Store(FTickAlign, value); }
void TRuler::SetTickSizeBig(int value) { Store(FTickSizeBig, value); }
void TRuler::SetTickSizeMiddle(int value) { Store(FTickSizeMiddle, value); }
void TRuler::SetTickSizeSmall(int value) { Store(FTickSizeSmall, value); }
void TRuler::SetUnitSize(double value) { Store(FUnitSize, value); }
void TRuler::SetUnitPrice(double value) { Store(FUnitPrice, value); }

void TRuler::SetUnitPrecision(int value) {
  // The comparison sees the value as given: setting -3 over a stored 0 stores 0 again and
  // still repaints.
  if (value == FUnitPrecision) return;
  FUnitPrecision = value < 0 ? 0 : value;
  Changed();
}

TRulerLook TRuler::Look() const {
  return TRulerLook{.Color = Color(),
                    .TickSizeBig = FTickSizeBig,
                    .TickSizeMiddle = FTickSizeMiddle,
                    .TickSizeSmall = FTickSizeSmall,
                    .TickColor = FTickColor,
                    .FontColor = Font().Color(),
                    .RollEnabled = FRollEnabled,
                    .FontRotation = FFontRotation,
                    .NumberAlign = FNumberAlign};
}

void TRuler::SetLook(const TRulerLook& look) {
  if (look == Look()) return;
  SetColor(look.Color);
  SetTickSizeBig(look.TickSizeBig);
  SetTickSizeMiddle(look.TickSizeMiddle);
  SetTickSizeSmall(look.TickSizeSmall);
  FTickColor = look.TickColor;
  Font().SetColor(look.FontColor);
  FRollEnabled = look.RollEnabled;
  SetFontRotation(look.FontRotation);
  SetNumberAlign(look.NumberAlign);
  Changed();  // for the two plain values, which repaint nothing by themselves
}

TRulerPaintState TRuler::PaintState() const {
  TRulerPaintState look;
  look.Caption = Caption();
  look.CaptionAlign = FCaptionAlign;
  look.CaptionIndent1 = FCaptionIndent1;
  look.CaptionIndent2 = FCaptionIndent2;
  look.Color = Color();
  look.Font = Font().Data();
  look.FontRotation = FFontRotation;
  look.NumberAlign = FNumberAlign;
  look.NumberIndent = FNumberIndent;
  look.Orientation = FOrientation;
  look.StartValue = FStartValue;
  look.TickAlign = FTickAlign;
  look.TickColor = FTickColor;
  look.TickSizeBig = FTickSizeBig;
  look.TickSizeMiddle = FTickSizeMiddle;
  look.TickSizeSmall = FTickSizeSmall;
  look.UnitSize = FUnitSize;
  look.UnitPrice = FUnitPrice;
  look.UnitPrecision = FUnitPrecision;
  look.DrawFrame = DrawFrame;
  look.FrameColor = FrameColor;
  look.FrameWidth = FrameWidth;
  return look;
}

void TRuler::Paint() { PaintRuler(Canvas(), PaintState(), ClientWidth(), ClientHeight(), &FWalkMarks); }

void TRuler::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  LastRollPos = FOrientation == orVert ? y : x;
  // Any button starts a roll.
  if (FRollEnabled) Rolling = true;
}

void TRuler::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!Rolling) return;

  const int p = FOrientation == orVert ? y : x;
  const long long d = static_cast<long long>(p) - LastRollPos;
  LastRollPos = p;
  // The value under the pointer, StartValue + p / UnitSize, stays put while the pointer moves.
  if (d != 0 && FUnitSize > 0) {
    double value = double(static_cast<long double>(FStartValue) - static_cast<long double>(d) / FUnitSize);
    if (FRollLimits->MinValid() && value < FRollLimits->Min()) value = FRollLimits->Min();
    if (FRollLimits->MaxValid() && value > FRollLimits->Max()) value = FRollLimits->Max();  // Max wins
    if (value != FStartValue) Invalidate();  // whatever EnableRepaint says
    FStartValue = value;
  }
  // Handlers see every rolling move twice: with the old scale, then with the new one.
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TRuler::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (Rolling && OnClick) OnClick(this);
  Rolling = false;
}

std::optional<std::string> TRuler::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "CaptionAlign")) return Enum(FCaptionAlign, {"caTopLeft", "caBottomRight"});
  if (Is(name, "CaptionIndent1")) return Int(FCaptionIndent1);
  if (Is(name, "CaptionIndent2")) return Int(FCaptionIndent2);
  if (Is(name, "EnableRepaint")) return Bool(FEnableRepaint);
  if (Is(name, "FontRotation")) return Enum(FFontRotation, {"fr0", "fr90", "fr180", "fr270"});
  if (Is(name, "NumberAlign")) return Enum(FNumberAlign, {"naCenter", "naBottomRight", "naTopLeft"});
  if (Is(name, "NumberIndent")) return Int(FNumberIndent);
  if (Is(name, "Orientation")) return Enum(FOrientation, {"orHoriz", "orVert"});
  if (Is(name, "RollEnabled")) return Bool(FRollEnabled);
  if (name.size() > 11 && Is(name.substr(0, 11), "RollLimits.")) return FRollLimits->GetPropText(name.substr(11));
  if (Is(name, "StartValue")) return Double(FStartValue);
  if (Is(name, "TickAlign")) return Enum(FTickAlign, {"taBottomRight", "taTopLeft"});
  if (Is(name, "TickColor")) return PropText::Color(FTickColor);
  if (Is(name, "TickSizeBig")) return Int(FTickSizeBig);
  if (Is(name, "TickSizeMiddle")) return Int(FTickSizeMiddle);
  if (Is(name, "TickSizeSmall")) return Int(FTickSizeSmall);
  if (Is(name, "UnitSize")) return Double(FUnitSize);
  if (Is(name, "UnitPrice")) return Double(FUnitPrice);
  if (Is(name, "UnitPrecision")) return Int(FUnitPrecision);
  if (Is(name, "DrawFrame")) return Bool(DrawFrame);
  if (Is(name, "FrameColor")) return PropText::Color(FrameColor);
  if (Is(name, "FrameWidth")) return Int(FrameWidth);
  if (Is(name, "Rolling")) return Bool(Rolling);
  if (Is(name, "LastRollPos")) return Int(LastRollPos);
  return TCustomControl::GetPropText(name);
}
