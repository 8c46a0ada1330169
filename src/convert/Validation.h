#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

// Which entries a caller needs: everything but the loop set points (an R2W sensor), everything
// (a 4-20mA sensor), or only the installation's units, pipe and K-factor.
enum class ValidationMode { NoLoop = 0, WithLoop = 1, ApplicationOnly = 2 };

// Copies the window's entries into state.settings in a fixed order and stops at the first one that
// fails: its field becomes 0, its control is marked (the performance lists never are) and its
// message goes to the status line. True when every entry of the mode passed.
bool validateEntries(SetupState &state, SetupView &view, ValidationMode mode);
