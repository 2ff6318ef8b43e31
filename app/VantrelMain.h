#pragma once
// The program entry, independent of the platform: the caller has set the current platform.
int VantrelMain();
