#pragma once
// Key symbols, as X11 and xkbcommon number them alike, and the virtual-key codes the toolkit
// works with: one table for both backends.
#include <cstdint>
#include <vector>

#include "platform/Keys.h"

namespace plat {

// The virtual-key code of the unshifted key symbol KS, or 0 when it has none.
int VirtualKeyOfKeySym(std::uint32_t ks);
// The key symbols that produce VK (for asking whether that key is held).
std::vector<std::uint32_t> KeySymsOfVirtualKey(int vk);
// The modifier flag a modifier key itself sets (ssShift for VK_SHIFT ...), or 0.
ShiftState ModifierFlagOfVirtualKey(int vk);

}  // namespace plat
