#pragma once
// The program entry, independent of the platform: the caller has set the current platform.
int VantrelMain();

// Writes the settings of the running program now, if it has a main window; reports a failure
// on standard error. For the program's end without a window system to close it.
void VantrelSaveSettings();
