#pragma once
// The program the scenario runner starts.
namespace scenario {

int ProgramMain();

}  // namespace scenario
