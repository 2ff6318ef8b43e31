#pragma once
// Names of the menu classes, for headers that only pass them around.
class TMenu;
class TMenuItem;
class TMainMenu;
class TPopupMenu;
class TMenuBar;
class TMenuForm;
