#pragma once
// The accelerator of a caption: the character after its first single '&' ("&&" stands for a
// plain '&'), as buttons, labels and menu items underline it and Alt+letter reaches it.
#include <string_view>

// The accelerator character as written, or 0 when the caption has none.
char AcceleratorChar(std::string_view caption);
