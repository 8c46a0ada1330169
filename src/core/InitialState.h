#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

// "," when the user's locale writes 1.1 with a comma, "." for every other locale.
QString localDecimalSeparator();

// Start-up: unit tables, link and sensor state, decimal separator, unit labels.
// Leaves the lists and boxes of the window as they are (empty).
void initialiseState(SetupState &state, SetupView &view);
