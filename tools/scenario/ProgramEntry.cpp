#include "tools/scenario/ProgramEntry.h"

#include "app/VantrelMain.h"

namespace scenario {

// The runner starts Vantrel itself.
int ProgramMain() { return VantrelMain(); }

}  // namespace scenario
