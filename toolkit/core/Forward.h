#pragma once
// Names of the core toolkit classes, for headers that only pass them around.
namespace gfx {
class Canvas;
}
using TCanvas = gfx::Canvas;

class TObject;
class TComponent;
class TControl;
class TGraphicControl;
class TWinControl;
class TCustomControl;
class TForm;
class TApplication;
class TScreen;
class TTimer;
class TFont;
class TControlCanvas;
