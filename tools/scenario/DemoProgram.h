#pragma once
// A small program of a few forms that exercises the scenario runner without the ruler: a main
// form with a counter button, a ticking label and a settings file; a second, stay-on-top form.
namespace scenario {

int DemoProgramMain();

}  // namespace scenario
