#pragma once
// Facts about the product that more than one place shows.

namespace product {

// The project's web address: the About box links to it, the README names it.
inline constexpr const char* kWebAddress = "https://vantrel.org";

}  // namespace product
