#include "tools/scenario/ProgramEntry.h"

#include "tools/scenario/DemoProgram.h"

namespace scenario {

// Until the strip exists, the runner starts the demonstration program.
int ProgramMain() { return DemoProgramMain(); }

}  // namespace scenario
