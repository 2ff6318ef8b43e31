// Stored window outlines (RGNDATA bytes): damaged data is refused with RegionDataError; a
// region that was read exports and imports back to itself.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/Region.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gfx::Region r;
  try {
    r = gfx::Region::FromRgnData(std::span<const std::uint8_t>(data, size));
  } catch (const gfx::RegionDataError&) {
    return 0;
  }
  const std::vector<std::uint8_t> bytes = r.ToRgnData();
  if (!(gfx::Region::FromRgnData(bytes) == r)) std::abort();
  // Operations on what was read stay within what they were given.
  const gfx::Region shifted = r.Offset(3, -2);
  if (!r.Union(shifted).Subtract(shifted).Intersect(shifted).IsEmpty()) std::abort();
  return 0;
}
