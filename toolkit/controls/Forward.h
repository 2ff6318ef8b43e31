#pragma once
// Names of the standard controls, for headers that only pass them around.
class TPanel;
class TLabel;
class TImage;
class TShape;
class TButton;
class TSpeedButton;
class TGroupBox;
class TCustomEdit;
class TEdit;
class TListBox;
