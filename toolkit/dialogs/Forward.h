#pragma once
// Names of the dialog classes, for headers that only pass them around.
class TMessageBox;
class TSaveDialog;
class TColorDialog;
